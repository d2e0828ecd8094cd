// SPDX-License-Identifier: MIT
#pragma once

#include "ExpressionParser.h"

namespace twk::tsql {

/// Queries: specifications joined by union [all], except and intersect
/// (intersect binding first), with order by, offset/fetch and for xml path
/// belonging to the whole; from clauses with joins, applies, derived tables
/// and table hints, (values (...), ...) among them.
class QueryParser : public ExpressionParser {
 protected:
  explicit QueryParser(const QString& sBatch) : ExpressionParser(sBatch) {}

  QueryPtr ParseQuery() override;
  /// The common tables after "with".
  std::vector<CommonTable> ParseCommonTables();
  std::vector<TableRefPtr> ParseFromList();
  /// top n, top (n) [percent] [with ties], after the word top.
  ExprPtr ParseTop(bool& bPercent, bool* pbWithTies);
  /// with (nolock, ...) or (nolock): the words go to table.hints.
  void ParseTableHints(TableRef& table);
  /// After a statement's query: option (maxrecursion 0), the one query hint
  /// that is run, since no recursion is ever bounded here. True when taken.
  bool AcceptUnboundedRecursion();

 private:
  QueryPtr ParseIntersection();
  QueryPtr ParseSetOperand();
  std::unique_ptr<SelectCore> ParseCore();
  SelectItem ParseSelectItem();
  bool StartsQualifiedStar() const;
  void ParseQueryTail(QueryExpr& query);
  bool IsUnboundedRecursion() const;
  void ParseForXml(QueryExpr& query);
  TableRefPtr ParseJoinChain();
  TableRefPtr ParseTablePrimary();
  QueryPtr ParseValuesRows();
  void ParseTableAlias(TableRef& table, bool bRequired);
};

}  // namespace twk::tsql
