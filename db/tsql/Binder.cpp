// SPDX-License-Identifier: MIT
#include "Binder.h"

#include "BindContext.h"
#include "ExprBinder.h"
#include "QueryBinder.h"
#include "TsqlError.h"
#include "TypeRules.h"

namespace twk::tsql {

namespace {

using Clause = ExprBinder::Clause;

QString Joined(const std::vector<QString>& parts) {
  QString sJoined;
  for (const QString& sPart : parts)
    sJoined += (sJoined.isEmpty() ? QString() : QStringLiteral(".")) + sPart;
  return sJoined;
}

int FindColumn(const BoundSource& source, const QString& sName) {
  for (size_t i = 0; i < source.columns.size(); ++i) {
    if (source.columns[i].sName.compare(sName, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

[[noreturn]] void InvalidColumn(const QString& sName, int iLine) {
  throw TsqlError(207, QStringLiteral("Invalid column name '") + sName + QStringLiteral("'."),
                  iLine);
}

[[noreturn]] void Undeclared(const QString& sName, int iLine) {
  throw TsqlError(137, QStringLiteral("Must declare the scalar variable \"") + sName + u'"', iLine);
}

const QString kCountRule = QStringLiteral(
    " The number of values in the VALUES clause must match the number of columns specified in the "
    "INSERT statement.");
const QString kSelectRule =
    QStringLiteral(" The number of SELECT values must match the number of INSERT columns.");

}  // namespace

void Binder::BindBatch(Batch& batch) {
  for (StatementPtr& statement : batch.statements) Bind(*statement);
}

const StatementBinding* Binder::Find(const Statement& statement) const {
  const auto found = bindings_.find(&statement);
  return found == bindings_.end() ? nullptr : &found->second;
}

void Binder::Bind(Statement& statement) {
  StatementBinding& binding = bindings_[&statement];
  binding = StatementBinding();
  binding.iVisibleVariables = static_cast<int>(variables_.size());
  BindContext context{catalog_, variables_, binding.iVisibleVariables, &binding, {}};
  try {
    BindOwn(statement, context);
  } catch (const UnresolvedObject& unresolved) {
    // What was bound before the missing object is bound again at run time.
    const int iVisible = binding.iVisibleVariables;
    binding = StatementBinding();
    binding.bDeferred = true;
    binding.sUnresolvedObject = Joined(unresolved.name.parts);
    binding.iVisibleVariables = iVisible;
  }
  const auto bindAll = [this](std::vector<StatementPtr>& statements) {
    for (StatementPtr& inner : statements) Bind(*inner);
  };
  if (statement.body) Bind(*statement.body);
  if (statement.elseBody) Bind(*statement.elseBody);
  bindAll(statement.statements);
  bindAll(statement.catchStatements);
}

const StatementBinding& Binder::BindDeferred(Statement& statement) {
  StatementBinding& binding = bindings_[&statement];
  const int iVisible = binding.iVisibleVariables;
  binding = StatementBinding();
  binding.iVisibleVariables = iVisible;
  BindContext context{catalog_, variables_, iVisible, &binding, {}};
  try {
    BindOwn(statement, context);
  } catch (const UnresolvedObject& unresolved) {
    throw TsqlError(208,
                    QStringLiteral("Invalid object name '") + Joined(unresolved.name.parts) +
                        QStringLiteral("'."),
                    unresolved.name.span.iLine);
  }
  return binding;
}

void Binder::BindOwn(Statement& statement, BindContext& context) {
  QueryBinder queries(context);
  ExprBinder values(queries, nullptr, Clause::Value);
  switch (statement.kind) {
    case Statement::Kind::Select: {
      context.binding->result = queries.BindQuery(*statement.query, nullptr, false);
      const bool bInto =
          statement.query->kind == QueryExpr::Kind::Core && statement.query->core->into;
      for (const ResultColumn& column : context.binding->result) {
        if (!bInto || !column.sName.isEmpty()) continue;
        throw TsqlError(
            1038,
            QStringLiteral("An object or column name is missing or empty. For SELECT "
                           "INTO statements, verify each column has a name. For other "
                           "statements, look for empty alias names. Aliases defined as "
                           "\"\" or [] are not allowed. Change the alias to a valid name."),
            statement.span.iLine);
      }
      return;
    }
    case Statement::Kind::Insert:
      return BindInsert(statement, context);
    case Statement::Kind::Update:
    case Statement::Kind::Delete:
      return BindUpdateOrDelete(statement, context);
    case Statement::Kind::Truncate:
      context.binding->sources.push_back(
          queries.ResolveNamed(statement.target, statement.span.iLine));
      context.binding->iTarget = 0;
      return;
    case Statement::Kind::Declare:
      return BindDeclare(statement, context);
    case Statement::Kind::SetVariable:
      return BindSetVariable(statement, context);
    case Statement::Kind::If:
    case Statement::Kind::While:
      return values.Bind(statement.condition);
    case Statement::Kind::Exec:
      if (!statement.sVariable.isEmpty() && context.FindVariable(statement.sVariable) < 0)
        Undeclared(statement.sVariable, statement.span.iLine);
      for (ExecArgument& argument : statement.arguments) values.Bind(argument.value);
      [[fallthrough]];
    case Statement::Kind::Return:
    case Statement::Kind::Print:
      return values.Bind(statement.value);
    case Statement::Kind::Raiserror:
    case Statement::Kind::Throw:
      for (ExprPtr& arg : statement.args) values.Bind(arg);
      return;
    case Statement::Kind::CreateTable:
      for (ColumnDefinition& column : statement.columnDefinitions) {
        if (column.defaultValue) values.BindAs(column.defaultValue, column.type);
      }
      return;
    default:
      return;  // options, transactions, blocks and jumps name nothing themselves
  }
}

void Binder::BindDeclare(Statement& statement, BindContext& context) {
  std::optional<UnresolvedObject> unresolved;
  for (VariableDeclaration& declaration : statement.variables) {
    if (context.FindVariable(declaration.sName) >= 0) {
      throw TsqlError(134,
                      QStringLiteral("The variable name '") + declaration.sName +
                          QStringLiteral("' has already been declared. Variable names must be "
                                         "unique within a query batch or stored procedure."),
                      declaration.span.iLine);
    }
    // Bound again at run time, a declare finds its own variables made at
    // compile time, past the ones it sees.
    int iVariable = static_cast<int>(variables_.size());
    for (int i = context.iVisibleVariables; i < static_cast<int>(variables_.size()); ++i) {
      if (variables_[i].sName.compare(declaration.sName, Qt::CaseInsensitive) == 0) iVariable = i;
    }
    BoundVariable variable{declaration.sName, declaration.type, declaration.bTable, {}};
    for (const ColumnDefinition& column : declaration.columns) {
      variable.columns.push_back(
          {column.sName, column.type, column.nullable.value_or(true), column.bIdentity});
    }
    if (iVariable == static_cast<int>(variables_.size())) variables_.push_back(variable);
    try {
      QueryBinder queries(context);
      if (declaration.initial)
        ExprBinder(queries, nullptr, Clause::Value).BindAs(declaration.initial, declaration.type);
    } catch (const UnresolvedObject& missing) {
      unresolved = missing;
    }
    context.iVisibleVariables = iVariable + 1;
  }
  if (unresolved) throw *unresolved;
}

void Binder::BindSetVariable(Statement& statement, BindContext& context) {
  const int iVariable = context.FindVariable(statement.sVariable);
  if (iVariable < 0 || variables_[iVariable].bTable)
    Undeclared(statement.sVariable, statement.span.iLine);
  QueryBinder queries(context);
  const QString sOperator =
      statement.sOperator.isEmpty() ? QStringLiteral("=") : statement.sOperator;
  ExprBinder(queries, nullptr, Clause::Value)
      .BindAssignment(statement.value, sOperator, variables_[iVariable].type);
}

void Binder::BindInsert(Statement& statement, BindContext& context) {
  QueryBinder queries(context);
  queries.PushCommonTables(statement.with);
  StatementBinding& binding = *context.binding;
  binding.sources.push_back(queries.ResolveNamed(statement.target, statement.target.span.iLine));
  binding.iTarget = 0;
  // A copy: binding a query below adds sources, which may move the vector.
  const BoundSource target = binding.sources[0];
  std::vector<int> columns;
  for (const QString& sName : statement.columns) {
    columns.push_back(FindColumn(target, sName));
    if (columns.back() < 0) InvalidColumn(sName, statement.span.iLine);
  }
  for (size_t i = 0; statement.columns.empty() && i < target.columns.size(); ++i) {
    if (!target.columns[i].bIdentity) columns.push_back(static_cast<int>(i));
  }
  ExprBinder values(queries, nullptr, Clause::Value);
  for (std::vector<ExprPtr>& row : statement.rows) {
    if (row.size() != columns.size()) {
      const bool bMoreValues = row.size() > columns.size();
      throw TsqlError(
          bMoreValues ? 110 : 109,
          QStringLiteral("There are ") + (bMoreValues ? "fewer" : "more") +
              QStringLiteral(" columns in the INSERT statement than values specified in "
                             "the VALUES clause.") +
              kCountRule,
          statement.span.iLine);
    }
    for (size_t i = 0; i < row.size(); ++i) {
      if (row[i]) values.BindAs(row[i], target.columns[columns[i]].type);  // null: default
    }
  }
  if (statement.query) {
    const std::vector<ResultColumn> result = queries.BindQuery(*statement.query, nullptr, false);
    if (result.size() != columns.size()) {
      const bool bMoreItems = result.size() > columns.size();
      throw TsqlError(bMoreItems ? 121 : 120,
                      QStringLiteral("The select list for the INSERT statement contains ") +
                          (bMoreItems ? "more" : "fewer") +
                          QStringLiteral(" items than the insert list.") + kSelectRule,
                      statement.span.iLine);
    }
    for (size_t i = 0; i < result.size(); ++i) {
      const SqlType& type = target.columns[columns[i]].type;
      TypeRules::CheckAssignment(result[i].type, type, statement.span.iLine);
      if (result[i].type.kind != type.kind)
        queries.CastColumn(*statement.query, static_cast<int>(i), type);
    }
  }
  if (statement.source) BindOwn(*statement.source, context);
}

void Binder::BindUpdateOrDelete(Statement& statement, BindContext& context) {
  QueryBinder queries(context);
  queries.PushCommonTables(statement.with);
  StatementBinding& binding = *context.binding;
  Scope scope(binding, nullptr);
  queries.BindFrom(statement.from, scope, nullptr);
  // The target may be an alias or a table of the from clause; else it is a
  // table of its own beside them.
  int iTarget = statement.from.empty() ? -1 : scope.FindSource(statement.target.parts);
  if (iTarget < 0) {
    BoundSource source = queries.ResolveNamed(statement.target, statement.target.span.iLine);
    iTarget = scope.AddSource(std::move(source), statement.target.span.iLine);
  }
  binding.iTarget = iTarget;
  ExprBinder(queries, nullptr, Clause::Value).Bind(statement.top);
  ExprBinder values(queries, &scope, Clause::Value);
  for (Assignment& assignment : statement.assignments) {
    const int iLine = assignment.span.iLine;
    SqlType type;
    if (!assignment.column.parts.empty()) {
      const BoundSource& target = binding.sources[iTarget];
      const int iColumn = FindColumn(target, assignment.column.Last());
      if (iColumn < 0) InvalidColumn(assignment.column.Last(), iLine);
      if (target.columns[iColumn].bIdentity) {
        throw TsqlError(8102,
                        QStringLiteral("Cannot update identity column '") +
                            target.columns[iColumn].sName + QStringLiteral("'."),
                        iLine);
      }
      type = target.columns[iColumn].type;
    }
    if (!assignment.sVariable.isEmpty()) {
      const int iVariable = context.FindVariable(assignment.sVariable);
      if (iVariable < 0) Undeclared(assignment.sVariable, iLine);
      if (assignment.column.parts.empty()) type = variables_[iVariable].type;
    }
    values.BindAssignment(assignment.value, assignment.sOperator, type);
  }
  ExprBinder(queries, &scope, Clause::Where).Bind(statement.where);
}

}  // namespace twk::tsql
