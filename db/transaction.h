#pragma once

#include "db/connection.h"

#include <optional>

namespace dorvik::db {

// Writes that must land together when some step in between needs the program's own
// decision (a value read back, a refusal): START TRANSACTION at construction, COMMIT by
// commit(), ROLLBACK when it goes out of scope uncommitted (an error or a refusal). A lost
// connection is not reopened meanwhile: the server has dropped the work, so it fails.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    std::optional<Connection::BatchScope> scope_;
    bool done_ = false;
};

} // namespace dorvik::db
