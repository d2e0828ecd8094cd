// SPDX-License-Identifier: MIT
#include "QueryEmitter.h"

#include <utility>

#include "ExpressionEmitter.h"

namespace twk::embedded {

using tsql::QueryExpr;
using tsql::SelectCore;
using tsql::TableRef;
using QueryKind = QueryExpr::Kind;

namespace {

// Whether a set operator of the expression compares whole rows, so that its
// text columns must compare under TSQL.
bool ComparesRows(const QueryExpr& query) {
  if (query.kind == QueryKind::Core) return false;
  if (query.kind != QueryKind::UnionAll) return true;
  return ComparesRows(*query.left) || ComparesRows(*query.right);
}

}  // namespace

QString QueryEmitter::ItemName(const tsql::SelectItem& item) {
  if (!item.sAlias.isEmpty()) return item.sAlias;
  if (item.expr && item.expr->kind == tsql::Expr::Kind::Column) return item.expr->name.Last();
  return {};
}

void QueryEmitter::Emit(const QueryExpr& query) {
  EmitNamingFirst(query, {});
}

void QueryEmitter::EmitNamingFirst(const QueryExpr& query, const QString& sFirst) {
  if (query.forXmlPath) return Xml(query, false);
  With(query.with);
  sFirstName_ = sFirst;
  if (query.kind == QueryKind::Core) {
    Core(*query.core, query.core->bDistinct);
    OrderBy(query.orderBy);
    Limit(query.core.get(), query);
    return;
  }
  Body(query, ComparesRows(query));
  OrderBy(query.orderBy);
  Limit(nullptr, query);
}

void QueryEmitter::EmitRowValues(const QueryExpr& query,
                                 const std::vector<const tsql::Expr*>& values) {
  With(query.with);
  pRowValues_ = &values;
  Core(*query.core, query.core->bDistinct);
  OrderBy(query.orderBy);
  Limit(query.core.get(), query);
}

void QueryEmitter::With(const std::vector<tsql::CommonTable>& with) {
  for (size_t i = 0; i < with.size(); ++i) {
    sql_.Append(i == 0 ? u"WITH " : u", ").Identifier(with[i].sName);
    if (!with[i].columns.empty()) {
      sql_.Append(u"(");
      for (size_t c = 0; c < with[i].columns.size(); ++c) {
        if (c > 0) sql_.Append(u", ");
        sql_.Identifier(with[i].columns[c]);
      }
      sql_.Append(u")");
    }
    sql_.Append(u" AS (");
    Emit(*with[i].query);
    sql_.Append(u")");
  }
  if (!with.empty()) sql_.Append(u" ");
}

// SQLite's compound selects are read left to right and none of their
// members may have a limit or an order of its own: such a member, and a
// set operation on the right, is wrapped as a select from a subquery.
void QueryEmitter::Body(const QueryExpr& query, bool bCollate) {
  Operand(*query.left, bCollate, true);
  switch (query.kind) {
    case QueryKind::Union:
      sql_.Append(u" UNION ");
      break;
    case QueryKind::UnionAll:
      sql_.Append(u" UNION ALL ");
      break;
    case QueryKind::Except:
      sql_.Append(u" EXCEPT ");
      break;
    case QueryKind::Intersect:
      sql_.Append(u" INTERSECT ");
      break;
    case QueryKind::Core:
      break;
  }
  Operand(*query.right, bCollate, false);
}

void QueryEmitter::Operand(const QueryExpr& query, bool bCollate, bool bLeft) {
  const bool bPlain =
      query.orderBy.empty() && query.with.empty() && !query.offset && !query.forXmlPath;
  if (bPlain && query.kind == QueryKind::Core && !query.core->top) {
    return Core(*query.core, bCollate || query.core->bDistinct);
  }
  if (bPlain && bLeft && query.kind != QueryKind::Core) return Body(query, bCollate);
  sql_.Append(u"SELECT * FROM (");
  if (query.kind == QueryKind::Core) {
    With(query.with);
    Core(*query.core, bCollate || query.core->bDistinct);
    OrderBy(query.orderBy);
    Limit(query.core.get(), query);
  } else {
    Emit(query);
  }
  sql_.Append(u")");
}

void QueryEmitter::Core(const SelectCore& core, bool bCollate, const XmlForm* pXml) {
  ExpressionEmitter expressions(sql_);
  sql_.Append(core.bDistinct ? u"SELECT DISTINCT " : u"SELECT ");
  if (pRowValues_) {
    const std::vector<const tsql::Expr*>& values = *std::exchange(pRowValues_, nullptr);
    for (size_t i = 0; i < values.size(); ++i) {
      sql_.Append(i ? u", " : u"");
      expressions.Emit(*values[i]);
    }
    if (values.empty()) sql_.Append(u"1");
  } else if (pXml) {
    XmlRow(core, *pXml);
  } else {
    SelectList(core, bCollate);
  }
  if (!core.from.empty()) From(core.from);
  if (core.where) {
    sql_.Append(u" WHERE ");
    expressions.Emit(*core.where);
  }
  for (size_t i = 0; i < core.groupBy.size(); ++i) {
    sql_.Append(i == 0 ? u" GROUP BY " : u", ");
    expressions.EmitCollated(*core.groupBy[i]);
  }
  if (core.having) {
    sql_.Append(u" HAVING ");
    expressions.Emit(*core.having);
  }
}

void QueryEmitter::SelectList(const SelectCore& core, bool bCollate) {
  ExpressionEmitter expressions(sql_);
  for (size_t i = 0; i < core.items.size(); ++i) {
    const tsql::SelectItem& item = core.items[i];
    if (i > 0) sql_.Append(u", ");
    if (item.expr->kind == tsql::Expr::Kind::Star) {
      expressions.Emit(*item.expr);
      continue;
    }
    if (bCollate) {
      expressions.EmitCollated(*item.expr);
    } else {
      expressions.Emit(*item.expr);
    }
    QString sName = ItemName(item);
    if (i == 0 && !sFirstName_.isEmpty()) sName = std::exchange(sFirstName_, {});
    if (!sName.isEmpty()) sql_.Append(u" AS ").Identifier(sName);
  }
}

void QueryEmitter::OrderBy(const std::vector<tsql::OrderItem>& order) {
  ExpressionEmitter expressions(sql_);
  for (size_t i = 0; i < order.size(); ++i) {
    sql_.Append(i == 0 ? u" ORDER BY " : u", ");
    const tsql::Expr& e = *order[i].expr;
    // A number orders by that column of the select list, which SQLite
    // reads only from a number written in the text.
    if (e.kind == tsql::Expr::Kind::Literal && e.type.IsInteger()) {
      expressions.EmitInline(e);
    } else {
      expressions.EmitCollated(e);
    }
    if (order[i].bDescending) sql_.Append(u" DESC");
  }
}

// top n percent takes the rows' count times n / 100, a fraction of a row
// counting as one.
void QueryEmitter::TopPercent(const SelectCore& core) {
  sql_.Append(u" LIMIT (SELECT CAST(v AS INTEGER) + (v > CAST(v AS INTEGER)) FROM (SELECT ");
  sql_.Append(u"count(*) * (");
  ExpressionEmitter(sql_).Emit(*core.top);
  sql_.Append(u") / 100.0 AS v FROM (");
  Core(core, false);
  sql_.Append(u")))");
}

void QueryEmitter::Limit(const SelectCore* pCore, const QueryExpr& query) {
  ExpressionEmitter expressions(sql_);
  if (pCore && pCore->top) {
    if (pCore->bTopWithTies) RefuseConstruct(tsql::Refusals::Construct::TopWithTies, pCore->span);
    if (pCore->bTopPercent) return TopPercent(*pCore);
    sql_.Append(u" LIMIT (");
    expressions.Emit(*pCore->top);
    sql_.Append(u")");
    return;
  }
  if (!query.fetch && !query.offset) return;
  sql_.Append(u" LIMIT ");
  if (query.fetch) {
    sql_.Append(u"(");
    expressions.Emit(*query.fetch);
    sql_.Append(u")");
  } else {
    sql_.Append(u"-1");
  }
  if (query.offset) {
    sql_.Append(u" OFFSET (");
    expressions.Emit(*query.offset);
    sql_.Append(u")");
  }
}

void QueryEmitter::From(const std::vector<tsql::TableRefPtr>& from, QStringView sFirst) {
  for (size_t i = 0; i < from.size(); ++i) {
    sql_.Append(i == 0 ? sFirst : u", ");
    TableReference(*from[i]);
  }
}

void QueryEmitter::TableReference(const TableRef& ref) {
  if (ref.kind == TableRef::Kind::Derived) return Derived(ref);
  if (ref.kind == TableRef::Kind::Named) {
    sql_.Table(ref.name);
    if (!ref.sAlias.isEmpty()) {
      sql_.Append(u" AS ").Identifier(ref.sAlias);
    } else if (SqlBuilder::IsPrivate(ref.name)) {
      sql_.Append(u" AS ").Identifier(ref.name.Last());
    }
    return;
  }
  using JoinType = TableRef::JoinType;
  TableReference(*ref.left);
  switch (ref.joinType) {
    case JoinType::Inner:
      sql_.Append(u" JOIN ");
      break;
    case JoinType::Left:
      sql_.Append(u" LEFT JOIN ");
      break;
    case JoinType::Right:
      sql_.Append(u" RIGHT JOIN ");
      break;
    case JoinType::Full:
      sql_.Append(u" FULL JOIN ");
      break;
    case JoinType::Cross:
      sql_.Append(u" CROSS JOIN ");
      break;
    case JoinType::CrossApply:
      RefuseConstruct(tsql::Refusals::Construct::Apply, ref.span);
    case JoinType::OuterApply:
      RefuseConstruct(tsql::Refusals::Construct::Apply, ref.span);
  }
  const bool bNested = ref.right->kind == TableRef::Kind::Join;
  if (bNested) sql_.Append(u"(");
  TableReference(*ref.right);
  if (bNested) sql_.Append(u")");
  if (ref.on) {
    sql_.Append(u" ON ");
    ExpressionEmitter(sql_).Emit(*ref.on);
  }
}

// (select ...) d (a, b): SQLite names a subquery's columns only in a common
// table, so the column list goes on one inside the subquery.
void QueryEmitter::Derived(const TableRef& ref) {
  sql_.Append(u"(");
  if (ref.columnAliases.empty()) {
    Emit(*ref.query);
  } else {
    sql_.Append(u"WITH \"twk_derived\"(");
    for (size_t i = 0; i < ref.columnAliases.size(); ++i) {
      if (i > 0) sql_.Append(u", ");
      sql_.Identifier(ref.columnAliases[i]);
    }
    sql_.Append(u") AS (");
    Emit(*ref.query);
    sql_.Append(u") SELECT * FROM \"twk_derived\"");
  }
  sql_.Append(u") AS ").Identifier(ref.sAlias);
}

// select ... for xml path('row'): each row's values, escaped as the server
// escapes text in xml and tagged by their names, concatenated into one text;
// no rows give NULL, as they give the server no xml.
void QueryEmitter::Xml(const QueryExpr& query, bool bValue) {
  if (query.kind != QueryKind::Core)
    RefuseConstruct(tsql::Refusals::Construct::ForXmlUnion, query.span);
  const XmlForm form{query.forXmlPath.value_or(QString()), bValue};
  sql_.Append(u"SELECT group_concat(\"twk_xml\", '') FROM (");
  With(query.with);
  Core(*query.core, false, &form);
  OrderBy(query.orderBy);
  Limit(query.core.get(), query);
  sql_.Append(u")");
}

void QueryEmitter::EmitXmlValue(const tsql::Expr& value) {
  const tsql::Expr& subquery = *value.args[0];
  if (!subquery.query || !subquery.query->forXmlPath) {
    RefuseConstruct(tsql::Refusals::Construct::XmlValue, value.span);
  }
  sql_.Append(u"(");
  Xml(*subquery.query, true);
  sql_.Append(u")");
}

void QueryEmitter::XmlRow(const SelectCore& core, const XmlForm& form) {
  ExpressionEmitter expressions(sql_);
  const bool bRowTag = !form.sRow.isEmpty() && !form.bValue;
  if (bRowTag)
    sql_.InlineString(QStringLiteral("<") + form.sRow + QStringLiteral(">")).Append(u" || ");
  for (size_t i = 0; i < core.items.size(); ++i) {
    if (i > 0) sql_.Append(u" || ");
    const tsql::Expr& e = *core.items[i].expr;
    const QString sName = ItemName(core.items[i]);
    sql_.Append(u"coalesce(");
    if (form.bValue) {
      expressions.Emit(e);
    } else if (sName.isEmpty()) {
      XmlEscaped(e);
    } else {
      sql_.InlineString(QStringLiteral("<") + sName + QStringLiteral(">")).Append(u" || ");
      XmlEscaped(e);
      sql_.Append(u" || ").InlineString(QStringLiteral("</") + sName + QStringLiteral(">"));
    }
    sql_.Append(u", '')");
  }
  if (bRowTag)
    sql_.Append(u" || ").InlineString(QStringLiteral("</") + form.sRow + QStringLiteral(">"));
  sql_.Append(u" AS \"twk_xml\"");
}

void QueryEmitter::XmlEscaped(const tsql::Expr& value) {
  sql_.Append(u"replace(replace(replace(");
  ExpressionEmitter(sql_).Emit(value);
  sql_.Append(u", '&', '&amp;'), '<', '&lt;'), '>', '&gt;')");
}

}  // namespace twk::embedded
