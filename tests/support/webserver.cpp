#include "support/webserver.h"

#include <QFile>
#include <QProcess>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <stdexcept>

namespace dorvik::test {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void openssl(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("openssl"), arguments);
    if (!p.waitForFinished() || p.exitCode() != 0)
        throw std::runtime_error("openssl failed: " + p.readAllStandardError().toStdString());
}

// An authority and a server certificate for 127.0.0.1 signed by it, on elliptic-curve keys
// (quick to make).
TlsIdentity makeIdentity(const QString& name) {
    QTemporaryDir dir;
    const QString ca = dir.filePath(QStringLiteral("ca")), server = dir.filePath(QStringLiteral("server"));
    const QStringList newKey = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                                QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                                QStringLiteral("-days"), QStringLiteral("30")};
    openssl(QStringList{"req", "-x509"} + newKey
            + QStringList{"-keyout", ca + ".key", "-out", ca + ".crt", "-subj", "/CN=" + name + " authority"});
    openssl(QStringList{"req", "-x509"} + newKey
            + QStringList{"-keyout", server + ".key", "-out", server + ".crt", "-subj", "/CN=127.0.0.1", "-CA",
                          ca + ".crt", "-CAkey", ca + ".key", "-addext", "subjectAltName=IP:127.0.0.1", "-addext",
                          "basicConstraints=critical,CA:FALSE"});
    return {QSslCertificate(fileBytes(server + ".crt")), QSslKey(fileBytes(server + ".key"), QSsl::Ec),
            QSslCertificate(fileBytes(ca + ".crt"))};
}

QByteArray response(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\nContent-Length: "
           + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

const TlsIdentity& serverIdentity() {
    static const TlsIdentity identity = makeIdentity(QStringLiteral("Test"));
    return identity;
}

const TlsIdentity& strangerIdentity() {
    static const TlsIdentity identity = makeIdentity(QStringLiteral("Stranger"));
    return identity;
}

TrustedAuthority::TrustedAuthority(const TlsIdentity& identity) : previous_(QSslConfiguration::defaultConfiguration()) {
    QSslConfiguration trusting = previous_;
    trusting.addCaCertificate(identity.authority);
    QSslConfiguration::setDefaultConfiguration(trusting);
}

TrustedAuthority::~TrustedAuthority() {
    QSslConfiguration::setDefaultConfiguration(previous_);
}

WebServer::WebServer(const TlsIdentity* identity) : https_(identity != nullptr) {
    if (identity) {
        auto* tls = new QSslServer;
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificate(identity->certificate);
        config.setPrivateKey(identity->key);
        config.setPeerVerifyMode(QSslSocket::VerifyNone);
        tls->setSslConfiguration(config);
        server_.reset(tls);
    } else {
        server_ = std::make_unique<QTcpServer>();
    }
    if (!server_->listen(QHostAddress::LocalHost)) throw std::runtime_error("cannot listen on the loopback");
    QObject::connect(server_.get(), &QTcpServer::pendingConnectionAvailable, server_.get(), [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n") || silent_) return;
                answer(socket, *request);
                request->clear();
            });
        }
    });
}

WebServer::~WebServer() = default;

void WebServer::serve(const QString& path, const QByteArray& body, const QByteArray& status) {
    serveRaw(path, response(status, body));
}

QString WebServer::url(const QString& path) const {
    return QStringLiteral("%1://127.0.0.1:%2%3").arg(https_ ? "https" : "http").arg(server_->serverPort()).arg(path);
}

void WebServer::answer(QTcpSocket* socket, const QByteArray& request) {
    lastRequest_ = request;
    const QString path = QString::fromUtf8(request.split(' ').value(1));
    requested_ << path;
    socket->write(responses_.value(path, response("404 Not Found", "<html><body>404 Not Found</body></html>")));
    socket->disconnectFromHost();
}

} // namespace dorvik::test
