// SPDX-License-Identifier: MIT
#include "FunctionArguments.h"

#include "TwkError.h"

namespace twk::embedded {

namespace {

// Every function runs through here so that no exception crosses SQLite's C
// frames: the body travels as the function's user data.
void Trampoline(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  const auto pBody = reinterpret_cast<ScalarFunction>(sqlite3_user_data(pContext));
  try {
    pBody(pContext, iCount, ppArguments);
  } catch (const TwkError& error) {
    ResultTsqlError(pContext, error.Number(), error.Description());
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(pContext);
  }
}

}  // namespace

QString TextArgument(sqlite3_value* pValue) {
  const auto* pText = static_cast<const QChar*>(sqlite3_value_text16(pValue));
  return QString(pText, sqlite3_value_bytes16(pValue) / 2);
}

QLatin1StringView Utf8Argument(sqlite3_value* pValue) {
  const auto* pText = reinterpret_cast<const char*>(sqlite3_value_text(pValue));
  return QLatin1StringView(pText, sqlite3_value_bytes(pValue));
}

bool AnyNull(int iCount, sqlite3_value** ppArguments) {
  for (int i = 0; i < iCount; ++i) {
    if (sqlite3_value_type(ppArguments[i]) == SQLITE_NULL) return true;
  }
  return false;
}

bool IsInteger(sqlite3_value* pValue) {
  return sqlite3_value_type(pValue) == SQLITE_INTEGER;
}

void ResultText(sqlite3_context* pContext, const QString& sText) {
  sqlite3_result_text16(pContext, sText.utf16(), int(sText.size() * 2), SQLITE_TRANSIENT);
}

void ResultTsqlError(sqlite3_context* pContext, long lNumber, const QString& sMessage) {
  const QByteArray message = QStringLiteral("TSQL %1: %2").arg(lNumber).arg(sMessage).toUtf8();
  sqlite3_result_error(pContext, message.constData(), int(message.size()));
}

void FailTsql(long lNumber, const QString& sMessage) {
  throw TwkError(sMessage, QStringLiteral("TSQL"), lNumber);
}

void CheckRegistration(sqlite3* pDb, int iResult) {
  if (iResult == SQLITE_OK) return;
  throw TwkError(QString::fromUtf8(sqlite3_errmsg(pDb)), QStringLiteral("SQLite"), iResult);
}

void AddFunction(sqlite3* pDb, const char* sName, int iArguments, ScalarFunction pFunction,
                 bool bDeterministic) {
  const int iFlags = SQLITE_UTF8 | (bDeterministic ? SQLITE_DETERMINISTIC : 0);
  CheckRegistration(pDb, sqlite3_create_function_v2(pDb, sName, iArguments, iFlags,
                                                    reinterpret_cast<void*>(pFunction), Trampoline,
                                                    nullptr, nullptr, nullptr));
}

}  // namespace twk::embedded
