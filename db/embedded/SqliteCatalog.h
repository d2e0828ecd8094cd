// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

#include "Catalog.h"

namespace twk::embedded {

/// The binder's catalogue on one SQLite connection: the tables and views of
/// the main database, and the #tables and table variables of its private
/// twk_temp database. What it has read is kept until the schema of either
/// database changes, so that a definition run for each record reads the
/// schema once; each look-up costs two reads of the schema versions.
class SqliteCatalog : public tsql::Catalog {
 public:
  explicit SqliteCatalog(sqlite3* pDb);
  ~SqliteCatalog() override;
  SqliteCatalog(const SqliteCatalog&) = delete;
  SqliteCatalog& operator=(const SqliteCatalog&) = delete;

  std::optional<tsql::CatalogTable> FindTable(const tsql::ObjectName& name) const override;

  /// The T-SQL type of a column declared so in SQLite: a T-SQL type name as
  /// written, or SQLite's own names read as the nearest T-SQL type.
  static tsql::SqlType TypeOf(const QString& sDeclared);

  /// Reads the main database's schema version again at the next lookup. It
  /// is read once a batch and after the batch's own create or drop, not at
  /// every lookup: each read takes and gives back the file's lock.
  void CheckMainAgain() const noexcept { bMainKnown_ = false; }

 private:
  struct StatementClose {
    void operator()(sqlite3_stmt* p) const noexcept { sqlite3_finalize(p); }
  };
  using Statement = std::unique_ptr<sqlite3_stmt, StatementClose>;

  void ForgetWhenChanged() const;
  long long SchemaVersion(Statement& statement, const char* sSql) const;
  std::optional<tsql::CatalogTable> Read(const QString& sSchema, const QString& sName) const;
  std::optional<QString> StoredName(const QString& sSchema, const QString& sName) const;
  bool IsAutoincrement(const QString& sSchema, const QString& sTable, const QString& sColumn) const;
  sqlite3_stmt* Prepared(Statement& statement, const char* sSql) const;
  void Check(int iResult) const;

  sqlite3* pDb_;
  mutable Statement mainVersion_;
  mutable Statement temporaryVersion_;
  mutable long long lMainVersion_ = -1;
  mutable bool bMainKnown_ = false;
  mutable long long lTemporaryVersion_ = -1;
  mutable QHash<QString, std::optional<tsql::CatalogTable>> tables_;
};

}  // namespace twk::embedded
