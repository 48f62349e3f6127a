#pragma once

#include <QString>
#include <stdexcept>

namespace dorvik::db {

// A failed database command: the server's or client library's message, its error
// number and the statement that failed.
class DbError : public std::runtime_error {
public:
    DbError(const QString& message, unsigned code, const QString& statement)
        : std::runtime_error(message.toStdString()), message_(message), code_(code), statement_(statement) {}

    const QString& message() const { return message_; }
    unsigned code() const { return code_; }
    const QString& statement() const { return statement_; }

private:
    QString message_;
    unsigned code_;
    QString statement_;
};

} // namespace dorvik::db
