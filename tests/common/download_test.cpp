#include "common/download.h"
#include "support/files.h"
#include "support/webserver.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace dorvik::common;
using dorvik::test::readAll;
using dorvik::test::WebServer;

namespace {

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
        int code;
    } cases[] = {{"404 Not Found", errorPage, 404}, {"200 OK", version, 200}, {"200 OK", "", 200},
                 {"500 Internal Server Error", "x", 500}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath("dorodozir.ver");
        // An older, longer file is replaced, not overwritten in part.
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500, 'o'));
        old.close();

        WebServer server;
        server.serve("/soubory/dorodozir.ver", c.body, c.status);
        int status = -1;
        EXPECT_TRUE(download(server.url("/soubory/dorodozir.ver"), target, &status)) << c.status.constData();
        EXPECT_EQ(status, c.code);
        EXPECT_TRUE(QFileInfo::exists(target));
        EXPECT_EQ(readAll(target), c.body) << c.status.constData();
        const QByteArray& request = server.lastRequest();
        EXPECT_TRUE(request.startsWith("GET /soubory/dorodozir.ver HTTP/1.1\r\n"));
        EXPECT_TRUE(request.contains("User-Agent: Tarvik\r\n")) << request.constData();
        EXPECT_TRUE(request.contains("Cache-Control: no-cache\r\n")) << request.constData();
    }
}

TEST(Download, ATimeLimitEndsASilentServerWithoutAFile) {
    QTemporaryDir dir;
    WebServer server;
    server.setSilent(true);
    int status = -1;
    EXPECT_FALSE(download(server.url("/dorodozir.ver"), dir.filePath("dorodozir.ver"), &status, 300));
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("dorodozir.ver")));
}

TEST(Download, ABodyCutShortKeepsWhatCameButNoStatus) {
    QTemporaryDir dir;
    WebServer server;
    server.serveRaw("/dorodozir.exe", "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n#!/bin/sh\n");
    int status = -1;
    EXPECT_TRUE(download(server.url("/dorodozir.exe"), dir.filePath("dorodozir.exe"), &status));
    EXPECT_EQ(readAll(dir.filePath("dorodozir.exe")), "#!/bin/sh\n");
    EXPECT_EQ(status, 0);
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
    WebServer server;
    server.serve("/dorodozir.exe", "installer");
    server.serve("/empty", "", "404 Not Found");
    EXPECT_THROW(download(server.url("/dorodozir.exe"), dir.filePath("no-folder/dorodozir.exe")), std::runtime_error);
    // An empty body gives a file too, so its creation fails as well.
    EXPECT_THROW(download(server.url("/empty"), dir.filePath("no-folder/dorodozir.exe")), std::runtime_error);
}

} // namespace
