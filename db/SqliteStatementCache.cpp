// SPDX-License-Identifier: MIT
#include "SqliteStatementCache.h"

namespace twk {

StatementHandle SqliteStatementCache::Prepare(const QString& sSql, int& iResult) {
  sqlite3_stmt* pRaw = nullptr;
  const void* pTail = nullptr;
  iResult = sqlite3_prepare16_v3(pDb_, sSql.utf16(), int(sSql.size() * 2),
                                 SQLITE_PREPARE_PERSISTENT, &pRaw, &pTail);
  StatementHandle statement(pRaw);
  if (iResult != SQLITE_OK || !statement) return {};
  const qsizetype iTail =
      static_cast<const char16_t*>(pTail) - reinterpret_cast<const char16_t*>(sSql.utf16());
  // More than one statement: the caller's own check says which error.
  if (!QStringView(sSql).mid(iTail).trimmed().isEmpty()) return {};
  return statement;
}

// A statement taken out leaves its place behind, empty, for its return:
// each run then looks its text up twice and allocates nothing.
StatementHandle SqliteStatementCache::Take(const QString& sSql) {
  const auto found = kept_.find(sSql);
  if (found == kept_.end() || !found->second.statement) return {};
  order_.splice(order_.end(), order_, found->second.age);
  return std::move(found->second.statement);
}

void SqliteStatementCache::Give(const QString& sSql, StatementHandle statement) noexcept {
  if (!statement || sSql.isEmpty()) return;
  sqlite3_reset(statement.get());
  sqlite3_clear_bindings(statement.get());
  try {
    const auto found = kept_.find(sSql);
    if (found != kept_.end()) {
      // One of that text may be kept already.
      if (!found->second.statement) found->second.statement = std::move(statement);
      return;
    }
    if (kept_.size() >= iCapacity_) {
      kept_.erase(order_.front());
      order_.pop_front();
    }
    order_.push_back(sSql);
    kept_.try_emplace(sSql, Kept{std::move(statement), std::prev(order_.end())});
  } catch (...) {
    // Not kept: the next run prepares it again.
  }
}

}  // namespace twk
