#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A private X session for end-to-end tests: Xvfb on a free display (1920 x 1080 x 24 unless
// another screen is asked for), the openbox window manager and the trayer notification area at
// the bottom right, each started and waited for in turn. Everything started through the session
// (the program under test included) is ended in reverse order when the session is destroyed,
// also after a failed check.
class X11Session {
public:
    // Bounds of the waits for something to happen, long enough for a loaded machine: the
    // session's own parts starting, and the program answering a step of the test.
    static constexpr int kStartMs = 30000;
    static constexpr int kWaitMs = 20000;
    // Without the tray, the session has no notification area until startTray().
    enum class Tray { Started, Later };
    // `screen` is Xvfb's width x height x depth.
    explicit X11Session(Tray withTray = Tray::Started,
                        const QString& screen = QStringLiteral("1920x1080x24"));
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // False with a reason when a part of the session did not come up.
    bool isReady() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    // DISPLAY, a private XDG_RUNTIME_DIR and HOME: for tools whose output is bytes, not text.
    const QProcessEnvironment& environment() const { return m_environment; }

    // Starts trayer and waits until its panel is up.
    bool startTray();

    // Runs a helper tool (xdotool, xwininfo, xprop ...) to its end; its standard output.
    QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) const;
    // Starts a long-running process in the session; it is ended with the session.
    QProcess* start(const QString& program, const QStringList& arguments,
                    const QString& workingDirectory = {});
    // Polls `condition` every 50 ms until it holds or `timeoutMs` passes.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kWaitMs);
    // The picture at `path` once it can be read, or a null one.
    static QImage waitForPicture(const QString& path, int timeoutMs = kWaitMs);
    // The first visible window whose name matches `name` once there is one, or 0.
    qulonglong waitForWindow(const QString& name) const;

    // Visible windows whose name matches the regular expression `name`.
    QList<qulonglong> visibleWindows(const QString& name) const;
    // The window's client rectangle on the screen, and its outer frame rectangle as the
    // window manager draws it (frame and caption included).
    QRect windowGeometry(qulonglong window) const;
    QRect frameGeometry(qulonglong window) const;
    // The icon windows that the notification area has embedded, by their name.
    QList<qulonglong> trayIcons(const QString& name) const;
    // Starts the program (or a launcher with the program among its arguments) and waits until
    // its icon sits in the notification area: the process, or null when no icon came.
    QProcess* startInTray(const QString& executable, const QStringList& arguments = {});
    // Clicks the program's tray icon with `button` and waits for the menu that opens: its
    // window, or 0 when none opened. The program's pop-ups are named after it ("Glimwell").
    qulonglong openTrayMenu(int button = 1) const;
    // Does `action` and waits for a window of the program's that it opens (a menu, a tip): its
    // id, or 0 when none opened.
    qulonglong popUp(const std::function<void()>& action, int timeoutMs = kWaitMs) const;
    // Chooses an entry of the open menu by keys ("Down Down" moves two entries), then Return.
    void chooseMenuEntry(const QString& keys) const;

    void moveMouse(int x, int y) const;
    void click(int x, int y, int button = 1) const;
    // Keys as xdotool names them ("Return", "alt+F4"), sent to the focused window.
    void key(const QString& keys) const;
    void activate(qulonglong window) const;

private:
    void fail(const QString& reason) { m_error = reason; }

    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QList<QProcess*> m_processes;
    QString m_error;
};

// A fresh program folder with a copy of the built program in it: Settings.ini and Temp/ are
// the test's to prepare and inspect.
class ProgramCopy {
public:
    explicit ProgramCopy(const QString& builtBinary);

    QString executable() const;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QStringList tempFiles() const;

private:
    QTemporaryDir m_dir;
};
