// SPDX-License-Identifier: MIT
#include "OdbcResultStream.h"

#include <sqlext.h>

#include <utility>

#include "OdbcDiagnostics.h"

namespace twk {

OdbcResultStream::OdbcResultStream(SQLHDBC connection, OdbcStatementHandle statement, int iSeconds)
    : connection_(connection),
      statement_(std::move(statement)),
      reader_(statement_.get()),
      iSeconds_(iSeconds) {
  if (iSeconds_ > 0) deadline_ = Clock::now() + std::chrono::seconds(iSeconds_);
}

OdbcResultStream::~OdbcResultStream() {
  Finish();
}

QStringList OdbcResultStream::BeginRows(SQLSMALLINT iColumnCount) {
  reader_.DescribeColumns(iColumnCount);
  bInRows_ = true;
  return reader_.ColumnNames();
}

bool OdbcResultStream::Next(Recordset::Row& row) {
  if (!held_.empty()) {
    row = std::move(held_.front());
    held_.pop_front();
    return true;
  }
  if (heldFailure_) {
    const TwkError failure = *heldFailure_;
    heldFailure_.reset();
    throw failure;
  }
  if (!bInRows_) return false;
  bool bRow = false;
  try {
    bRow = FetchWithinLimit(row);
  } catch (...) {
    Finish();
    throw;
  }
  // The statements after the rows run now, not when the record set goes.
  if (!bRow) Finish();
  return bRow;
}

void OdbcResultStream::Detach() noexcept {
  try {
    Recordset::Row row;
    while (bInRows_ && FetchWithinLimit(row)) held_.push_back(std::move(row));
  } catch (const TwkError& error) {
    heldFailure_ = error;
  } catch (...) {
    heldFailure_ =
        TwkError(QStringLiteral("The rows could not be read."), OdbcDiagnostics::Source(), 1);
  }
  Finish();
}

void OdbcResultStream::Finish() noexcept {
  if (!statement_) return;
  SQLHSTMT statement = statement_.get();
  // Freeing a statement with results pending makes the driver cancel the
  // rest of the batch on the server, so every result is walked through;
  // failures after the first result are the batch's own and pass unseen.
  for (;;) {
    while (bInRows_ && !PastDeadline()) bInRows_ = SQL_SUCCEEDED(SQLFetch(statement));
    if (PastDeadline()) {
      SQLCancel(statement);
      break;
    }
    const SQLRETURN iReturn = SQLMoreResults(statement);
    if (iReturn == SQL_NO_DATA || iReturn == SQL_INVALID_HANDLE) break;
    // A lost connection answers every call with the same error.
    if (iReturn == SQL_ERROR && ConnectionLost()) break;
    SQLSMALLINT iColumnCount = 0;
    bInRows_ = SQL_SUCCEEDED(iReturn) &&
               SQL_SUCCEEDED(SQLNumResultCols(statement, &iColumnCount)) && iColumnCount > 0;
  }
  bInRows_ = false;
  statement_.reset();
}

bool OdbcResultStream::ConnectionLost() const noexcept {
  SQLUINTEGER lDead = SQL_CD_FALSE;
  if (SQL_SUCCEEDED(SQLGetConnectAttr(connection_, SQL_ATTR_CONNECTION_DEAD, &lDead, 0, nullptr)) &&
      lDead == SQL_CD_TRUE) {
    return true;
  }
  try {
    for (const Diagnostic& record : OdbcDiagnostics::Read(SQL_HANDLE_STMT, statement_.get())) {
      if (record.sSqlState.startsWith(QLatin1StringView("08"))) return true;
    }
  } catch (...) {
  }
  return false;
}

bool OdbcResultStream::PastDeadline() const noexcept {
  return deadline_ && Clock::now() >= *deadline_;
}

TwkError OdbcResultStream::TimeLimitError() const {
  return TwkError(QStringLiteral("The batch ran longer than the time limit of %1 seconds and was "
                                 "stopped.")
                      .arg(iSeconds_),
                  OdbcDiagnostics::Source(), 1);
}

bool OdbcResultStream::FetchWithinLimit(Recordset::Row& row) {
  // The driver's own timeout covers one wait for the server; rows that keep
  // coming would outrun it, so the whole read is held to the limit here.
  if (PastDeadline()) {
    bInRows_ = false;  // Finish cancels the rest
    throw TimeLimitError();
  }
  try {
    bInRows_ = reader_.FetchRow(row);
  } catch (...) {
    bInRows_ = false;
    throw;
  }
  return bInRows_;
}

}  // namespace twk
