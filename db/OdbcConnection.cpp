// SPDX-License-Identifier: MIT
#include "OdbcConnection.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <optional>
#include <utility>

#include "OdbcDiagnostics.h"
#include "OdbcResultReader.h"
#include "OdbcText.h"
#include "TimeLimit.h"
#include "TwkError.h"

namespace twk {

namespace {

// The current result of the statement as the caller would get it, or none
// when the result is neither rows nor a count of changed rows (set, declare,
// DDL), so that the next result is looked at instead.
std::optional<Recordset> ResultOf(SQLHSTMT statement) {
  SQLSMALLINT iColumnCount = 0;
  OdbcDiagnostics::Check(SQLNumResultCols(statement, &iColumnCount), SQL_HANDLE_STMT, statement);
  if (iColumnCount > 0) return OdbcResultReader(statement).FetchAll(iColumnCount);
  SQLLEN lRowCount = -1;
  OdbcDiagnostics::Check(SQLRowCount(statement, &lRowCount), SQL_HANDLE_STMT, statement);
  if (lRowCount >= 0) return Recordset::Closed(long(lRowCount));
  return std::nullopt;
}

}  // namespace

OdbcConnection::OdbcConnection(OdbcEnvironmentHandle environment,
                               OdbcConnectionHandle connection) noexcept
    : environment_(std::move(environment)), connection_(std::move(connection)) {}

QString OdbcConnection::SourceName() const {
  return OdbcDiagnostics::Source();
}

OdbcStatementHandle OdbcConnection::AllocateStatement() {
  SQLHANDLE statement = SQL_NULL_HANDLE;
  OdbcDiagnostics::Check(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &statement),
                         SQL_HANDLE_DBC, connection_.get());
  return OdbcStatementHandle(statement);
}

Recordset OdbcConnection::Execute(const QString& sSql) {
  // Drivers refuse an empty text outright; the server would run it and
  // return nothing.
  if (sSql.trimmed().isEmpty()) return Recordset::Closed(-1);
  OdbcStatementHandle owner = AllocateStatement();
  SQLHSTMT statement = owner.get();
  // The server stops a batch that outlives the time limit; a driver that
  // cannot is not refused for it (the result only says "option changed").
  SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT,
                 reinterpret_cast<SQLPOINTER>(SQLULEN(TimeLimit::BatchSeconds())), 0);
  SQLRETURN iReturn = SQLExecDirectW(statement, OdbcInputText(sSql), SQLINTEGER(sSql.size()));

  // The batch is walked to its end whatever fails on the way: freeing a
  // statement with results pending makes the driver cancel the rest of the
  // batch on the server. The first result decides; an error counts only
  // when it comes before any result.
  std::optional<Recordset> first;
  std::optional<TwkError> failure;
  const auto decided = [&] { return first.has_value() || failure.has_value(); };
  for (bool bFirstCall = true;; bFirstCall = false) {
    if (iReturn == SQL_INVALID_HANDLE) OdbcDiagnostics::Check(iReturn, SQL_HANDLE_STMT, statement);
    if (iReturn == SQL_NO_DATA && !bFirstCall) break;
    if (!decided()) {
      try {
        OdbcDiagnostics::Check(iReturn, SQL_HANDLE_STMT, statement);
        // A searched update or delete that touched no row answers
        // SQL_NO_DATA instead of a result.
        first = iReturn == SQL_NO_DATA ? std::optional<Recordset>(Recordset::Closed(0))
                                       : ResultOf(statement);
      } catch (const TwkError& error) {
        failure = error;
      }
    }
    iReturn = SQLMoreResults(statement);
  }
  if (first) return std::move(*first);
  if (failure) throw *failure;
  return Recordset::Closed(-1);
}

}  // namespace twk
