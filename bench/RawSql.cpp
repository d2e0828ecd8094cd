// SPDX-License-Identifier: MIT
#include "RawSql.h"

#include <cstring>

namespace twk::bench {

QString RawSql::Run(const char* sSql, TextResult* pResult) const {
  const char* pNext = sSql;
  while (pNext && *pNext) {
    sqlite3_stmt* pStatement = nullptr;
    const char* pTail = nullptr;
    if (sqlite3_prepare_v2(pDb_, pNext, -1, &pStatement, &pTail) != SQLITE_OK) {
      return QString::fromUtf8(sqlite3_errmsg(pDb_));
    }
    pNext = pTail;
    if (!pStatement) continue;  // only blanks or a comment were left
    Bind(pStatement);
    const QString sFailure = StepAll(pStatement, pResult);
    sqlite3_finalize(pStatement);
    if (!sFailure.isEmpty()) return sFailure;
  }
  return {};
}

void RawSql::Bind(sqlite3_stmt* pStatement) const {
  for (int i = 1; i <= sqlite3_bind_parameter_count(pStatement); ++i) {
    const char* sName = sqlite3_bind_parameter_name(pStatement, i);
    if (!sName) continue;
    if (std::strcmp(sName, ":id") == 0) {
      sqlite3_bind_text(pStatement, i, bindings_.sId.constData(), int(bindings_.sId.size()),
                        SQLITE_STATIC);
    } else if (std::strcmp(sName, ":user") == 0) {
      sqlite3_bind_text(pStatement, i, bindings_.sUser.constData(), int(bindings_.sUser.size()),
                        SQLITE_STATIC);
    } else if (std::strcmp(sName, ":spid") == 0) {
      sqlite3_bind_int64(pStatement, i, bindings_.lSpid);
    }
  }
}

QString RawSql::StepAll(sqlite3_stmt* pStatement, TextResult* pResult) const {
  const int iColumns = sqlite3_column_count(pStatement);
  const bool bKeep = pResult && iColumns > 0;
  if (bKeep) {
    *pResult = TextResult{};
    for (int i = 0; i < iColumns; ++i) {
      pResult->columns << QString::fromUtf8(sqlite3_column_name(pStatement, i));
    }
  }
  int iStep = SQLITE_ROW;
  while ((iStep = sqlite3_step(pStatement)) == SQLITE_ROW) {
    if (!bKeep) {
      for (int i = 0; i < iColumns; ++i) sqlite3_column_text(pStatement, i);
      continue;
    }
    QStringList row;
    for (int i = 0; i < iColumns; ++i) row << ValueText(pStatement, i);
    pResult->rows.push_back(row);
  }
  if (iStep == SQLITE_DONE) return {};
  return QString::fromUtf8(sqlite3_errmsg(pDb_));
}

QString RawSql::ValueText(sqlite3_stmt* pStatement, int iColumn) {
  switch (sqlite3_column_type(pStatement, iColumn)) {
    case SQLITE_NULL:
      return QStringLiteral("<null>");
    case SQLITE_INTEGER:
      return QString::number(sqlite3_column_int64(pStatement, iColumn));
    case SQLITE_FLOAT:
      return QString::number(sqlite3_column_double(pStatement, iColumn), 'g', 15);
    default:
      return QString::fromUtf8(
          reinterpret_cast<const char*>(sqlite3_column_text(pStatement, iColumn)));
  }
}

}  // namespace twk::bench
