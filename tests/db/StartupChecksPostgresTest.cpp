// SPDX-License-Identifier: MIT
// InitializeConnection through psqlODBC against a PostgreSQL server the test
// starts: the one driver here that reports an informational record on a
// connect that succeeded.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ModuleFixture.h"
#include "PostgresServer.h"
#include "modSubroutines.h"

namespace twk {
namespace {

using testing::PostgresServer;

class StartupChecksThroughPsqlOdbc : public testing::ModuleFixture {};

TEST_F(StartupChecksThroughPsqlOdbc, AnInformationalRecordOfTheConnectIsClearedAndTheChecksRun) {
  PostgresServer& server = PostgresServer::Shared();
  if (!server.MissingPackage().isEmpty()) GTEST_SKIP() << server.MissingPackage().toStdString();
  ASSERT_TRUE(server.IsRunning()) << server.StartFailure().toStdString();
  // psqlODBC runs the data source's connect-time settings after the login;
  // one the server refuses leaves the connection open with the refusal as
  // SQLSTATE 01S02 ("option value changed").
  QTemporaryDir folder;
  const ConnectionSettings settings = server.Settings(
      folder.path(),
      {{QStringLiteral("ConnSettings"), QStringLiteral("set lock_timeout = 'soon'")}});
  const bool bStarted = modSubroutines::InitializeConnection(settings.sDataSource, QString(),
                                                             settings.sUserId, QString(), 1);
  // PostgreSQL is not SQL Server: the start ends at the schema check, which
  // only runs when the record did not stop it first.
  EXPECT_FALSE(bStarted);
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_EQ(platform.MessageTitles().last(), QStringLiteral("Critical: missing objects"));
  EXPECT_FALSE(AllMessageText().contains(QStringLiteral("lock_timeout")))
      << AllMessageText().toStdString();
  EXPECT_TRUE(moduleState.State().SharedConnection().Diagnostics().empty());
}

}  // namespace
}  // namespace twk
