#include "support/X11Session.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString kAbout = QStringLiteral("^About Zivra Glimwell\\.\\.\\.$");
const QString kError = QStringLiteral("^VAR Udorodadur Error$");
const QString kSite = QStringLiteral("http://www.zivra-glimwell.example");

} // namespace

// The About window, the update check against a loopback server and the Help links of the real
// program in one X session, with a browser stub that records what it opens.
class TestAboutAndUpdate : public QObject {
    Q_OBJECT

private:
    // The browser stub and what it opened, and the loopback server's folder and its log, one
    // line a request.
    QTemporaryDir m_stubs;
    QProcess m_server;
    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<ProgramCopy> m_program;

    qsizetype requests() const {
        return fileBytes(m_stubs.filePath("requests.log")).count("GET /version.txt");
    }
    QString opened() const { return fileBytes(m_stubs.filePath("opened.txt")).trimmed(); }
    qulonglong window(const QString& title) const { return m_x->waitForWindow(title); }
    // The text of the message box titled `title` (Ctrl+C copies it); `keys` then close it.
    QString readMessage(const QString& title, const QString& keys = "Return") {
        m_x->run("xclip", {"-selection", "clipboard", "/dev/null"});
        m_x->activate(window(title));
        m_x->key("ctrl+c");
        QString text;
        X11Session::waitUntil([&] {
            return !(text = m_x->run("xclip", {"-o", "-selection", "clipboard"})).isEmpty();
        });
        return m_x->answer(title, keys) ? text : "(no message titled " + title + ")";
    }
    // Chooses an entry of the main window's Help menu by keys.
    void helpMenu(const QString& keys) {
        m_x->mainMenu(window(X11Session::kMain), "Right Right Right " + keys);
    }
    void clickAboutButton(int x) {
        const QRect about = m_x->windowGeometry(window(kAbout));
        m_x->click(about.x() + x, about.y() + 252);
    }

private slots:
    void initTestCase() {
        const QString stub = m_stubs.filePath("xdg-open");
        QVERIFY(writeBytes(stub, "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/opened.txt\"\n"));
        QFile::setPermissions(stub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_server.setStandardErrorFile(m_stubs.filePath("requests.log"));
        m_server.start("python3", {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                                   "--directory", m_stubs.path()});
        QVERIFY(m_server.waitForReadyRead(10000));
        const QString port =
            QRegularExpression("port (\\d+)").match(m_server.readLine()).captured(1);
        const QByteArray url = "http://127.0.0.1:" + port.toLatin1() + "/version.txt";
        // Inherited by the session and the program: the browser stub first on the path, the
        // version file on the loopback server, and a short time-out.
        qputenv("PATH", m_stubs.path().toLocal8Bit() + ':' + qgetenv("PATH"));
        qputenv("GLIMWELL_VERSION_URL", url);
        qputenv("GLIMWELL_UPDATE_TIMEOUT_MS", "3000");
        m_x = std::make_unique<X11Session>();
        QVERIFY2(m_x->isReady(), qPrintable(m_x->error()));
        m_program = std::make_unique<ProgramCopy>();
        QVERIFY(m_x->startInTray(m_program->executable()));
    }
    void cleanupTestCase() {
        m_x.reset();
        m_server.kill();
        m_server.waitForFinished();
    }

    // How each answer reads is the update check's unit test; here the real program fetches
    // from a real server, and its answer boxes lead on.
    void checkAgainstEachAnswerOfTheServer_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("same") << QByteArray("1.00\r\n") << X11Session::kInformation
                              << QString(10, ' ') + "Your version: 1.00\r\n" + QString(8, ' ') +
                                     "Current version: 1.00\r\nYou still have the latest version.";
        QTest::newRow("newer") << QByteArray("1.01\r\nnotes\r\n") << X11Session::kQuestion
                               << QString(15, ' ') + "Your version: 1.00\r\n" + QString(13, ' ') +
                                      "Current version: 1.01\r\nGo to Zivra to download the new "
                                      "version?";
        QTest::newRow("closed port") << QByteArray("1.00") << kError << "An error occured";
    }
    void checkAgainstEachAnswerOfTheServer() {
        QFETCH(QByteArray, body);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const QString row = QTest::currentDataTag();
        QVERIFY(writeBytes(m_stubs.filePath("version.txt"), body));
        if (row == "closed port") {
            m_server.kill();
            m_server.waitForFinished();
        }
        const qint64 asked = requests();
        if (row == "same") { // the tray's "Check for update" loads and shows the About window
            QVERIFY(m_x->trayMenu("Up Up Up"));
        } else {
            clickAboutButton(336); // the About window's own "Check for update"
        }
        QVERIFY(window(kAbout));
        if (row != "closed port")
            QVERIFY(X11Session::waitUntil([&] { return requests() > asked; }));
        // Yes on the offer opens the maker's site in the browser.
        QCOMPARE(readMessage(title), text);
        if (row == "newer")
            QVERIFY(X11Session::waitUntil([&] { return opened() == kSite + "/"; }));
    }

    void aboutWindowMovesByItsTitleStripWithEitherButton() {
        const qulonglong about = window(kAbout);
        for (const int button : {1, 3}) {
            const QPoint before = m_x->windowGeometry(about).topLeft();
            m_x->drag({before + QPoint(100, 10), before + QPoint(60, 90)}, button);
            QVERIFY2(X11Session::waitUntil([&] {
                         return m_x->windowGeometry(about).topLeft() == before + QPoint(-40, 80);
                     }),
                     qPrintable(QString::number(button)));
        }
        clickAboutButton(432); // Exit
        QVERIFY(X11Session::waitUntil([&] { return m_x->visibleWindows(kAbout).isEmpty(); }));
    }

    void helpLinksOpenTheirPagesInTheBrowser() {
        QVERIFY(m_x->trayMenu("Down")); // Show
        // The four Help links, the last three in Quick links.
        QFile::remove(m_stubs.filePath("opened.txt"));
        const QStringList pages = {
            kSite + "/modules.php?op=modload&name=FAQ&file=index&myfaq=yes&id_cat=4", kSite + "/",
            "http://forums.zivra-glimwell.example/",
            kSite + "/modules.php?op=modload&name=Downloads&file=index"};
        const QStringList keys = {"", "Down Right", "Down Right Down", "Down Right Down Down"};
        for (int i = 0; i < 4; ++i) {
            helpMenu(keys[i]);
            QVERIFY(
                X11Session::waitUntil([&] { return opened() == pages.mid(0, i + 1).join('\n'); }));
        }
    }
};

QTEST_GUILESS_MAIN(TestAboutAndUpdate)
#include "tst_AboutAndUpdate.moc"
