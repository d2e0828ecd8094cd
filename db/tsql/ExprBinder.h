// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "BindContext.h"
#include "Scope.h"

namespace twk::tsql {

class QueryBinder;

/// Binds one expression tree: resolves its names, fills every node's type
/// and wraps each operand the server converts in an implicit Cast node, so
/// that whoever emits the tree needs no type rules of its own.
class ExprBinder {
 public:
  /// Where the expression stands, for the rules on aggregates.
  enum class Clause { Select, Where, GroupBy, Having, OrderBy, On, Value };

  ExprBinder(QueryBinder& queries, const Scope* scope, Clause clause)
      : queries_(queries), scope_(scope), clause_(clause) {}

  void Bind(ExprPtr& expr);

  /// Binds the expression and converts it to `type` as an assignment or an
  /// insert does: 206 or 257 for a conversion the server refuses.
  void BindAs(ExprPtr& expr, const SqlType& type);

  /// Binds the value of "x = v" or a compound "x += v" and converts it to the
  /// type of x, the target of a set, an update or a select @x = ...
  void BindAssignment(ExprPtr& value, const QString& sOperator, const SqlType& target);

  /// Wraps the expression in a Cast to `type` marked "implicit", unless it
  /// already has that kind or is a bare NULL.
  static void ImplicitCast(ExprPtr& expr, const SqlType& type);

  /// Whether an aggregate (not a windowed one) was bound at this level.
  bool SawAggregate() const { return bSawAggregate_; }

  QueryBinder& Queries() const { return queries_; }
  BindContext& Context() const;
  const Scope* CurrentScope() const { return scope_; }
  Clause CurrentClause() const { return clause_; }
  int AggregateDepth() const { return iAggregateDepth_; }
  void EnterAggregate() { ++iAggregateDepth_; }
  void LeaveAggregate() { --iAggregateDepth_; }
  void NoteAggregate() { bSawAggregate_ = true; }

 private:
  void BindVariable(Expr& expr);
  void BindColumn(ExprPtr& expr);
  void BindUnary(Expr& expr);
  void BindBinary(Expr& expr);
  void BindComparable(Expr& expr, size_t iFirst, const QString& sOperator);
  void BindLike(Expr& expr);
  void BindCase(Expr& expr);
  void BindQueryValue(Expr& expr);
  void BindXmlValue(Expr& expr);

  QueryBinder& queries_;
  const Scope* scope_;
  Clause clause_;
  int iAggregateDepth_ = 0;
  bool bSawAggregate_ = false;
};

}  // namespace twk::tsql
