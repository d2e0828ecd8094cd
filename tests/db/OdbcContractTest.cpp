#include "ConnectionContract.h"
#include "OdbcTestEnvironment.h"

namespace twk::testing {
namespace {

// The SQLite ODBC driver takes one statement per call, so the batch cases
// of the contract run on the embedded backend only.
BackendUnderTest SqliteThroughOdbc() {
  BackendUnderTest backend;
  backend.sName = "SqliteOdbcDriver";
  backend.settingsFor = [](const QString& sDatabaseFile, const QString& sScratchDir) {
    return SqliteOdbcSettings(sDatabaseFile, sScratchDir);
  };
  backend.bRunsBatches = false;
  backend.bPassesNonAsciiSqlText = false;
  return backend;
}

INSTANTIATE_TEST_SUITE_P(Odbc, ConnectionContract, ::testing::Values(SqliteThroughOdbc()),
                         BackendName);

}  // namespace
}  // namespace twk::testing
