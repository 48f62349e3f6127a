#pragma once

// What every benchmark needs: a connection to the server on 127.0.0.1:DORVIK_TEST_PORT
// (default 3317, root without a password), timing, and the mariadb client as the yardstick.

#include "db/connection.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>

namespace dorvik::bench {

inline int serverPort() {
    const QByteArray port = qgetenv("DORVIK_TEST_PORT");
    return port.isEmpty() ? 3317 : port.toInt();
}

inline db::ConnectionSettings serverSettings() {
    db::ConnectionSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = serverPort();
    return settings;
}

inline double timed(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double bestOf(int runs, const std::function<void()>& work) {
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < runs; ++i) best = std::min(best, timed(work));
    return best;
}

// The mariadb command-line client fetching a statement, its output thrown away.
inline void runClient(const QString& statement, bool compress) {
    QStringList args = {"--no-defaults", "-uroot", "-h127.0.0.1", QStringLiteral("-P%1").arg(serverPort())};
    if (compress) args << "--compress";
    args << "-e" << statement << "velmo";
    QProcess client;
    client.setStandardOutputFile(QProcess::nullDevice());
    client.start(QStringLiteral("mariadb"), args);
    client.waitForFinished(-1);
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
        throw std::runtime_error("the mariadb client failed");
}

} // namespace dorvik::bench
