#include "platform/QtServices.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

namespace glim {

HttpFetch::Reply QtHttpFetch::get(const QUrl& url, int timeoutMs, qint64 maxBytes) {
    QNetworkAccessManager manager;
    const std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    QByteArray body;
    QString failure;
    QEventLoop loop;
    auto fail = [&](const QString& why) {
        if (failure.isEmpty())
            failure = why;
        reply->abort();
    };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes)
            fail(QStringLiteral("the resource is larger than %1 bytes").arg(maxBytes));
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        body += reply->read(maxBytes + 1 - body.size());
        if (body.size() > maxBytes)
            fail(QStringLiteral("the resource is larger than %1 bytes").arg(maxBytes));
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop,
                     [&] { fail(QStringLiteral("no answer within %1 ms").arg(timeoutMs)); });
    deadline.start(timeoutMs);
    // Windows repaint while the request runs, but clicks and keys wait until it has ended.
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (failure.isEmpty() && reply->error() != QNetworkReply::NoError)
        failure = reply->errorString();
    if (failure.isEmpty()) {
        body += reply->read(maxBytes + 1 - body.size());
        if (body.size() > maxBytes)
            failure = QStringLiteral("the resource is larger than %1 bytes").arg(maxBytes);
    }
    if (!failure.isEmpty())
        return {false, {}, failure};
    return {true, body, {}};
}

} // namespace glim
