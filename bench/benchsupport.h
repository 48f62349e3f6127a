#pragma once

// What every benchmark needs: a connection to the server on 127.0.0.1:DORVIK_TEST_PORT
// (default 3317, root without a password), timing, and the mariadb client as the yardstick.

#include "common/prompter.h"
#include "common/registercontext.h"
#include "common/startupsettings.h"
#include "db/connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
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

// The large data set of scripts/gen-bench-data, made when velmo lacks it (DORVIK_BENCH_SCALE, default 1).
inline void ensureLargeDataSet(db::Connection& db) {
    // A set made before invoices were part of it is made again.
    if (db.query("select count(*) from seznam").integer(0, 0) >= 1000 && db.query("select count(*) from fakt").integer(0, 0) > 0) return;
    const QString scale = qEnvironmentVariable("DORVIK_BENCH_SCALE", QStringLiteral("1"));
    QProcess gen;
    gen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    gen.setStandardOutputFile(QProcess::nullDevice());
    gen.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../../../scripts/gen-bench-data"),
              {QString::number(serverPort()), scale});
    gen.waitForFinished(-1);
    if (gen.exitCode() != 0) throw std::runtime_error("scripts/gen-bench-data failed");
}

// A run's error would open the error display: report it and stop instead. `completion`, the
// message a run ends with when it went well, is answered with its first button.
class StopOnMessage : public common::Prompter {
public:
    explicit StopOnMessage(const char* bench, QString completion = {}) : bench_(bench), completion_(std::move(completion)) {}
    int ask(const common::MessageRequest& request) override {
        if (!completion_.isEmpty() && request.text == completion_) return 0;
        std::fprintf(stderr, "%s: %s\n", bench_, qPrintable(request.text));
        std::exit(1);
    }

private:
    const char* bench_;
    QString completion_;
};

// What a benchmark of a window needs: a working and state folder of its own, messages that
// stop the run (see StopOnMessage), the connection (opened by the caller) and what the
// register hands over, as workstation 97.
class WindowBench {
public:
    explicit WindowBench(const char* bench, QString completion = {}) : stop_(bench, std::move(completion)) {
        qputenv("DORVIK_STATE_DIR", dir_.path().toUtf8());
        QDir::setCurrent(dir_.path());
        common::Prompter::install(&stop_);
        db.setSettings(serverSettings());
        settings.workstation = QStringLiteral("97");
    }
    ~WindowBench() { common::Prompter::install(nullptr); }
    WindowBench(const WindowBench&) = delete;
    WindowBench& operator=(const WindowBench&) = delete;

    common::RegisterContext context(const QString& costCentre, bool centrumMode) {
        return {db, settings, costCentre, {}, centrumMode, {}, -1};
    }

    db::Connection db;
    common::StartupSettings settings;

private:
    QTemporaryDir dir_;
    StopOnMessage stop_;
};

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

struct ClientComparison {
    double cli = 0;
    double cliCompressed = 0;
    double load = 0;
};

// A list load against the client fetching the same statement, plain and compressed as our
// connection is, best of five. The rounds interleave the three, so a busy moment hurts them
// alike; reset runs outside the timing (it frees the previous list).
inline ClientComparison compareWithClient(const QString& statement, const std::function<void()>& reset,
                                          const std::function<void()>& load) {
    ClientComparison best{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::infinity()};
    for (int round = 0; round < 5; ++round) {
        best.cli = std::min(best.cli, timed([&] { runClient(statement, false); }));
        best.cliCompressed = std::min(best.cliCompressed, timed([&] { runClient(statement, true); }));
        reset();
        best.load = std::min(best.load, timed(load));
    }
    return best;
}

// <prefix>_cli_ms, <prefix>_cli_compress_ms, <prefix>_<what>_ms and the two ratios.
inline void printComparison(const char* prefix, const char* what, const ClientComparison& c) {
    std::printf("%s_cli_ms %.1f\n", prefix, c.cli);
    std::printf("%s_cli_compress_ms %.1f\n", prefix, c.cliCompressed);
    std::printf("%s_%s_ms %.1f\n", prefix, what, c.load);
    std::printf("%s_%s_ratio_vs_cli %.2f\n", prefix, what, c.load / c.cli);
    std::printf("%s_%s_ratio_vs_cli_compress %.2f\n", prefix, what, c.load / c.cliCompressed);
}

} // namespace dorvik::bench
