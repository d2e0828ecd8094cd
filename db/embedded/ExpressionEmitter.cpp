// SPDX-License-Identifier: MIT
#include "ExpressionEmitter.h"

#include "Builtins.h"
#include "FunctionEmitter.h"
#include "QueryEmitter.h"
#include "TypeConversion.h"

namespace twk::embedded {

using tsql::Expr;
using tsql::SqlType;
using Kind = Expr::Kind;

namespace {

int ScaleOf(const SqlType& type) {
  if (type.kind == SqlType::Kind::Money || type.kind == SqlType::Kind::SmallMoney) return 4;
  return type.iScale;
}

bool IsAggregate(const QString& sFunction) {
  const tsql::Builtins::Function* pFunction = tsql::Builtins::Find(sFunction);
  return pFunction && pFunction->functionClass == tsql::Builtins::Class::Aggregate;
}

}  // namespace

bool ExpressionEmitter::IsTextLike(const SqlType& type) {
  return type.IsText() || type.kind == SqlType::Kind::UniqueIdentifier;
}

void ExpressionEmitter::Emit(const Expr& e) {
  if (const int iRowValue = sql_.RowValue(e); iRowValue >= 0) {
    sql_.Parameter({EmittedParameter::Kind::RowValue, {}, qlonglong(iRowValue), e.type});
    return;
  }
  switch (e.kind) {
    case Kind::Literal:
      return Literal(e);
    case Kind::Variable:
      sql_.Parameter({EmittedParameter::Kind::Variable, e.sName, {}, e.type});
      return;
    case Kind::SystemVariable:
      sql_.Parameter({EmittedParameter::Kind::SystemVariable, e.sName.toLower(), {}, e.type});
      return;
    case Kind::Column:
      return Column(e);
    case Kind::Star:
      if (!e.name.parts.empty()) sql_.Identifier(e.name.Last()).Append(u".");
      sql_.Append(u"*");
      return;
    case Kind::Unary:
      return Unary(e);
    case Kind::Binary:
      return Binary(e);
    case Kind::Comparison:
      return Comparison(e);
    case Kind::And:
      return Operands(e, u" AND ");
    case Kind::Or:
      return Operands(e, u" OR ");
    case Kind::Not:
      sql_.Append(u"(NOT ");
      Emit(*e.args[0]);
      sql_.Append(u")");
      return;
    case Kind::IsNull:
      sql_.Append(u"(");
      Emit(*e.args[0]);
      sql_.Append(e.bNegated ? u" IS NOT NULL)" : u" IS NULL)");
      return;
    case Kind::Between:
      return Between(e);
    case Kind::Like:
      return Like(e);
    case Kind::InList:
      return InList(e);
    case Kind::InQuery: {
      sql_.Append(u"(");
      EmitCollated(*e.args[0]);
      Query(e, e.bNegated ? u" NOT IN " : u" IN ");
      sql_.Append(u")");
      return;
    }
    case Kind::Exists:
      return Query(e, u"EXISTS ");
    case Kind::Subquery:
      return ScalarQuery(e);
    case Kind::Case:
      return Case(e);
    case Kind::Function:
      return FunctionEmitter(*this, sql_).Emit(e);
    case Kind::Cast:
      return Cast(e);
    case Kind::Collate:
      return Collate(e);
    case Kind::XmlValue:
      return XmlValue(e);
  }
}

// .value() converts the xml's text to its type as convert does: a shorter
// varchar cuts it, a number type reads it.
void ExpressionEmitter::XmlValue(const Expr& e) {
  const tsql::SqlType text = tsql::SqlType::Of(tsql::SqlType::Kind::NVarChar, tsql::SqlType::Max);
  if (TypeConversion::KeepsValue(text, e.type)) return QueryEmitter(sql_).EmitXmlValue(e);
  sql_.Append(u"tsql_convert(");
  QueryEmitter(sql_).EmitXmlValue(e);
  sql_.Append(u", ").InlineString(text.Name());
  sql_.Append(u", ").InlineString(e.type.Name()).Append(u")");
}

void ExpressionEmitter::EmitCollated(const Expr& e) {
  if (!IsTextLike(e.type)) return Emit(e);
  sql_.Append(u"(");
  Emit(e);
  sql_.Append(u")").Collate();
}

void ExpressionEmitter::EmitInline(const Expr& e) {
  const bool bWasInline = sql_.InlineLiterals();
  sql_.SetInlineLiterals(true);
  Emit(e);
  sql_.SetInlineLiterals(bWasInline);
}

void ExpressionEmitter::EmitList(const std::vector<tsql::ExprPtr>& list, size_t iFirst) {
  for (size_t i = iFirst; i < list.size(); ++i) {
    if (i > iFirst) sql_.Append(u", ");
    Emit(*list[i]);
  }
}

// A literal goes in as a parameter, so that the statement of a definition
// run for another record, which differs only in a literal, is the same text.
void ExpressionEmitter::Literal(const Expr& e) {
  const TypeConversion::LiteralValue value = TypeConversion::ValueOf(e);
  if (value.sInline.has_value() || sql_.InlineLiterals()) {
    sql_.Inlined(e);
    if (value.sInline) {
      sql_.Append(*value.sInline);
    } else if (value.value.typeId() == QMetaType::QString) {
      sql_.InlineString(value.value.toString());
    } else {
      sql_.Append(value.value.toString());
    }
    return;
  }
  sql_.Parameter({EmittedParameter::Kind::Value, {}, value.value, e.type, &e});
}

void ExpressionEmitter::Column(const Expr& e) {
  // [database.][schema.]table.column: SQLite knows the table by its name
  // or alias alone.
  const std::vector<QString>& parts = e.name.parts;
  if (parts.size() > 1) sql_.Identifier(parts[parts.size() - 2]).Append(u".");
  sql_.Identifier(parts.back());
}

void ExpressionEmitter::Unary(const Expr& e) {
  sql_.Append(u"(");
  if (e.sOperator != u"+") sql_.Append(e.sOperator);
  Emit(*e.args[0]);
  sql_.Append(u")");
}

void ExpressionEmitter::Operands(const Expr& e, QStringView sOperator) {
  sql_.Append(u"(");
  Emit(*e.args[0]);
  sql_.Append(sOperator);
  Emit(*e.args[1]);
  sql_.Append(u")");
}

void ExpressionEmitter::Binary(const Expr& e) {
  const QString& sOperator = e.sOperator;
  if (sOperator == u"+" && e.type.IsText()) return Operands(e, u" || ");
  if ((sOperator == u"+" || sOperator == u"-") && e.type.IsDateTime()) return DateArithmetic(e);
  if (sOperator == u"/" || sOperator == u"%") {
    // Integer operands divide as integers; any other kind divides as a
    // number with a fraction even when SQLite stored a whole decimal as an
    // integer.
    sql_.Append(sOperator == u"/" ? u"tsql_div(" : u"tsql_mod(");
    if (!e.type.IsInteger()) sql_.Append(u"CAST(");
    Emit(*e.args[0]);
    if (!e.type.IsInteger()) sql_.Append(u" AS REAL)");
    sql_.Append(u", ");
    Emit(*e.args[1]);
    sql_.Append(u")");
    return;
  }
  if (sOperator == u"^") {  // SQLite has no exclusive or
    sql_.Append(u"(");
    Operands(e, u" | ");
    sql_.Append(u" - ");
    Operands(e, u" & ");
    sql_.Append(u")");
    return;
  }
  // SQLite's integers have 64 bits: an int result is checked against 32.
  const bool bChecked = e.type.kind == SqlType::Kind::Int && sOperator != u"&" && sOperator != u"|";
  // Decimals are binary fractions inside SQLite: a sum, difference or
  // product is rounded to the scale its type has, so that 0.1 + 0.2 is 0.3.
  const bool bRounded = !bChecked && e.type.IsExactNumeric() && !e.type.IsInteger() &&
                        (sOperator == u"+" || sOperator == u"-" || sOperator == u"*");
  if (bChecked) sql_.Append(u"tsql_int(");
  if (bRounded) sql_.Append(u"round(");
  Operands(e, QStringLiteral(" ") + sOperator + QStringLiteral(" "));
  if (bChecked) sql_.Append(u")");
  if (bRounded) sql_.Append(u", ").Append(QString::number(ScaleOf(e.type))).Append(u")");
}

// datetime + n and datetime - n count n days, as the server does; the number
// may have reached here converted to a datetime by the binder.
void ExpressionEmitter::DateArithmetic(const Expr& e) {
  const Expr* pDate = e.args[0].get();
  const Expr* pDays = e.args[1].get();
  if (!pDate->type.IsDateTime() && e.sOperator == u"+") std::swap(pDate, pDays);
  if (pDays->kind == Kind::Cast && !pDays->args.empty() && !pDays->args[0]->type.IsDateTime()) {
    pDays = pDays->args[0].get();
  }
  if (!pDate->type.IsDateTime() || pDays->type.IsDateTime()) {
    RefuseConstruct(tsql::Refusals::Construct::DateArithmetic, e.span);
  }
  const QStringView sSign = e.sOperator == u"-" ? u"-" : u"";
  // A fraction of a day adds its milliseconds to the whole days.
  const bool bFraction = !pDays->type.IsInteger();
  if (bFraction) {
    sql_.Append(u"tsql_dateadd('millisecond', CAST(round(").Append(sSign).Append(u"((");
    Emit(*pDays);
    sql_.Append(u") - CAST((");
    Emit(*pDays);
    sql_.Append(u") AS INTEGER)) * 86400000) AS INTEGER), ");
  }
  sql_.Append(u"tsql_dateadd('day', ").Append(sSign).Append(u"CAST((");
  Emit(*pDays);
  sql_.Append(u") AS INTEGER), ");
  Emit(*pDate);
  sql_.Append(u", ").InlineString(pDate->type.Name()).Append(u")");
  if (bFraction) sql_.Append(u", ").InlineString(pDate->type.Name()).Append(u")");
}

void ExpressionEmitter::Comparison(const Expr& e) {
  const bool bText = IsTextLike(e.args[0]->type) || IsTextLike(e.args[1]->type);
  sql_.Append(u"(");
  Emit(*e.args[0]);
  sql_.Append(u" ").Append(e.sOperator).Append(u" (");
  Emit(*e.args[1]);
  sql_.Append(u")");
  if (bText) sql_.Collate();
  sql_.Append(u")");
}

void ExpressionEmitter::Between(const Expr& e) {
  sql_.Append(u"(");
  EmitCollated(*e.args[0]);
  sql_.Append(e.bNegated ? u" NOT BETWEEN " : u" BETWEEN ");
  Emit(*e.args[1]);
  sql_.Append(u" AND ");
  Emit(*e.args[2]);
  sql_.Append(u")");
}

void ExpressionEmitter::Like(const Expr& e) {
  sql_.Append(e.bNegated ? u"(NOT tsql_like(" : u"(tsql_like(");
  EmitList(e.args);
  sql_.Append(u"))");
}

void ExpressionEmitter::InList(const Expr& e) {
  sql_.Append(u"(");
  EmitCollated(*e.args[0]);
  sql_.Append(e.bNegated ? u" NOT IN (" : u" IN (");
  EmitList(e.args, 1);
  sql_.Append(u"))");
}

void ExpressionEmitter::Case(const Expr& e) {
  sql_.Append(u"CASE ");
  if (e.bSimpleCase) {
    // SQLite compares a simple case's operand with each value as the left
    // side of "=", so its collation decides.
    EmitCollated(*e.args[0]);
    sql_.Append(u" ");
  }
  for (const auto& [when, then] : e.whens) {
    sql_.Append(u"WHEN ");
    Emit(*when);
    sql_.Append(u" THEN ");
    Emit(*then);
    sql_.Append(u" ");
  }
  if (e.elseExpr) {
    sql_.Append(u"ELSE ");
    Emit(*e.elseExpr);
    sql_.Append(u" ");
  }
  sql_.Append(u"END");
}

void ExpressionEmitter::Cast(const Expr& e) {
  const Expr& value = *e.args[0];
  const SqlType target = TypeConversion::TargetOf(e);
  const bool bTry = e.sName.startsWith(u"try_", Qt::CaseInsensitive);
  if (!bTry && TypeConversion::KeepsValue(value.type, target)) return Emit(value);
  sql_.Append(bTry ? u"tsql_try_convert(" : u"tsql_convert(");
  Emit(value);
  sql_.Append(u", ").InlineString(value.type.Name());
  sql_.Append(u", ").InlineString(target.Name());
  if (e.args.size() > 1 && e.args[1]) {
    sql_.Append(u", ");
    EmitInline(*e.args[1]);
  }
  sql_.Append(u")");
}

// The server's case-insensitive collations compare as TSQL; its
// case-sensitive ones as SQLite's RTRIM, which also ignores trailing blanks.
void ExpressionEmitter::Collate(const Expr& e) {
  const QString sName = e.sName.toUpper();
  sql_.Append(u"(");
  Emit(*e.args[0]);
  sql_.Append(u")");
  if (sName.contains(u"_CI_")) {
    sql_.Collate();
  } else if (sName.contains(u"_CS_")) {
    sql_.Append(u" COLLATE RTRIM");
  } else {
    RefuseConstruct(tsql::Refusals::Construct::Collation, e.span);
  }
}

void ExpressionEmitter::Query(const Expr& e, QStringView sBefore) {
  sql_.Append(sBefore).Append(u"(");
  QueryEmitter(sql_).Emit(*e.query);
  sql_.Append(u")");
}

// A subquery used as a value that gives a second row fails as on the
// server; one that aggregates without grouping, or takes its top row, or
// makes xml, gives one row at most and goes as it is.
void ExpressionEmitter::ScalarQuery(const Expr& e) {
  const tsql::QueryExpr& query = *e.query;
  bool bOneRow = query.forXmlPath.has_value();
  if (query.kind == tsql::QueryExpr::Kind::Core && !bOneRow) {
    const tsql::SelectCore& core = *query.core;
    const bool bTopLiteral = core.top && core.top->kind == Kind::Literal;
    // The count decides the statement's form: another count cannot reuse it.
    if (bTopLiteral) sql_.Inlined(*core.top);
    const bool bTopOne = bTopLiteral && core.top->sValue == u"1";
    bool bAggregates = core.groupBy.empty() && !core.items.empty();
    for (const tsql::SelectItem& item : core.items) {
      bAggregates = bAggregates && item.expr->kind == Kind::Function && !item.expr->bOver &&
                    IsAggregate(item.expr->sName);
    }
    bOneRow = bTopOne || bAggregates ||
              (!core.items.empty() && core.items.front().expr->kind == Kind::Star);
  }
  if (bOneRow) return Query(e, u"");
  sql_.Append(u"(SELECT CASE WHEN count(*) > 1 THEN tsql_fail(512, ");
  sql_.InlineString(
      u"Subquery returned more than 1 value. This is not permitted when the subquery follows =, "
      u"!=, <, <= , >, >= or when the subquery is used as an expression.");
  sql_.Append(u") ELSE max(\"twk_value\") END FROM (SELECT * FROM (");
  QueryEmitter(sql_).EmitNamingFirst(query, QStringLiteral("twk_value"));
  sql_.Append(u") LIMIT 2))");
}

}  // namespace twk::embedded
