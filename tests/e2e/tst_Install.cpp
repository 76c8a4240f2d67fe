#include "support/X11Session.h"

#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

namespace {

// Runs a program to its end: its exit code (-1 when it crashed or hung) and its output.
std::pair<int, QString> run(const QString& program, const QStringList& arguments,
                            const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended =
        process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

// A key's value in a desktop entry, with its escaped backslashes read back.
QString entryValue(const QString& entry, const QString& key) {
    for (const QString& line : QString::fromUtf8(fileBytes(entry)).split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1).replace("\\\\", "\\");
    return {};
}

// The program an Exec value starts: its quoted first argument (with no quote inside), the
// escapes and %% read back.
QString execProgram(const QString& exec) {
    QString program = exec.mid(1, exec.indexOf(QLatin1Char('"'), 1) - 1);
    return program.replace(QRegularExpression(QStringLiteral(R"(\\(.))")), QStringLiteral("\\1"))
        .replace("%%", "%");
}

// The files (or folders) under `root`, hidden ones too, by their paths from `root`.
QStringList entriesUnder(const QString& root, QDir::Filters kind) {
    QStringList entries;
    QDirIterator it(root, kind | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(root).relativeFilePath(it.next()));
    return entries;
}

} // namespace

// The program as a desktop user installs it: scripts/install into a fresh home, the menu and
// login entries validated, the program started by the path its entry names until its icon
// docks in the notification area, then scripts/uninstall, which keeps only Settings.ini.
// --version and --help are asked of the installed program.
class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void installsStartsFromTheMenuEntryAndUninstallsToSettingsIni_data() {
        QTest::addColumn<QString>("prefixName"); // under the home folder; empty: the default
        QTest::newRow("default prefix ~/.local") << QString();
        // A space and a percent sign, which the Exec line must quote and double.
        QTest::newRow("--prefix with a space and a percent sign") << "my apps 100%";
    }
    void installsStartsFromTheMenuEntryAndUninstallsToSettingsIni() {
        QFETCH(QString, prefixName);
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.remove("XDG_CONFIG_HOME");
        environment.remove("XDG_DATA_HOME");
        environment.remove("DISPLAY"); // until the program runs in the session
        const QString prefix = home.filePath(prefixName.isEmpty() ? ".local" : prefixName);
        const QStringList prefixArguments =
            prefixName.isEmpty() ? QStringList() : QStringList{"--prefix", prefix};
        const auto script = [&](const char* name, const QStringList& arguments) {
            return run("bash",
                       QStringList{QString(GLIM_SOURCE_DIR "/scripts/") + QLatin1String(name)} +
                           arguments + prefixArguments,
                       environment);
        };

        const auto [installed, installOutput] =
            script("install", {"--build-dir", GLIM_BUILD_DIR, "--autostart"});
        QVERIFY2(installed == 0, qPrintable(installOutput));
        const QString folder = prefix + "/opt/glimwell";
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Glimwell"});
        const QString menuEntry = prefix + "/share/applications/glimwell.desktop";
        for (const QString& entry :
             {menuEntry, home.filePath(".config/autostart/glimwell.desktop")}) {
            const auto [valid, complaints] = run("desktop-file-validate", {entry}, environment);
            QVERIFY2(valid == 0 && complaints.isEmpty(), qPrintable(entry + ": " + complaints));
            QCOMPARE(entryValue(entry, "Categories"), QStringLiteral("Utility;"));
            QCOMPARE(execProgram(entryValue(entry, "Exec")), folder + "/Glimwell");
        }
        QCOMPARE(entryValue(menuEntry, "Icon"), QStringLiteral("glimwell"));
        const QString theme = prefix + "/share/icons/hicolor/";
        for (const int size : {16, 32, 48, 128}) {
            const QImage icon(theme + QStringLiteral("%1x%1/apps/glimwell.png").arg(size));
            QCOMPARE(icon.size(), QSize(size, size));
            QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);                 // around the screen
            QCOMPARE(icon.pixelColor(size / 2, size / 2).alpha(), 255); // the lens
        }
        QVERIFY(QFileInfo(theme + "scalable/apps/glimwell.svg").size() > 0);
        // --version and --help answer before the toolkit starts, without a display.
        const QString program = execProgram(entryValue(menuEntry, "Exec"));
        QCOMPARE(run(program, {"--version"}, environment),
                 std::make_pair(0, QStringLiteral("Zivra Glimwell 1.00\n")));
        const auto [helped, help] = run(program, {"--help"}, environment);
        QVERIFY(helped == 0 && help.startsWith("Usage: Glimwell [--help | --version]\n"));
        QCOMPARE(help.count(QLatin1Char('\n')), 2); // and one paragraph

        // Started as the menu starts it. Startdel=1 lets a working picture outlive the Exit,
        // for the uninstall to find.
        X11Session x;
        QVERIFY2(x.isReady(), qPrintable(x.error()));
        const QString settings = folder + "/Settings.ini";
        QVERIFY(writeBytes(settings, "[Options]\r\nStartdel=1\r\n"));
        QProcess* glim = x.startInTray(program);
        QVERIFY2(glim, "the installed program's icon docks in the notification area");
        QVERIFY(writeBytes(folder + "/Temp/screenshot1.jpg", "picture"));

        const auto [whileRunning, refusal] = script("uninstall", {});
        QVERIFY2(whileRunning != 0 && refusal.contains("Exit"), qPrintable(refusal));
        QVERIFY(QFile::exists(program));
        QVERIFY(x.trayMenu("Up")); // Exit
        QVERIFY(glim->waitForFinished(20000));

        const auto [uninstalled, uninstallOutput] = script("uninstall", {});
        QVERIFY2(uninstalled == 0, qPrintable(uninstallOutput));
        const QString kept = QDir(home.path()).relativeFilePath(settings);
        QCOMPARE(entriesUnder(home.path(), QDir::Files), QStringList{kept});
        // The folders left lead to Settings.ini, besides the desktop's own ~/.config.
        for (const QString& dir : entriesUnder(home.path(), QDir::Dirs))
            QVERIFY2(dir == ".config" || kept.startsWith(dir + '/'), qPrintable(dir));

        const auto [purged, purgeOutput] = script("uninstall", {"--remove-settings"});
        QVERIFY2(purged == 0, qPrintable(purgeOutput));
        QCOMPARE(entriesUnder(home.path(), QDir::Files), QStringList());
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_Install.moc"
