#include "common/download.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace dorvik::common;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A web server on the loopback that answers every request with one fixed response; it runs
// in the download's own event loop.
class FixedServer {
public:
    explicit FixedServer(QByteArray response) : response_(std::move(response)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                request_ += socket->readAll();
                if (!request_.contains("\r\n\r\n")) return;
                socket->write(response_);
                socket->disconnectFromHost();
            });
        });
    }

    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(path);
    }
    const QByteArray& request() const { return request_; }

private:
    QTcpServer server_;
    QByteArray response_;
    QByteArray request_;
};

QByteArray response(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size())
           + "\r\nConnection: close\r\n\r\n" + body;
}

// A port on which nobody listens.
quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

TEST(Download, SavesTheBodyWhateverTheStatus) {
    const QByteArray errorPage = "<html><body>404 Not Found</body></html>";
    const QByteArray version = "Dorvik\r\ndorvik.exe 2015-02-14 10:22:36.000\r\n";
    const struct {
        QByteArray status, body;
    } cases[] = {{"404 Not Found", errorPage}, {"200 OK", version}, {"200 OK", ""}, {"500 Internal Server Error", "x"}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath("dorodozir.ver");
        // An older, longer file is replaced, not overwritten in part.
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500, 'o'));
        old.close();

        FixedServer server(response(c.status, c.body));
        EXPECT_TRUE(download(server.url("soubory/dorodozir.ver"), target)) << c.status.constData();
        EXPECT_TRUE(QFileInfo::exists(target));
        EXPECT_EQ(readAll(target), c.body) << c.status.constData();
        EXPECT_TRUE(server.request().startsWith("GET /soubory/dorodozir.ver HTTP/1.1\r\n"));
        EXPECT_TRUE(server.request().contains("User-Agent: Tarvik\r\n")) << server.request().constData();
        EXPECT_TRUE(server.request().contains("Cache-Control: no-cache\r\n")) << server.request().constData();
    }
}

TEST(Download, AnUnreachableUrlGivesFalseAndNoFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath("dorodozir.ver");
    const QString urls[] = {
        QStringLiteral("http://127.0.0.1:%1/soubory/dorodozir.ver").arg(closedPort()),
        QStringLiteral("not a url"),
        QStringLiteral("http://"),
    };
    for (const QString& url : urls) {
        EXPECT_FALSE(download(url, target)) << url.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target)) << url.toStdString();
    }
    // Even a file that could not be created is no error when nothing came.
    EXPECT_FALSE(download(urls[0], dir.filePath("no-folder/dorodozir.ver")));
}

TEST(Download, AFileThatCannotBeCreatedReachesTheCaller) {
    QTemporaryDir dir;
    FixedServer server(response("200 OK", "installer"));
    EXPECT_THROW(download(server.url("dorodozir.exe"), dir.filePath("no-folder/dorodozir.exe")), std::runtime_error);
    // An empty body gives a file too, so its creation fails as well.
    FixedServer empty(response("404 Not Found", ""));
    EXPECT_THROW(download(empty.url("dorodozir.exe"), dir.filePath("no-folder/dorodozir.exe")), std::runtime_error);
}

} // namespace
