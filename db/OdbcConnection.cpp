#include "OdbcConnection.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <optional>
#include <utility>

#include "OdbcDiagnostics.h"
#include "OdbcResultReader.h"
#include "OdbcText.h"
#include "TimeLimit.h"

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
  OdbcStatementHandle owner = AllocateStatement();
  SQLHSTMT statement = owner.get();
  // The server stops a batch that outlives the time limit; a driver that
  // cannot is not refused for it (the result only says "option changed").
  SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT,
                 reinterpret_cast<SQLPOINTER>(SQLULEN(TimeLimit::BatchSeconds())), 0);
  SQLRETURN iReturn = OdbcDiagnostics::Check(
      SQLExecDirectW(statement, OdbcInputText(sSql), SQLINTEGER(sSql.size())), SQL_HANDLE_STMT,
      statement);

  // A searched update or delete that touched no row answers SQL_NO_DATA
  // instead of a result; later statements of the batch may still follow.
  std::optional<Recordset> first =
      iReturn == SQL_NO_DATA ? std::optional<Recordset>(Recordset::Closed(0)) : ResultOf(statement);

  // Every result is walked, even after the first one decided, so that the
  // whole batch runs and a failure anywhere in it is seen.
  while (OdbcDiagnostics::Check(SQLMoreResults(statement), SQL_HANDLE_STMT, statement) !=
         SQL_NO_DATA) {
    if (!first) first = ResultOf(statement);
  }
  if (!first) return Recordset::Closed(-1);
  return std::move(*first);
}

}  // namespace twk
