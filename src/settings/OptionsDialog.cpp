#include "settings/OptionsDialog.h"

#include "platform/DialogFont.h"
#include "platform/Dialogs.h"
#include "settings/IniFile.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace glim {

namespace {

const QString kSection = QStringLiteral("Options");

// The client area is 4470 x 3960 twips; every place below is the design's twips / 15.
constexpr QSize kClientSize(298, 264);

struct Switch {
    const char* key;
    const char* box;
    const char* caption;
    QRect boxPlace;
    const char* label;
    const char* explanation;
    QRect labelPlace;
};

const Switch kSwitches[] = {
    {"Startdel", "Check1", "Delete temporary files on startup", QRect(16, 8, 241, 17), "Label1",
     "By default the program deletes the temporary files everytime you close it. This option "
     "will only clear them on startup.",
     QRect(72, 24, 217, 41)},
    {"Showmain", "Check2", "Show main window on startup", QRect(16, 64, 161, 17), "Label2",
     "By default the program starts in the system tray. Enabling this option will let it show "
     "the main window on startup.",
     QRect(72, 80, 217, 41)},
    {"Hideclosed", "Check3", "Hide in systray when main window is closed", QRect(16, 120, 225, 17),
     "Label3",
     "By default the program closes when you press the closebutton. Enabling this option will "
     "let it hide in the system tray when closed.",
     QRect(72, 136, 217, 41)},
};
// The warning belongs to the third box.
constexpr QRect kWarning(72, 176, 217, 41);
constexpr QRect kApply(208, 224, 89, 17);
constexpr QRect kCancel(208, 240, 89, 17);

constexpr double kSmallestPointSize = 6.0;

const QString kSaved = QStringLiteral("Options applied succesfully");
const QString kNotSaved = QStringLiteral("Failed to save options.");

// Does the text of a check box or a wrapped label fit the place the design gives it?
bool fitsItsPlace(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->heightForWidth(label->width()) <= label->height();
    return control->sizeHint().width() <= control->width();
}

QLabel* explanation(QWidget* parent, const char* name, const char* text, const QRect& place,
                    const QColor& colour) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

OptionsDialog::OptionsDialog(ProgramFolder folder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_folder(std::move(folder))
    , m_dialogs(dialogs) {
    setObjectName(QStringLiteral("Optio"));
    setWindowTitle(QStringLiteral("Options..."));
    QFont font = dialogFont();
    setFont(font);
    setFixedSize(kClientSize);

    const QString file = m_folder.settingsPath();
    QList<QWidget*> texts;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const Switch& s = kSwitches[i];
        auto* box = new QCheckBox(QString::fromLatin1(s.caption), this);
        box->setObjectName(QString::fromLatin1(s.box));
        box->setGeometry(s.boxPlace);
        // Checked only by a value of 1; a missing, empty or non-numeric one leaves it cleared.
        box->setChecked(iniNumber(readIni(file, kSection, QString::fromLatin1(s.key))) == 1);
        m_boxes[i] = box;
        texts.append(box);
        texts.append(explanation(this, s.label, s.explanation, s.labelPlace, QColor(0, 0, 64)));
    }
    texts.append(explanation(this, "Label4",
                             "WARNING: when hidden, all screenshots will be cleared from the main "
                             "window. The program just sits in the system tray.",
                             kWarning, QColor(255, 0, 0)));
    // Where the desktop's letters run wider than the design's, all of them shrink together in
    // small steps until every text fits its place.
    while (!std::all_of(texts.begin(), texts.end(), fitsItsPlace) &&
           font.pointSizeF() > kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        setFont(font);
    }

    auto* applyButton = new QPushButton(QStringLiteral("Apply"), this);
    applyButton->setObjectName(QStringLiteral("Command1"));
    applyButton->setGeometry(kApply);
    connect(applyButton, &QPushButton::clicked, this, &OptionsDialog::apply);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    cancelButton->setGeometry(kCancel);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // Centred on the screen rather than over the main window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void OptionsDialog::apply() {
    const QString file = m_folder.settingsPath();
    bool saved = true;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QString value = m_boxes[i]->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        saved = writeIni(file, kSection, QString::fromLatin1(kSwitches[i].key), value) && saved;
    }
    // A settings file that cannot be written is said so, instead of a success that did not
    // happen; the old values stay in force either way.
    if (saved)
        m_dialogs.information(kSaved);
    else
        m_dialogs.plain(kNotSaved);
    accept();
}

void showOptionsDialog(const ProgramFolder& folder, Dialogs& dialogs, QWidget* parent) {
    auto* dialog = new OptionsDialog(folder, dialogs, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}

} // namespace glim
