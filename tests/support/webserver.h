#pragma once

#include <QByteArray>
#include <QHash>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QString>
#include <QStringList>
#include <memory>

class QTcpServer;

namespace dorvik::test {

// A server certificate for 127.0.0.1 with its key, and the authority that signed it.
struct TlsIdentity {
    QSslCertificate certificate;
    QSslKey key;
    QSslCertificate authority;
};

// Made once per run with the openssl tool, each signed by an authority of its own: the
// test trusts the first one's authority (TrustedAuthority) and never the stranger's.
const TlsIdentity& serverIdentity();
const TlsIdentity& strangerIdentity();

// Adds the identity's authority to the trusted roots for its lifetime.
class TrustedAuthority {
public:
    explicit TrustedAuthority(const TlsIdentity& identity);
    ~TrustedAuthority();
    TrustedAuthority(const TrustedAuthority&) = delete;
    TrustedAuthority& operator=(const TrustedAuthority&) = delete;

private:
    QSslConfiguration previous_;
};

// A web server on the loopback, run by the event loop of whoever waits for it. It answers
// each served path with its status and body and every other path with 404, over HTTPS when
// given an identity; a silent one accepts connections and never answers.
class WebServer {
public:
    explicit WebServer(const TlsIdentity* identity = nullptr);
    ~WebServer();

    void serve(const QString& path, const QByteArray& body, const QByteArray& status = "200 OK");
    // The whole response as given, headers included (a body cut short, for example).
    void serveRaw(const QString& path, const QByteArray& response) { responses_[path] = response; }
    void setSilent(bool silent) { silent_ = silent; }

    // "http(s)://127.0.0.1:<port>" followed by the path.
    QString url(const QString& path) const;
    // The paths asked for, in order, and the whole text of the last request.
    const QStringList& requested() const { return requested_; }
    const QByteArray& lastRequest() const { return lastRequest_; }

private:
    void answer(class QTcpSocket* socket, const QByteArray& request);

    std::unique_ptr<QTcpServer> server_;
    bool https_;
    bool silent_ = false;
    QHash<QString, QByteArray> responses_;
    QStringList requested_;
    QByteArray lastRequest_;
};

} // namespace dorvik::test
