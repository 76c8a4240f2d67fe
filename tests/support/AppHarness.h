#pragma once

#include "app/Application.h"
#include "support/FakeScreenGrabber.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// The application core on a temporary program folder with scripted message boxes, a private
// lock folder and a quit function that only counts, so that a test sees "the process ends".
struct AppHarness {
    QTemporaryDir folder;
    QTemporaryDir lockFolder;
    ScriptedDialogs dialogs;
    FakeScreenGrabber grabber;
    int quitCalls = 0;
    std::unique_ptr<glim::Application> app;

    explicit AppHarness(const QByteArray& settings = {}) {
        if (!settings.isEmpty()) {
            QFile file(folder.filePath(QStringLiteral("Settings.ini")));
            file.open(QIODevice::WriteOnly);
            file.write(settings);
        }
        app = makeApp();
    }

    std::unique_ptr<glim::Application> makeApp() {
        glim::Application::Services services{glim::ProgramFolder(folder.path()),
                                             &dialogs,
                                             &grabber,
                                             folder.filePath(QStringLiteral("Glimwell")),
                                             lockFolder.path(),
                                             [this] { ++quitCalls; }};
        return std::make_unique<glim::Application>(std::move(services));
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
