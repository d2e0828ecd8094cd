// SPDX-License-Identifier: MIT
#include "SqliteBackend.h"

#include <QFileInfo>

#include "EmbeddedDatabase.h"
#include "SqliteConnection.h"
#include "SqliteHandles.h"
#include "TwkError.h"

namespace twk {

namespace {

// Concurrent processes on one file wait this long for each other's locks.
constexpr int iBusyTimeoutMilliseconds = 30000;

[[noreturn]] void FailOpen(std::vector<Diagnostic>& diagnostics, int iCode,
                           const QString& sDescription) {
  const long lNumber = iCode > 0 ? iCode : SQLITE_ERROR;
  diagnostics.push_back(Diagnostic{lNumber, sDescription, QStringLiteral("08001")});
  throw TwkError(sDescription, QStringLiteral("SQLite"), lNumber);
}

QString OpenFailureText(int iCode, const QString& sPath, const QString& sEngineMessage) {
  if (iCode == SQLITE_NOTADB) {
    return QStringLiteral("The file '%1' is not a SQLite database.").arg(sPath);
  }
  if (iCode == SQLITE_CANTOPEN && !QFileInfo::exists(sPath)) {
    return QStringLiteral("The database file '%1' does not exist.").arg(sPath);
  }
  return QStringLiteral("The database file '%1' cannot be opened: %2.").arg(sPath, sEngineMessage);
}

// Opening alone does not read the file; reading the schema shows whether it
// is a database at all.
void VerifyIsDatabase(sqlite3* pDb) {
  StatementHandle statement = PrepareFixed(pDb, "select count(*) from sqlite_master");
  CheckSqlite(pDb, sqlite3_step(statement.get()));
}

}  // namespace

std::unique_ptr<Backend> SqliteBackend::Open(const ConnectionSettings& settings,
                                             std::vector<Diagnostic>& diagnostics) {
  const QString& sPath = settings.sDataSource;
  // An empty name would make SQLite open a private temporary database.
  if (sPath.isEmpty())
    FailOpen(diagnostics, SQLITE_CANTOPEN, QStringLiteral("No database file is named."));

  sqlite3* pRaw = nullptr;
  // Never SQLITE_OPEN_CREATE: a mistyped path must fail, not make a new file.
  const int iOpened =
      sqlite3_open_v2(sPath.toUtf8().constData(), &pRaw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle db(pRaw);
  try {
    CheckSqlite(db.get(), iOpened);
    CheckSqlite(db.get(), sqlite3_busy_timeout(db.get(), iBusyTimeoutMilliseconds));
    VerifyIsDatabase(db.get());
  } catch (const TwkError& error) {
    FailOpen(diagnostics, int(error.Number()),
             OpenFailureText(int(error.Number()), sPath, error.Description()));
  }
  EmbeddedDatabase::Upgrade(db.get());
  return std::make_unique<SqliteConnection>(std::move(db));
}

}  // namespace twk
