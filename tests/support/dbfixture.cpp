#include "support/dbfixture.h"

namespace dorvik::test {

db::ConnectionSettings testServerSettings() {
    db::ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = qEnvironmentVariableIntValue("DORVIK_TEST_PORT");
    return s;
}

void DbTest::SetUp() {
    const db::ConnectionSettings settings = testServerSettings();
    ASSERT_NE(settings.port, 0) << "DORVIK_TEST_PORT is not set; run the tests through scripts/test";
    connection_.setSettings(settings);
    connection_.open();
}

void DbTest::resetTables(std::initializer_list<const char*> tables) {
    for (const char* table : tables) exec(QStringLiteral("TRUNCATE TABLE %1").arg(QLatin1String(table)));
}

} // namespace dorvik::test
