#include "about/UpdateCheck.h"
#include "about/VersionCheck.h"
#include "support/FakeServices.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace glim;

// The update check's rule: the version file's first line against "1.00", by character codes.
class TestUpdateCheck : public QObject {
    Q_OBJECT

private slots:
    void firstLineAgainstTheOwnVersion_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("published");
        const int silent = VersionVerdict::Silent, latest = VersionVerdict::Latest,
                  newer = VersionVerdict::Newer;
        QTest::newRow("1.0 sorts before") << QByteArray("1.0") << silent << "1.0";
        QTest::newRow("trailing space") << QByteArray("1.00 ") << newer << "1.00 ";
        QTest::newRow("CR LF: first line") << QByteArray("1.00\r\n2.00\r\n") << latest << "1.00";
        QTest::newRow("CR alone ends it") << QByteArray("1.01\r2.00") << newer << "1.01";
        QTest::newRow("LF only: one line") << QByteArray("1.00\n2.00\n") << newer << "1.00\n2.00\n";
        QTest::newRow("empty first line") << QByteArray("\r\n2.00") << silent << "";
        QTest::newRow("byte over 127") << QByteArray("\xe9t\xe9") << newer << "\u00e9t\u00e9";
    }
    void firstLineAgainstTheOwnVersion() {
        QFETCH(QByteArray, file);
        const VersionVerdict verdict = judgeVersionFile(file);
        QTEST(int(verdict.kind), "kind");
        QTEST(verdict.published, "published");
    }

    void checkFetchesAtMost64KiBAndReportsAFailedDownload() {
        ScriptedHttpFetch http; // answers with a failure
        ScriptedDialogs dialogs;
        RecordingShell shell;
        UpdateCheck(http, dialogs, shell, UpdateSource::from({}, QStringLiteral("soon"))).run();
        QCOMPARE(http.requests.size(), 1);
        QCOMPARE(http.requests[0].url, QUrl("http://www.zivra-glimwell.example/version.txt"));
        QCOMPARE(http.requests[0].timeoutMs, 60000);
        QCOMPARE(http.requests[0].maxBytes, qint64(65536));
        QCOMPARE(dialogs.said(), QStringList{u"critical|VAR Udorodadur Error|An error occured"_qs});
        QVERIFY(shell.opened.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_UpdateCheck.moc"
