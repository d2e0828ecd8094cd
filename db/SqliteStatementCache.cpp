// SPDX-License-Identifier: MIT
#include "SqliteStatementCache.h"

#include <cstring>
#include <vector>

#include "SqlScanner.h"

namespace twk {

namespace {

// A parameter of this prefix can never come from T-SQL, whose variables
// start with '@', and a statement with parameters of its own is never shaped.
constexpr char sLiteralPrefix[] = ":twk_literal_";
constexpr std::size_t iPrefixLength = sizeof(sLiteralPrefix) - 1;

// Shapes known to need their literals; past this many they are learnt afresh.
constexpr std::size_t iKeptStatements = 512;

bool ShowsLiteralParameter(sqlite3_stmt* pStatement) {
  for (int i = 0; i < sqlite3_column_count(pStatement); ++i) {
    const char* sName = sqlite3_column_name(pStatement, i);
    if (sName && std::strstr(sName, sLiteralPrefix)) return true;
  }
  return false;
}

}  // namespace

bool SqliteStatementCache::Shape(const QString& sText, qsizetype iStart, qsizetype iEnd,
                                 QString& sShape, QStringList& literals) {
  std::vector<SqlScanner::Span> spans;
  if (!SqlScanner::StringLiterals(sText, iStart, iEnd, spans, u"?:$")) return false;
  sShape.clear();
  sShape.reserve(iEnd - iStart + qsizetype(spans.size()) * 16);
  literals.clear();
  qsizetype iCopied = iStart;
  for (const SqlScanner::Span& span : spans) {
    sShape += QStringView(sText).mid(iCopied, span.iStart - iCopied);
    sShape += QLatin1StringView(sLiteralPrefix) + QString::number(literals.size());
    literals.append(
        SqlScanner::LiteralValue(QStringView(sText).mid(span.iStart, span.iEnd - span.iStart)));
    iCopied = span.iEnd;
  }
  sShape += QStringView(sText).mid(iCopied, iEnd - iCopied);
  return true;
}

bool SqliteStatementCache::IsLiteralParameter(const char* sName, int& iLiteral) noexcept {
  if (!sName || std::strncmp(sName, sLiteralPrefix, iPrefixLength) != 0) return false;
  iLiteral = std::atoi(sName + iPrefixLength);
  return true;
}

StatementHandle SqliteStatementCache::Prepare(const QString& sShape, int& iResult, bool bCaptions) {
  sqlite3_stmt* pRaw = nullptr;
  const void* pTail = nullptr;
  iResult = sqlite3_prepare16_v3(pDb_, sShape.utf16(), int(sShape.size() * 2),
                                 SQLITE_PREPARE_PERSISTENT, &pRaw, &pTail);
  StatementHandle statement(pRaw);
  if (iResult != SQLITE_OK || !statement) return {};
  const qsizetype iTail =
      static_cast<const char16_t*>(pTail) - reinterpret_cast<const char16_t*>(sShape.utf16());
  // More than one statement: the caller's own check says which error.
  if (SqlScanner::SkipSpaceAndComments(sShape, iTail) < sShape.size()) return {};
  if (bCaptions && ShowsLiteralParameter(statement.get())) {
    RememberNeedsLiterals(sShape);
    return {};
  }
  return statement;
}

StatementHandle SqliteStatementCache::Take(const QString& sShape) {
  const auto found = kept_.find(sShape);
  if (found == kept_.end()) return {};
  StatementHandle statement = std::move(found->second.statement);
  order_.erase(found->second.age);
  kept_.erase(found);
  return statement;
}

void SqliteStatementCache::Give(const QString& sShape, StatementHandle statement) noexcept {
  if (!statement || sShape.isEmpty()) return;
  sqlite3_reset(statement.get());
  sqlite3_clear_bindings(statement.get());
  try {
    if (kept_.count(sShape)) return;  // one of that shape is kept already
    if (kept_.size() >= iCapacity_) {
      kept_.erase(order_.front());
      order_.pop_front();
    }
    order_.push_back(sShape);
    kept_.try_emplace(sShape, Kept{std::move(statement), std::prev(order_.end())});
  } catch (...) {
    // Not kept: the next run prepares it again.
  }
}

void SqliteStatementCache::RememberNeedsLiterals(const QString& sShape) {
  if (needsLiterals_.size() >= iKeptStatements) needsLiterals_.clear();
  needsLiterals_.insert(sShape);
}

}  // namespace twk
