// SPDX-License-Identifier: MIT
#include "OdbcDiagnostics.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <QStringList>
#include <algorithm>
#include <utility>

#include "OdbcText.h"

namespace twk {

namespace {

// Enough for nearly every message; longer ones are read again whole.
constexpr SQLSMALLINT iMessageBufferLength = 1024;

// One record, or false when the handle has no record at that position.
bool ReadRecord(SQLSMALLINT iHandleType, SQLHANDLE handle, SQLSMALLINT iRecord,
                Diagnostic& diagnostic) {
  SQLWCHAR sqlState[SQL_SQLSTATE_SIZE + 1] = {};
  SQLINTEGER lNative = 0;
  std::vector<SQLWCHAR> message(iMessageBufferLength);
  SQLSMALLINT iLength = 0;
  SQLRETURN iReturn = SQLGetDiagRecW(iHandleType, handle, iRecord, sqlState, &lNative,
                                     message.data(), SQLSMALLINT(message.size()), &iLength);
  if (iReturn == SQL_SUCCESS_WITH_INFO && iLength >= SQLSMALLINT(message.size())) {
    message.resize(std::size_t(iLength) + 1);
    iReturn = SQLGetDiagRecW(iHandleType, handle, iRecord, sqlState, &lNative, message.data(),
                             SQLSMALLINT(message.size()), &iLength);
  }
  if (!SQL_SUCCEEDED(iReturn)) return false;
  iLength = std::clamp<SQLSMALLINT>(iLength, 0, SQLSMALLINT(message.size() - 1));
  const SQLWCHAR* pStateEnd = std::find(sqlState, sqlState + SQL_SQLSTATE_SIZE, SQLWCHAR(0));
  diagnostic.sSqlState = TextFromOdbc(sqlState, pStateEnd - sqlState);
  diagnostic.sDescription = TextFromOdbc(message.data(), iLength);
  diagnostic.lNumber = OdbcDiagnostics::Number(diagnostic.sSqlState, long(lNative));
  return true;
}

}  // namespace

std::vector<Diagnostic> OdbcDiagnostics::Read(SQLSMALLINT iHandleType, SQLHANDLE handle) {
  std::vector<Diagnostic> records;
  if (handle == SQL_NULL_HANDLE) return records;
  // Record numbers are SQLSMALLINT; a driver that never answers SQL_NO_DATA
  // must not keep us here for ever.
  for (SQLSMALLINT iRecord = 1; iRecord < SQLSMALLINT(1000); ++iRecord) {
    Diagnostic diagnostic;
    if (!ReadRecord(iHandleType, handle, iRecord, diagnostic)) break;
    records.push_back(std::move(diagnostic));
  }
  return records;
}

long OdbcDiagnostics::Number(const QString& sSqlState, long lNativeError) {
  const bool bInformational =
      sSqlState.startsWith(QStringLiteral("01")) || sSqlState.startsWith(QStringLiteral("00"));
  if (bInformational) return lNativeError > 0 ? -lNativeError : lNativeError;
  return lNativeError > 0 ? lNativeError : 1;
}

SQLRETURN OdbcDiagnostics::Check(SQLRETURN iReturn, SQLSMALLINT iHandleType, SQLHANDLE handle) {
  if (iReturn == SQL_INVALID_HANDLE) {
    throw TwkError(QStringLiteral("The ODBC driver manager was handed an invalid handle."),
                   Source(), 1);
  }
  if (iReturn != SQL_ERROR) return iReturn;
  throw ErrorFrom(Read(iHandleType, handle),
                  QStringLiteral("The ODBC driver reported an error without describing it."));
}

TwkError OdbcDiagnostics::ErrorFrom(const std::vector<Diagnostic>& records,
                                    const QString& sFallback) {
  if (records.empty()) return TwkError(sFallback, Source(), 1);
  QStringList messages;
  long lNumber = 0;
  for (const Diagnostic& record : records) {
    messages.append(record.sDescription);
    if (lNumber <= 0 && record.lNumber > 0) lNumber = record.lNumber;
  }
  return TwkError(messages.join(QStringLiteral("\r\n")), Source(), lNumber > 0 ? lNumber : 1);
}

}  // namespace twk
