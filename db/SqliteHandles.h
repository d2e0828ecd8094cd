// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QVariant>
#include <memory>

namespace twk {

// One owner per C handle; the deleters never throw.
struct SqliteClose {
  void operator()(sqlite3* p) const noexcept { sqlite3_close_v2(p); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteClose>;

struct SqliteFinalize {
  void operator()(sqlite3_stmt* p) const noexcept { sqlite3_finalize(p); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, SqliteFinalize>;

/// The one check every SQLite call goes through: SQLITE_OK, SQLITE_ROW and
/// SQLITE_DONE pass through, anything else throws TwkError with the
/// connection's message, source "SQLite" and the result code as number.
int CheckSqlite(sqlite3* pDb, int iResult);

/// Prepares one statement of fixed UTF-8 text.
StatementHandle PrepareFixed(sqlite3* pDb, const char* sSql);

/// Runs one statement of fixed UTF-8 text to its end, discarding rows.
void RunFixed(sqlite3* pDb, const char* sSql);

/// RunFixed for clean-up paths: a failure is ignored, nothing is thrown.
void RunFixedQuietly(sqlite3* pDb, const char* sSql) noexcept;

/// Rolls back a transaction left open by a batch that started outside one
/// (bWasAutocommit) and failed halfway, so that it does not keep the
/// shared file's write lock behind the caller's back. Never throws.
void RollBackLeftover(sqlite3* pDb, bool bWasAutocommit) noexcept;

/// Whether the main database holds a table or view of that name (any case).
bool MainObjectExists(sqlite3* pDb, const char* sName);

/// Binds a variant (null, integer, real, text, bytes) to a parameter.
void BindValue(sqlite3* pDb, sqlite3_stmt* pStatement, int iIndex, const QVariant& value);

/// The value of a column of the current row: null, qint64, double, QString or QByteArray.
QVariant ColumnValue(sqlite3_stmt* pStatement, int iColumn);

/// The name of a result column as the statement gives it.
QString ColumnName(sqlite3_stmt* pStatement, int iColumn);

/// A SQL function's argument as text.
QString ArgumentText(sqlite3_value* pValue);
/// Sets a SQL function's result to the text.
void ResultText(sqlite3_context* pContext, const QString& sText);
/// Sets a SQL function's result to a variant (null, integer, real, text, bytes).
void ResultValue(sqlite3_context* pContext, const QVariant& value);

/// Adds a scalar SQL function taking text as UTF-8; throws when SQLite refuses.
void RegisterFunction(sqlite3* pDb, const char* sName, int iArguments, bool bDeterministic,
                      void (*pFunction)(sqlite3_context*, int, sqlite3_value**),
                      int iExtraFlags = 0);

}  // namespace twk
