// SPDX-License-Identifier: MIT
#include "OdbcConnection.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <memory>
#include <utility>

#include "OdbcDiagnostics.h"
#include "OdbcResultStream.h"
#include "OdbcText.h"
#include "TimeLimit.h"
#include "TwkError.h"

namespace twk {

namespace {

// The first result decides: rows, a count of changed rows, or an error that
// comes before either. Results that are neither (set, declare, DDL) are
// passed over; what follows the first result is the stream's to walk.
Recordset FirstResult(const std::shared_ptr<OdbcResultStream>& batch, SQLRETURN iReturn) {
  SQLHSTMT statement = batch->Statement();
  for (bool bFirstCall = true;; bFirstCall = false) {
    if (iReturn == SQL_NO_DATA && !bFirstCall) return Recordset::Closed(-1);
    OdbcDiagnostics::Check(iReturn, SQL_HANDLE_STMT, statement);
    // A searched update or delete that touched no row answers SQL_NO_DATA
    // instead of a result.
    if (iReturn == SQL_NO_DATA) return Recordset::Closed(0);
    SQLSMALLINT iColumnCount = 0;
    OdbcDiagnostics::Check(SQLNumResultCols(statement, &iColumnCount), SQL_HANDLE_STMT, statement);
    if (iColumnCount > 0) return Recordset(batch->BeginRows(iColumnCount), {}, batch);
    SQLLEN lRowCount = -1;
    OdbcDiagnostics::Check(SQLRowCount(statement, &lRowCount), SQL_HANDLE_STMT, statement);
    if (lRowCount >= 0) return Recordset::Closed(long(lRowCount));
    iReturn = SQLMoreResults(statement);
  }
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
  OdbcStatementHandle owner(statement);
  // The text is T-SQL as written: a driver that scans it would rewrite what
  // reads as an ODBC escape ({d '...'}, {call x}) and drop braces it does not
  // know, the product's own {placeholders} in comments among them. Asked,
  // not required: SQLite's driver refuses the attribute, and FreeTDS 1.3 and
  // psqlODBC accept it but scan all the same.
  SQLSetStmtAttr(statement, SQL_ATTR_NOSCAN, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_NOSCAN_ON)),
                 0);
  return owner;
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
  // The server stops a batch that outlives the time limit; a driver that
  // cannot is not refused for it (the result only says "option changed").
  SQLSetStmtAttr(batch->Statement(), SQL_ATTR_QUERY_TIMEOUT,
                 reinterpret_cast<SQLPOINTER>(SQLULEN(iSeconds)), 0);
  const SQLRETURN iReturn =
      SQLExecDirectW(batch->Statement(), OdbcInputText(sSql), SQLINTEGER(sSql.size()));
  // Whatever comes back, the batch is walked to its end when the last
  // holder of the stream lets go of it.
  Recordset first = FirstResult(batch, iReturn);
  if (first.IsOpen()) open_ = batch;
  return first;
}

}  // namespace twk
