// SPDX-License-Identifier: MIT
#include "SqliteHandles.h"

#include <QByteArray>

#include "TwkError.h"

namespace twk {

int CheckSqlite(sqlite3* pDb, int iResult) {
  if (iResult == SQLITE_OK || iResult == SQLITE_ROW || iResult == SQLITE_DONE) return iResult;
  const QString sMessage =
      pDb ? QString::fromUtf8(sqlite3_errmsg(pDb)) : QString::fromUtf8(sqlite3_errstr(iResult));
  throw TwkError(sMessage, QStringLiteral("SQLite"), iResult > 0 ? iResult : SQLITE_ERROR);
}

StatementHandle PrepareFixed(sqlite3* pDb, const char* sSql) {
  sqlite3_stmt* pStatement = nullptr;
  const int iResult = sqlite3_prepare_v2(pDb, sSql, -1, &pStatement, nullptr);
  StatementHandle statement(pStatement);
  CheckSqlite(pDb, iResult);
  return statement;
}

void RunFixed(sqlite3* pDb, const char* sSql) {
  StatementHandle statement = PrepareFixed(pDb, sSql);
  while (CheckSqlite(pDb, sqlite3_step(statement.get())) == SQLITE_ROW) {
  }
}

void RunFixedQuietly(sqlite3* pDb, const char* sSql) noexcept {
  try {
    RunFixed(pDb, sSql);
  } catch (...) {
    // The caller is already cleaning up after an error of its own.
  }
}

void RollBackLeftover(sqlite3* pDb, bool bWasAutocommit) noexcept {
  if (bWasAutocommit && !sqlite3_get_autocommit(pDb)) RunFixedQuietly(pDb, "rollback");
}

bool MainObjectExists(sqlite3* pDb, const char* sName) {
  StatementHandle statement =
      PrepareFixed(pDb,
                   "select count(*) from main.sqlite_master where type in ('table', 'view') and "
                   "name = ?1 collate nocase");
  CheckSqlite(pDb, sqlite3_bind_text(statement.get(), 1, sName, -1, SQLITE_STATIC));
  CheckSqlite(pDb, sqlite3_step(statement.get()));
  return sqlite3_column_int64(statement.get(), 0) > 0;
}

void BindValue(sqlite3* pDb, sqlite3_stmt* pStatement, int iIndex, const QVariant& value) {
  int iResult = SQLITE_OK;
  switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::UnknownType:
      iResult = sqlite3_bind_null(pStatement, iIndex);
      break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
      iResult = sqlite3_bind_int64(pStatement, iIndex, value.toLongLong());
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      iResult = sqlite3_bind_double(pStatement, iIndex, value.toDouble());
      break;
    case QMetaType::QByteArray: {
      const QByteArray bytes = value.toByteArray();
      iResult = sqlite3_bind_blob64(pStatement, iIndex, bytes.constData(),
                                    sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
      break;
    }
    default: {
      const QString sText = value.toString();
      iResult = sqlite3_bind_text16(pStatement, iIndex, sText.utf16(), int(sText.size() * 2),
                                    SQLITE_TRANSIENT);
    }
  }
  CheckSqlite(pDb, iResult);
}

QVariant ColumnValue(sqlite3_stmt* pStatement, int iColumn) {
  switch (sqlite3_column_type(pStatement, iColumn)) {
    case SQLITE_INTEGER:
      return QVariant(qint64(sqlite3_column_int64(pStatement, iColumn)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(pStatement, iColumn));
    case SQLITE_TEXT: {
      // Files store UTF-8; Qt's decoder is far quicker than SQLite's own
      // translation to UTF-16, and every fetched text passes here.
      const auto* pText = reinterpret_cast<const char*>(sqlite3_column_text(pStatement, iColumn));
      const int iBytes = sqlite3_column_bytes(pStatement, iColumn);
      return QVariant(QString::fromUtf8(pText, iBytes));
    }
    case SQLITE_BLOB: {
      const auto* pBytes = static_cast<const char*>(sqlite3_column_blob(pStatement, iColumn));
      const int iBytes = sqlite3_column_bytes(pStatement, iColumn);
      return QVariant(QByteArray(pBytes, iBytes));
    }
    default:
      return QVariant();
  }
}

QString ColumnName(sqlite3_stmt* pStatement, int iColumn) {
  const void* pName = sqlite3_column_name16(pStatement, iColumn);
  return pName ? QString::fromUtf16(static_cast<const char16_t*>(pName)) : QString();
}

QString ArgumentText(sqlite3_value* pValue) {
  const auto* pText = static_cast<const QChar*>(sqlite3_value_text16(pValue));
  return QString(pText, sqlite3_value_bytes16(pValue) / 2);
}

void ResultText(sqlite3_context* pContext, const QString& sText) {
  sqlite3_result_text16(pContext, sText.utf16(), int(sText.size() * 2), SQLITE_TRANSIENT);
}

void ResultValue(sqlite3_context* pContext, const QVariant& value) {
  switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::UnknownType:
      sqlite3_result_null(pContext);
      break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
      sqlite3_result_int64(pContext, value.toLongLong());
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      sqlite3_result_double(pContext, value.toDouble());
      break;
    case QMetaType::QByteArray: {
      const QByteArray bytes = value.toByteArray();
      sqlite3_result_blob64(pContext, bytes.constData(), sqlite3_uint64(bytes.size()),
                            SQLITE_TRANSIENT);
      break;
    }
    default:
      ResultText(pContext, value.toString());
  }
}

void RegisterFunction(sqlite3* pDb, const char* sName, int iArguments, bool bDeterministic,
                      void (*pFunction)(sqlite3_context*, int, sqlite3_value**), int iExtraFlags) {
  const int iFlags = SQLITE_UTF8 | (bDeterministic ? SQLITE_DETERMINISTIC : 0) | iExtraFlags;
  CheckSqlite(pDb, sqlite3_create_function_v2(pDb, sName, iArguments, iFlags, nullptr, pFunction,
                                              nullptr, nullptr, nullptr));
}

}  // namespace twk
