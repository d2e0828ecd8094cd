// SPDX-License-Identifier: MIT
#include "StatementDump.h"

#include <QStringList>

#include "AstDump.h"

namespace twk::tsql {

namespace {

using K = Statement::Kind;

QString Name(const ObjectName& name) {
  return QStringList(name.parts.begin(), name.parts.end()).join(u'.');
}

QString List(const QString& sHead, const QStringList& items) {
  return u'(' + (items.isEmpty() ? sHead : sHead + u' ' + items.join(u' ')) + u')';
}

QString Names(const std::vector<QString>& names) {
  return QStringList(names.begin(), names.end()).join(u' ');
}

QString Opt(const ExprPtr& expr) {
  return expr ? AstDump::Of(*expr) : QStringLiteral("default");
}

QString Exprs(const std::vector<ExprPtr>& exprs) {
  QStringList items;
  for (const ExprPtr& expr : exprs) items << Opt(expr);
  return items.join(u' ');
}

QString Statements(const std::vector<StatementPtr>& statements) {
  QStringList items;
  for (const StatementPtr& statement : statements) items << StatementDump::Of(*statement);
  return items.join(u' ');
}

QString Column(const ColumnDefinition& column) {
  QStringList items{column.sName, column.type.Name()};
  if (column.nullable)
    items << (*column.nullable ? QStringLiteral("null") : QStringLiteral("not-null"));
  if (column.bIdentity) {
    items << QStringLiteral("identity(%1,%2)").arg(column.lSeed).arg(column.lIncrement);
  }
  if (column.bPrimaryKey) items << QStringLiteral("primary-key");
  if (column.bUnique) items << QStringLiteral("unique");
  if (column.defaultValue)
    items << List(QStringLiteral("default"), {AstDump::Of(*column.defaultValue)});
  if (!column.sCollation.isEmpty()) items << List(QStringLiteral("collate"), {column.sCollation});
  return List(QStringLiteral("column"), items);
}

QString Elements(const std::vector<ColumnDefinition>& columns,
                 const std::vector<TableConstraint>& constraints) {
  QStringList items;
  for (const ColumnDefinition& column : columns) items << Column(column);
  for (const TableConstraint& constraint : constraints) {
    items << List(constraint.bPrimaryKey ? QStringLiteral("primary-key") : QStringLiteral("unique"),
                  {Names(constraint.columns)});
  }
  return items.join(u' ');
}

QString Declaration(const VariableDeclaration& variable) {
  if (variable.bTable) {
    return List(variable.sName,
                {QStringLiteral("table"), Elements(variable.columns, variable.constraints)});
  }
  QStringList items{variable.sName, variable.bTypeLengthGiven
                                        ? variable.type.Name()
                                        : variable.type.Name().section(u'(', 0, 0)};
  if (variable.initial) items << AstDump::Of(*variable.initial);
  return List(QStringLiteral("var"), items);
}

QString Tables(const QString& sHead, const std::vector<TableRefPtr>& tables) {
  QStringList items;
  for (const TableRefPtr& table : tables) items << AstDump::Of(*table);
  return List(sHead, items);
}

// The clauses insert, update and delete share, after the target.
QStringList DataClauses(const Statement& statement) {
  QStringList items;
  if (statement.top) {
    QStringList top{AstDump::Of(*statement.top)};
    if (statement.bTopPercent) top << QStringLiteral("percent");
    items << List(QStringLiteral("top"), top);
  }
  for (const CommonTable& table : statement.with) {
    items << List(QStringLiteral("with"), {table.sName, AstDump::Of(*table.query)});
  }
  if (!statement.assignments.empty()) {
    QStringList assignments;
    for (const Assignment& assignment : statement.assignments) {
      QStringList parts;
      if (!assignment.sVariable.isEmpty()) parts << assignment.sVariable;
      if (!assignment.column.parts.empty()) parts << Name(assignment.column);
      parts << Opt(assignment.value);
      assignments << List(assignment.sOperator, parts);
    }
    items << List(QStringLiteral("set"), assignments);
  }
  if (!statement.columns.empty())
    items << List(QStringLiteral("columns"), {Names(statement.columns)});
  if (!statement.rows.empty()) {
    QStringList rows;
    for (const auto& row : statement.rows) rows << u'(' + Exprs(row) + u')';
    items << List(QStringLiteral("values"), rows);
  }
  if (statement.bDefaultValues) items << QStringLiteral("default-values");
  if (statement.query) items << AstDump::Of(*statement.query);
  if (statement.source) items << StatementDump::Of(*statement.source);
  if (!statement.from.empty()) items << Tables(QStringLiteral("from"), statement.from);
  if (statement.where) items << List(QStringLiteral("where"), {AstDump::Of(*statement.where)});
  return items;
}

QString Exec(const Statement& statement) {
  if (statement.value) return List(QStringLiteral("exec-sql"), {AstDump::Of(*statement.value)});
  QStringList items;
  if (!statement.sVariable.isEmpty()) items << statement.sVariable << QStringLiteral("=");
  items << Name(statement.procedure);
  for (const ExecArgument& argument : statement.arguments) {
    QString sArgument = Opt(argument.value);
    if (!argument.sParameter.isEmpty())
      sArgument = List(QStringLiteral("="), {argument.sParameter, sArgument});
    if (argument.bOutput) sArgument = List(QStringLiteral("output"), {sArgument});
    items << sArgument;
  }
  return List(QStringLiteral("exec"), items);
}

QString Named(const QString& sHead, const Statement& statement) {
  return statement.sName.isEmpty() ? List(sHead, {}) : List(sHead, {statement.sName});
}

}  // namespace

QString StatementDump::Of(const Statement& s) {
  switch (s.kind) {
    case K::Empty:
      return QStringLiteral("(empty)");
    case K::Select:
      return AstDump::Of(*s.query);
    case K::Insert:
      return List(QStringLiteral("insert"), QStringList{Name(s.target)} + DataClauses(s));
    case K::Update:
      return List(QStringLiteral("update"), QStringList{Name(s.target)} + DataClauses(s));
    case K::Delete:
      return List(QStringLiteral("delete"), QStringList{Name(s.target)} + DataClauses(s));
    case K::Truncate:
      return List(QStringLiteral("truncate"), {Name(s.target)});
    case K::Declare: {
      QStringList items;
      for (const VariableDeclaration& variable : s.variables) items << Declaration(variable);
      return List(QStringLiteral("declare"), items);
    }
    case K::SetVariable:
      return List(QStringLiteral("set"), {s.sVariable, s.sOperator, Opt(s.value)});
    case K::SetOption: {
      QStringList items{Names(s.options)};
      if (!s.target.parts.empty()) items << Name(s.target);
      items << (s.value ? AstDump::Of(*s.value) : s.sValue);
      return List(QStringLiteral("set-option"), items);
    }
    case K::If: {
      QStringList items{AstDump::Of(*s.condition), Of(*s.body)};
      if (s.elseBody) items << List(QStringLiteral("else"), {Of(*s.elseBody)});
      return List(QStringLiteral("if"), items);
    }
    case K::While:
      return List(QStringLiteral("while"), {AstDump::Of(*s.condition), Of(*s.body)});
    case K::Break:
      return QStringLiteral("(break)");
    case K::Continue:
      return QStringLiteral("(continue)");
    case K::Block:
      return List(QStringLiteral("begin"), {Statements(s.statements)});
    case K::TryCatch:
      return List(QStringLiteral("try"),
                  {Statements(s.statements),
                   List(QStringLiteral("catch"), {Statements(s.catchStatements)})});
    case K::Return:
      return s.value ? List(QStringLiteral("return"), {AstDump::Of(*s.value)})
                     : QStringLiteral("(return)");
    case K::Print:
      return List(QStringLiteral("print"), {AstDump::Of(*s.value)});
    case K::Exec:
      return Exec(s);
    case K::CreateTable:
      return List(QStringLiteral("create-table"),
                  {Name(s.target), Elements(s.columnDefinitions, s.constraints)});
    case K::DropTable: {
      QStringList items;
      if (s.bIfExists) items << QStringLiteral("if-exists");
      for (const ObjectName& target : s.targets) items << Name(target);
      return List(QStringLiteral("drop-table"), items);
    }
    case K::BeginTransaction:
      return Named(QStringLiteral("begin-tran"), s);
    case K::Commit:
      return Named(QStringLiteral("commit"), s);
    case K::Rollback:
      return Named(QStringLiteral("rollback"), s);
    case K::SaveTransaction:
      return Named(QStringLiteral("save-tran"), s);
    case K::Raiserror: {
      QStringList items{Exprs(s.args)};
      if (!s.options.empty()) items << List(QStringLiteral("with"), {Names(s.options)});
      return List(QStringLiteral("raiserror"), items);
    }
    case K::Throw:
      return s.args.empty() ? QStringLiteral("(throw)")
                            : List(QStringLiteral("throw"), {Exprs(s.args)});
  }
  return {};
}

}  // namespace twk::tsql
