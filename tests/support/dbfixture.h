#pragma once

#include "db/connection.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace dorvik::test {

// Settings of the private test server (scripts/testdb); the port comes from DORVIK_TEST_PORT.
db::ConnectionSettings testServerSettings();

// A test against the real server: an open connection to velmo.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override;

    db::Connection& db() { return connection_; }
    void exec(const QString& sql) { connection_.execute(sql); }
    db::ResultSet query(const QString& sql) { return connection_.query(sql); }
    // Empties the named tables so a test starts from its own rows only.
    void resetTables(std::initializer_list<const char*> tables);

private:
    db::Connection connection_;
};

} // namespace dorvik::test
