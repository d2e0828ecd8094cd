// SPDX-License-Identifier: MIT
#include "OdbcConnection.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <memory>
#include <optional>
#include <utility>

#include "OdbcDiagnostics.h"
#include "OdbcResultStream.h"
#include "OdbcText.h"
#include "TimeLimit.h"
#include "TwkError.h"

namespace twk {

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

OdbcConnection::~OdbcConnection() {
  FinishOpenResult();
}

void OdbcConnection::FinishOpenResult() noexcept {
  if (const std::shared_ptr<OdbcResultStream> open = open_.lock()) open->Detach();
  open_.reset();
}

Recordset OdbcConnection::Execute(const QString& sSql) {
  // A driver without multiple active result sets refuses a statement while
  // another one still has rows to give (FreeTDS: "Invalid cursor state";
  // others: "Connection is busy with results for another command"), so the
  // open one is read to its end first.
  FinishOpenResult();
  // Drivers refuse an empty text outright; the server would run it and
  // return nothing.
  if (sSql.trimmed().isEmpty()) return Recordset::Closed(-1);
  const int iSeconds = TimeLimit::BatchSeconds();
  auto batch = std::make_shared<OdbcResultStream>(connection_.get(), AllocateStatement(), iSeconds);
  SQLHSTMT statement = batch->Statement();
  // The server stops a batch that outlives the time limit; a driver that
  // cannot is not refused for it (the result only says "option changed").
  SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(iSeconds)),
                 0);
  SQLRETURN iReturn = SQLExecDirectW(statement, OdbcInputText(sSql), SQLINTEGER(sSql.size()));

  // The first result decides: rows, a count of changed rows, or an error
  // that comes before either. Results that are neither (set, declare, DDL)
  // are passed over. The rest of the batch is walked by the stream.
  std::optional<Recordset> first;
  std::optional<TwkError> failure;
  for (bool bFirstCall = true;; bFirstCall = false) {
    if (iReturn == SQL_INVALID_HANDLE) OdbcDiagnostics::Check(iReturn, SQL_HANDLE_STMT, statement);
    if (iReturn == SQL_NO_DATA && !bFirstCall) break;
    try {
      OdbcDiagnostics::Check(iReturn, SQL_HANDLE_STMT, statement);
      // A searched update or delete that touched no row answers
      // SQL_NO_DATA instead of a result.
      if (iReturn == SQL_NO_DATA) {
        first = Recordset::Closed(0);
        break;
      }
      SQLSMALLINT iColumnCount = 0;
      OdbcDiagnostics::Check(SQLNumResultCols(statement, &iColumnCount), SQL_HANDLE_STMT,
                             statement);
      if (iColumnCount > 0) {
        Recordset rows(batch->BeginRows(iColumnCount), {}, batch);
        open_ = batch;
        return rows;
      }
      SQLLEN lRowCount = -1;
      OdbcDiagnostics::Check(SQLRowCount(statement, &lRowCount), SQL_HANDLE_STMT, statement);
      if (lRowCount >= 0) {
        first = Recordset::Closed(long(lRowCount));
        break;
      }
    } catch (const TwkError& error) {
      failure = error;
      break;
    }
    iReturn = SQLMoreResults(statement);
  }
  batch->Finish();
  if (first) return std::move(*first);
  if (failure) throw *failure;
  return Recordset::Closed(-1);
}

}  // namespace twk
