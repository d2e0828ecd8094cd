// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Ast.h"
#include "BatchKey.h"
#include "Binder.h"
#include "EmittedSql.h"
#include "EngineCatalog.h"

namespace twk::embedded {

/// A batch read, bound and (as its statements are reached) emitted, kept so
/// that the same batch run again, for another record, skips all three. It
/// remembers every answer the catalogue gave while binding, and is used
/// again only while the catalogue still gives those answers; a statement
/// bound when reached (it named a table an earlier statement makes) is
/// checked the same way each time it is reached, and bound again when its
/// tables changed.
class CompiledBatch {
 public:
  /// What each statement and expression emitted, by its node.
  using EmittedMap = std::unordered_map<const void*, std::vector<EmittedSql>>;

  /// Reads the batch; throws the server's error for a batch it refuses.
  CompiledBatch(const EngineCatalog& catalog, const QString& sBatch, BatchKey key);
  CompiledBatch(const CompiledBatch&) = delete;
  CompiledBatch& operator=(const CompiledBatch&) = delete;

  /// Binds the batch as read; throws the first error of its compilation.
  void Bind();
  bool IsBound() const noexcept { return bBound_; }
  /// Whether its key can find it again.
  bool HasKey() const noexcept { return key_.bCacheable; }
  const QString& Key() const noexcept { return key_.sKey; }

  /// Whether every table the binding looked up is as it was; asked of the
  /// catalogue only when a schema it read has changed since it last said so.
  bool StillValid();
  /// Takes the literal values of another text of the same key: false when
  /// one that is not a parameter everywhere differs.
  bool Adopt(const BatchKey& key);

  /// Binds a statement when it is reached, if it has to be: one left to run
  /// time whose tables were not looked up yet or have changed since.
  const tsql::StatementBinding& BindWhenReached(tsql::Statement& statement);
  /// Whether the statement is bound when it is reached.
  bool IsLate(const tsql::Statement& statement) const;

  tsql::Batch& Batch() noexcept { return batch_; }
  tsql::Binder& Binder() noexcept { return binder_; }
  EmittedMap& Emitted() noexcept { return emitted_; }

 private:
  struct Lookup {
    tsql::ObjectName name;
    std::optional<tsql::CatalogTable> table;
  };

  // The node of a literal that no emitted statement or expression holds and
  // whose value binding did not read; null for any other.
  tsql::Expr* Unreached(const BatchLiteral& literal,
                        const std::vector<tsql::SourceSpan>& reached) const;
  // The catalogue as the binder sees it: every answer written down.
  class Recording : public tsql::Catalog {
   public:
    explicit Recording(const tsql::Catalog& inner) : inner_(inner) {}
    std::optional<tsql::CatalogTable> FindTable(const tsql::ObjectName& name) const override;
    bool Same(const std::vector<Lookup>& lookups) const;
    mutable std::vector<Lookup>* pInto = nullptr;

   private:
    const tsql::Catalog& inner_;
  };

  const EngineCatalog& catalog_;
  Recording recording_;
  BatchKey key_;
  tsql::Batch batch_;
  tsql::Binder binder_;
  EmittedMap emitted_;
  bool bBound_ = false;
  std::vector<Lookup> compiled_;
  // The schema versions under which compiled_ was last found the same;
  // unset while it names a table made for each batch.
  std::optional<std::pair<long long, long long>> valid_;
  bool bNamesPrivate_ = false;
  std::unordered_map<const tsql::Statement*, std::vector<Lookup>> late_;
};

}  // namespace twk::embedded
