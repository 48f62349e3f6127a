#include "app/versioncheck.h"

#include "common/download.h"
#include "common/filetime.h"
#include "common/routines.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <stdexcept>

namespace dorvik::app {
namespace {

// The version file is a few bytes; a server that accepts and then stalls must not hold up
// the start of the program for longer than this.
constexpr int versionFileTimeLimitMs = 5000;

bool succeeded(int httpStatus) {
    return httpStatus >= 200 && httpStatus < 300;
}

QString secondLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open file \"%1\": %2").arg(path, file.errorString()).toStdString());
    return QString::fromUtf8(file.readAll()).split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))).value(1);
}

QString publishedTimestamp(const QString& line, const QString& programFile) {
    QString marked = common::replaceIgnoringCase(line, programFile, QStringLiteral("|"));
    marked.replace(QStringLiteral(".000"), QStringLiteral("|"));
    return common::token(marked, u'|', 1).trimmed();
}

// A missing program file counts as the oldest possible, so any published build is newer.
QString localTimestamp(const QString& path) {
    const auto changed = common::fileTimestamp(path);
    return common::sqlDateTime(changed ? *changed : QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

void writeLog(const QString& path, const QString& local, const QString& published) {
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)
        || log.write(QStringLiteral("Verze programu: %1\nVerze internet: %2\n").arg(local, published).toUtf8()) < 0
        || !log.flush())
        throw std::runtime_error(QStringLiteral("Cannot write file \"%1\": %2").arg(path, log.errorString()).toStdString());
}

} // namespace

VersionCheckResult checkVersion(const UpdateSource& source, const QString& baseName, const QString& programFile,
                                bool fetchInstaller) {
    const QUrl base(source.baseAddress);
    if (base.scheme() != QLatin1String("https") || base.host().isEmpty()) return VersionCheckResult::ConnectionError;

    const QString versionFile = baseName + QStringLiteral(".ver");
    const QString versionPath = source.folder + versionFile;
    QFile::remove(versionPath);
    int status = 0;
    try {
        if (!common::download(source.baseAddress + versionFile, versionPath, &status, versionFileTimeLimitMs))
            return VersionCheckResult::ConnectionError;
    } catch (const std::runtime_error&) {
        return VersionCheckResult::NoNewVersion;
    }
    if (!succeeded(status)) return VersionCheckResult::ConnectionError;

    const QString published = publishedTimestamp(secondLine(versionPath), programFile);
    const QString local = localTimestamp(source.folder + programFile);
    const bool newer = published.toUtf8() > local.toUtf8();
    writeLog(source.folder + QStringLiteral("verze.log"), local, published);
    if (!newer) return VersionCheckResult::NoNewVersion;
    if (!fetchInstaller) return VersionCheckResult::NewVersion;

    const QString installer = installerFileName(baseName);
    const QString installerPath = source.folder + installer;
    try {
        if (!common::download(source.baseAddress + installer, installerPath, &status) || !succeeded(status)) {
            QFile::remove(installerPath);
            return VersionCheckResult::ConnectionError;
        }
    } catch (const std::runtime_error&) {
        return VersionCheckResult::NoNewVersion;
    }
    QFile::setPermissions(installerPath, QFile::permissions(installerPath) | QFileDevice::ExeOwner
                                             | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    return VersionCheckResult::NewVersion;
}

QString installerFileName(const QString& baseName) {
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

QString programFileName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace dorvik::app
