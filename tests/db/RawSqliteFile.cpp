// SPDX-License-Identifier: MIT
#include "RawSqliteFile.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "ConnectionSettings.h"

namespace twk::testing {

namespace {

sqlite3* OpenRaw(const QString& sPath, int iFlags) {
  sqlite3* pDb = nullptr;
  EXPECT_EQ(sqlite3_open_v2(sPath.toUtf8().constData(), &pDb, iFlags, nullptr), SQLITE_OK);
  sqlite3_busy_timeout(pDb, 5000);
  return pDb;
}

}  // namespace

void RawSqliteFile::Create() const {
  sqlite3_close(OpenRaw(sPath_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
}

void RawSqliteFile::Exec(const char* sSql) const {
  sqlite3* pDb = OpenRaw(sPath_, SQLITE_OPEN_READWRITE);
  char* sError = nullptr;
  const int iResult = sqlite3_exec(pDb, sSql, nullptr, nullptr, &sError);
  const std::string sMessage = sError ? sError : "";
  sqlite3_free(sError);
  sqlite3_close(pDb);
  EXPECT_EQ(iResult, SQLITE_OK) << sMessage << " in " << sSql;
}

QString RawSqliteFile::Text(const char* sSql) const {
  sqlite3* pDb = OpenRaw(sPath_, SQLITE_OPEN_READONLY);
  sqlite3_stmt* pStatement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(pDb, sSql, -1, &pStatement, nullptr), SQLITE_OK)
      << sqlite3_errmsg(pDb) << " in " << sSql;
  QString sValue;
  if (pStatement && sqlite3_step(pStatement) == SQLITE_ROW) {
    sValue = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)));
  }
  sqlite3_finalize(pStatement);
  sqlite3_close(pDb);
  return sValue;
}

qint64 RawSqliteFile::Number(const char* sSql) const {
  const QString sText = Text(sSql);
  return sText.isEmpty() ? -1 : sText.toLongLong();
}

std::unique_ptr<Connection> RawSqliteFile::OpenConnection() const {
  auto connection = std::make_unique<Connection>();
  ConnectionSettings settings;
  settings.sDataSource = sPath_;
  connection->SetSettings(settings);
  connection->Open();
  return connection;
}

}  // namespace twk::testing
