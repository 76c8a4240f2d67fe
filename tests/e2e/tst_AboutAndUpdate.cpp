#include "support/X11Session.h"

#include <QFileInfo>
#include <QTest>

namespace {

// A loopback HTTP server in a process of its own, so that it answers while the test polls: each
// request is counted in `requests` and answered with the bytes of `answer`. It prints its port.
const char* const kServer = R"(
import http.server, os, sys
folder = sys.argv[1]
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(os.path.join(folder, "requests"), "a") as count: count.write("x")
        body = open(os.path.join(folder, "answer"), "rb").read()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_port, flush=True)
server.serve_forever()
)";

const QString kAbout = QStringLiteral("^About Zivra Glimwell\\.\\.\\.$");
const QString kInformation = QStringLiteral("^Zivra Glimwell Information$");
const QString kQuestion = QStringLiteral("^Zivra Glimwell Question$");
const QString kError = QStringLiteral("^VAR Udorodadur Error$");
const QString kSite = QStringLiteral("http://www.zivra-glimwell.example");

} // namespace

// The About window, the update check against a loopback server, the Options dialog and the Help
// links of the real program in one X session, with a browser stub that records what it opens.
class TestAboutAndUpdate : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_stubs; // the browser stub, what it opened, and the server's files
    QProcess m_server;
    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<ProgramCopy> m_program;

    void answer(const QByteArray& body) const {
        QFile file(m_stubs.filePath("answer"));
        if (file.open(QIODevice::WriteOnly))
            file.write(body);
    }
    qint64 requests() const { return QFileInfo(m_stubs.filePath("requests")).size(); }
    QString opened() const {
        QFile file(m_stubs.filePath("opened.txt"));
        return file.open(QIODevice::ReadOnly) ? QString(file.readAll()).trimmed() : QString();
    }
    qulonglong window(const QString& title) const { return m_x->waitForWindow(title); }
    // The text of the message box titled `title` (Ctrl+C copies it); `answer` then closes it.
    QString readMessage(const QString& title, const QString& answer = "Return") {
        const qulonglong box = window(title);
        if (box == 0)
            return "(no message titled " + title + ")";
        m_x->run("xclip", {"-selection", "clipboard", "/dev/null"});
        m_x->activate(box);
        m_x->key("ctrl+c");
        QString text;
        X11Session::waitUntil([&] {
            return !(text = m_x->run("xclip", {"-o", "-selection", "clipboard"})).isEmpty();
        });
        m_x->key(answer);
        X11Session::waitUntil([&] { return m_x->visibleWindows(title).isEmpty(); });
        return text;
    }
    // Opens a menu of the main window by keys from its File menu and chooses an entry by keys.
    void mainMenu(const QString& menuKeys, const QString& entryKeys) {
        const qulonglong main = window("^Zivra Glimwell$");
        const QRect area = m_x->windowGeometry(main);
        m_x->activate(main);
        m_x->popUp([&] { m_x->click(area.x() + 16, area.y() + 10); });
        for (const QString& k : menuKeys.split(' '))
            m_x->key(k);
        m_x->chooseMenuEntry(entryKeys);
    }
    void clickAboutButton(int x) {
        const QRect about = m_x->windowGeometry(window(kAbout));
        m_x->click(about.x() + x, about.y() + 252);
    }

private slots:
    void initTestCase() {
        QFile stub(m_stubs.filePath("xdg-open"));
        QVERIFY(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        stub.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        stub.close();
        m_server.start("python3", {"-c", kServer, m_stubs.path()});
        QVERIFY(m_server.waitForReadyRead(10000));
        const QByteArray url = "http://127.0.0.1:" + m_server.readLine().trimmed() + "/version.txt";
        // Inherited by the session and the program: the browser stub first on the path, the
        // version file on the loopback server, and a short time-out.
        qputenv("PATH", m_stubs.path().toLocal8Bit() + ':' + qgetenv("PATH"));
        qputenv("GLIMWELL_VERSION_URL", url);
        qputenv("GLIMWELL_UPDATE_TIMEOUT_MS", "3000");
        m_x = std::make_unique<X11Session>();
        QVERIFY2(m_x->isReady(), qPrintable(m_x->error()));
        m_program = std::make_unique<ProgramCopy>(GLIM_BINARY);
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
        QTest::newRow("same") << QByteArray("1.00\r\n") << kInformation
                              << QString(10, ' ') + "Your version: 1.00\r\n" + QString(8, ' ') +
                                     "Current version: 1.00\r\nYou still have the latest version.";
        QTest::newRow("newer") << QByteArray("1.01\r\nnotes\r\n") << kQuestion
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
        answer(body);
        if (row == "closed port") {
            m_server.kill();
            m_server.waitForFinished();
        }
        const qint64 asked = requests();
        if (row == "same") { // the tray's "Check for update" loads and shows the About window
            QVERIFY(m_x->openTrayMenu(1));
            m_x->chooseMenuEntry("Up Up Up");
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
        for (const QString button : {"1", "3"}) {
            const QPoint before = m_x->windowGeometry(about).topLeft();
            m_x->run("xdotool", {"mousemove", QString::number(before.x() + 100),
                                 QString::number(before.y() + 10), "mousedown", button});
            m_x->run("xdotool", {"mousemove", QString::number(before.x() + 60),
                                 QString::number(before.y() + 90), "mouseup", button});
            QVERIFY2(X11Session::waitUntil([&] {
                         return m_x->windowGeometry(about).topLeft() == before + QPoint(-40, 80);
                     }),
                     qPrintable("button " + button));
        }
        // "Exit" unloads it; the tray's "About" loads it again.
        clickAboutButton(432);
        QVERIFY(X11Session::waitUntil([&] { return m_x->visibleWindows(kAbout).isEmpty(); }));
        QVERIFY(m_x->openTrayMenu(1));
        m_x->chooseMenuEntry("Up Up");
        QVERIFY(window(kAbout));
        clickAboutButton(432);
    }

    void linksAndTheCheckFromTheMainWindowMenus() {
        QVERIFY(m_x->openTrayMenu(1));
        m_x->chooseMenuEntry("Down"); // Show
        // The four Help links, the last three in Quick links.
        QFile::remove(m_stubs.filePath("opened.txt"));
        const QStringList pages = {
            kSite + "/modules.php?op=modload&name=FAQ&file=index&myfaq=yes&id_cat=4", kSite + "/",
            "http://forums.zivra-glimwell.example/",
            kSite + "/modules.php?op=modload&name=Downloads&file=index"};
        const QStringList keys = {"", "Down Right", "Down Right Down", "Down Right Down Down"};
        for (int i = 0; i < 4; ++i) {
            mainMenu("Right Right Right", keys[i]);
            QVERIFY(
                X11Session::waitUntil([&] { return opened() == pages.mid(0, i + 1).join('\n'); }));
        }
        // "About", then "Check for update" into the same window (the server is closed now).
        mainMenu("Right Right Right", "Down Down Down");
        QVERIFY(window(kAbout));
        mainMenu("Right Right Right", "Down Down");
        QCOMPARE(readMessage(kError), QStringLiteral("An error occured"));
        QCOMPARE(m_x->visibleWindows(kAbout).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestAboutAndUpdate)
#include "tst_AboutAndUpdate.moc"
