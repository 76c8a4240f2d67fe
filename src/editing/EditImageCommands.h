#pragma once

#include "platform/ProgramFolder.h"

#include <QObject>
#include <QPointer>

#include <array>

class QAction;

namespace glim {

class Dialogs;
class EditImageDialog;
class ScreenshotViewer;
enum class ImageEffect;

// The Edit Image menu's five commands: each loads the Edit Image dialog when it is not there
// yet, gives it the command's enabled states and label colours, and shows it modally with no
// owner window. The dialog is gone again once the user has applied or dropped the changes.
class EditImageCommands : public QObject {
    Q_OBJECT
public:
    // The items in the order of ImageEffect: abr, acon, ahn, ablur, invpic.
    using Items = std::array<QAction*, 5>;

    EditImageCommands(ProgramFolder folder, Dialogs& dialogs, ScreenshotViewer& viewer,
                      QWidget* mainWindow);
    ~EditImageCommands() override;

    void connectItems(const Items& items);
    void edit(ImageEffect effect);
    bool isOpen() const;

private:
    ProgramFolder m_folder;
    Dialogs& m_dialogs;
    ScreenshotViewer& m_viewer;
    QWidget* m_mainWindow;
    QPointer<EditImageDialog> m_dialog;
};

} // namespace glim
