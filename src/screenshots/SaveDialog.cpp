#include "screenshots/SaveDialog.h"

#include "imaging/BmpWriter.h"
#include "imaging/DibSection.h"
#include "imaging/JpegWriter.h"
#include "platform/DialogFont.h"
#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>

#include <algorithm>

namespace glim {

namespace {

const QString kQualitySection = QStringLiteral("JPG");
const QString kQualityKey = QStringLiteral("Percentage");
const QString kFolderSection = QStringLiteral("PATHS");
const QString kFolderKey = QStringLiteral("Storedir");

const QString kChooserTitle = QStringLiteral("Choose a location where the file will be saved");
const QString kFieldsMissing =
    QStringLiteral("Please make sure the filepath and the filename fields are completed!");
const QString kFailed = QStringLiteral("Failed to save picture.");
const QString kJpegSaved = QStringLiteral("Picture exported succesfully at %1 % quality!");
const QString kBmpSaved = QStringLiteral("Picture exported succesfully in BMP format!");

constexpr int kLowestQuality = 1;
constexpr int kHighestQuality = 100;

// The client area is 6255 x 3510 twips; every place below is the design's twips / 15, those
// of the boxes and buttons inside a frame counted from the frame's corner.
constexpr QSize kClientSize(417, 234);
constexpr QRect kOutputFrame(8, 8, 401, 89);
constexpr QRect kFilePathLabel(24, 24, 49, 17);
constexpr QRect kFilePathBox(88, 24, 281, 19);
constexpr QRect kBrowseButton(368, 24, 17, 19);
constexpr QRect kFileNameLabel(24, 56, 49, 17);
constexpr QRect kFileNameBox(88, 56, 297, 19);
constexpr QRect kFormatFrame(8, 104, 401, 41);
constexpr QRect kJpegOption(96, 16, 41, 17);
constexpr QRect kBmpOption(176, 16, 49, 17);
constexpr QRect kGifOption(256, 16, 41, 17);
constexpr QRect kQualityFrame(8, 152, 401, 41);
constexpr QRect kSliderPlace(8, 16, 337, 17);
constexpr QRect kQualityLabel(352, 16, 33, 17);
constexpr QRect kExportButton(88, 208, 113, 25);
constexpr QRect kCancelButton(208, 208, 113, 25);

const QColor kGreyedText(128, 128, 128);
const QColor kQualityText(0, 0, 0);

bool endsWithSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator());
}

template <typename Control>
Control* placed(Control* control, const char* name, const QRect& place) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    return control;
}

QLabel* label(QWidget* parent, const char* name, const char* text, const QRect& place) {
    return placed(new QLabel(QString::fromLatin1(text), parent), name, place);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    // In every state: the label keeps its colour while its frame is disabled.
    palette.setColor(QPalette::All, QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

QString exportPath(const ExportRequest& request) {
    QString path = request.folder;
    if (!endsWithSeparator(path))
        path += QLatin1Char('/');
    return path + request.name +
           (request.format == ExportRequest::Format::Jpeg ? QStringLiteral(".jpg")
                                                          : QStringLiteral(".bmp"));
}

int storedQuality(const QString& value) {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    if (!wholeNumber.match(value).hasMatch())
        return kHighestQuality;
    bool fits = false;
    const qlonglong number = value.toLongLong(&fits);
    // Too many digits for any integer: still a whole number, far outside the range.
    if (!fits)
        return value.startsWith(QLatin1Char('-')) ? kLowestQuality : kHighestQuality;
    return int(std::clamp<qlonglong>(number, kLowestQuality, kHighestQuality));
}

bool exportPicture(const ExportRequest& request, const ScreenshotViewer& viewer, Dialogs& dialogs) {
    DibSection dib;
    dib.createFromPicture(viewer.ima()->picture());
    const QString path = exportPath(request);
    const bool jpeg = request.format == ExportRequest::Format::Jpeg;
    const bool written =
        jpeg ? bool(writeJpegFile(dib, path, request.quality)) : writeBmpFile(dib, path);
    dib.clearUp();
    if (!written)
        dialogs.plain(kFailed);
    else if (jpeg)
        dialogs.information(kJpegSaved.arg(request.quality));
    else
        dialogs.information(kBmpSaved);
    return written;
}

SaveDialog::SaveDialog(ProgramFolder folder, Dialogs& dialogs, FileDialogs& fileDialogs,
                       ScreenshotViewer& viewer, QWidget* parent)
    : QDialog(parent)
    , m_folder(std::move(folder))
    , m_dialogs(dialogs)
    , m_fileDialogs(fileDialogs)
    , m_viewer(viewer) {
    setObjectName(QStringLiteral("sa"));
    setWindowTitle(QStringLiteral("Save image..."));
    setFont(dialogFont());
    setFixedSize(kClientSize);

    auto* output =
        placed(new QGroupBox(QStringLiteral("Output Details"), this), "Frame1", kOutputFrame);
    label(output, "Label2", "Filepath:", kFilePathLabel);
    // The folder may be typed as well as browsed for.
    m_filePath = placed(new QLineEdit(output), "pat", kFilePathBox);
    auto* browseButton =
        placed(new QPushButton(QStringLiteral("..."), output), "Command1", kBrowseButton);
    label(output, "Label1", "Filename:", kFileNameLabel);
    m_fileName = placed(new QLineEdit(output), "filen", kFileNameBox);

    auto* format = placed(new QGroupBox(QStringLiteral("Save as"), this), "Frame2", kFormatFrame);
    m_jpeg = placed(new QRadioButton(QStringLiteral("JPG"), format), "jp", kJpegOption);
    m_bmp = placed(new QRadioButton(QStringLiteral("BMP"), format), "bm", kBmpOption);
    placed(new QRadioButton(QStringLiteral("GIF"), format), "gi", kGifOption)->setEnabled(false);

    m_qualityFrame =
        placed(new QGroupBox(QStringLiteral("JPG quality"), this), "Frame3", kQualityFrame);
    // Qt's slider shows no value tip of its own: the label beside it is the only readout.
    m_slider = placed(new QSlider(Qt::Horizontal, m_qualityFrame), "Slider", kSliderPlace);
    m_slider->setRange(kLowestQuality, kHighestQuality);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(5);
    m_slider->setValue(kHighestQuality);
    m_quality = label(m_qualityFrame, "am", "100 %", kQualityLabel);

    auto* exportButton =
        placed(new QPushButton(QStringLiteral("Export"), this), "Command2", kExportButton);
    auto* cancelButton =
        placed(new QPushButton(QStringLiteral("Cancel"), this), "Command3", kCancelButton);
    // Return in a box exports; it never opens the folder chooser.
    browseButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    exportButton->setDefault(true);

    connect(browseButton, &QPushButton::clicked, this, &SaveDialog::browse);
    connect(m_jpeg, &QRadioButton::toggled, this, &SaveDialog::formatChosen);
    for (auto changed : {&QSlider::valueChanged, &QSlider::sliderMoved})
        connect(m_slider, changed, this, &SaveDialog::showQuality);
    for (auto touched : {&QSlider::sliderPressed, &QSlider::sliderReleased})
        connect(m_slider, touched, this, &SaveDialog::showQuality);
    connect(exportButton, &QPushButton::clicked, this, &SaveDialog::exportPicture);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    m_fileName->setText(m_viewer.lstv()->selectedRowText());
    m_jpeg->setChecked(true);
    const QString settings = m_folder.settingsPath();
    const QString quality = readIni(settings, kQualitySection, kQualityKey);
    const QString storedFolder = readIni(settings, kFolderSection, kFolderKey);
    m_slider->setValue(storedQuality(quality));
    m_filePath->setText(storedFolder);

    // Centred on the screen rather than over the main window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SaveDialog::showQuality() {
    m_quality->setText(QString::number(m_slider->value()) + QStringLiteral(" %"));
}

void SaveDialog::formatChosen() {
    const bool jpeg = m_jpeg->isChecked();
    m_qualityFrame->setEnabled(jpeg);
    m_slider->setEnabled(jpeg);
    setTextColour(m_quality, jpeg ? kQualityText : kGreyedText);
}

void SaveDialog::browse() {
    QString chosen = m_fileDialogs.chooseFolder(this, kChooserTitle);
    if (chosen.isEmpty())
        return;
    if (!endsWithSeparator(chosen))
        chosen += QLatin1Char('/');
    m_filePath->setText(chosen);
}

void SaveDialog::exportPicture() {
    if (m_filePath->text().isEmpty() || m_fileName->text().isEmpty()) {
        m_dialogs.exclamation(kFieldsMissing);
        return;
    }
    const bool jpeg = m_jpeg->isChecked();
    const ExportRequest request{m_filePath->text(), m_fileName->text(),
                                jpeg ? ExportRequest::Format::Jpeg : ExportRequest::Format::Bmp,
                                m_slider->value()};
    const bool written = glim::exportPicture(request, m_viewer, m_dialogs);
    // The folder and the quality are kept even when this export failed, for the next try.
    const QString settings = m_folder.settingsPath();
    if (jpeg)
        writeIni(settings, kQualitySection, kQualityKey, QString::number(request.quality));
    writeIni(settings, kFolderSection, kFolderKey, request.folder);
    // The row's icon says "exported": only a file that was written earns it.
    if (written)
        m_viewer.lstv()->markSelectedRowExported();
    accept();
}

void showSaveDialog(const ProgramFolder& folder, Dialogs& dialogs, FileDialogs& fileDialogs,
                    ScreenshotViewer& viewer, QWidget* parent) {
    auto* dialog = new SaveDialog(folder, dialogs, fileDialogs, viewer, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}

} // namespace glim
