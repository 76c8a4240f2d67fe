#pragma once

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/Controls.h"
#include "support/FakeHotKey.h"
#include "support/FakeScreenGrabber.h"
#include "support/FakeServices.h"
#include "support/PictureCompare.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// What a tenth picture of one capture event is refused with.
inline const QString kLimitText =
    QStringLiteral("The maximum number of screenshots per glimevent is 9. Please save the "
                   "screenshots you'ld like to keep.");

// The platform services as doubles, on a temporary program folder with a private lock folder
// and a quit function that only counts, so that a test sees "the process ends".
struct TestServices {
    QTemporaryDir folder;
    QTemporaryDir lockFolder;
    ScriptedDialogs dialogs;
    FakeScreenGrabber grabber;
    FakeClipboard clipboard;
    RecordingPrinter printer;
    RecordingShell shell;
    ScriptedHttpFetch http;
    ScriptedFileDialogs fileDialogs;
    FakeHotKey selectorHotKey;
    int quitCalls = 0;
    // The application's folder: the copies share its background writes.
    glim::ProgramFolder programFolder{folder.path()};

    glim::Services services() {
        return {.folder = programFolder,
                .dialogs = dialogs,
                .grabber = grabber,
                .clipboard = clipboard,
                .printer = printer,
                .shell = shell,
                .http = http,
                .fileDialogs = fileDialogs,
                .executablePath = folder.filePath(QStringLiteral("Glimwell")),
                .lockFolder = lockFolder.path(),
                .quit = [this] { ++quitCalls; },
                .selectorHotKey = &selectorHotKey};
    }

    // Writes a file below the program folder: its path, or an empty one when that failed.
    QString putFile(const QString& name, const QByteArray& bytes) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                   ? file.fileName()
                   : QString();
    }
    // Lets the working files' writes under way end and a failed one's message arrive.
    void settle() const {
        programFolder.awaitWrites();
        QCoreApplication::sendPostedEvents();
    }
    // A working file's path, its write under way ended.
    QString tempFile(const QString& name) const {
        settle();
        return folder.filePath(QStringLiteral("Temp/") + name);
    }
    void putTempFile(const QString& name) const {
        QDir(folder.path()).mkpath(QStringLiteral("Temp"));
        putFile(QStringLiteral("Temp/") + name, "picture");
    }
    QStringList tempFiles() const {
        settle();
        return QDir(folder.filePath(QStringLiteral("Temp"))).entryList(QDir::Files);
    }
};

// The application core on the test services, with a settings file when one is given.
struct AppHarness : TestServices {
    std::unique_ptr<glim::Application> app;

    explicit AppHarness(const QByteArray& settings = {}) {
        if (!settings.isEmpty())
            putFile(QStringLiteral("Settings.ini"), settings);
        app = makeApp();
    }

    // A full-screen capture of `screen` from the main window's Tools menu, its delay skipped:
    // true when the command armed its timer and the tick ran.
    bool captureFullScreen(const QImage& screen) {
        grabber.screen = screen;
        glim::MainWindow* window = app->mainWindow();
        window->menu().capture[std::size_t(glim::CaptureMode::FullScreen)]->trigger();
        auto* bckt = window->findChild<QTimer*>(QStringLiteral("bckt"));
        return bckt && bckt->isActive() && QMetaObject::invokeMethod(bckt, "timeout");
    }
    // The same of a screen of the fake grabber's known blocks.
    bool captureFullScreen(QSize size) {
        return captureFullScreen(FakeScreenGrabber::pattern(size));
    }

    std::unique_ptr<glim::Application> makeApp() {
        return std::make_unique<glim::Application>(services());
    }
};

// For test classes whose every test starts the application afresh, its main window shown.
struct MainWindowFixture {
    std::unique_ptr<AppHarness> m_h;
    glim::MainWindow* m_window = nullptr;
    glim::ScreenshotViewer* m_viewer = nullptr;

    bool startMain(const QByteArray& settings = {}) {
        m_h.reset(); // the earlier test's windows go before the new ones come
        m_h = std::make_unique<AppHarness>(settings);
        if (!m_h->app->start())
            return false;
        m_window = m_h->app->mainWindow();
        m_viewer = m_window->viewer();
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window);
    }
};
