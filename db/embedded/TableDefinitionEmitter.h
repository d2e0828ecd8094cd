// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "Ast.h"
#include "Binding.h"
#include "EmittedSql.h"

namespace twk::embedded {

class SqlBuilder;

/// Writes the statements that make and drop tables: create table (for
/// #tables above all), a table variable's table, select ... into, drop
/// table. Columns are declared with their T-SQL type names, which SQLite
/// keeps as written, so that the catalogue reads the types back; text
/// columns compare under TSQL and an identity becomes SQLite's
/// autoincrementing integer primary key.
class TableDefinitionEmitter {
 public:
  static std::vector<EmittedSql> Create(const tsql::Statement& statement);
  /// declare @t table (...): the table lives beside the #tables under the
  /// variable's own name, "@t", which no #table and no name of the database
  /// can have.
  static std::vector<EmittedSql> CreateTableVariable(const tsql::VariableDeclaration& variable);
  static std::vector<EmittedSql> Drop(const tsql::Statement& statement);
  /// select ... into t: the table, made with the columns of the select's
  /// result, and the insert of its rows.
  static std::vector<EmittedSql> SelectInto(const tsql::Statement& statement,
                                            const tsql::StatementBinding& binding);

 private:
  static std::vector<EmittedSql> Table(const tsql::ObjectName& target,
                                       const std::vector<tsql::ColumnDefinition>& columns,
                                       const std::vector<tsql::TableConstraint>& constraints,
                                       const tsql::SourceSpan& span);
  static void Column(SqlBuilder& sql, const tsql::ColumnDefinition& column, bool bRowId);
  static void Constraint(SqlBuilder& sql, const tsql::TableConstraint& constraint);
};

}  // namespace twk::embedded
