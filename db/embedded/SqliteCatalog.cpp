// SPDX-License-Identifier: MIT
#include "SqliteCatalog.h"

#include <cstring>

#include "SqlBuilder.h"
#include "SqliteHandles.h"
#include "TwkError.h"

namespace twk::embedded {

using tsql::SqlType;

namespace {

QString ColumnText(sqlite3_stmt* pStatement, int iColumn) {
  const auto* pText = reinterpret_cast<const char*>(sqlite3_column_text(pStatement, iColumn));
  return pText ? QString::fromUtf8(pText) : QString();
}

void BindText(sqlite3_stmt* pStatement, int iIndex, const QString& sText) {
  const QByteArray utf8 = sText.toUtf8();
  sqlite3_bind_text(pStatement, iIndex, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

}  // namespace

SqliteCatalog::SqliteCatalog(sqlite3* pDb) : pDb_(pDb) {}

SqliteCatalog::~SqliteCatalog() = default;

SqlType SqliteCatalog::TypeOf(const QString& sDeclared) {
  // SQLite's REAL holds a double: the server's float. A T-SQL real is
  // declared float(24) by the emitter, and read back as real.
  if (sDeclared.trimmed().compare(u"real", Qt::CaseInsensitive) == 0) {
    return SqlType::Of(SqlType::Kind::Float);
  }
  if (const std::optional<SqlType> type = SqlType::Parse(sDeclared)) return *type;
  // SQLite's affinity rules, in its order, for names T-SQL has not.
  const QString sUpper = sDeclared.toUpper();
  if (sUpper.contains(u"INT")) return SqlType::Of(SqlType::Kind::Int);
  if (sUpper.contains(u"BOOL")) return SqlType::Of(SqlType::Kind::Bit);
  if (sUpper.contains(u"BLOB")) return SqlType::Of(SqlType::Kind::VarBinary, SqlType::Max);
  if (sUpper.contains(u"REAL") || sUpper.contains(u"FLOA") || sUpper.contains(u"DOUB")) {
    return SqlType::Of(SqlType::Kind::Float);
  }
  return SqlType::Of(SqlType::Kind::VarChar, SqlType::Max);  // text, clob, no type at all
}

std::optional<tsql::CatalogTable> SqliteCatalog::FindTable(const tsql::ObjectName& name) const {
  if (name.parts.empty()) return std::nullopt;
  const bool bPrivate = SqlBuilder::IsPrivate(name);
  QHash<QString, std::optional<tsql::CatalogTable>>& tables =
      bPrivate ? TemporaryTables() : MainTables();
  const QString sKey = name.Last().toLower();
  const auto found = tables.find(sKey);
  if (found != tables.end()) return *found;
  std::optional<tsql::CatalogTable> table =
      Read(bPrivate ? QString::fromUtf16(SqlBuilder::kTemporarySchema) : QStringLiteral("main"),
           name.Last());
  tables.insert(sKey, table);
  return table;
}

// Any create, drop or alter in a database moves its schema version. Each
// database's tables are kept apart: the #tables a definition makes and drops
// at every run must not cost the next one a fresh read of the main tables.
QHash<QString, std::optional<tsql::CatalogTable>>& SqliteCatalog::MainTables() const {
  if (bMainKnown_) return mainTables_;
  if (sqlite3_get_autocommit(pDb_)) {
    bCheckOpen_ = RunKept(begin_, "BEGIN") == SQLITE_OK;
    iLent_ = 0;
  }
  const long long lMain = SchemaVersion(mainVersion_, "PRAGMA main.schema_version");
  bMainKnown_ = true;
  if (lMain != lMainVersion_) mainTables_.clear();
  lMainVersion_ = lMain;
  return mainTables_;
}

std::pair<long long, long long> SqliteCatalog::Versions(bool bWithPrivate) const {
  MainTables();
  if (bWithPrivate) TemporaryTables();
  return {lMainVersion_, bWithPrivate ? lTemporaryVersion_ : -1};
}

void SqliteCatalog::EndCheck() const noexcept {
  if (CommitCheck() != SQLITE_OK) AbandonCheck();
}

int SqliteCatalog::CommitCheck() const noexcept {
  if (!bCheckOpen_) return SQLITE_OK;
  if (sqlite3_get_autocommit(pDb_)) {
    bCheckOpen_ = false;
    return SQLITE_OK;
  }
  const int iResult = RunKept(commit_, "COMMIT");
  if (iResult == SQLITE_OK) bCheckOpen_ = false;
  return iResult;
}

void SqliteCatalog::AbandonCheck() const noexcept {
  if (!bCheckOpen_) return;
  bCheckOpen_ = false;
  RollBackLeftover(pDb_, true);
}

QHash<QString, std::optional<tsql::CatalogTable>>& SqliteCatalog::TemporaryTables() const {
  const long long lTemporary = SchemaVersion(temporaryVersion_, "PRAGMA twk_temp.schema_version");
  if (lTemporary != lTemporaryVersion_) temporaryTables_.clear();
  lTemporaryVersion_ = lTemporary;
  return temporaryTables_;
}

// Kept prepared: they run around every batch, and parsing them each time
// cost more than their work.
int SqliteCatalog::RunKept(Statement& statement, const char* sSql) const noexcept {
  if (!statement) {
    sqlite3_stmt* pNew = nullptr;
    const int iPrepared = sqlite3_prepare_v2(pDb_, sSql, -1, &pNew, nullptr);
    if (iPrepared != SQLITE_OK) return iPrepared;
    statement.reset(pNew);
  }
  const int iResult = sqlite3_step(statement.get());
  sqlite3_reset(statement.get());
  return iResult == SQLITE_DONE ? SQLITE_OK : iResult;
}

long long SqliteCatalog::SchemaVersion(Statement& statement, const char* sSql) const {
  // A connection without its private database has no #tables.
  sqlite3_stmt* pStatement = statement ? statement.get() : nullptr;
  if (!pStatement) {
    sqlite3_stmt* pNew = nullptr;
    if (sqlite3_prepare_v2(pDb_, sSql, -1, &pNew, nullptr) != SQLITE_OK) return -1;
    statement.reset(pNew);
    pStatement = pNew;
  }
  const long long lVersion =
      sqlite3_step(pStatement) == SQLITE_ROW ? sqlite3_column_int64(pStatement, 0) : -1;
  sqlite3_reset(pStatement);
  return lVersion;
}

std::optional<QString> SqliteCatalog::StoredName(const QString& sSchema,
                                                 const QString& sName) const {
  const Kept statement(this, "SELECT name FROM \"" + sSchema.toUtf8() +
                                 "\".sqlite_master WHERE type IN ('table', 'view') AND name = ?1 "
                                 "COLLATE NOCASE");
  if (!statement.p) return std::nullopt;
  BindText(statement.p, 1, sName);
  const int iResult = sqlite3_step(statement.p);
  if (iResult == SQLITE_ROW) return ColumnText(statement.p, 0);
  Check(iResult);
  return std::nullopt;
}

std::optional<tsql::CatalogTable> SqliteCatalog::Read(const QString& sSchema,
                                                      const QString& sName) const {
  const std::optional<QString> sStored = StoredName(sSchema, sName);
  if (!sStored) return std::nullopt;
  const Kept statement(
      this, "SELECT name, type, \"notnull\", pk, hidden FROM pragma_table_xinfo(?1, ?2)");
  sqlite3_stmt* pStatement = statement.p;
  BindText(pStatement, 1, *sStored);
  BindText(pStatement, 2, sSchema);
  tsql::CatalogTable table{*sStored, {}};
  int iKeyColumns = 0;
  int iResult = SQLITE_ROW;
  while ((iResult = sqlite3_step(pStatement)) == SQLITE_ROW) {
    if (sqlite3_column_int(pStatement, 4) != 0) continue;  // a virtual table's hidden column
    const QString sDeclared = ColumnText(pStatement, 1);
    const bool bKey = sqlite3_column_int(pStatement, 3) != 0;
    iKeyColumns += bKey ? 1 : 0;
    tsql::CatalogColumn column{ColumnText(pStatement, 0), TypeOf(sDeclared),
                               sqlite3_column_int(pStatement, 2) == 0,
                               bKey && sDeclared.compare(u"integer", Qt::CaseInsensitive) == 0};
    table.columns.push_back(std::move(column));
  }
  Check(iResult);
  // An identity is the one key column, an integer that autoincrements.
  for (tsql::CatalogColumn& column : table.columns) {
    if (!column.bIdentity) continue;
    column.bIdentity = iKeyColumns == 1 && IsAutoincrement(sSchema, *sStored, column.sName);
    column.bNullable = column.bNullable && !column.bIdentity;
  }
  return table;
}

bool SqliteCatalog::IsAutoincrement(const QString& sSchema, const QString& sTable,
                                    const QString& sColumn) const {
  int iAutoincrement = 0;
  const int iResult = sqlite3_table_column_metadata(
      pDb_, sSchema.toUtf8().constData(), sTable.toUtf8().constData(), sColumn.toUtf8().constData(),
      nullptr, nullptr, nullptr, nullptr, &iAutoincrement);
  return iResult == SQLITE_OK && iAutoincrement != 0;
}

// A cold connection looks up every table its definitions name: the look-ups'
// statements are prepared once, and reset after each use so that none holds
// a lock.
SqliteCatalog::Kept::Kept(const SqliteCatalog* pCatalog, const QByteArray& sSql) {
  Statement& kept = pCatalog->kept_[sSql.toStdString()];
  p = kept ? kept.get() : pCatalog->Prepared(kept, sSql.constData());
}

SqliteCatalog::Kept::~Kept() {
  if (!p) return;
  sqlite3_reset(p);
  sqlite3_clear_bindings(p);
}

sqlite3_stmt* SqliteCatalog::Prepared(Statement& statement, const char* sSql) const {
  sqlite3_stmt* pStatement = nullptr;
  const int iResult = sqlite3_prepare_v2(pDb_, sSql, -1, &pStatement, nullptr);
  statement.reset(pStatement);
  // An unattached twk_temp has no tables: nothing to find there.
  if (iResult == SQLITE_ERROR && std::strstr(sSql, "\"twk_temp\"")) return nullptr;
  Check(iResult);
  return pStatement;
}

void SqliteCatalog::Check(int iResult) const {
  if (iResult == SQLITE_OK || iResult == SQLITE_DONE || iResult == SQLITE_ROW) return;
  throw TwkError(QString::fromUtf8(sqlite3_errmsg(pDb_)), QStringLiteral("SQLite"), iResult);
}

}  // namespace twk::embedded
