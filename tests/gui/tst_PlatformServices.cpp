#include "platform/QtServices.h"
#include "support/PictureCompare.h"
#include "support/PictureFiles.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace glim;

namespace {

// A loopback HTTP server that answers every request with the same bytes, or never answers
// when they are empty.
class OneAnswerServer : public QTcpServer {
public:
    explicit OneAnswerServer(QByteArray answer)
        : m_answer(std::move(answer)) {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().contains("\r\n\r\n") || m_answer.isEmpty())
                    return;
                socket->write(m_answer);
                socket->disconnectFromHost();
            });
        });
    }
    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/version.txt").arg(serverPort()));
    }

private:
    QByteArray m_answer;
};

QImage blue() {
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(40, 80, 160));
    return image;
}

QByteArray okAnswer(const QByteArray& body, bool withLength = true) {
    QByteArray head = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n";
    if (withLength)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return head + "\r\n" + body;
}

} // namespace

// The Qt implementations of the platform services, against a real loopback server and the
// clipboard of the platform the tests run on.
class TestPlatformServices : public QObject {
    Q_OBJECT

private slots:
    void httpFetchIsBoundedInTimeAndSize_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<QByteArray>("body"); // none when the fetch fails
        const QByteArray notes = "1.01\r\nnotes", eight = "12345678", none;
        QTest::newRow("small file") << okAnswer(notes) << qint64(64) << notes;
        QTest::newRow("exactly the cap") << okAnswer(eight) << qint64(8) << eight;
        QTest::newRow("length over the cap") << okAnswer(eight + '9') << qint64(8) << none;
        QTest::newRow("no length, body over the cap")
            << okAnswer(QByteArray(100000, 'x'), false) << qint64(65536) << none;
        QTest::newRow("not found")
            << QByteArray("HTTP/1.0 404 Not Found\r\n\r\ngone") << qint64(64) << none;
        QTest::newRow("never answers") << none << qint64(64) << none;
    }
    void httpFetchIsBoundedInTimeAndSize() {
        QFETCH(QByteArray, answer);
        QFETCH(qint64, maxBytes);
        QFETCH(QByteArray, body);
        OneAnswerServer server(answer);
        QElapsedTimer clock;
        clock.start();
        const HttpFetch::Reply reply = QtHttpFetch().get(server.url(), 1500, maxBytes);
        QCOMPARE(reply.ok, !body.isEmpty());
        QCOMPARE(reply.body, body);
        QCOMPARE(reply.error.isEmpty(), reply.ok);
        QVERIFY(clock.elapsed() < 5000);
    }

    void clipboardPictureWithAndWithoutTheOtherFormats() {
        QImage picture(13, 7, QImage::Format_BGR888);
        picture.fill(QColor(10, 200, 30));
        picture.setPixelColor(3, 2, QColor(250, 0, 120));
        QClipboard* clipboard = QGuiApplication::clipboard();
        QtClipboard ours;

        clipboard->setText(QStringLiteral("kept"));
        QVERIFY(ours.picture().isNull());
        ours.putPicture(picture, true);
        QCOMPARE(clipboard->text(), QStringLiteral("kept"));
        QCOMPARE(largestDifference(ours.picture(), picture), 0);

        ours.putPicture(picture, false);
        QVERIFY(!clipboard->mimeData()->hasText());
        QCOMPARE(largestDifference(ours.picture(), picture), 0);
        QCOMPARE(ours.picture().format(), QImage::Format_BGR888);
    }

    void clipboardPictureInAnyImageFormat_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("picture");
        for (const char* kind : {"png", "bmp", "jpeg"})
            QTest::newRow(kind) << QStringLiteral("image/") + kind
                                << picturefiles::qtWritten(blue(), kind) << true;
        QTest::newRow("file list")
            << "text/uri-list" << QByteArray("file:///tmp/a.png\r\n") << false;
        QTest::newRow("broken png") << "image/png" << QByteArray("\x89PNG broken") << false;
    }
    void clipboardPictureInAnyImageFormat() {
        QFETCH(QString, format);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, picture);
        auto* data = new QMimeData;
        data->setData(format, bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        const Picture pasted = QtClipboard().picture();
        QCOMPARE(!pasted.isNull(), picture);
        if (picture)
            QVERIFY(largestDifference(pasted, blue()) <= 3);
    }

    void printedPictureKeepsItsSizeOrShrinksToThePage_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSizeF>("printable");
        QTest::addColumn<double>("resolution");
        QTest::addColumn<QRectF>("placed");
        QTest::newRow("natural size at 600 dpi")
            << QSize(96, 48) << QSizeF(4800, 6600) << 600.0 << QRectF(0, 0, 600, 300);
        QTest::newRow("natural size at 96 dpi")
            << QSize(640, 480) << QSizeF(700, 1000) << 96.0 << QRectF(0, 0, 640, 480);
        QTest::newRow("too wide: fits the width")
            << QSize(1920, 1080) << QSizeF(960, 2000) << 96.0 << QRectF(0, 0, 960, 540);
        QTest::newRow("too tall: fits the height")
            << QSize(100, 4000) << QSizeF(960, 2000) << 96.0 << QRectF(0, 0, 50, 2000);
    }
    void printedPictureKeepsItsSizeOrShrinksToThePage() {
        QFETCH(QSize, picture);
        QFETCH(QSizeF, printable);
        QFETCH(double, resolution);
        QTEST(pagePlacement(picture, printable, resolution), "placed");
    }
};

QTEST_MAIN(TestPlatformServices)
#include "tst_PlatformServices.moc"
