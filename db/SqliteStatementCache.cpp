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

StatementHandle SqliteStatementCache::Take(const QString& sSql) {
  const auto found = kept_.find(sSql);
  if (found == kept_.end()) return {};
  StatementHandle statement = std::move(found->second.statement);
  order_.erase(found->second.age);
  kept_.erase(found);
  return statement;
}

void SqliteStatementCache::Give(const QString& sSql, StatementHandle statement) noexcept {
  if (!statement || sSql.isEmpty()) return;
  sqlite3_reset(statement.get());
  sqlite3_clear_bindings(statement.get());
  try {
    if (kept_.count(sSql)) return;  // one of that text is kept already
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
