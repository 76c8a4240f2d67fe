#pragma once

#include <QHash>
#include <QMainWindow>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QToolBar;

namespace glim {

class Dialogs;
class ProgramFolder;
class ScreenshotViewer;
class StatusPanels;

// The main window `Glimmain`: the menu bar, the tool bar `tbToolBar` with its dispatch by
// button key, the status bar, and the screenshot list and viewer. Every menu item carries its
// control name as objectName; tool-bar buttons carry their key as data and tool tip.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(const ProgramFolder& folder, Dialogs& dialogs, QWidget* parent = nullptr);

    ScreenshotViewer* viewer() const { return m_viewer; }
    QWidget* clientArea() const { return m_client; }
    // A tool-bar entry by its key; separators without a key are found by position instead.
    QAction* toolButton(const QString& key) const { return m_toolButtons.value(key); }

    // Runs the command of a tool-bar button by its key; unknown keys (separators) do nothing.
    void dispatchToolButton(const QString& key);
    // The picture commands, switched together.
    void setPictureCommandsEnabled(bool enabled);
    // Is the Edit Image dialog open? While it is, the "Edit Image" button does nothing.
    void setEditImageOpenQuery(std::function<bool()> query) { m_editImageOpen = std::move(query); }
    // Set while the program ends, so that no close handling runs any more.
    void setEnding() { m_ending = true; }

signals:
    // File > "Exit".
    void exitRequested();
    // The window is being closed by its close box or the system (not by Exit).
    void closeRequested();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    QAction* addMenuAction(QMenu* menu, const char* name, const QString& caption);
    void loadState();

    QWidget* m_client;
    QToolBar* m_toolBar = nullptr;
    StatusPanels* m_status = nullptr;
    ScreenshotViewer* m_viewer = nullptr;
    QMenu* m_editImageMenu = nullptr;
    QActionGroup* m_alignment = nullptr;
    QHash<QString, QAction*> m_toolButtons;
    std::function<bool()> m_editImageOpen;
    bool m_ending = false;
};

} // namespace glim
