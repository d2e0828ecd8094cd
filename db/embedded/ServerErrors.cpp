// SPDX-License-Identifier: MIT
#include "ServerErrors.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <map>

#include "SqlBuilder.h"
#include "SqliteHandles.h"
#include "TsqlError.h"
#include "TsqlSystemFunctions.h"

namespace twk::embedded {

namespace {

bool IsPrivate(const QString& sTable) {
  return sTable.startsWith(u'#') || sTable.startsWith(u'@');
}

QString Schema(const QString& sTable) {
  return IsPrivate(sTable) ? QString::fromUtf16(SqlBuilder::kTemporarySchema)
                           : QStringLiteral("main");
}

// "Name.ID, Name.CITY" of SQLite's message: the table and its columns.
std::pair<QString, QSet<QString>> Columns(const QString& sList) {
  std::pair<QString, QSet<QString>> found;
  for (const QString& sEntry : sList.split(QStringLiteral(", "))) {
    const qsizetype iDot = sEntry.lastIndexOf(u'.');
    found.first = sEntry.left(iDot);
    found.second.insert(sEntry.mid(iDot + 1));
  }
  return found;
}

struct KeyIndex {
  QString sOrigin;  // pk, u (a constraint) or c (create unique index)
  QString sName;
};

// The unique index of the table on exactly these columns.
KeyIndex FindIndex(sqlite3* pDb, const QString& sTable, const QSet<QString>& columns) {
  StatementHandle indexes =
      PrepareFixed(pDb,
                   "select l.name, l.origin, lower(i.name) from pragma_index_list(?1, ?2) l "
                   "join pragma_index_info(l.name, ?2) i where l.\"unique\"");
  const QByteArray table = sTable.toUtf8();
  const QByteArray schema = Schema(sTable).toUtf8();
  sqlite3_bind_text(indexes.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(indexes.get(), 2, schema.constData(), int(schema.size()), SQLITE_TRANSIENT);
  std::map<QString, std::pair<QString, QSet<QString>>> byName;
  while (sqlite3_step(indexes.get()) == SQLITE_ROW) {
    auto& [sOrigin, indexColumns] = byName[ColumnValue(indexes.get(), 0).toString()];
    sOrigin = ColumnValue(indexes.get(), 1).toString();
    indexColumns.insert(ColumnValue(indexes.get(), 2).toString());
  }
  QSet<QString> wanted;
  for (const QString& sColumn : columns) wanted.insert(sColumn.toLower());
  for (const auto& [sName, index] : byName) {
    if (index.second == wanted) return {index.first, sName};
  }
  return {QStringLiteral("u"), {}};
}

[[noreturn]] void Duplicate(sqlite3* pDb, int iExtended, const QString& sList, int iLine) {
  const auto [sTable, columns] = Columns(sList);
  const QString sObject = QStringLiteral("dbo.") + sTable;
  const KeyIndex index = iExtended == SQLITE_CONSTRAINT_PRIMARYKEY
                             ? KeyIndex{QStringLiteral("pk"), {}}
                             : FindIndex(pDb, sTable, columns);
  if (index.sOrigin == u"c") {
    throw tsql::TsqlError(2601,
                          QStringLiteral("Cannot insert duplicate key row in object '") + sObject +
                              QStringLiteral("' with unique index '") + index.sName +
                              QStringLiteral("'."),
                          iLine);
  }
  const bool bPrimary = index.sOrigin == u"pk";
  const QString sConstraint = (bPrimary ? QStringLiteral("PK__") : QStringLiteral("UQ__")) + sTable;
  throw tsql::TsqlError(
      2627,
      QStringLiteral("Violation of ") +
          (bPrimary ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE KEY")) +
          QStringLiteral(" constraint '") + sConstraint +
          QStringLiteral("'. Cannot insert duplicate key in object '") + sObject +
          QStringLiteral("'."),
      iLine);
}

}  // namespace

void ServerErrors::ThrowIfKnown(sqlite3* pDb, int iResult, const QString& sMessage,
                                const QString& sVerb, int iLine) {
  static const QRegularExpression notNull(QStringLiteral("^NOT NULL constraint failed: (.*)$"));
  static const QRegularExpression unique(
      QStringLiteral("^(?:UNIQUE|PRIMARY KEY) constraint failed: (.*)$"));
  static const QRegularExpression exists(
      QStringLiteral("^(?:table|view) \"?(.*?)\"? already exists$"));
  const int iExtended = sqlite3_extended_errcode(pDb);
  if ((iResult & 0xff) == SQLITE_CONSTRAINT) {
    if (const QRegularExpressionMatch match = notNull.match(sMessage); match.hasMatch()) {
      const auto [sTable, columns] = Columns(match.captured(1));
      const QString sDatabase =
          IsPrivate(sTable) ? QStringLiteral("tempdb") : TsqlSystemFunctions::DatabaseName(pDb);
      throw tsql::TsqlError(515,
                            QStringLiteral("Cannot insert the value NULL into column '") +
                                *columns.begin() + QStringLiteral("', table '") + sDatabase +
                                QStringLiteral(".dbo.") + sTable +
                                QStringLiteral("'; column does not allow nulls. ") + sVerb +
                                QStringLiteral(" fails."),
                            iLine);
    }
    if (const QRegularExpressionMatch match = unique.match(sMessage); match.hasMatch()) {
      Duplicate(pDb, iExtended, match.captured(1), iLine);
    }
  }
  if (const QRegularExpressionMatch match = exists.match(sMessage); match.hasMatch()) {
    throw tsql::TsqlError(2714,
                          QStringLiteral("There is already an object named '") + match.captured(1) +
                              QStringLiteral("' in the database."),
                          iLine);
  }
}

}  // namespace twk::embedded
