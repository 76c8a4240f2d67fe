#include "settings/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace glim;

// The settings file as the program reads and writes it: case-blind names, CR LF lines, writes
// in place, no cache.
class TestIniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    void writeRaw(const QByteArray& bytes) {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readRaw() {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

private slots:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("Settings.ini"));
        QFile::remove(m_path);
    }

    void readsValuesByCaseBlindSectionAndKey_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray paths = "[paths]\r\nLastopen=/home/a/b.jpg\r\nStoredir=/home/out/\r\n";
        QTest::newRow("lower-case header serves Lastopen") << paths << "PATHS"
                                                           << "Lastopen"
                                                           << "/home/a/b.jpg";
        QTest::newRow("lower-case header serves Storedir") << paths << "Paths"
                                                           << "Storedir"
                                                           << "/home/out/";
        QTest::newRow("key in other case") << paths << "PATHS"
                                           << "STOREDIR"
                                           << "/home/out/";
        QTest::newRow("spaces trimmed")
            << QByteArray("[PATHS]\r\nStoredir=   /srv/my shots/   \r\n") << "PATHS"
            << "Storedir"
            << "/srv/my shots/";
        QTest::newRow("LF-only lines") << QByteArray("[Options]\nShowmain=1\n") << "Options"
                                       << "Showmain"
                                       << "1";
        QTest::newRow("missing key") << paths << "PATHS"
                                     << "Percentage"
                                     << "";
        QTest::newRow("missing section") << paths << "Options"
                                         << "Showmain"
                                         << "";
        QTest::newRow("key of another section")
            << QByteArray("[JPG]\r\nShowmain=1\r\n[Options]\r\nStartdel=1\r\n") << "Options"
            << "Showmain"
            << "";
        QTest::newRow("empty value") << QByteArray("[Options]\r\nShowmain=\r\n") << "Options"
                                     << "Showmain"
                                     << "";
    }
    void readsValuesByCaseBlindSectionAndKey() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        writeRaw(file);
        QCOMPARE(readIni(m_path, section, key), expected);
    }

    void missingFileReadsEmpty() {
        QCOMPARE(readIni(m_path, QStringLiteral("Options"), QStringLiteral("Showmain")), QString());
        QVERIFY(!QFile::exists(m_path));
    }

    void longValueComesBackCutTo259Characters() {
        const QString longValue = QString(300, QLatin1Char('x'));
        writeIni(m_path, QStringLiteral("PATHS"), QStringLiteral("Storedir"), longValue);
        const QString back = readIni(m_path, QStringLiteral("PATHS"), QStringLiteral("Storedir"));
        QCOMPARE(back.size(), 259);
        QCOMPARE(back, longValue.left(259));
    }

    void allClearedOptionsAreThreeLinesUnderOneSection() {
        writeIni(m_path, QStringLiteral("Options"), QStringLiteral("Startdel"),
                 QStringLiteral("0"));
        writeIni(m_path, QStringLiteral("Options"), QStringLiteral("Showmain"),
                 QStringLiteral("0"));
        writeIni(m_path, QStringLiteral("Options"), QStringLiteral("Hideclosed"),
                 QStringLiteral("0"));
        QCOMPARE(readRaw(),
                 QByteArray("[Options]\r\nStartdel=0\r\nShowmain=0\r\nHideclosed=0\r\n"));
    }

    void writeReplacesInPlaceAndKeepsOtherLines() {
        writeRaw("; my notes\r\n[Options]\r\nStartdel=1\r\nShowmain=0\r\n\r\n[JPG]\r\n"
                 "Percentage=80\r\n");
        writeIni(m_path, QStringLiteral("options"), QStringLiteral("SHOWMAIN"),
                 QStringLiteral("1"));
        QCOMPARE(readRaw(), QByteArray("; my notes\r\n[Options]\r\nStartdel=1\r\nShowmain=1\r\n\r\n"
                                       "[JPG]\r\nPercentage=80\r\n"));
    }

    void newKeyJoinsItsSectionAndNewSectionGoesToTheEnd() {
        writeRaw("[Options]\r\nStartdel=1\r\n\r\n[JPG]\r\nPercentage=80\r\n");
        writeIni(m_path, QStringLiteral("OPTIONS"), QStringLiteral("Hideclosed"),
                 QStringLiteral("1"));
        writeIni(m_path, QStringLiteral("Paths"), QStringLiteral("Lastopen"),
                 QStringLiteral("/a.jpg"));
        // The header keeps its first spelling; "PATHS" finds the section written as "Paths".
        writeIni(m_path, QStringLiteral("PATHS"), QStringLiteral("Storedir"),
                 QStringLiteral("/out/"));
        QCOMPARE(readRaw(), QByteArray("[Options]\r\nStartdel=1\r\nHideclosed=1\r\n\r\n[JPG]\r\n"
                                       "Percentage=80\r\n[Paths]\r\nLastopen=/a.jpg\r\n"
                                       "Storedir=/out/\r\n"));
        QCOMPARE(readIni(m_path, QStringLiteral("PATHS"), QStringLiteral("Lastopen")),
                 QStringLiteral("/a.jpg"));
    }

    void deletedFileIsRecreatedWithOnlyTheWrittenKey() {
        writeIni(m_path, QStringLiteral("Options"), QStringLiteral("Showmain"),
                 QStringLiteral("1"));
        QVERIFY(QFile::remove(m_path));
        // Nothing is cached: the deleted file reads as empty at once.
        QCOMPARE(readIni(m_path, QStringLiteral("Options"), QStringLiteral("Showmain")), QString());
        writeIni(m_path, QStringLiteral("PATHS"), QStringLiteral("Storedir"),
                 QStringLiteral("/x/"));
        QCOMPARE(readRaw(), QByteArray("[PATHS]\r\nStoredir=/x/\r\n"));
    }

    void writeIntoMissingFolderIsSilentlyLost() {
        const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/Settings.ini"));
        writeIni(nowhere, QStringLiteral("Options"), QStringLiteral("Showmain"),
                 QStringLiteral("1"));
        QVERIFY(!QFile::exists(nowhere));
        QCOMPARE(readIni(nowhere, QStringLiteral("Options"), QStringLiteral("Showmain")),
                 QString());
    }

    void numericUseOfValues_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("text") << "yes" << 0;
        QTest::newRow("number with text") << "1abc" << 0;
        QTest::newRow("padded") << " 1 " << 1;
        QTest::newRow("percentage") << "85" << 85;
    }
    void numericUseOfValues() {
        QFETCH(QString, value);
        QFETCH(int, expected);
        QCOMPARE(iniNumber(value), expected);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
