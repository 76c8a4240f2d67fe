#include "editing/EditImageDialog.h"

#include "editing/EffectBar.h"
#include "imaging/EffectsEngine.h"
#include "imaging/JpegWriter.h"
#include "platform/Dialogs.h"
#include "platform/Units.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "screenshots/ViewerRules.h"
#include "screenshots/ViewerScrollBar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace glim {

namespace {

// The client area is 2655 x 2280 twips; every place below is the design's twips / 15.
constexpr QSize kClientSize(177, 152);
constexpr int kRightMarginTwips = 40;
constexpr int kBelowMainTopTwips = 1100;

const QColor kWhite(255, 255, 255);
const QColor kDarkBlue(0, 0, 128);
const QColor kLightMagenta(255, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);

const QString kSaved = QStringLiteral("Succesfully saved changes to picture");
const QString kNotSaved = QStringLiteral("Failed to save updates to picture.");

QString unreadableText(const QString& rowText, const QString& path) {
    return QStringLiteral("Cannot edit %1: its file %2 is missing or is not a readable picture.")
        .arg(rowText.isEmpty() ? QStringLiteral("the screenshot") : rowText, path);
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const QRect& place) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text, const QRect& place) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

QPoint editImagePlace(const QRect& mainFrame, int dialogWidth, int vScrollHeight,
                      int twipsPerPixel) {
    const double left = double(mainFrame.left() + mainFrame.width() - dialogWidth) * twipsPerPixel -
                        vScrollHeight - kRightMarginTwips;
    const double top = double(mainFrame.top()) * twipsPerPixel + kBelowMainTopTwips;
    return {int(std::nearbyint(left / twipsPerPixel)), int(std::nearbyint(top / twipsPerPixel))};
}

EditImageDialog::EditImageDialog(ProgramFolder folder, Dialogs& dialogs, ScreenshotViewer& viewer,
                                 const QWidget* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_folder(std::move(folder))
    , m_dialogs(dialogs)
    , m_viewer(viewer)
    , m_mainWindow(mainWindow)
    , m_pictbuf(new PictureBox(this)) {
    setObjectName(QStringLiteral("eff"));
    setWindowTitle(QStringLiteral("Edit Image"));
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(kClientSize);

    m_labels = {makeLabel(this, "Label1", "Brightness:", QRect(8, 8, 101, 15)),
                makeLabel(this, "Label2", "Contrast:", QRect(8, 40, 101, 15)),
                makeLabel(this, "Label6", "Horizontal Ripples:", QRect(8, 72, 101, 15))};
    EffectBar* bright = bar("Pictbright", QRect(8, 24, 164, 12), false);
    connect(bright, &EffectBar::moved, this, [this](float x) {
        barMoved({Table::Gain, QStringLiteral("Brightness/Contrast"), x});
    });
    EffectBar* contrast = bar("PictCont", QRect(8, 56, 164, 12), false);
    connect(contrast, &EffectBar::moved, this, [this](float x) {
        barMoved({Table::Contrast, QStringLiteral("Brightness/Contrast"), x});
    });
    EffectBar* ripple = bar("PictHRipple", QRect(8, 88, 164, 12), false);
    connect(ripple, &EffectBar::moved, this, [this](float x) {
        barMoved({Table::Ripple, QStringLiteral("HRipple"), x});
    });
    QPushButton* blur = makeButton(this, "Command3", "Apply Blur", QRect(8, 104, 81, 17));
    connect(blur, &QPushButton::clicked, this, &EditImageDialog::applyBlur);
    QPushButton* invert = makeButton(this, "Command2", "Invert Picture", QRect(88, 104, 81, 17));
    connect(invert, &QPushButton::clicked, this, &EditImageDialog::invertPicture);
    connect(makeButton(this, "Command4", "Cancel", QRect(8, 128, 81, 17)), &QPushButton::clicked,
            this, &EditImageDialog::cancel);
    connect(makeButton(this, "Command1", "Apply Changes", QRect(88, 128, 81, 17)),
            &QPushButton::clicked, this, &EditImageDialog::applyChanges);
    m_controls = {bright, contrast, ripple, blur, invert};

    // The channel bars lie right of the client area, out of sight; they work all the same.
    const char* labels[][2] = {{"Label3", "Red:"}, {"Label4", "Green:"}, {"Label5", "Blue"}};
    const int labelWidths[] = {30, 36, 27};
    for (int i = 0; i < 3; ++i) {
        makeLabel(this, labels[i][0], labels[i][1], QRect(424, 8 + 32 * i, labelWidths[i], 15));
        EffectBar* channel = bar("PictRGB", QRect(424, 24 + 32 * i, 124, 12), true);
        channel->setProperty("index", i);
        connect(channel, &EffectBar::moved, this, [this, i](float x) {
            barMoved({Table::Gain, QStringLiteral("RGB") + QString::number(i), x});
        });
    }

    m_pictbuf->setObjectName(QStringLiteral("Pictbuf"));
    m_pictbuf->setGeometry(432, 104, 25, 25);
    m_pictbuf->hide();
}

EffectBar* EditImageDialog::bar(const char* name, const QRect& place, bool channel) {
    auto* bar = new EffectBar(QString::fromLatin1(name), channel ? kLightMagenta : kWhite,
                              channel ? kBlack : kDarkBlue, this);
    bar->setGeometry(place);
    return bar;
}

bool EditImageDialog::load() {
    move(editImagePlace(m_mainWindow->frameGeometry(), width(), m_viewer.vScroll()->height(),
                        screenTwipsPerPixel()));
    const QString rowText = m_viewer.lstv()->selectedRowText();
    const Picture picture = m_folder.loadWorkingFile(rowText);
    if (picture.isNull()) {
        m_dialogs.information(unreadableText(rowText, m_folder.workingFile(rowText)));
        return false;
    }
    m_pictbuf->setPicture(picture);
    m_viewer.setRecordFlag(false);
    // Both start from the same pixels; the first effect gives `ima` a copy of its own to write.
    m_viewer.ima()->setPicture(picture);
    return true;
}

void EditImageDialog::setEffect(ImageEffect effect) {
    const auto chosen = std::size_t(effect);
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        m_controls[i]->setEnabled(i == chosen);
    for (std::size_t i = 0; i < m_labels.size(); ++i)
        setTextColour(m_labels[i], i == chosen ? kBlack : kGrey);
}

void EditImageDialog::barMoved(const BarMove& move) {
    // Letting the event loop run after a movement may deliver the next movement of the same
    // drag before this one has finished: that one is kept and previewed next, the newest
    // replacing any older one, instead of nesting one preview in another.
    if (m_previewing) {
        m_pendingMove = move;
        return;
    }
    m_previewing = true;
    preview(move);
    // A click of "Apply Changes" or "Cancel" handled meanwhile has closed the dialog: what it
    // put in the viewer stays.
    while (m_pendingMove && isVisible()) {
        const BarMove next = *m_pendingMove;
        m_pendingMove.reset();
        preview(next);
    }
    m_previewing = false;
}

void EditImageDialog::preview(const BarMove& move) {
    switch (move.table) {
    case Table::Gain:
        buildGainTable(gainFactor(std::max(move.x, 0.0f)), m_tables.temPal);
        break;
    case Table::Contrast:
        buildContrastTable(contrastFactor(std::max(move.x, 0.0f)), m_tables.temPal);
        break;
    case Table::Ripple:
        buildRippleTable(rippleAmplitude(move.x), m_pictbuf->picture().height(),
                         m_tables.rippleRows);
        break;
    }
    run(move.routine);
    QCoreApplication::processEvents();
}

void EditImageDialog::run(const QString& routine) {
    PictureBox* ima = m_viewer.ima();
    doImagePro(routine, m_pictbuf->picture(), ima->surface(), m_tables, m_dialogs);
    ima->repaint();
}

void EditImageDialog::invertPicture() {
    run(QStringLiteral("Invert"));
}

void EditImageDialog::applyBlur() {
    run(QStringLiteral("Blur"));
}

void EditImageDialog::applyChanges() {
    const QString rowText = m_viewer.lstv()->selectedRowText();
    if (writeJpegFile(m_viewer.ima()->picture(), m_folder.workingFile(rowText), 100))
        m_dialogs.information(kSaved);
    else
        m_dialogs.plain(kNotSaved);
    showWorkingFile(rowText);
    placeInViewer();
    m_viewer.setRecordFlag(false);
    // The same row stays selected.
    ScreenshotList* list = m_viewer.lstv();
    for (int row = 0; row < list->rowCount(); ++row) {
        if (list->topLevelItem(row)->text(0) == rowText) {
            list->selectRow(row);
            break;
        }
    }
    done(Accepted);
}

void EditImageDialog::cancel() {
    showWorkingFile(m_viewer.lstv()->selectedRowText());
    done(Rejected);
}

void EditImageDialog::reject() {
    // Escape and closing the window drop the preview like "Cancel", so that the viewer never
    // goes on showing an effect that its file does not hold.
    cancel();
}

void EditImageDialog::showWorkingFile(const QString& rowText) {
    m_viewer.setRecordFlag(false);
    // A file that cannot be read back leaves the viewer's picture in place rather than none.
    const Picture picture = m_folder.loadWorkingFile(rowText);
    if (!picture.isNull())
        m_viewer.ima()->setPicture(picture);
}

void EditImageDialog::placeInViewer() {
    PictureBox* ima = m_viewer.ima();
    const Placement placement =
        placeChosenPicture({ima->size(), m_viewer.hBar()->length(), m_viewer.vBar()->length(),
                            m_viewer.imagroot()->size()});
    // The bars that are not disabled here keep their Enabled state, and "Center" is not pressed.
    if (placement.disableHBar)
        m_viewer.hBar()->setEnabled(false);
    if (placement.disableVBar)
        m_viewer.vBar()->setEnabled(false);
    ima->move(placement.left.value_or(ima->x()), placement.top.value_or(ima->y()));
    m_viewer.hBar()->setValue(0);
    m_viewer.vBar()->setValue(0);
}

void EditImageDialog::mousePressEvent(QMouseEvent* event) {
    m_systemMove = false;
    m_dragOffset.reset();
    // The background and the three left-hand labels move the window; a disabled bar or button,
    // which hands its press on to the dialog too, does not.
    QWidget* under = childAt(event->position().toPoint());
    const bool handle =
        !under || std::find(m_labels.begin(), m_labels.end(), under) != m_labels.end();
    if (event->button() == Qt::LeftButton && handle)
        m_dragOffset = event->globalPosition().toPoint() - pos();
    QDialog::mousePressEvent(event);
}

void EditImageDialog::mouseMoveEvent(QMouseEvent* event) {
    // A left-button drag of the background or of the left-hand labels (which hand their mouse
    // events on to the dialog) moves the window, by the window manager where it offers that.
    if (!(event->buttons() & Qt::LeftButton) || !m_dragOffset)
        return;
    if (!m_systemMove && windowHandle())
        m_systemMove = windowHandle()->startSystemMove();
    if (!m_systemMove)
        move(event->globalPosition().toPoint() - *m_dragOffset);
}

void EditImageDialog::mouseReleaseEvent(QMouseEvent* event) {
    m_systemMove = false;
    m_dragOffset.reset();
    QDialog::mouseReleaseEvent(event);
}

} // namespace glim
