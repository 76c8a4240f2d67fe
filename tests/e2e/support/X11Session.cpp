#include "X11Session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>

namespace {

// A number that xwininfo reports, by its label.
int xwininfoField(const QString& info, const char* field) {
    const QRegularExpression pattern(QString::fromLatin1(field) + QStringLiteral(":\\s+(-?\\d+)"));
    return pattern.match(info).captured(1).toInt();
}

} // namespace

X11Session::X11Session(Tray withTray, const QString& screen) {
    QDir(m_home.path()).mkpath("runtime");
    QFile::setPermissions(m_home.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Xvfb picks a free display and writes its number to the descriptor named: its output.
    QProcess* xvfb = start("Xvfb", {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
    QByteArray number;
    waitUntil(
        [&] {
            xvfb->waitForReadyRead(50);
            number += xvfb->readAllStandardOutput();
            return number.contains('\n');
        },
        kStartMs);
    if (!number.contains('\n')) {
        fail("Xvfb did not report a display");
        return;
    }
    const QString display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("DISPLAY", display);
    m_environment.insert("XDG_RUNTIME_DIR", m_home.filePath("runtime"));
    m_environment.insert("HOME", m_home.path());
    m_environment.remove("QT_QPA_PLATFORM");
    m_environment.remove("WAYLAND_DISPLAY");

    // A window manager that ends, or has not claimed the screen within a third of the start
    // time (seen under load in runs of the whole suite), is replaced, twice at most.
    QProcess* openbox = nullptr;
    bool claimed = false;
    for (int attempt = 0; attempt < 3 && !claimed; ++attempt) {
        if (openbox) { // gone before the next one looks for a window manager
            openbox->kill();
            openbox->waitForFinished(2000);
        }
        openbox = start("openbox", {"--sm-disable"});
        waitUntil(
            [&] {
                claimed = run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
                return claimed || openbox->state() == QProcess::NotRunning;
            },
            kStartMs / 3);
    }
    if (!claimed) {
        fail("openbox did not come up");
        return;
    }

    if (withTray == Tray::Started && !startTray())
        fail("trayer did not come up");
}

bool X11Session::startTray() {
    start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height",
                     "24", "--SetDockType", "true", "--transparent", "false"});
    return waitUntil(
        [&] {
            return !run("xdotool", {"search", "--classname", "trayer"}).trimmed().isEmpty();
        },
        kStartMs);
}

X11Session::~X11Session() {
    // The program first, the X server last. One that does not end when asked is killed as it
    // is deleted.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        (*it)->terminate();
        (*it)->waitForFinished(2000);
        delete *it;
    }
}

QProcess* X11Session::start(const QString& program, const QStringList& arguments) {
    auto* process = new QProcess;
    if (!m_environment.isEmpty()) // Xvfb, before the session has a display, inherits ours
        process->setProcessEnvironment(m_environment);
    // Unread, a full pipe would stall the writer.
    process->setStandardErrorFile(QProcess::nullDevice());
    endWithTheTest(*process);
    process->start(program, arguments);
    process->waitForStarted(kStartMs);
    m_processes.append(process);
    return process;
}

QByteArray X11Session::output(const QString& program, const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(program, arguments);
    process.waitForFinished(10000); // one that hangs is killed as `process` goes
    return process.readAllStandardOutput();
}

void X11Session::endWithTheTest(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

bool X11Session::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (true) {
        if (condition())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
}

QImage X11Session::waitForPicture(const QString& path) {
    QImage picture;
    waitUntil([&] { return picture.load(path); });
    return picture;
}

qulonglong X11Session::waitForWindow(const QString& name) const {
    QList<qulonglong> found;
    waitUntil([&] { return !(found = visibleWindows(name)).isEmpty(); });
    return found.value(0);
}

QList<qulonglong> X11Session::visibleWindows(const QString& name) const {
    // Names as the window tree shows them: Qt gives pop-up menus and tips only the UTF-8
    // name, which `xdotool search --name` does not see.
    const QRegularExpression pattern(name);
    const QRegularExpression line(QStringLiteral("^\\s*(0x[0-9a-f]+) \"(.*)\": \\("));
    QList<qulonglong> windows;
    const QString tree = run("xwininfo", {"-root", "-tree"});
    for (const QString& entry : tree.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(entry);
        if (!match.hasMatch() || !pattern.match(match.captured(2)).hasMatch())
            continue;
        const qulonglong id = match.captured(1).toULongLong(nullptr, 0);
        const QString info = run("xwininfo", {"-id", match.captured(1)});
        if (id && info.contains("Map State: IsViewable"))
            windows.append(id);
    }
    return windows;
}

QRect X11Session::windowGeometry(qulonglong window) const {
    const QString info = run("xwininfo", {"-id", QString::number(window)});
    return QRect(xwininfoField(info, "Absolute upper-left X"),
                 xwininfoField(info, "Absolute upper-left Y"), xwininfoField(info, "Width"),
                 xwininfoField(info, "Height"));
}

QRect X11Session::frameGeometry(qulonglong window) const {
    // As the window manager declares its frame: left, right, top and bottom.
    const QString extents = run("xprop", {"-id", QString::number(window), "_NET_FRAME_EXTENTS"});
    const QStringList e = extents.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    return windowGeometry(window).adjusted(
        -e.value(0).trimmed().toInt(), -e.value(2).trimmed().toInt(), e.value(1).trimmed().toInt(),
        e.value(3).trimmed().toInt());
}

QList<qulonglong> X11Session::trayIcons() const {
    // Embedded icons are in the subtree of trayer's panel window (named and classed "panel"),
    // named after their program.
    const QString panel =
        run("xdotool", {"search", "--classname", "^panel$"}).section(QLatin1Char('\n'), 0, 0);
    QList<qulonglong> icons;
    for (const QString& line : run("xwininfo", {"-tree", "-id", panel}).split(QLatin1Char('\n')))
        if (line.contains("\"Glimwell\": ("))
            icons.append(line.trimmed().section(QLatin1Char(' '), 0, 0).toULongLong(nullptr, 0));
    return icons;
}

QProcess* X11Session::startInTray(const QString& executable, const QStringList& arguments) {
    QProcess* program = start(executable, arguments);
    const bool inTray = waitUntil([&] { return !trayIcons().isEmpty(); }, kStartMs);
    return inTray ? program : nullptr;
}

qulonglong X11Session::startShown(const ProgramCopy& program, const QByteArray& options,
                                  QProcess** process) {
    program.writeFile("Settings.ini", "[Options]\r\nShowmain=1\r\n" + options);
    QProcess* started = startInTray(program.executable());
    if (process)
        *process = started;
    return started ? waitForWindow(kMain) : 0;
}

bool X11Session::trayMenu(const QString& keys, int button) const {
    const QList<qulonglong> icons = trayIcons();
    if (icons.isEmpty())
        return false;
    const QPoint centre = windowGeometry(icons.first()).center();
    return chooseFrom(newWindow(kPopUp, [&] { click(centre.x(), centre.y(), button); }), keys);
}

bool X11Session::mainMenu(qulonglong main, const QString& keys) const {
    const QRect area = windowGeometry(main);
    activate(main);
    return chooseFrom(newWindow(kPopUp, [&] { click(area.x() + 16, area.y() + 10); }), keys);
}

bool X11Session::chooseFrom(qulonglong menu, const QString& keys) const {
    if (menu != 0 && !keys.isEmpty()) {
        for (const QString& k : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            key(k);
        key("Return");
    }
    return menu != 0;
}

qulonglong X11Session::newWindow(const QString& name, const std::function<void()>& action) const {
    const QList<qulonglong> before = visibleWindows(name);
    action();
    qulonglong window = 0;
    waitUntil([&] {
        for (qulonglong w : visibleWindows(name))
            if (!before.contains(w))
                window = w;
        return window != 0;
    });
    return window;
}

bool X11Session::answer(const QString& title, const QString& keys) const {
    // The tray icon, named after the program, is no message.
    const QList<qulonglong> icons = trayIcons();
    const auto boxes = [&] {
        QList<qulonglong> found = visibleWindows(title);
        found.removeIf([&](qulonglong w) { return icons.contains(w); });
        return found;
    };
    QList<qulonglong> found;
    if (!waitUntil([&] { return !(found = boxes()).isEmpty(); }))
        return false;
    activate(found.first());
    key(keys);
    return waitUntil([&] { return boxes().isEmpty(); });
}

bool X11Session::offerPicture(const QImage& picture) {
    const QString file = m_home.filePath(QStringLiteral("offered%1.png").arg(m_processes.size()));
    picture.save(file);
    start("xclip", {"-quiet", "-selection", "clipboard", "-t", "image/png", "-i", file});
    return waitUntil([&] {
        return run("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"})
            .contains("image/png");
    });
}

void X11Session::click(int x, int y, int button) const {
    run("xdotool",
        {"mousemove", QString::number(x), QString::number(y), "click", QString::number(button)});
}

void X11Session::drag(const QList<QPoint>& path, int button) const {
    QStringList steps;
    for (const QPoint p : path) {
        steps << "mousemove" << QString::number(p.x()) << QString::number(p.y());
        if (steps.size() == 3)
            steps << "mousedown" << QString::number(button);
        steps << "sleep"
              << "0.3";
    }
    run("xdotool", steps << "mouseup" << QString::number(button));
}

void X11Session::key(const QString& keys) const {
    run("xdotool", {"key", keys});
}

void X11Session::activate(qulonglong window) const {
    run("xdotool", {"windowactivate", "--sync", QString::number(window)});
}

ProgramCopy::ProgramCopy() {
    QFile::copy(QStringLiteral(GLIM_BINARY), executable());
    QFile::setPermissions(executable(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
