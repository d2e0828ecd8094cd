// SPDX-License-Identifier: MIT
#include "TableDefinitionEmitter.h"

#include "ExpressionEmitter.h"
#include "QueryEmitter.h"
#include "SqlBuilder.h"
#include "TsqlError.h"

namespace twk::embedded {

using tsql::ColumnDefinition;
using tsql::SqlType;

namespace {

// The name a column is declared with: the T-SQL type; a column of the type
// of a bare NULL is an int, as the server makes it.
// A real is written float(24), since the catalogue reads SQLite's REAL as float.
QString DeclaredType(const SqlType& type) {
  if (type.kind == SqlType::Kind::Real) return QStringLiteral("float(24)");
  if (type.kind == SqlType::Kind::Null) return QStringLiteral("int");
  // SQLite takes only numbers in a type's brackets, but keeps a quoted
  // name as the declared type that the catalogue reads back.
  if (type.iLength == SqlType::Max) return u'"' + type.Name() + u'"';
  return type.Name();
}

// Whether an identity can be SQLite's integer primary key: no other
// column or constraint may be the primary key then.
bool IdentityFits(const std::vector<ColumnDefinition>& columns,
                  const std::vector<tsql::TableConstraint>& constraints) {
  for (const tsql::TableConstraint& constraint : constraints) {
    if (constraint.bPrimaryKey) return false;
  }
  for (const ColumnDefinition& column : columns) {
    if (column.bPrimaryKey && !column.bIdentity) return false;
  }
  return true;
}

}  // namespace

std::vector<EmittedSql> TableDefinitionEmitter::Create(const tsql::Statement& statement) {
  return Table(statement.target, statement.columnDefinitions, statement.constraints,
               statement.span);
}

std::vector<EmittedSql> TableDefinitionEmitter::CreateTableVariable(
    const tsql::VariableDeclaration& variable) {
  tsql::ObjectName name;
  name.parts = {variable.sName};
  name.span = variable.span;
  return Table(name, variable.columns, variable.constraints, variable.span);
}

std::vector<EmittedSql> TableDefinitionEmitter::Table(
    const tsql::ObjectName& target, const std::vector<ColumnDefinition>& columns,
    const std::vector<tsql::TableConstraint>& constraints, const tsql::SourceSpan& span) {
  SqlBuilder sql;
  sql.SetInlineLiterals(true);  // a default takes no parameter
  sql.Append(u"CREATE TABLE ").Table(target).Append(u" (");
  const ColumnDefinition* pIdentity = nullptr;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].bIdentity) pIdentity = &columns[i];
    if (columns[i].bIdentity &&
        (columns[i].lIncrement != 1 || !IdentityFits(columns, constraints))) {
      RefuseConstruct(tsql::Refusals::Construct::IdentityOther, columns[i].span);
    }
    sql.Append(i ? u", " : u"");
    Column(sql, columns[i], columns[i].bIdentity);
  }
  for (const tsql::TableConstraint& constraint : constraints) Constraint(sql, constraint);
  sql.Append(u")");
  std::vector<EmittedSql> emitted{sql.Take()};
  if (pIdentity && pIdentity->lSeed != 1) {
    // SQLite's next rowid is one past the sequence's value.
    sql.Append(u"INSERT INTO ");
    if (SqlBuilder::IsPrivate(target)) sql.Identifier(SqlBuilder::kTemporarySchema).Append(u".");
    sql.Append(u"sqlite_sequence (name, seq) VALUES (").InlineString(target.Last());
    sql.Append(u", ").Append(QString::number(pIdentity->lSeed - 1)).Append(u")");
    emitted.push_back(sql.Take());
  }
  (void)span;
  return emitted;
}

void TableDefinitionEmitter::Column(SqlBuilder& sql, const ColumnDefinition& column, bool bRowId) {
  sql.Identifier(column.sName).Append(u" ");
  // Only a column declared exactly INTEGER is SQLite's rowid.
  sql.Append(bRowId ? QStringLiteral("integer") : DeclaredType(column.type));
  if (column.nullable.has_value()) sql.Append(*column.nullable ? u" NULL" : u" NOT NULL");
  if (bRowId) sql.Append(u" PRIMARY KEY AUTOINCREMENT");
  if (column.bPrimaryKey && !bRowId) sql.Append(u" PRIMARY KEY");
  if (column.bUnique) sql.Append(u" UNIQUE");
  if (ExpressionEmitter::IsTextLike(column.type)) sql.Collate();
  ExpressionEmitter expressions(sql);
  if (column.defaultValue) {
    sql.Append(u" DEFAULT (");
    expressions.Emit(*column.defaultValue);
    sql.Append(u")");
  }
}

void TableDefinitionEmitter::Constraint(SqlBuilder& sql, const tsql::TableConstraint& constraint) {
  sql.Append(constraint.bPrimaryKey ? u", PRIMARY KEY (" : u", UNIQUE (");
  for (size_t i = 0; i < constraint.columns.size(); ++i) {
    sql.Append(i ? u", " : u"").Identifier(constraint.columns[i]);
  }
  sql.Append(u")");
}

std::vector<EmittedSql> TableDefinitionEmitter::Drop(const tsql::Statement& statement) {
  std::vector<EmittedSql> emitted;
  for (const tsql::ObjectName& target : statement.targets) {
    SqlBuilder sql;
    sql.Append(statement.bIfExists ? u"DROP TABLE IF EXISTS " : u"DROP TABLE ").Table(target);
    emitted.push_back(sql.Take());
  }
  return emitted;
}

std::vector<EmittedSql> TableDefinitionEmitter::SelectInto(const tsql::Statement& statement,
                                                           const tsql::StatementBinding& binding) {
  const tsql::ObjectName& target = *statement.query->core->into;
  SqlBuilder sql;
  sql.Append(u"CREATE TABLE ").Table(target).Append(u" (");
  for (size_t i = 0; i < binding.result.size(); ++i) {
    const tsql::ResultColumn& column = binding.result[i];
    if (column.sName.isEmpty()) {
      throw tsql::TsqlError(1038, QStringLiteral("An object or column name is missing or empty."),
                            statement.span.iLine);
    }
    sql.Append(i ? u", " : u"")
        .Identifier(column.sName)
        .Append(u" ")
        .Append(DeclaredType(column.type));
    if (ExpressionEmitter::IsTextLike(column.type)) sql.Collate();
  }
  sql.Append(u")");
  std::vector<EmittedSql> emitted{sql.Take()};
  sql.Append(u"INSERT INTO ").Table(target).Append(u" (");
  for (size_t i = 0; i < binding.result.size(); ++i) {
    sql.Append(i ? u", " : u"").Identifier(binding.result[i].sName);
  }
  sql.Append(u") ");
  QueryEmitter(sql).Emit(*statement.query);
  emitted.push_back(sql.Take());
  return emitted;
}

}  // namespace twk::embedded
