#pragma once

#include "platform/Picture.h"
#include "platform/ProgramFolder.h"

#include <QObject>

namespace glim {

class Dialogs;
class ScreenshotViewer;

// Turns a picture placed in the viewer into a screenshot of the capture event. Every change
// of the viewer's picture runs pictureChanged(): when the record flag is on, the picture
// becomes screenshotN (N = rows + 1, at most 9), with its list row and its working file
// Temp/screenshotN.jpg at quality 100 (written on the program folder's thread), and its row is
// selected; then, for every change, the scroll bars are set up and the picture placed. A
// picture beyond the ninth is refused and the viewer shows screenshot 9 again.
class ScreenshotStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxScreenshots = 9;

    ScreenshotStore(ScreenshotViewer& viewer, ProgramFolder folder, Dialogs& dialogs);
    ~ScreenshotStore() override;

    // The viewer's picture has been replaced (or removed). Re-entered when it assigns a picture.
    void pictureChanged();

private:
    void record(const Picture& picture);
    void refuse();

    ScreenshotViewer& m_viewer;
    ProgramFolder m_folder;
    Dialogs& m_dialogs;
};

// The list's size text: height, " x ", width, in hundredths of a millimetre at the screen's
// dots per inch (1024 x 768 pixels at 96 dpi: "20320 x 27093").
QString sizeText(QSize pixels, double dotsPerInch);

} // namespace glim
