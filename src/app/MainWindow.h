#pragma once

#include "app/MainMenu.h"

#include <QMainWindow>

#include <functional>

class QActionGroup;
class QToolBar;

namespace glim {

class RecordFlag;
class ScreenshotViewer;
class StatusPanels;
struct Services;

// The tool bar's buttons by their keys ("New", "Open", ... "Align Right"); "sep" is the
// separator shown and hidden with "Edit Image".
struct ToolButtons {
    QAction* newEvent = nullptr;
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* print = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* sep = nullptr;
    QAction* editImage = nullptr;
    QAction* alignLeft = nullptr;
    QAction* center = nullptr;
    QAction* alignRight = nullptr;
};

// The main window `Glimmain`: the menu bar, the tool bar `tbToolBar` with its dispatch by
// button key, the status bar, and the screenshot list and viewer. Menu items carry their
// control names as objectNames; tool-bar buttons carry their key as data and tool tip.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(const Services& services, RecordFlag& recordFlag, QWidget* parent = nullptr);

    const MainMenu& menu() const { return m_menu; }
    const ToolButtons& toolButtons() const { return m_buttons; }
    ScreenshotViewer* viewer() const { return m_viewer; }
    QWidget* clientArea() const { return m_client; }

    // Runs the command of a tool-bar button by its key; unknown keys (separators) do nothing.
    void dispatchToolButton(const QString& key);
    // The picture commands, switched together.
    void setPictureCommandsEnabled(bool enabled);
    // Is the Edit Image dialog open? While it is, the "Edit Image" button does nothing.
    void setEditImageOpenQuery(std::function<bool()> query) { m_editImageOpen = std::move(query); }
    // Set while the program ends, so that no close handling runs any more.
    void setEnding() { m_ending = true; }

signals:
    // The window is being closed by its close box or the system (not by Exit).
    void closeRequested();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    void connectCommands(const Services& services);
    void loadState();

    QWidget* m_client;
    MainMenu m_menu;
    ToolButtons m_buttons;
    QToolBar* m_toolBar = nullptr;
    QActionGroup* m_alignment = nullptr;
    StatusPanels* m_status = nullptr;
    ScreenshotViewer* m_viewer = nullptr;
    std::function<bool()> m_editImageOpen;
    std::function<void()> m_toolBarCopy;
    bool m_ending = false;
};

} // namespace glim
