// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "Binding.h"
#include "Scope.h"

namespace twk::tsql {

/// The rule of a grouped query (one with group by, having or an aggregate):
/// each column of its own sources that the select list, the having or the
/// order by names must stand inside an aggregate or be grouped by (8120,
/// 8121, 8127 as the server gives them).
class GroupingCheck {
 public:
  GroupingCheck(const SelectCore& core, const Scope& scope) : core_(core), scope_(scope) {}

  void Check(const QueryExpr& query) const;

  /// Whether two bound expressions are the same expression: the same shape
  /// with the same columns, variables and values.
  static bool SameExpr(const Expr& a, const Expr& b, const StatementBinding& binding);

 private:
  // iClause: 0 select list, 1 having, 2 order by.
  void Walk(const Expr& expr, int iClause) const;
  bool IsGrouped(const Expr& expr) const;

  const SelectCore& core_;
  const Scope& scope_;
};

}  // namespace twk::tsql
