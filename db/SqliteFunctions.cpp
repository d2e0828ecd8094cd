// SPDX-License-Identifier: MIT
#include "SqliteFunctions.h"

#include <QDateTime>
#include <QString>

#include "SqliteConversionFunctions.h"
#include "SqliteHandles.h"

namespace twk {

namespace {

// The local date and time, as text that SQLite's date functions read.
void GetDate(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultText(pContext,
             QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// T-SQL LEN: UTF-16 code units, trailing blanks not counted.
void Len(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  if (sqlite3_value_type(ppArguments[0]) == SQLITE_NULL) {
    sqlite3_result_null(pContext);
    return;
  }
  const QString sText = ArgumentText(ppArguments[0]);
  qsizetype iLength = sText.size();
  while (iLength > 0 && sText[iLength - 1] == u' ') --iLength;
  sqlite3_result_int64(pContext, iLength);
}

// T-SQL CHARINDEX: 1-based position of the needle, 0 when absent; the
// optional start is 1-based too.
void CharIndex(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  for (int i = 0; i < iCount; ++i) {
    if (sqlite3_value_type(ppArguments[i]) == SQLITE_NULL) {
      sqlite3_result_null(pContext);
      return;
    }
  }
  const QString sNeedle = ArgumentText(ppArguments[0]);
  const QString sHaystack = ArgumentText(ppArguments[1]);
  const qint64 lStart = iCount > 2 ? sqlite3_value_int64(ppArguments[2]) : 1;
  if (sNeedle.isEmpty()) {
    sqlite3_result_int64(pContext, 0);
    return;
  }
  const qsizetype iFound = sHaystack.indexOf(sNeedle, qsizetype(qMax<qint64>(lStart - 1, 0)));
  sqlite3_result_int64(pContext, iFound + 1);
}

}  // namespace

void RegisterTsqlFunctions(sqlite3* pDb) {
  RegisterFunction(pDb, "getdate", 0, false, GetDate);
  RegisterFunction(pDb, "len", 1, true, Len);
  RegisterFunction(pDb, "charindex", 2, true, CharIndex);
  RegisterFunction(pDb, "charindex", 3, true, CharIndex);
  RegisterConversionFunctions(pDb);
  RunFixed(pDb, "attach database ':memory:' as twk_temp");
}

}  // namespace twk
