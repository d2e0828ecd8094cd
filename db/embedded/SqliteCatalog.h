// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QHash>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "Catalog.h"

namespace twk::embedded {

/// The binder's catalogue on one SQLite connection: the tables and views of
/// the main database, and the #tables and table variables of its private
/// twk_temp database. What it has read is kept until the schema of either
/// database changes, so that a definition run for each record reads the
/// schema once; a look-up reads its database's schema version (the main
/// one once a batch).
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
  /// every lookup.
  void CheckMainAgain() const noexcept { bMainKnown_ = false; }

  /// The schema versions of the main database and, when asked for, of the
  /// private one (else -1): while both are the same, every look-up in that
  /// database gives the same answer.
  std::pair<long long, long long> Versions(bool bWithPrivate) const;

  /// The schema version is read in a transaction that the batch's first
  /// statement shares, so that checking costs that statement no lock of
  /// its own; true while it is open.
  bool SharesCheck() const noexcept { return bCheckOpen_; }
  /// Whether the check stays open after a statement that read no table (the
  /// declarations a batch starts with), for the first that reads one to
  /// share. Only the first few keep it open: a loop of them never holds the
  /// file for long.
  bool LendsCheck() const noexcept { return bCheckOpen_ && ++iLent_ <= iMaximumLent; }
  /// Ends the transaction of the check, when it is still open, rolled back
  /// when it cannot be committed.
  void EndCheck() const noexcept;
  /// Commits the transaction of the check, which a write may have shared:
  /// SQLITE_OK, or the commit's error with the transaction left open (the
  /// connection's message says why) for the caller to report and abandon.
  int CommitCheck() const noexcept;
  /// Rolls the transaction of the check back, when it is still open.
  void AbandonCheck() const noexcept;

 private:
  struct StatementClose {
    void operator()(sqlite3_stmt* p) const noexcept { sqlite3_finalize(p); }
  };
  using Statement = std::unique_ptr<sqlite3_stmt, StatementClose>;
  struct Kept {
    Kept(const SqliteCatalog* pCatalog, const QByteArray& sSql);
    ~Kept();
    Kept(const Kept&) = delete;
    Kept& operator=(const Kept&) = delete;
    sqlite3_stmt* p = nullptr;
  };

  QHash<QString, std::optional<tsql::CatalogTable>>& MainTables() const;
  QHash<QString, std::optional<tsql::CatalogTable>>& TemporaryTables() const;
  long long SchemaVersion(Statement& statement, const char* sSql) const;
  int RunKept(Statement& statement, const char* sSql) const noexcept;
  std::optional<tsql::CatalogTable> Read(const QString& sSchema, const QString& sName) const;
  std::optional<QString> StoredName(const QString& sSchema, const QString& sName) const;
  bool IsAutoincrement(const QString& sSchema, const QString& sTable, const QString& sColumn) const;
  sqlite3_stmt* Prepared(Statement& statement, const char* sSql) const;
  void Check(int iResult) const;

  sqlite3* pDb_;
  mutable Statement mainVersion_;
  mutable Statement temporaryVersion_;
  mutable Statement begin_;
  mutable Statement commit_;
  mutable std::unordered_map<std::string, Statement> kept_;
  mutable long long lMainVersion_ = -1;
  mutable bool bMainKnown_ = false;
  mutable bool bCheckOpen_ = false;
  static constexpr int iMaximumLent = 8;
  mutable int iLent_ = 0;
  mutable long long lTemporaryVersion_ = -1;
  mutable QHash<QString, std::optional<tsql::CatalogTable>> mainTables_;
  mutable QHash<QString, std::optional<tsql::CatalogTable>> temporaryTables_;
};

}  // namespace twk::embedded
