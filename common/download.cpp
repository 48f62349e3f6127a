#include "common/download.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

namespace dorvik::common {
namespace {

// The system's proxy for this manager only, without changing the application's default.
class SystemProxyFactory : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};

// A server that accepts the connection and then says nothing must not hang the start-up.
constexpr int transferTimeoutMs = 30000;

} // namespace

bool download(const QString& url, const QString& localFile, int* httpStatus, int timeLimitMs) {
    if (httpStatus) *httpStatus = 0;
    const QUrl address(url);
    if (!address.isValid() || address.scheme().isEmpty()) return false;

    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxyFactory);
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tarvik"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(transferTimeoutMs);

    QFile file(localFile);
    const auto fileErrorText = [&] {
        return QStringLiteral("Cannot write file \"%1\": %2").arg(localFile, file.errorString());
    };
    QString fileError;
    // Exceptions cannot leave the event loop: a file error is noted, the reply aborted,
    // and the error raised once the loop has returned.
    const auto fail = [&](QNetworkReply* reply) {
        fileError = fileErrorText();
        reply->abort();
    };
    const auto save = [&](QNetworkReply* reply) {
        if (!fileError.isEmpty()) return;
        if (!file.isOpen() && !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fail(reply);
        const QByteArray block = reply->readAll();
        if (file.write(block) != block.size()) fail(reply);
    };

    QNetworkReply* reply = manager.get(request);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] { save(reply); });
    if (timeLimitMs > 0) QTimer::singleShot(timeLimitMs, reply, &QNetworkReply::abort);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

    // Opened: body data came, or the server answered with a status and the connection held
    // (a status left from a redirect whose target is unreachable does not count).
    const QNetworkReply::NetworkError error = reply->error();
    const bool networkFailed = error > QNetworkReply::NoError && error <= QNetworkReply::UnknownNetworkError;
    const bool opened = file.isOpen() || error == QNetworkReply::NoError
                        || (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() && !networkFailed);
    if (opened) save(reply); // an empty body still gives a file
    if (httpStatus && !networkFailed) *httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    delete reply;
    if (!fileError.isEmpty()) throw std::runtime_error(fileError.toStdString());
    if (file.isOpen() && !file.flush()) throw std::runtime_error(fileErrorText().toStdString());
    return opened;
}

} // namespace dorvik::common
