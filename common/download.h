#pragma once

#include <QString>

namespace dorvik::common {

// Fetches the URL into the local file, always from the server (no cache), as client
// "Tarvik" through the system's proxy; waits for the end with a local event loop that
// leaves user input alone. The body is saved whatever the HTTP status, so a server's error
// page becomes the file.
// Returns false, creating no file, when the URL cannot be opened (invalid, unknown host,
// refused, no answer). The file is created or replaced only once the server answers; an
// error creating or writing it raises std::runtime_error.
// httpStatus, when given, receives the HTTP status of a complete answer, and 0 when none
// came or the transfer broke off, so a caller can tell a saved error page from the real file.
// timeLimitMs, when above 0, bounds the whole transfer, not only the silence between blocks.
bool download(const QString& url, const QString& localFile, int* httpStatus = nullptr, int timeLimitMs = 0);

} // namespace dorvik::common
