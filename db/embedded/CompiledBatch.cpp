// SPDX-License-Identifier: MIT
#include "CompiledBatch.h"

#include <QHash>
#include <algorithm>

#include "Parser.h"
#include "SqlBuilder.h"
#include "Tokenizer.h"
#include "TypeConversion.h"

namespace twk::embedded {

namespace {

// The statements emitted and the steps of the assigning selects among them,
// whose literals are bound as theirs are.
std::vector<EmittedSql*> AllOf(std::vector<EmittedSql>& emitted) {
  std::vector<EmittedSql*> all;
  for (EmittedSql& sql : emitted) {
    all.push_back(&sql);
    for (EmittedSql& step : sql.steps) all.push_back(&step);
  }
  return all;
}

bool SameTable(const std::optional<tsql::CatalogTable>& a,
               const std::optional<tsql::CatalogTable>& b) {
  if (!a || !b) return !a && !b;
  if (a->sName != b->sName || a->columns.size() != b->columns.size()) return false;
  for (size_t i = 0; i < a->columns.size(); ++i) {
    const tsql::CatalogColumn& x = a->columns[i];
    const tsql::CatalogColumn& y = b->columns[i];
    if (x.sName != y.sName || !(x.type == y.type) || x.bNullable != y.bNullable ||
        x.bIdentity != y.bIdentity) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<tsql::CatalogTable> CompiledBatch::Recording::FindTable(
    const tsql::ObjectName& name) const {
  std::optional<tsql::CatalogTable> table = inner_.FindTable(name);
  if (pInto) pInto->push_back({name, table});
  return table;
}

bool CompiledBatch::Recording::Same(const std::vector<Lookup>& lookups) const {
  for (const Lookup& lookup : lookups) {
    if (!SameTable(inner_.FindTable(lookup.name), lookup.table)) return false;
  }
  return true;
}

CompiledBatch::CompiledBatch(const EngineCatalog& catalog, const QString& sBatch, BatchKey key)
    : catalog_(catalog),
      recording_(catalog),
      key_(std::move(key)),
      batch_(tsql::Parse(sBatch)),
      binder_(recording_) {}

void CompiledBatch::Bind() {
  recording_.pInto = &compiled_;
  try {
    binder_.BindBatch(batch_);
  } catch (...) {
    recording_.pInto = nullptr;
    throw;
  }
  recording_.pInto = nullptr;
  bBound_ = true;
  bool bMadeForTheBatch = false;
  for (const Lookup& lookup : compiled_) {
    bNamesPrivate_ = bNamesPrivate_ || SqlBuilder::IsPrivate(lookup.name);
    bMadeForTheBatch = bMadeForTheBatch || EngineCatalog::IsMadeForTheBatch(lookup.name);
  }
  // Without a look-up there is nothing to check, and no version to read.
  if (!bMadeForTheBatch && !compiled_.empty()) valid_ = catalog_.Versions(bNamesPrivate_);
}

bool CompiledBatch::StillValid() {
  if (!valid_) return recording_.Same(compiled_);
  const std::pair<long long, long long> versions = catalog_.Versions(bNamesPrivate_);
  if (versions == *valid_) return true;
  if (!recording_.Same(compiled_)) return false;
  valid_ = versions;
  return true;
}

// A literal may take the new value only where it reaches SQLite as a
// parameter and nowhere else: one written into a statement's text, or read
// by the binder or the emitter in any other way, must be the same. A
// literal of a statement no run has reached yet was read by the binder
// alone, and is emitted from its new value when it is reached: a definition
// whose alert depends on an if would otherwise be compiled afresh for every
// record it gives no alert for.
bool CompiledBatch::Adopt(const BatchKey& key) {
  if (key.literals.size() != key_.literals.size()) return false;
  QHash<qsizetype, tsql::Expr*> parameters;
  QHash<qsizetype, bool> inlined;
  std::vector<tsql::SourceSpan> reached;
  for (auto& [pNode, emitted] : emitted_) {
    for (EmittedSql* pSql : AllOf(emitted)) {
      const EmittedSql& sql = *pSql;
      reached.push_back(sql.source);
      for (const EmittedParameter& parameter : sql.parameters) {
        // The literal is a node of batch_, which this owns.
        auto* pLiteral = const_cast<tsql::Expr*>(parameter.pLiteral);
        if (pLiteral) parameters.insert(pLiteral->span.iStart, pLiteral);
      }
      for (const tsql::Expr* pLiteral : sql.inlinedLiterals) {
        inlined.insert(pLiteral->span.iStart, true);
      }
    }
  }
  std::vector<std::pair<tsql::Expr*, size_t>> changed;
  for (size_t i = 0; i < key.literals.size(); ++i) {
    const BatchLiteral& literal = key_.literals[i];
    if (literal.sText == key.literals[i].sText) continue;
    tsql::Expr* pNode = parameters.value(literal.iStart, nullptr);
    if (!pNode) pNode = Unreached(literal, reached);
    if (!pNode || inlined.contains(literal.iStart)) return false;
    if (pNode->span.iEnd != literal.iStart + literal.sText.size()) return false;
    changed.emplace_back(pNode, i);
  }
  for (const auto& [pNode, i] : changed) {
    tsql::Token token;
    token.kind = pNode->literalKind;
    token.span = {0, key.literals[i].sText.size(), 1};
    pNode->sValue = tsql::Tokenizer::Unquoted(token, key.literals[i].sText);
    key_.literals[i].sText = key.literals[i].sText;
  }
  if (changed.empty()) return true;
  for (auto& [pNode, emitted] : emitted_) {
    for (EmittedSql* pSql : AllOf(emitted)) {
      for (EmittedParameter& parameter : pSql->parameters) {
        if (parameter.pLiteral)
          parameter.value = TypeConversion::ValueOf(*parameter.pLiteral).value;
      }
    }
  }
  return true;
}

tsql::Expr* CompiledBatch::Unreached(const BatchLiteral& literal,
                                     const std::vector<tsql::SourceSpan>& reached) const {
  for (const tsql::SourceSpan& span : reached) {
    if (literal.iStart >= span.iStart && literal.iStart < span.iEnd) return nullptr;
  }
  const std::vector<tsql::Expr*>& literals = batch_.literals;
  const auto found = std::lower_bound(
      literals.begin(), literals.end(), literal.iStart,
      [](const tsql::Expr* pLiteral, qsizetype iStart) { return pLiteral->span.iStart < iStart; });
  if (found == literals.end() || (*found)->span.iStart != literal.iStart) return nullptr;
  return (*found)->bValueBound ? nullptr : *found;
}

bool CompiledBatch::IsLate(const tsql::Statement& statement) const {
  if (late_.count(&statement)) return true;
  const tsql::StatementBinding* pBinding = binder_.Find(statement);
  return pBinding && pBinding->bDeferred;
}

const tsql::StatementBinding& CompiledBatch::BindWhenReached(tsql::Statement& statement) {
  const auto found = late_.find(&statement);
  const tsql::StatementBinding* pBinding = binder_.Find(statement);
  if (found != late_.end() && pBinding && !pBinding->bDeferred) {
    if (recording_.Same(found->second)) return *pBinding;
    // Its tables changed: what was emitted from the old binding goes.
    emitted_.clear();
  }
  std::vector<Lookup>& lookups = late_[&statement];
  lookups.clear();
  recording_.pInto = &lookups;
  try {
    const tsql::StatementBinding& binding = binder_.BindDeferred(statement);
    recording_.pInto = nullptr;
    return binding;
  } catch (...) {
    recording_.pInto = nullptr;
    // Half bound: not to be run again.
    late_.erase(&statement);
    bBound_ = false;
    throw;
  }
}

}  // namespace twk::embedded
