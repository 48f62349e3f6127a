#pragma once

#include <QString>

namespace dorvik::app {

enum class VersionCheckResult {
    NewVersion,      // "A": a newer build is published (and its installer fetched when asked for)
    NoNewVersion,    // "N"
    ConnectionError, // "E": nothing could be checked or fetched
};

struct UpdateSource {
    QString baseAddress; // https address of the download folder, ending with "/"
    QString folder;      // the program folder, ending with "/": the update files land there
};

// Downloads <baseName>.ver and compares the timestamp it publishes for the program file
// (second line: name, timestamp, ".000"; the name found without regard to case) with the
// local program file's last change, byte by byte as "yyyy-MM-dd hh:mm:ss" texts; a missing
// second line gives "N". Writes verze.log. When newer and asked for, fetches the installer
// and makes it executable.
// Only an https base address is used: the installer is run, so it must not be replaceable on
// the way. No answer, a refused certificate or an error status gives ConnectionError, and
// an installer that did not arrive whole is removed, so an error page is never run.
// An error while saving a download gives NoNewVersion; one reading the saved version file
// or writing the log is raised.
VersionCheckResult checkVersion(const UpdateSource& source, const QString& baseName, const QString& programFile,
                                bool fetchInstaller);

// The installer's file name as this platform names programs: "dorodozir.exe" on Windows,
// "dorodozir" elsewhere.
QString installerFileName(const QString& baseName);
// The running program's own file name.
QString programFileName();

} // namespace dorvik::app
