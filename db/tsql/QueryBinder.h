// SPDX-License-Identifier: MIT
#pragma once

#include <unordered_map>
#include <vector>

#include "Ast.h"
#include "BindContext.h"
#include "Scope.h"

namespace twk::tsql {

class ExprBinder;

/// Binds query expressions: from clauses and their sources, common tables,
/// select lists (with * expanded in the catalogue's order), unions, order
/// by, and the shape of each query's result.
class QueryBinder {
 public:
  explicit QueryBinder(BindContext& context) : context_(context) {}

  BindContext& Context() { return context_; }

  /// Binds a query seen from `outer` (null at the top of a statement) and
  /// returns its columns. bNested: a subquery, derived or common table,
  /// where order by needs top, offset or for xml (1033).
  std::vector<ResultColumn> BindQuery(QueryExpr& query, const Scope* outer, bool bNested);

  /// Converts one column of a bound query to `type` in every branch.
  void CastColumn(QueryExpr& query, int iColumn, const SqlType& type);

  /// The source a table name stands for: a table variable, a common table,
  /// or a table of the catalogue. Throws UnresolvedObject for a table that
  /// does not exist, 1087 for an undeclared table variable.
  BoundSource ResolveNamed(const ObjectName& name, int iLine);

  void BindFrom(std::vector<TableRefPtr>& from, Scope& scope, const Scope* outer);

  /// Makes the common tables of a with clause visible, each to those after
  /// it; returns how many to pop.
  size_t PushCommonTables(std::vector<CommonTable>& with);
  void PopCommonTables(size_t iCount);

 private:
  std::vector<ResultColumn> BindCore(QueryExpr& query, const Scope* outer);
  std::vector<ResultColumn> BindSetOperation(QueryExpr& query, const Scope* outer);
  std::vector<ResultColumn> BindSelectList(SelectCore& core, const Scope& scope,
                                           ExprBinder& binder);
  void BindTableRef(TableRef& ref, Scope& scope, const Scope* outer);
  // Binds the order by of a query whose select list gave `columns`; `core`
  // is null for a union, whose order by sees only its result's columns.
  void BindOrderBy(QueryExpr& query, const Scope& scope, const std::vector<ResultColumn>& columns,
                   ExprBinder& binder);

  BindContext& context_;
  // For each select list, the item each column of its result comes from
  // (a * gives several columns).
  std::unordered_map<const SelectCore*, std::vector<int>> columnItems_;
};

}  // namespace twk::tsql
