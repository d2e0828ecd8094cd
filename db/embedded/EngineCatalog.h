// SPDX-License-Identifier: MIT
#pragma once

#include "SqliteCatalog.h"
#include "SysobjectsView.h"

namespace twk::embedded {

/// The binder's catalogue for the engine: the tables of the connection's
/// databases, and the server's sysobjects catalogue (name, uid, type), made
/// as a view for the batch that names it and dropped when that batch is
/// over, since a view left behind would go stale.
class EngineCatalog : public tsql::Catalog {
 public:
  explicit EngineCatalog(sqlite3* pDb) : tables_(pDb), sysobjects_(pDb) {}

  std::optional<tsql::CatalogTable> FindTable(const tsql::ObjectName& name) const override;
  /// The batch that may have named sysobjects is over.
  void BatchDone() noexcept { sysobjects_.Drop(); }
  /// See SqliteCatalog::CheckMainAgain.
  void CheckMainAgain() const noexcept { tables_.CheckMainAgain(); }
  /// See SqliteCatalog::SharesCheck.
  bool SharesCheck() const noexcept { return tables_.SharesCheck(); }
  /// See SqliteCatalog::LendsCheck.
  bool LendsCheck() const noexcept { return tables_.LendsCheck(); }
  /// See SqliteCatalog::EndCheck.
  void EndCheck() const noexcept { tables_.EndCheck(); }
  /// See SqliteCatalog::CommitCheck.
  int CommitCheck() const noexcept { return tables_.CommitCheck(); }
  /// See SqliteCatalog::AbandonCheck.
  void AbandonCheck() const noexcept { tables_.AbandonCheck(); }
  /// See SqliteCatalog::Versions.
  std::pair<long long, long long> Versions(bool bWithPrivate) const {
    return tables_.Versions(bWithPrivate);
  }
  /// Whether a look-up of the name may give another answer than the tables
  /// of the two databases: sysobjects, which is made for the batch.
  static bool IsMadeForTheBatch(const tsql::ObjectName& name);

 private:
  SqliteCatalog tables_;
  mutable SysobjectsView sysobjects_;
};

}  // namespace twk::embedded
