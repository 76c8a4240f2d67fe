#include "editing/EditImageCommands.h"

#include "editing/EditImageDialog.h"

#include <QAction>

namespace glim {

EditImageCommands::EditImageCommands(ProgramFolder folder, Dialogs& dialogs,
                                     ScreenshotViewer& viewer, QWidget* mainWindow)
    : QObject(mainWindow)
    , m_folder(std::move(folder))
    , m_dialogs(dialogs)
    , m_viewer(viewer)
    , m_mainWindow(mainWindow) {}

EditImageCommands::~EditImageCommands() {
    // The dialog works on the main window's viewer and has no owner: it goes with the window.
    delete m_dialog.data();
}

void EditImageCommands::connectItems(const Items& items) {
    for (std::size_t i = 0; i < items.size(); ++i)
        connect(items[i], &QAction::triggered, this, [this, i] { edit(ImageEffect(i)); });
}

bool EditImageCommands::isOpen() const {
    return m_dialog && m_dialog->isVisible();
}

void EditImageCommands::edit(ImageEffect effect) {
    if (m_dialog && m_dialog->isVisible()) {
        m_dialog->setEffect(effect);
        return;
    }
    // The first access loads the dialog, so its load step runs before the states are set.
    auto* dialog = new EditImageDialog(m_folder, m_dialogs, m_viewer, m_mainWindow);
    m_dialog = dialog;
    if (dialog->load()) {
        dialog->setEffect(effect);
        dialog->exec();
    }
    // "Apply Changes" and "Cancel" close it for good: the next command loads a fresh one.
    delete m_dialog.data();
}

} // namespace glim
