#include "screenshots/ScreenshotStore.h"

#include "imaging/JpegWriter.h"
#include "platform/Dialogs.h"
#include "platform/LocaleTexts.h"
#include "platform/Units.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"

#include <QDateTime>

namespace glim {

namespace {

const QString kLimitText =
    QStringLiteral("The maximum number of screenshots per glimevent is 9. Please save the "
                   "screenshots you'ld like to keep.");
const QString kAutoSaveFailedText = QStringLiteral("Failed to auto-save picture.");

QString rowText(int number) {
    return QStringLiteral("screenshot") + QString::number(number);
}

} // namespace

QString sizeText(QSize pixels, double dotsPerInch) {
    return QString::number(pixelsToHimetric(pixels.height(), dotsPerInch)) + QStringLiteral(" x ") +
           QString::number(pixelsToHimetric(pixels.width(), dotsPerInch));
}

ScreenshotStore::ScreenshotStore(ScreenshotViewer& viewer, ProgramFolder folder, Dialogs& dialogs)
    : QObject(&viewer)
    , m_viewer(viewer)
    , m_folder(std::move(folder))
    , m_dialogs(dialogs) {
    connect(m_viewer.ima(), &PictureBox::pictureChanged, this, &ScreenshotStore::pictureChanged);
}

ScreenshotStore::~ScreenshotStore() {
    // No write may report to a store that is gone.
    m_folder.awaitWrites();
}

void ScreenshotStore::pictureChanged() {
    PictureBox* ima = m_viewer.ima();
    // The flag is read afresh by every invocation, the nested one of the limit case included.
    if (ima->hasPicture() && m_viewer.recordFlag()) {
        m_viewer.setPictureCommands(true);
        if (m_viewer.lstv()->rowCount() >= kMaxScreenshots) {
            refuse();
            return;
        }
        record(ima->picture());
    } else {
        m_viewer.setPictureCommands(false);
    }
    m_viewer.setUpForPicture();
}

void ScreenshotStore::record(const Picture& picture) {
    ScreenshotList* list = m_viewer.lstv();
    const int number = list->rowCount() + 1;
    const QDateTime now = QDateTime::currentDateTime();
    list->appendRow({rowText(number), sizeText(picture.size(), screenDpi()),
                     shortDateText(now.date()), timeText(now.time())});

    m_folder.foldr();
    // Encoded on the folder's thread from the picture's own rows (shared, not copied), so that
    // the row is chosen as soon as the picture is read; every reader of a working file waits
    // for it. A failed write is reported here once it has ended: the row stays, without its
    // file.
    m_folder.writeInBackground([this, picture, path = m_folder.workingFile(rowText(number))] {
        if (!writeJpegFile(picture, path, 100))
            QMetaObject::invokeMethod(
                this, [this] { m_dialogs.plain(kAutoSaveFailedText); }, Qt::QueuedConnection);
    });

    // The viewer goes on showing the picture as it was assigned, not as read back.
    list->selectRow(number - 1);
}

void ScreenshotStore::refuse() {
    m_dialogs.information(kLimitText);
    m_viewer.setRecordFlag(false);
    const Picture last = m_folder.loadWorkingFile(rowText(kMaxScreenshots));
    if (last.isNull()) {
        // Screenshot 9 has no readable file (its write failed): the offered picture stays in
        // view, unrecorded, and the picture commands wait for a row to be chosen.
        m_viewer.setPictureCommands(false);
        m_viewer.setUpForPicture();
        return;
    }
    // A non-recording change: the nested invocation switches the commands off and sets up the
    // bars for screenshot 9; the placement is then done once more for it.
    m_viewer.ima()->setPicture(last);
    m_viewer.placeAfterChange();
}

} // namespace glim
