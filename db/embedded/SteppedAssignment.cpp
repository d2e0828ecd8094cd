// SPDX-License-Identifier: MIT
#include "SteppedAssignment.h"

#include "Builtins.h"
#include "ExpressionEmitter.h"
#include "QueryEmitter.h"
#include "SqlBuilder.h"
#include "TypeRules.h"

namespace twk::embedded {

using tsql::Expr;
using tsql::SelectCore;
using Kind = Expr::Kind;

namespace {

bool IsAssigned(const SelectCore& core, const QString& sName) {
  for (const tsql::SelectItem& item : core.items) {
    if (item.sVariable.compare(sName, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

// Written out, the expression shows every variable it reads as a parameter,
// those inside its subqueries too.
bool Reads(const Expr& e, const SelectCore& core) {
  SqlBuilder sql;
  ExpressionEmitter(sql).Emit(e);
  for (const EmittedParameter& parameter : sql.Take().parameters) {
    if (parameter.kind == EmittedParameter::Kind::Variable && IsAssigned(core, parameter.sName))
      return true;
  }
  return false;
}

bool Aggregates(const Expr& e) {
  if (e.kind != Kind::Function) return false;
  const tsql::Builtins::Function* pFunction = tsql::Builtins::Find(e.sName);
  return e.bOver || (pFunction && pFunction->functionClass != tsql::Builtins::Class::Scalar);
}

// The largest parts of the expression that read no assigned variable
// become values of the row; literals and variables stay in the step.
void Collect(const Expr& e, const SelectCore& core, std::vector<const Expr*>& values) {
  if (e.kind == Kind::Literal || e.kind == Kind::Variable || e.kind == Kind::SystemVariable) return;
  if (!Reads(e, core)) {
    values.push_back(&e);
    return;
  }
  if (e.query || e.kind == Kind::XmlValue || Aggregates(e)) {
    RefuseConstruct(tsql::Refusals::Construct::SelectAssignmentReadsItself, e.span);
  }
  for (const tsql::ExprPtr& argument : e.args) {
    if (argument) Collect(*argument, core, values);
  }
  for (const auto& [when, then] : e.whens) {
    Collect(*when, core, values);
    Collect(*then, core, values);
  }
  if (e.elseExpr) Collect(*e.elseExpr, core, values);
}

}  // namespace

bool SteppedAssignment::IsNeeded(const SelectCore& core) {
  for (const tsql::SelectItem& item : core.items) {
    if (!item.sVariable.isEmpty() && Reads(*item.expr, core)) return true;
  }
  return false;
}

void SteppedAssignment::Emit(const tsql::QueryExpr& query, EmittedSql& emitted) {
  const SelectCore& core = *query.core;
  std::vector<const Expr*> values;
  for (const tsql::SelectItem& item : core.items) {
    if (!item.sVariable.isEmpty()) Collect(*item.expr, core, values);
  }
  SqlBuilder rows;
  QueryEmitter(rows).EmitRowValues(query, values);
  EmittedSql taken = rows.Take();
  emitted.sSql = std::move(taken.sSql);
  emitted.parameters = std::move(taken.parameters);
  for (const tsql::SelectItem& item : core.items) {
    if (item.sVariable.isEmpty()) continue;
    SqlBuilder step;
    step.SetRowValues(&values);
    step.Append(u"SELECT ");
    ExpressionEmitter(step).Emit(*item.expr);
    emitted.steps.push_back(step.Take());
  }
}

void SteppedAssignment::MakePlain(QString& sOperator, tsql::ExprPtr& value,
                                  const QString& sVariable, const tsql::SqlType& type) {
  const QString sArithmetic = sOperator.chopped(1);
  const tsql::TypeRules::Operation operation =
      tsql::TypeRules::Arithmetic(sArithmetic, type, value->type, value->span.iLine);
  auto variable = std::make_unique<Expr>();
  variable->kind = Kind::Variable;
  variable->sName = sVariable;
  variable->type = type;
  variable->span = value->span;
  auto binary = std::make_unique<Expr>();
  binary->kind = Kind::Binary;
  binary->sOperator = sArithmetic;
  binary->span = value->span;
  binary->type = operation.result;
  binary->args.push_back(std::move(variable));
  binary->args.push_back(std::move(value));
  value = std::move(binary);
  sOperator = QStringLiteral("=");
}

}  // namespace twk::embedded
