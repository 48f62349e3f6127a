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
bool download(const QString& url, const QString& localFile);

} // namespace dorvik::common
