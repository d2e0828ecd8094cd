// SPDX-License-Identifier: MIT
#include "TsqlSystemFunctions.h"

#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>
#include <QUuid>
#include <optional>

#include "FunctionArguments.h"
#include "SqliteHandles.h"

namespace twk::embedded {

namespace {

// Procedures and #tables are numbered apart from the tables and views,
// whose numbers are their rows in the schema.
constexpr qint64 lProcedureBase = 1000000000;

QString Unquoted(QString sPart) {
  sPart = sPart.trimmed();
  const bool bBracketed = sPart.startsWith(u'[') && sPart.endsWith(u']');
  const bool bQuoted = sPart.startsWith(u'"') && sPart.endsWith(u'"');
  if (sPart.size() >= 2 && (bBracketed || bQuoted)) sPart = sPart.mid(1, sPart.size() - 2);
  return sPart;
}

// The rowid of the first row the lookup finds for the name, if any. A
// statement that cannot be prepared (no #table schema, no procedures
// table) finds nothing.
std::optional<qint64> Find(sqlite3* pDb, const char* sSql, const QString& sName) {
  sqlite3_stmt* pRaw = nullptr;
  if (sqlite3_prepare_v2(pDb, sSql, -1, &pRaw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(pRaw);
    return std::nullopt;
  }
  StatementHandle statement(pRaw);
  const QByteArray name = sName.toUtf8();
  sqlite3_bind_text(pRaw, 1, name.constData(), int(name.size()), SQLITE_STATIC);
  if (sqlite3_step(pRaw) != SQLITE_ROW) return std::nullopt;
  return sqlite3_column_int64(pRaw, 0);
}

std::optional<qint64> FindInDatabase(sqlite3* pDb, const QString& sName, const QString& sType) {
  if (sType.isEmpty() || sType == u"U" || sType == u"V") {
    const char* sSql = sType == u"U" ? "select rowid from main.sqlite_master where type = 'table' "
                                       "and name = ?1 collate nocase"
                       : sType == u"V" ? "select rowid from main.sqlite_master where type = 'view' "
                                         "and name = ?1 collate nocase"
                                       : "select rowid from main.sqlite_master where type in "
                                         "('table', 'view') and name = ?1 collate nocase";
    if (const std::optional<qint64> found = Find(pDb, sSql, sName)) return found;
  }
  if (!sType.isEmpty() && sType != u"P") return std::nullopt;
  const std::optional<qint64> procedure =
      Find(pDb, "select rowid from main.twk_procedures where name = ?1 collate nocase", sName);
  if (procedure) return lProcedureBase + *procedure;
  return std::nullopt;
}

}  // namespace

void TsqlSystemFunctions::ObjectId(sqlite3_context* pContext, int iCount,
                                   sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  QStringList parts = TextArgument(ppArguments[0]).split(u'.');
  for (QString& sPart : parts) sPart = Unquoted(sPart);
  const QString sName = parts.last();
  const QString sType = iCount > 1 ? TextArgument(ppArguments[1]).trimmed().toUpper() : QString();
  sqlite3* pDb = sqlite3_context_db_handle(pContext);
  std::optional<qint64> found;
  if (sName.startsWith(u'#')) {
    if (sType.isEmpty() || sType == u"U") {
      found = Find(pDb,
                   "select -rowid from twk_temp.sqlite_master where type = 'table' and "
                   "name = ?1 collate nocase",
                   sName);
    }
  } else if (parts.size() < 3 || parts.first().compare(u"tempdb", Qt::CaseInsensitive) != 0) {
    found = FindInDatabase(pDb, sName, sType);
  }
  if (!found) return sqlite3_result_null(pContext);
  sqlite3_result_int64(pContext, *found);
}

QString TsqlSystemFunctions::DatabaseName(sqlite3* pDb) {
  const char* sFile = sqlite3_db_filename(pDb, "main");
  const QString sBase = sFile ? QFileInfo(QString::fromUtf8(sFile)).completeBaseName() : QString();
  return sBase.isEmpty() ? QStringLiteral("tempdb") : sBase;
}

void TsqlSystemFunctions::DbName(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultText(pContext, DatabaseName(sqlite3_context_db_handle(pContext)));
}

void TsqlSystemFunctions::SuserSname(sqlite3_context* pContext, int, sqlite3_value**) {
  QString sUser = qEnvironmentVariable("USER");
  if (sUser.isEmpty()) sUser = qEnvironmentVariable("USERNAME");
  ResultText(pContext, sUser.isEmpty() ? QStringLiteral("dbo") : sUser);
}

void TsqlSystemFunctions::HostName(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultText(pContext, QSysInfo::machineHostName());
}

void TsqlSystemFunctions::Fail(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  ResultTsqlError(pContext, long(sqlite3_value_int64(ppArguments[0])),
                  TextArgument(ppArguments[1]));
}

void TsqlSystemFunctions::NewId(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultText(pContext, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
}

}  // namespace twk::embedded
