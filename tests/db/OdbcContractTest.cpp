// SPDX-License-Identifier: MIT
#include <memory>

#include "ConnectionContract.h"
#include "OdbcTestEnvironment.h"
#include "PostgresServer.h"
#include "TdsResponder.h"

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

// FreeTDS against the TDS responder, which answers every batch by running
// it on the contract's SQLite file: SQL Server's wire protocol and FreeTDS's
// handling of it are under test, the SQL is SQLite's.
BackendUnderTest FreeTdsThroughResponder() {
  static std::unique_ptr<TdsResponder> responder;
  BackendUnderTest backend;
  backend.sName = "FreeTdsDriver";
  backend.settingsFor = [](const QString& sDatabaseFile, const QString& sScratchDir) {
    responder = std::make_unique<TdsResponder>(QJsonObject{{"sqlite", sDatabaseFile}});
    EXPECT_TRUE(responder->IsRunning()) << responder->StartFailure().toStdString();
    ConnectionSettings settings;
    settings.sDataSource = responder->DefineDataSource(sScratchDir, QStringLiteral("TwkTds"));
    settings.sUserId = QStringLiteral("sa");
    return settings;
  };
  backend.whyNotHere = [] { return TdsResponder::WhyItCannotRun(); };
  return backend;
}

// A real server through psqlODBC's Unicode driver, started by the tests.
BackendUnderTest PostgresThroughOdbc() {
  BackendUnderTest backend;
  backend.sName = "PostgresOdbcDriver";
  backend.settingsFor = [](const QString&, const QString& sScratchDir) {
    return PostgresServer::Shared().Settings(sScratchDir);
  };
  backend.bKeepsFirstResultPastAnError = false;
  backend.whyNotHere = [] {
    PostgresServer& server = PostgresServer::Shared();
    if (!server.MissingPackage().isEmpty()) return server.MissingPackage();
    EXPECT_TRUE(server.IsRunning()) << server.StartFailure().toStdString();
    return server.StartFailure();
  };
  backend.reset = [] {
    PostgresServer::Shared().Psql(QStringLiteral("drop table if exists contacts"));
  };
  backend.direct = [](const char* sSql) {
    return PostgresServer::Shared().Psql(QString::fromUtf8(sSql));
  };
  return backend;
}

INSTANTIATE_TEST_SUITE_P(Odbc, ConnectionContract,
                         ::testing::Values(SqliteThroughOdbc(), FreeTdsThroughResponder(),
                                           PostgresThroughOdbc()),
                         BackendName);

}  // namespace
}  // namespace twk::testing
