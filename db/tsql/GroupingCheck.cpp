// SPDX-License-Identifier: MIT
#include "GroupingCheck.h"

#include "Builtins.h"
#include "TsqlError.h"

namespace twk::tsql {

namespace {

bool IsGroupingAggregate(const Expr& expr) {
  if (expr.kind != Expr::Kind::Function || expr.bOver) return false;
  const Builtins::Function* function = Builtins::Find(expr.sName);
  return function != nullptr && function->functionClass == Builtins::Class::Aggregate;
}

bool SameList(const std::vector<ExprPtr>& a, const std::vector<ExprPtr>& b,
              const StatementBinding& binding) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!a[i] || !b[i] || !GroupingCheck::SameExpr(*a[i], *b[i], binding)) {
      if (a[i] || b[i]) return false;
    }
  }
  return true;
}

}  // namespace

bool GroupingCheck::SameExpr(const Expr& a, const Expr& b, const StatementBinding& binding) {
  if (a.kind != b.kind) return false;
  if (a.kind == Expr::Kind::Column) {
    if (a.iBinding < 0 || b.iBinding < 0) {  // a date part keyword
      return a.iBinding == b.iBinding && a.name.parts.size() == 1 && b.name.parts.size() == 1 &&
             a.name.Last().compare(b.name.Last(), Qt::CaseInsensitive) == 0;
    }
    const BoundColumn& x = binding.columns[a.iBinding];
    const BoundColumn& y = binding.columns[b.iBinding];
    return x.iSource == y.iSource && x.iColumn == y.iColumn && x.iSelectItem == y.iSelectItem;
  }
  if (a.kind == Expr::Kind::Subquery || a.kind == Expr::Kind::Exists ||
      a.kind == Expr::Kind::InQuery || a.kind == Expr::Kind::XmlValue)
    return false;  // two subqueries are never taken for one another
  if (a.sName.compare(b.sName, Qt::CaseInsensitive) != 0 || a.sOperator != b.sOperator ||
      a.sValue != b.sValue || a.type != b.type || a.bNegated != b.bNegated ||
      a.bDistinct != b.bDistinct || a.bStarArgument != b.bStarArgument ||
      a.targetType != b.targetType || a.iBinding != b.iBinding || a.whens.size() != b.whens.size())
    return false;
  if (a.kind == Expr::Kind::Literal && a.type != b.type) return false;
  for (size_t i = 0; i < a.whens.size(); ++i) {
    if (!SameExpr(*a.whens[i].first, *b.whens[i].first, binding) ||
        !SameExpr(*a.whens[i].second, *b.whens[i].second, binding))
      return false;
  }
  if ((a.elseExpr == nullptr) != (b.elseExpr == nullptr)) return false;
  if (a.elseExpr && !SameExpr(*a.elseExpr, *b.elseExpr, binding)) return false;
  return SameList(a.args, b.args, binding);
}

void GroupingCheck::Check(const QueryExpr& query) const {
  for (const SelectItem& item : core_.items) {
    if (item.expr->kind != Expr::Kind::Star) {
      Walk(*item.expr, 0);
      continue;
    }
    // A * in a grouped query names every column of its sources.
    for (int iSource : scope_.StarSources(*item.expr)) {
      const BoundSource& source = scope_.Binding().sources[iSource];
      if (!source.columns.empty()) {
        throw TsqlError(8120,
                        QStringLiteral("Column '") + source.sExposedName + u'.' +
                            source.columns.front().sName +
                            QStringLiteral("' is invalid in the select list because it is not "
                                           "contained in either an aggregate function or the "
                                           "GROUP BY clause."),
                        item.span.iLine);
      }
    }
  }
  if (core_.having) Walk(*core_.having, 1);
  for (const OrderItem& item : query.orderBy) Walk(*item.expr, 2);
}

bool GroupingCheck::IsGrouped(const Expr& expr) const {
  const StatementBinding& binding = scope_.Binding();
  return std::any_of(core_.groupBy.begin(), core_.groupBy.end(),
                     [&](const ExprPtr& group) { return SameExpr(*group, expr, binding); });
}

void GroupingCheck::Walk(const Expr& expr, int iClause) const {
  if (IsGroupingAggregate(expr) || IsGrouped(expr)) return;
  if (expr.kind == Expr::Kind::Subquery || expr.kind == Expr::Kind::Exists ||
      expr.kind == Expr::Kind::XmlValue)
    return;
  if (expr.kind == Expr::Kind::Column && expr.iBinding >= 0) {
    const BoundColumn& bound = scope_.Binding().columns[expr.iBinding];
    if (bound.iSource < 0 || !scope_.IsLocal(bound)) return;
    const BoundSource& source = scope_.Binding().sources[bound.iSource];
    const QString sColumn = source.sExposedName + u'.' + source.columns[bound.iColumn].sName;
    static const char* const kPlaces[] = {"select list", "HAVING clause", "ORDER BY clause"};
    const QChar cQuote = iClause == 2 ? u'"' : u'\'';
    throw TsqlError(8120 + (iClause == 1   ? 1
                            : iClause == 2 ? 7
                                           : 0),
                    QStringLiteral("Column ") + cQuote + sColumn + cQuote +
                        QStringLiteral(" is invalid in the ") + QLatin1String(kPlaces[iClause]) +
                        QStringLiteral(" because it is not contained in either an aggregate "
                                       "function or the GROUP BY clause."),
                    expr.span.iLine);
  }
  for (const ExprPtr& arg : expr.args) {
    if (arg) Walk(*arg, iClause);
  }
  for (const auto& [when, then] : expr.whens) {
    Walk(*when, iClause);
    Walk(*then, iClause);
  }
  if (expr.elseExpr) Walk(*expr.elseExpr, iClause);
  for (const ExprPtr& partition : expr.partitionBy) Walk(*partition, iClause);
  for (const OrderItem& item : expr.overOrderBy) Walk(*item.expr, iClause);
}

}  // namespace twk::tsql
