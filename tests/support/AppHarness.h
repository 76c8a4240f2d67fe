#pragma once

#include "app/Application.h"
#include "app/MainWindow.h"
#include "support/FakeHotKey.h"
#include "support/FakeScreenGrabber.h"
#include "support/FakeServices.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

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

    glim::Services services() {
        return {.folder = glim::ProgramFolder(folder.path()),
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

    QString tempFile(const QString& name) const {
        return folder.filePath(QStringLiteral("Temp/") + name);
    }
    void putTempFile(const QString& name) const {
        QDir(folder.path()).mkpath(QStringLiteral("Temp"));
        QFile file(tempFile(name));
        file.open(QIODevice::WriteOnly);
        file.write("picture");
    }
};

// The application core on the test services, with a settings file when one is given.
struct AppHarness : TestServices {
    std::unique_ptr<glim::Application> app;

    explicit AppHarness(const QByteArray& settings = {}) {
        if (!settings.isEmpty()) {
            QFile file(folder.filePath(QStringLiteral("Settings.ini")));
            file.open(QIODevice::WriteOnly);
            file.write(settings);
        }
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

    std::unique_ptr<glim::Application> makeApp() {
        return std::make_unique<glim::Application>(services());
    }
};
