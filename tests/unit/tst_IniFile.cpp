#include "settings/IniFile.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

using namespace glim;

// The settings file as the program reads and writes it: case-blind names, CR LF lines, writes
// in place, no cache, and nothing read or rewritten that is not a small regular file.
class TestIniFile : public QObject {
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_dir;
    QString m_path;

    QString read(const char* section, const char* key) {
        return readIni(m_path, QString::fromLatin1(section), QString::fromLatin1(key));
    }
    bool write(const char* section, const char* key, const QString& value) {
        return writeIni(m_path, QString::fromLatin1(section), QString::fromLatin1(key), value);
    }

private slots:
    void init() {
        m_dir.emplace();
        m_path = m_dir->filePath(u"Settings.ini"_qs);
    }

    // Values of section PATHS.
    void readsValuesByCaseBlindSectionAndKey_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray paths = "[paths]\r\nLastopen=/home/a/b.jpg\r\nStoredir=/home/out/\r\n";
        QTest::newRow("lower-case header") << paths << u"Lastopen"_qs << u"/home/a/b.jpg"_qs;
        QTest::newRow("key in other case") << paths << u"STOREDIR"_qs << u"/home/out/"_qs;
        // Storedir read from each file.
        const auto row = [](const char* name, const QByteArray& file, const QString& expected) {
            QTest::newRow(name) << file << u"Storedir"_qs << expected;
        };
        row("spaces trimmed", "[PATHS]\r\nStoredir=   /my shots/   \r\n", u"/my shots/"_qs);
        row("LF-only lines", "[Paths]\nStoredir=/x/\n", u"/x/"_qs);
        row("cut to 259 characters", "[PATHS]\r\nStoredir=" + QByteArray(300, 'x'),
            QString(259, 'x'));
        row("after a value holding ]", "[PATHS]\r\nLastopen=/a]b.jpg\r\nStoredir=/x/\r\n",
            u"/x/"_qs);
        row("key of another section", "[JPG]\r\nStoredir=/x/\r\n[Options]\r\nStartdel=1\r\n", {});
        row("commented out", "[PATHS]\r\n;Storedir=/x/\r\n", {});
        row("before any section", "Storedir=/x/\r\n[PATHS]\r\nLastopen=/a.jpg\r\n", {});
    }
    void readsValuesByCaseBlindSectionAndKey() {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        writeFile(m_path, file);
        QTEST(readIni(m_path, u"PATHS"_qs, key), "expected");
    }

    void writesInPlaceJoinSectionsAndAppendNewOnes() {
        writeFile(m_path, "; my notes\r\n[Options]\r\nStartdel=1\r\nShowmain=0\r\n\r\n[JPG]\r\n"
                          "Percentage=80\r\n");
        QVERIFY(write("options", "SHOWMAIN", u"1"_qs));
        QVERIFY(write("OPTIONS", "Hideclosed", u"0"_qs));
        QVERIFY(write("Paths", "Lastopen", u"/a.jpg"_qs));
        // The header keeps its first spelling; "PATHS" finds the section written as "Paths".
        QVERIFY(write("PATHS", "Storedir", u"/out/"_qs));
        QCOMPARE(readFile(m_path),
                 QByteArray("; my notes\r\n[Options]\r\nStartdel=1\r\nShowmain=1\r\n"
                            "Hideclosed=0\r\n\r\n[JPG]\r\nPercentage=80\r\n[Paths]\r\n"
                            "Lastopen=/a.jpg\r\nStoredir=/out/\r\n"));
    }

    void missingFileReadsEmptyAndIsMadeByTheNextWrite() {
        QCOMPARE(read("Options", "Showmain"), QString());
        QVERIFY(!QFile::exists(m_path));
        QVERIFY(write("Options", "Showmain", u"1"_qs));
        QVERIFY(QFile::remove(m_path));
        // Nothing is cached: the deleted file reads as empty at once.
        QCOMPARE(read("Options", "Showmain"), QString());
        QVERIFY(write("PATHS", "Storedir", u"/x/"_qs));
        QCOMPARE(readFile(m_path), QByteArray("[PATHS]\r\nStoredir=/x/\r\n"));

        m_path = m_dir->filePath(u"no/such/folder/Settings.ini"_qs);
        QVERIFY(!write("Options", "Showmain", u"1"_qs));
    }

    void writeThatWouldAddLinesIsRefused_data() {
        QTest::addColumn<QStringList>("write"); // section, key, value
        QTest::newRow("LF in the value")
            << QStringList{"PATHS", "Lastopen", "/a\n[Options]\nShowmain=1"};
        QTest::newRow("line break in the key") << QStringList{"PATHS", "Last\nopen", "/b"};
        QTest::newRow("line break in the section") << QStringList{"PA\rTHS", "Lastopen", "/b"};
        QTest::newRow("] in the section") << QStringList{"PATHS]x", "Lastopen", "/b"};
        QTest::newRow("= in the key") << QStringList{"PATHS", "Lastopen=x", "/b"};
    }
    void writeThatWouldAddLinesIsRefused() {
        QFETCH(QStringList, write);
        const QByteArray before = "[PATHS]\r\nLastopen=/old.jpg\r\n";
        writeFile(m_path, before);
        QVERIFY(!writeIni(m_path, write[0], write[1], write[2]));
        QCOMPARE(readFile(m_path), before);
    }

    // Each reads as a file without keys and is not replaced by a write; one that were opened
    // would never come back (a FIFO waits for a writer, /dev/zero never ends).
    void onlyASmallRegularFileIsReadOrRewritten_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << u"fifo"_qs;
        QTest::newRow("link to /dev/zero") << u"zero"_qs;
        QTest::newRow("1 MiB + 1 byte") << u"large"_qs;
        // Read whole, but a write that would take it past 1 MiB is lost instead.
        QTest::newRow("exactly 1 MiB, key at its very end") << u"limit"_qs;
    }
    void onlyASmallRegularFileIsReadOrRewritten() {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(m_path);
        const QByteArray tail = "\r\n[Options]\r\nShowmain=1";
        const QByteArray bytes =
            ';' + QByteArray(1024 * 1024 + (kind == u"large") - 1 - tail.size(), 'x') + tail;
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (kind == u"zero")
            QCOMPARE(::symlink("/dev/zero", path.constData()), 0);
        else
            writeFile(m_path, bytes);
        QCOMPARE(read("Options", "Showmain"), QString(kind == u"limit" ? "1" : ""));
        QVERIFY(!write("Options", "Startdel", u"1"_qs));
        QCOMPARE(read("Options", "Startdel"), QString());
        if (kind == u"large" || kind == u"limit")
            QVERIFY(readFile(m_path) == bytes);
    }

    // A value that does not read as a whole number counts as 0.
    void numericUseOfValues() {
        QCOMPARE(iniNumber(u"1abc"_qs), 0);
        QCOMPARE(iniNumber(u" 85 "_qs), 85);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
