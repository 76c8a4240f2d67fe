#include "support/X11Session.h"

#include <QDirIterator>
#include <QImage>
#include <QTest>

namespace {

struct Finished {
    int exitCode = -1;
    QString output; // standard output and error
};

Finished run(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment, int timeoutMs = 300000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {-1, QStringLiteral("timed out")};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromLocal8Bit(process.readAll())};
}

Finished script(const QString& name, const QStringList& arguments,
                const QProcessEnvironment& environment) {
    return run(QStringLiteral("bash"),
               QStringList{QStringLiteral(GLIM_SOURCE_DIR "/scripts/") + name} + arguments,
               environment);
}

// A key's value in a desktop entry, its string escapes undone.
QString entryValue(const QString& entryFile, const QString& key) {
    QFile file(entryFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString prefix = key + QLatin1Char('=');
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(prefix))
            continue;
        QString value;
        const QString raw = line.mid(prefix.size());
        for (int i = 0; i < raw.size(); ++i) {
            if (raw[i] != QLatin1Char('\\') || i + 1 == raw.size()) {
                value += raw[i];
                continue;
            }
            const QChar escaped = raw[++i];
            value += escaped == QLatin1Char('s')   ? QChar(' ')
                     : escaped == QLatin1Char('n') ? QChar('\n')
                     : escaped == QLatin1Char('t') ? QChar('\t')
                                                   : escaped;
        }
        return value;
    }
    return {};
}

// The program that an Exec value starts: its first argument, quoted or not, with a %% read
// as the % it stands for.
QString execProgram(const QString& exec) {
    QString program;
    if (!exec.startsWith(QLatin1Char('"'))) {
        program = exec.section(QLatin1Char(' '), 0, 0);
    } else {
        for (int i = 1; i < exec.size() && exec[i] != QLatin1Char('"'); ++i)
            program += exec[i] == QLatin1Char('\\') && i + 1 < exec.size() ? exec[++i] : exec[i];
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

// Every file and folder under `root`, hidden ones too, by its path from `root`.
QStringList entriesUnder(const QString& root, QDir::Filters kind) {
    QStringList entries;
    QDirIterator it(root, kind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(root).relativeFilePath(it.next()));
    entries.sort();
    return entries;
}

} // namespace

// The program installed as a desktop user installs it: scripts/install into a fresh home, the
// menu and login entries validated, the program started by the path its entry names until its
// icon docks in the notification area, then scripts/uninstall, which keeps only Settings.ini.
class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void versionAndHelpAnswerWithoutADisplay_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("lines");
        QTest::newRow("--version") << "--version"
                                   << "Zivra Glimwell 1.00" << 1;
        QTest::newRow("--help") << "--help"
                                << "Usage: Glimwell [--help | --version]" << 2;
    }
    void versionAndHelpAnswerWithoutADisplay() {
        QFETCH(QString, option);
        QFETCH(QString, firstLine);
        QFETCH(int, lines);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        const Finished answer = run(QStringLiteral(GLIM_BINARY), {option}, environment, 10000);
        QCOMPARE(answer.exitCode, 0);
        const QStringList text = answer.output.split(QLatin1Char('\n'));
        QCOMPARE(text.first(), firstLine);
        QCOMPARE(text.size(), lines + 1); // the last line ends too
        QVERIFY(text.last().isEmpty());
    }

    void installsStartsFromTheMenuEntryAndUninstallsToSettingsIni_data() {
        QTest::addColumn<QString>("prefixName"); // under the home folder; empty: the default
        QTest::newRow("default prefix ~/.local") << QString();
        // A space and a percent sign, which the Exec line must quote and double.
        QTest::newRow("--prefix with a space and a percent sign") << QStringLiteral("my apps 100%");
    }
    void installsStartsFromTheMenuEntryAndUninstallsToSettingsIni() {
        QFETCH(QString, prefixName);
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        QStringList prefixArguments;
        QString prefix = home.filePath(QStringLiteral(".local"));
        if (!prefixName.isEmpty()) {
            prefix = home.filePath(prefixName);
            prefixArguments = {QStringLiteral("--prefix"), prefix};
        }

        const Finished installed =
            script(QStringLiteral("install"),
                   QStringList{QStringLiteral("--build-dir"), QStringLiteral(GLIM_BUILD_DIR),
                               QStringLiteral("--autostart")} +
                       prefixArguments,
                   environment);
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.output));
        const QString folder = prefix + QStringLiteral("/opt/glimwell");
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Glimwell")});

        const QString menuEntry = prefix + QStringLiteral("/share/applications/glimwell.desktop");
        const QString loginEntry =
            home.filePath(QStringLiteral(".config/autostart/glimwell.desktop"));
        for (const QString& entry : {menuEntry, loginEntry}) {
            const Finished validated =
                run(QStringLiteral("desktop-file-validate"), {entry}, environment, 10000);
            QVERIFY2(validated.exitCode == 0 && validated.output.isEmpty(),
                     qPrintable(entry + QStringLiteral(": ") + validated.output));
            QCOMPARE(entryValue(entry, QStringLiteral("Categories")), QStringLiteral("Utility;"));
            QCOMPARE(execProgram(entryValue(entry, QStringLiteral("Exec"))),
                     folder + QStringLiteral("/Glimwell"));
        }
        QCOMPARE(entryValue(menuEntry, QStringLiteral("Icon")), QStringLiteral("glimwell"));
        const QString theme = prefix + QStringLiteral("/share/icons/hicolor/");
        for (const int size : {16, 32, 48, 128}) {
            const QImage icon(theme + QStringLiteral("%1x%1/apps/glimwell.png").arg(size));
            QCOMPARE(icon.size(), QSize(size, size));
            QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);                 // around the screen
            QCOMPARE(icon.pixelColor(size / 2, size / 2).alpha(), 255); // the lens
        }
        QFile scalable(theme + QStringLiteral("scalable/apps/glimwell.svg"));
        QVERIFY(scalable.open(QIODevice::ReadOnly));
        QVERIFY(scalable.readAll().contains("<svg"));

        // Started as the menu starts it: by the path its Exec names. Startdel=1 lets a working
        // picture outlive the Exit, for the uninstall to find.
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        const QString program = execProgram(entryValue(menuEntry, QStringLiteral("Exec")));
        QFile settings(folder + QStringLiteral("/Settings.ini"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Options]\r\nStartdel=1\r\n");
        settings.close();
        QProcess* glim = x.startInTray(program);
        QVERIFY2(glim, "the installed program's icon docks in the notification area");
        QCOMPARE(x.trayIcons(QStringLiteral("Glimwell")).size(), 1);
        QVERIFY(QDir(folder).mkpath(QStringLiteral("Temp")));
        QFile picture(folder + QStringLiteral("/Temp/screenshot1.jpg"));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.close();

        const Finished whileRunning =
            script(QStringLiteral("uninstall"), prefixArguments, environment);
        QVERIFY2(whileRunning.exitCode != 0, "uninstall refuses while the program runs");
        QVERIFY(whileRunning.output.contains(QStringLiteral("Exit")));
        QVERIFY(QFile::exists(program));

        QVERIFY(x.openTrayMenu(1));
        x.chooseMenuEntry(QStringLiteral("Up")); // Exit
        QVERIFY(glim->waitForFinished(5000));
        const Finished uninstalled =
            script(QStringLiteral("uninstall"), prefixArguments, environment);
        QVERIFY2(uninstalled.exitCode == 0, qPrintable(uninstalled.output));
        const QString kept = QDir(home.path()).relativeFilePath(settings.fileName());
        QCOMPARE(entriesUnder(home.path(), QDir::Files), QStringList{kept});
        // The folders left lead to Settings.ini, besides the desktop's own ~/.config.
        for (const QString& dir : entriesUnder(home.path(), QDir::Dirs))
            QVERIFY2(dir == QStringLiteral(".config") || kept.startsWith(dir + QLatin1Char('/')),
                     qPrintable(dir));

        const Finished purged =
            script(QStringLiteral("uninstall"),
                   QStringList{QStringLiteral("--remove-settings")} + prefixArguments, environment);
        QVERIFY2(purged.exitCode == 0, qPrintable(purged.output));
        QCOMPARE(entriesUnder(home.path(), QDir::Files), QStringList());
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_Install.moc"
