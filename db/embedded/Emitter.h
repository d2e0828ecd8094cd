// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "Ast.h"
#include "Binding.h"
#include "EmittedSql.h"

namespace twk::embedded {

class SqlBuilder;
class TargetWriter;

/// Writes one bound statement (select, insert, update, delete, truncate,
/// create table, drop table) as the SQLite statements that run it, in
/// order. Everything is written from the tree; literals become parameters,
/// so that one text serves every record a definition runs for. Control flow,
/// variables and transactions are the executor's.
class Emitter {
 public:
  static std::vector<EmittedSql> Emit(const tsql::Statement& statement,
                                      const tsql::StatementBinding& binding);

 private:
  static EmittedSql Select(const tsql::Statement& statement, const tsql::StatementBinding& binding);
  static EmittedSql Insert(const tsql::Statement& statement, const tsql::StatementBinding& binding);
  static EmittedSql Update(const tsql::Statement& statement, const tsql::StatementBinding& binding);
  static void UpdateSource(SqlBuilder& sql, const tsql::Statement& statement, TargetWriter& target);
  static EmittedSql Delete(const tsql::Statement& statement);
  static std::vector<EmittedSql> Truncate(const tsql::Statement& statement,
                                          const tsql::StatementBinding& binding);
};

}  // namespace twk::embedded
