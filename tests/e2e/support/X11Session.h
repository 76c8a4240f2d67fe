#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class ProgramCopy;

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
    // DISPLAY, a private XDG_RUNTIME_DIR and HOME, as the session's processes get them.
    const QProcessEnvironment& environment() const { return m_environment; }

    // Starts trayer and waits until its panel is up.
    bool startTray();

    // Runs a helper tool (xdotool, xwininfo, xprop ...) to its end; its standard output, as
    // bytes (a picture from xclip) or as text.
    QByteArray output(const QString& program, const QStringList& arguments) const;
    QString run(const QString& program, const QStringList& arguments) const {
        return QString::fromLocal8Bit(output(program, arguments));
    }
    // Starts a long-running process in the session; it is ended with the session.
    QProcess* start(const QString& program, const QStringList& arguments);
    // Polls `condition` every 50 ms until it holds or `timeoutMs` passes.
    // The process is killed when the test ends in any way, a crash included, so that no
    // server or program outlives it (holding the test runner's output open).
    static void endWithTheTest(QProcess& process);
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kWaitMs);
    // The picture at `path` once it can be read, or a null one.
    static QImage waitForPicture(const QString& path);
    // The first visible window whose name matches `name` once there is one, or 0.
    qulonglong waitForWindow(const QString& name) const;

    // Visible windows whose name matches the regular expression `name`.
    QList<qulonglong> visibleWindows(const QString& name) const;
    // The window's client rectangle on the screen, and its outer frame rectangle as the
    // window manager draws it (frame and caption included).
    QRect windowGeometry(qulonglong window) const;
    QRect frameGeometry(qulonglong window) const;
    // The program's icon windows that the notification area has embedded.
    QList<qulonglong> trayIcons() const;
    // Starts the program (or a launcher with the program among its arguments) and waits until
    // its icon sits in the notification area: the process, or null when no icon came.
    QProcess* startInTray(const QString& executable, const QStringList& arguments = {});
    // Starts the program with its main window shown at start (Showmain=1 and `options` in its
    // Settings.ini): the main window once it is up, or 0.
    qulonglong startShown(const ProgramCopy& program, const QByteArray& options = {},
                          QProcess** process = nullptr);
    // Clicks the program's tray icon with `button`, waits for the menu and, unless `keys` is
    // empty, chooses an entry by them ("Down Down" moves two entries) and Return; false when
    // no menu opened. The program's pop-ups are named after it ("Glimwell").
    bool trayMenu(const QString& keys = {}, int button = 1) const;
    // The same with the main window's menu bar, from its File title ("Right Down" leads to the
    // Tools menu's second entry).
    bool mainMenu(qulonglong main, const QString& keys) const;
    // Does `action` and waits for a new visible window whose name matches `name`: its id, or 0
    // when none came. The program's pop-ups (menus, tips) are kPopUp.
    qulonglong newWindow(const QString& name, const std::function<void()>& action) const;
    static inline const QString kPopUp = QStringLiteral("^Glimwell$");
    // The main window's title and those of the program's message boxes, as window names.
    static inline const QString kMain = QStringLiteral("^Zivra Glimwell$");
    static inline const QString kInformation = QStringLiteral("^Zivra Glimwell Information$");
    static inline const QString kQuestion = QStringLiteral("^Zivra Glimwell Question$");
    // Waits for a message box (or dialog) titled `title`, sends it `keys` and waits until it
    // has gone; false when it did not come or stayed.
    bool answer(const QString& title, const QString& keys = QStringLiteral("Return")) const;
    // Makes xclip own the clipboard with `picture` as image/png, and waits until it offers it.
    bool offerPicture(const QImage& picture);

    void click(int x, int y, int button = 1) const;
    // Presses `button` at the first point of `path`, moves through the others and lets go at
    // the last, pausing after each step as a hand would, so that the window manager and the
    // program see each motion.
    void drag(const QList<QPoint>& path, int button = 1) const;
    // Keys as xdotool names them ("Return", "alt+F4"), sent to the focused window.
    void key(const QString& keys) const;
    void activate(qulonglong window) const;

private:
    void fail(const QString& reason) { m_error = reason; }
    // Chooses an entry of the open `menu` by keys, then Return; false when no menu opened.
    bool chooseFrom(qulonglong menu, const QString& keys) const;

    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QList<QProcess*> m_processes;
    QString m_error;
};

// The bytes of the file at `path` (none when it cannot be read), and a file written with
// `bytes`, its folder made.
QByteArray fileBytes(const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes);

// A fresh program folder with a copy of the built program in it: Settings.ini and Temp/ are
// the test's to prepare and inspect.
class ProgramCopy {
public:
    ProgramCopy();

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString executable() const { return path(QStringLiteral("Glimwell")); }
    void writeFile(const QString& relative, const QByteArray& bytes) const {
        writeBytes(path(relative), bytes);
    }
    QStringList tempFiles() const {
        return QDir(path(QStringLiteral("Temp"))).entryList(QDir::Files);
    }
    // Temp/screenshot<number>.jpg once it can be read, or a null picture.
    QImage screenshot(int number) const {
        return X11Session::waitForPicture(
            path(QStringLiteral("Temp/screenshot%1.jpg").arg(number)));
    }

private:
    QTemporaryDir m_dir;
};
