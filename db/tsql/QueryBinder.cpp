// SPDX-License-Identifier: MIT
#include "QueryBinder.h"

#include "ExprBinder.h"
#include "GroupingCheck.h"
#include "TsqlError.h"
#include "TypeRules.h"

namespace twk::tsql {

namespace {

using Clause = ExprBinder::Clause;

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The columns a derived or common table shows: the query's, renamed by the
// column list when there is one, each named and none twice.
std::vector<CatalogColumn> NamedColumns(const std::vector<ResultColumn>& result,
                                        const std::vector<QString>& aliases, const QString& sTable,
                                        int iLine) {
  if (!aliases.empty() && aliases.size() != result.size()) {
    const bool bMore = result.size() > aliases.size();
    throw TsqlError(bMore ? 8158 : 8159,
                    u'\'' + sTable +
                        (bMore ? QStringLiteral("' has more") : QStringLiteral("' has fewer")) +
                        QStringLiteral(" columns than were specified in the column list."),
                    iLine);
  }
  std::vector<CatalogColumn> columns;
  for (size_t i = 0; i < result.size(); ++i) {
    const QString sName = aliases.empty() ? result[i].sName : aliases[i];
    if (sName.isEmpty()) {
      throw TsqlError(8155,
                      QStringLiteral("No column name was specified for column ") +
                          QString::number(i + 1) + QStringLiteral(" of '") + sTable +
                          QStringLiteral("'."),
                      iLine);
    }
    for (const CatalogColumn& earlier : columns) {
      if (SameName(earlier.sName, sName)) {
        throw TsqlError(8156,
                        QStringLiteral("The column '") + sName +
                            QStringLiteral("' was specified multiple times for '") + sTable +
                            QStringLiteral("'."),
                        iLine);
      }
    }
    columns.push_back({sName, result[i].type, result[i].bNullable, false});
  }
  return columns;
}

bool IsOrdinal(const Expr& expr) {
  return expr.kind == Expr::Kind::Literal && expr.literalKind == Token::Kind::Integer;
}

}  // namespace

std::vector<ResultColumn> QueryBinder::BindQuery(QueryExpr& query, const Scope* outer,
                                                 bool bNested) {
  const size_t iCommonTables = PushCommonTables(query.with);
  std::vector<ResultColumn> columns =
      query.kind == QueryExpr::Kind::Core ? BindCore(query, outer) : BindSetOperation(query, outer);
  ExprBinder values(*this, nullptr, Clause::Value);
  values.Bind(query.offset);
  values.Bind(query.fetch);
  const bool bTop = query.kind == QueryExpr::Kind::Core && query.core->top;
  if (bNested && !query.orderBy.empty() && !bTop && !query.offset && !query.forXmlPath) {
    throw TsqlError(1033,
                    QStringLiteral("The ORDER BY clause is invalid in views, inline functions, "
                                   "derived tables, subqueries, and common table expressions, "
                                   "unless TOP, OFFSET or FOR XML is also specified."),
                    query.span.iLine);
  }
  PopCommonTables(iCommonTables);
  return columns;
}

std::vector<ResultColumn> QueryBinder::BindCore(QueryExpr& query, const Scope* outer) {
  SelectCore& core = *query.core;
  Scope scope(*context_.binding, outer);
  BindFrom(core.from, scope, outer);
  ExprBinder(*this, nullptr, Clause::Value).Bind(core.top);
  ExprBinder(*this, &scope, Clause::Where).Bind(core.where);
  ExprBinder groups(*this, &scope, Clause::GroupBy);
  for (ExprPtr& group : core.groupBy) groups.Bind(group);
  ExprBinder select(*this, &scope, Clause::Select);
  std::vector<ResultColumn> columns = BindSelectList(core, scope, select);
  ExprBinder having(*this, &scope, Clause::Having);
  having.Bind(core.having);
  ExprBinder order(*this, &scope, Clause::OrderBy);
  BindOrderBy(query, scope, columns, order);
  const bool bGrouped = !core.groupBy.empty() || core.having || select.SawAggregate() ||
                        having.SawAggregate() || order.SawAggregate();
  if (bGrouped) GroupingCheck(core, scope).Check(query);
  return columns;
}

std::vector<ResultColumn> QueryBinder::BindSelectList(SelectCore& core, const Scope& scope,
                                                      ExprBinder& binder) {
  std::vector<ResultColumn> columns;
  std::vector<int>& items = columnItems_[&core];
  items.clear();
  int iAssignments = 0;
  for (size_t i = 0; i < core.items.size(); ++i) {
    SelectItem& item = core.items[i];
    if (item.expr->kind == Expr::Kind::Star) {
      for (int iSource : scope.StarSources(*item.expr)) {
        for (const CatalogColumn& column : context_.binding->sources[iSource].columns) {
          columns.push_back({column.sName, column.type, column.bNullable});
          items.push_back(static_cast<int>(i));
        }
      }
      continue;
    }
    binder.Bind(item.expr);
    if (!item.sVariable.isEmpty()) {
      const int iVariable = context_.FindVariable(item.sVariable);
      if (iVariable < 0) {
        throw TsqlError(
            137, QStringLiteral("Must declare the scalar variable \"") + item.sVariable + u'"',
            item.span.iLine);
      }
      const QString sOperator =
          item.sAssignOperator.isEmpty() ? QStringLiteral("=") : item.sAssignOperator;
      binder.BindAssignment(item.expr, sOperator, context_.variables[iVariable].type);
      ++iAssignments;
      continue;
    }
    const Expr& expr = *item.expr;
    QString sName = item.sAlias;
    bool bNullable = true;
    if (sName.isEmpty() && expr.kind == Expr::Kind::Column) sName = expr.name.Last();
    if (expr.kind == Expr::Kind::Column && expr.iBinding >= 0) {
      const BoundColumn& bound = context_.binding->columns[expr.iBinding];
      if (bound.iSource >= 0)
        bNullable = context_.binding->sources[bound.iSource].columns[bound.iColumn].bNullable;
    }
    columns.push_back({sName, expr.type, bNullable});
    items.push_back(static_cast<int>(i));
  }
  if (iAssignments > 0 && !columns.empty()) {
    throw TsqlError(141,
                    QStringLiteral("A SELECT statement that assigns a value to a variable must not "
                                   "be combined with data-retrieval operations."),
                    core.span.iLine);
  }
  return columns;
}

void QueryBinder::BindOrderBy(QueryExpr& query, const Scope& scope,
                              const std::vector<ResultColumn>& columns, ExprBinder& binder) {
  SelectCore* core = query.kind == QueryExpr::Kind::Core ? query.core.get() : nullptr;
  for (OrderItem& item : query.orderBy) {
    Expr& expr = *item.expr;
    if (IsOrdinal(expr)) {
      binder.Bind(item.expr);  // typed like any literal, for whoever writes it out
      expr.bValueBound = true;
      const long long lPosition = expr.sValue.toLongLong();
      if (lPosition < 1 || lPosition > static_cast<long long>(columns.size())) {
        throw TsqlError(
            108,
            QStringLiteral("The ORDER BY position number ") + expr.sValue +
                QStringLiteral(" is out of range of the number of items in the select list."),
            expr.span.iLine);
      }
      continue;
    }
    if (core != nullptr && expr.kind == Expr::Kind::Column && expr.name.parts.size() == 1) {
      const auto alias =
          std::find_if(core->items.begin(), core->items.end(), [&](const SelectItem& s) {
            return !s.sAlias.isEmpty() && SameName(s.sAlias, expr.name.Last());
          });
      if (alias != core->items.end()) {
        context_.binding->columns.push_back(
            {-1, -1, static_cast<int>(alias - core->items.begin())});
        expr.iBinding = static_cast<int>(context_.binding->columns.size()) - 1;
        expr.type = alias->expr->type;
        continue;
      }
    }
    binder.Bind(item.expr);
    if (core != nullptr && core->bDistinct) {
      const bool bListed =
          std::any_of(core->items.begin(), core->items.end(), [&](const SelectItem& s) {
            return GroupingCheck::SameExpr(*s.expr, *item.expr, *context_.binding);
          });
      if (!bListed) {
        throw TsqlError(145,
                        QStringLiteral("ORDER BY items must appear in the select list if SELECT "
                                       "DISTINCT is specified."),
                        expr.span.iLine);
      }
    }
  }
  (void)scope;
}

std::vector<ResultColumn> QueryBinder::BindSetOperation(QueryExpr& query, const Scope* outer) {
  std::vector<ResultColumn> columns = BindQuery(*query.left, outer, false);
  const std::vector<ResultColumn> right = BindQuery(*query.right, outer, false);
  if (columns.size() != right.size()) {
    throw TsqlError(
        205,
        QStringLiteral("All queries combined using a UNION, INTERSECT or EXCEPT operator "
                       "must have an equal number of expressions in their target lists."),
        query.span.iLine);
  }
  for (size_t i = 0; i < columns.size(); ++i) {
    const SqlType common = TypeRules::Comparison(QStringLiteral("union"), columns[i].type,
                                                 right[i].type, query.span.iLine);
    const int iColumn = static_cast<int>(i);
    if (columns[i].type.kind != common.kind) CastColumn(*query.left, iColumn, common);
    if (right[i].type.kind != common.kind) CastColumn(*query.right, iColumn, common);
    columns[i].type = common;
    columns[i].bNullable = columns[i].bNullable || right[i].bNullable;
  }
  // The order by of a union sees the columns of its result, named as the
  // first query names them.
  Scope scope(*context_.binding, outer);
  BoundSource result;
  result.origin = BoundSource::Origin::Derived;
  for (const ResultColumn& column : columns)
    result.columns.push_back({column.sName, column.type, column.bNullable, false});
  scope.AddSource(std::move(result), query.span.iLine);
  ExprBinder order(*this, &scope, Clause::OrderBy);
  BindOrderBy(query, scope, columns, order);
  return columns;
}

void QueryBinder::CastColumn(QueryExpr& query, int iColumn, const SqlType& type) {
  if (query.kind != QueryExpr::Kind::Core) {
    CastColumn(*query.left, iColumn, type);
    CastColumn(*query.right, iColumn, type);
    return;
  }
  const std::vector<int>& items = columnItems_[query.core.get()];
  if (iColumn >= static_cast<int>(items.size())) return;
  ExprPtr& expr = query.core->items[items[iColumn]].expr;
  // A column that a * brings cannot be wrapped; the emitter converts it.
  if (expr->kind == Expr::Kind::Star) return;
  ExprBinder::ImplicitCast(expr, TypeRules::ConvertedType(expr->type, type));
}

BoundSource QueryBinder::ResolveNamed(const ObjectName& name, int iLine) {
  BoundSource source;
  source.object = name;
  source.sExposedName = name.Last();
  if (name.parts.size() == 1 && name.Last().startsWith(u'@')) {
    const int iVariable = context_.FindVariable(name.Last());
    if (iVariable < 0 || !context_.variables[iVariable].bTable) {
      throw TsqlError(
          1087, QStringLiteral("Must declare the table variable \"") + name.Last() + u'"', iLine);
    }
    source.origin = BoundSource::Origin::TableVariable;
    source.columns = context_.variables[iVariable].columns;
    return source;
  }
  if (name.parts.size() == 1) {
    for (auto it = context_.commonTables.rbegin(); it != context_.commonTables.rend(); ++it) {
      if (!SameName(it->sName, name.Last())) continue;
      source.origin = BoundSource::Origin::CommonTable;
      source.columns = it->columns;
      return source;
    }
  }
  const std::optional<CatalogTable> table = context_.catalog.FindTable(name);
  if (!table) throw UnresolvedObject{name};
  source.columns = table->columns;
  return source;
}

void QueryBinder::BindFrom(std::vector<TableRefPtr>& from, Scope& scope, const Scope* outer) {
  for (TableRefPtr& ref : from) BindTableRef(*ref, scope, outer);
}

void QueryBinder::BindTableRef(TableRef& ref, Scope& scope, const Scope* outer) {
  const int iLine = ref.span.iLine;
  if (ref.kind == TableRef::Kind::Join) {
    BindTableRef(*ref.left, scope, outer);
    const bool bApply = ref.joinType == TableRef::JoinType::CrossApply ||
                        ref.joinType == TableRef::JoinType::OuterApply;
    // The right side of an apply sees the left's columns, as a subquery would.
    BindTableRef(*ref.right, scope, bApply ? &scope : outer);
    ExprBinder(*this, &scope, Clause::On).Bind(ref.on);
    return;
  }
  BoundSource source;
  if (ref.kind == TableRef::Kind::Named) {
    source = ResolveNamed(ref.name, iLine);
  } else {
    const std::vector<ResultColumn> result = BindQuery(*ref.query, outer, true);
    source.origin = BoundSource::Origin::Derived;
    source.columns = NamedColumns(result, ref.columnAliases, ref.sAlias, iLine);
  }
  source.ref = &ref;
  if (!ref.sAlias.isEmpty()) source.sExposedName = ref.sAlias;
  scope.AddSource(std::move(source), iLine);
}

size_t QueryBinder::PushCommonTables(std::vector<CommonTable>& with) {
  for (CommonTable& table : with) {
    const int iLine = table.span.iLine;
    // A recursive common table: its anchor gives the shape that its
    // recursive part sees of it.
    const bool bRecursive = table.query->kind == QueryExpr::Kind::UnionAll;
    if (bRecursive) {
      const std::vector<ResultColumn> anchor = BindQuery(*table.query->left, nullptr, false);
      context_.commonTables.push_back(
          {table.sName, NamedColumns(anchor, table.columns, table.sName, iLine)});
    }
    const std::vector<ResultColumn> result = BindQuery(*table.query, nullptr, true);
    if (bRecursive) context_.commonTables.pop_back();
    context_.commonTables.push_back(
        {table.sName, NamedColumns(result, table.columns, table.sName, iLine)});
  }
  return with.size();
}

void QueryBinder::PopCommonTables(size_t iCount) {
  context_.commonTables.resize(context_.commonTables.size() - iCount);
}

}  // namespace twk::tsql
