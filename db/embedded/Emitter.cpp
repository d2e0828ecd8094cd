// SPDX-License-Identifier: MIT
#include "Emitter.h"

#include "ExpressionEmitter.h"
#include "QueryEmitter.h"
#include "SqlBuilder.h"
#include "SteppedAssignment.h"
#include "TableDefinitionEmitter.h"
#include "TargetWriter.h"
#include "TsqlError.h"

namespace twk::embedded {

using tsql::Statement;
using tsql::StatementBinding;
using StatementKind = Statement::Kind;

namespace {

// The name the target goes by inside an update or delete that joins it.
constexpr char16_t kTarget[] = u"twk_target";
// The subquery that computes an update's values from its from list.
constexpr char16_t kSource[] = u"twk_source";

QString SourceColumn(size_t i) {
  return QStringLiteral("twk_%1").arg(i + 1);
}

// The target as SQLite's update and delete name it, under the name its
// columns are qualified by in the author's where clause.
// "update f ... from #flags f" names the table by its alias in the from
// list: SQLite must be given the table itself.
void Target(SqlBuilder& sql, const Statement& statement, bool bJoined) {
  const tsql::TableRef* pInFrom = bJoined ? TargetWriter::FindInFrom(statement) : nullptr;
  const bool bAliased = pInFrom && pInFrom->kind == tsql::TableRef::Kind::Named;
  const tsql::ObjectName& table = bAliased ? pInFrom->name : statement.target;
  sql.Table(table);
  if (bJoined) {
    sql.Append(u" AS ").Identifier(kTarget);
  } else if (SqlBuilder::IsPrivate(table)) {
    sql.Append(u" AS ").Identifier(table.Last());
  }
}

// top (n) of an update or delete without a from list: the first n rows
// that the where clause keeps, in no particular order, as on the server.
void RefuseTop(const Statement& statement) {
  if (statement.top && (statement.bTopPercent || !statement.from.empty()))
    RefuseConstruct(tsql::Refusals::Construct::TopInUpdateDelete, statement.span);
}

void Where(SqlBuilder& sql, const Statement& statement) {
  if (!statement.top) {
    if (!statement.where) return;
    sql.Append(u" WHERE ");
    return ExpressionEmitter(sql).Emit(*statement.where);
  }
  sql.Append(u" WHERE rowid IN (SELECT rowid FROM ").Table(statement.target);
  sql.Append(u" AS ").Identifier(statement.target.Last());
  if (statement.where) {
    sql.Append(u" WHERE ");
    ExpressionEmitter(sql).Emit(*statement.where);
  }
  sql.Append(u" LIMIT (");
  ExpressionEmitter(sql).Emit(*statement.top);
  sql.Append(u"))");
}

}  // namespace

std::vector<EmittedSql> Emitter::Emit(const Statement& statement, const StatementBinding& binding) {
  switch (statement.kind) {
    case StatementKind::Select:
      if (statement.query->kind == tsql::QueryExpr::Kind::Core && statement.query->core->into) {
        return TableDefinitionEmitter::SelectInto(statement, binding);
      }
      return {Select(statement, binding)};
    case StatementKind::Insert:
      return {Insert(statement, binding)};
    case StatementKind::Update:
      return {Update(statement, binding)};
    case StatementKind::Delete:
      return {Delete(statement)};
    case StatementKind::Truncate:
      return Truncate(statement, binding);
    case StatementKind::CreateTable:
      return TableDefinitionEmitter::Create(statement);
    case StatementKind::DropTable:
      return TableDefinitionEmitter::Drop(statement);
    default:
      // Control flow never reaches the emitter: the executor runs it.
      throw tsql::TsqlError(tsql::NotRunByEngine,
                            QStringLiteral("This statement is run by the executor, not emitted."),
                            statement.span.iLine);
  }
}

EmittedSql Emitter::Select(const Statement& statement, const StatementBinding& binding) {
  SqlBuilder sql;
  QueryEmitter(sql).Emit(*statement.query);
  EmittedSql emitted = sql.Take();
  for (const tsql::ResultColumn& column : binding.result) {
    emitted.columns.push_back({column.sName, column.type, {}, {}});
  }
  // select @v = expr sends no rows: the executor assigns each row's values.
  const tsql::QueryExpr& query = *statement.query;
  if (query.kind != tsql::QueryExpr::Kind::Core) return emitted;
  for (const tsql::SelectItem& item : query.core->items) {
    if (item.sVariable.isEmpty()) continue;
    if (emitted.columns.size() == binding.result.size()) emitted.columns.clear();
    emitted.columns.push_back(
        {item.sVariable, item.expr->type, item.sVariable, item.sAssignOperator});
  }
  if (SteppedAssignment::IsNeeded(*query.core)) SteppedAssignment::Emit(query, emitted);
  return emitted;
}

EmittedSql Emitter::Insert(const Statement& statement, const StatementBinding& binding) {
  if (statement.source) RefuseConstruct(tsql::Refusals::Construct::InsertExec, statement.span);
  SqlBuilder sql;
  TargetWriter target(sql, statement, binding);
  std::vector<QString> columns = statement.columns;
  for (size_t i = 0; statement.columns.empty() && i < target.Columns().size(); ++i) {
    if (!target.Columns()[i].bIdentity) columns.push_back(target.Columns()[i].sName);
  }
  QueryEmitter queries(sql);
  std::vector<tsql::CommonTable> none;
  queries.With(statement.query ? statement.with : none);
  // A query's values are checked against the columns' lengths through a
  // common table that names them, whatever names the query gives them.
  if (statement.query) {
    sql.Append(statement.with.empty() ? u"WITH " : u", ").Identifier(kSource).Append(u"(");
    for (size_t i = 0; i < columns.size(); ++i)
      sql.Append(i ? u", " : u"").Identifier(SourceColumn(i));
    sql.Append(u") AS (");
    queries.Emit(*statement.query);
    sql.Append(u") ");
  }
  sql.Append(u"INSERT INTO ").Table(statement.target);
  if (statement.bDefaultValues) return sql.Append(u" DEFAULT VALUES"), sql.Take();
  sql.Append(u" (");
  for (size_t i = 0; i < columns.size(); ++i) sql.Append(i ? u", " : u"").Identifier(columns[i]);
  sql.Append(statement.query ? u") SELECT " : u") VALUES ");
  for (size_t i = 0; statement.query && i < columns.size(); ++i) {
    tsql::Expr source;
    source.kind = tsql::Expr::Kind::Column;
    source.name.parts = {SourceColumn(i)};
    sql.Append(i ? u", " : u"");
    target.Value(columns[i], source);
  }
  if (statement.query) return sql.Append(u" FROM ").Identifier(kSource), sql.Take();
  for (size_t r = 0; r < statement.rows.size(); ++r) {
    sql.Append(r ? u", (" : u"(");
    for (size_t i = 0; i < statement.rows[r].size() && i < columns.size(); ++i) {
      sql.Append(i ? u", " : u"");
      target.Value(columns[i], *statement.rows[r][i]);
    }
    sql.Append(u")");
  }
  return sql.Take();
}

EmittedSql Emitter::Update(const Statement& statement, const StatementBinding& binding) {
  RefuseTop(statement);
  SqlBuilder sql;
  TargetWriter target(sql, statement, binding);
  QueryEmitter(sql).With(statement.with);
  const bool bJoined = !statement.from.empty();
  sql.Append(u"UPDATE ");
  Target(sql, statement, bJoined);
  sql.Append(u" SET ");
  for (size_t i = 0; i < statement.assignments.size(); ++i) {
    const tsql::Assignment& assignment = statement.assignments[i];
    if (!assignment.sVariable.isEmpty()) {
      RefuseConstruct(tsql::Refusals::Construct::UpdateAssignsVariable, assignment.span);
    }
    sql.Append(i ? u", " : u"").Identifier(assignment.column.Last()).Append(u" = ");
    if (bJoined) {
      sql.Identifier(kSource).Append(u".").Identifier(SourceColumn(i));
    } else {
      target.Compound(assignment, {});
    }
  }
  if (bJoined) {
    UpdateSource(sql, statement, target);
  } else {
    Where(sql, statement);
  }
  return sql.Take();
}

// update ... from: SQLite's from list may not hold the table it updates, so
// the author's whole from list goes into a subquery that gives each target
// row's rowid with its new values, and the target is joined to it by rowid.
// A target missing from the list joins it as the server joins it: crossed.
void Emitter::UpdateSource(SqlBuilder& sql, const Statement& statement, TargetWriter& target) {
  const tsql::TableRef* pInFrom = target.InFrom();
  const QString sExposed = TargetWriter::ExposedName(pInFrom, statement.target);
  sql.Append(u" FROM (SELECT ").Identifier(sExposed).Append(u".rowid AS \"twk_rowid\"");
  for (size_t i = 0; i < statement.assignments.size(); ++i) {
    sql.Append(u", ");
    target.Compound(statement.assignments[i], sExposed);
    sql.Append(u" AS ").Identifier(SourceColumn(i));
  }
  if (!pInFrom) {
    sql.Append(u" FROM ").Table(statement.target).Append(u" AS ").Identifier(sExposed);
  }
  QueryEmitter(sql).From(statement.from, pInFrom ? u" FROM " : u", ");
  if (statement.where) {
    sql.Append(u" WHERE ");
    ExpressionEmitter(sql).Emit(*statement.where);
  }
  sql.Append(u") AS ").Identifier(kSource).Append(u" WHERE ").Identifier(kTarget);
  sql.Append(u".rowid = ").Identifier(kSource).Append(u".\"twk_rowid\"");
}

// delete ... from: the rows to go are those whose rowid the author's from
// list and where clause give for the target.
EmittedSql Emitter::Delete(const Statement& statement) {
  RefuseTop(statement);
  SqlBuilder sql;
  QueryEmitter queries(sql);
  queries.With(statement.with);
  const bool bJoined = !statement.from.empty();
  sql.Append(u"DELETE FROM ");
  Target(sql, statement, bJoined);
  if (bJoined) {
    const tsql::TableRef* pInFrom = TargetWriter::FindInFrom(statement);
    const QString sExposed = TargetWriter::ExposedName(pInFrom, statement.target);
    sql.Append(u" WHERE ").Identifier(kTarget).Append(u".rowid IN (SELECT ");
    sql.Identifier(sExposed).Append(u".rowid");
    if (!pInFrom)
      sql.Append(u" FROM ").Table(statement.target).Append(u" AS ").Identifier(sExposed);
    queries.From(statement.from, pInFrom ? u" FROM " : u", ");
  }
  if (!bJoined) return Where(sql, statement), sql.Take();
  if (statement.where) {
    sql.Append(u" WHERE ");
    ExpressionEmitter(sql).Emit(*statement.where);
  }
  sql.Append(u")");
  return sql.Take();
}

// truncate table also starts the identity again from its seed.
std::vector<EmittedSql> Emitter::Truncate(const Statement& statement,
                                          const StatementBinding& binding) {
  SqlBuilder sql;
  std::vector<EmittedSql> emitted;
  sql.Append(u"DELETE FROM ").Table(statement.target);
  emitted.push_back(sql.Take());
  SqlBuilder sequence;
  TargetWriter target(sequence, statement, binding);
  for (const tsql::CatalogColumn& column : target.Columns()) {
    if (!column.bIdentity) continue;
    sequence.Append(u"DELETE FROM ");
    if (SqlBuilder::IsPrivate(statement.target)) {
      sequence.Identifier(SqlBuilder::kTemporarySchema).Append(u".");
    }
    sequence.Append(u"sqlite_sequence WHERE name = ").InlineString(statement.target.Last());
    emitted.push_back(sequence.Append(u" COLLATE NOCASE").Take());
    break;
  }
  return emitted;
}

}  // namespace twk::embedded
