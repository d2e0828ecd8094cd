// SPDX-License-Identifier: MIT
#pragma once

#include "QueryParser.h"

namespace twk::tsql {

/// The statements that change data or tables: insert, update, delete,
/// truncate, create table and drop table; declare, whose table variables
/// share their column definitions with create table.
class DataParser : public QueryParser {
 protected:
  explicit DataParser(const QString& sBatch) : QueryParser(sBatch) {}

  /// Reads a statement that the current token starts; exec is the only one
  /// left to the caller, for insert ... exec.
  virtual StatementPtr ParseExec() = 0;

  StatementPtr NewStatement(Statement::Kind kind) const;
  StatementPtr ParseInsert();
  StatementPtr ParseUpdate();
  StatementPtr ParseDelete();
  StatementPtr ParseTruncate();
  StatementPtr ParseCreate();
  StatementPtr ParseDrop();
  StatementPtr ParseDeclare();
  /// ( column definitions and table constraints ), as after create table t.
  void ParseTableElements(std::vector<ColumnDefinition>& columns,
                          std::vector<TableConstraint>& constraints);

 private:
  ObjectName ExpectTarget();
  void ParseOptionalTop(Statement& statement);
  void RefuseOutput() const;
  std::vector<ExprPtr> ParseValuesRow();
  Assignment ParseAssignment();
  void ParseFromAndWhere(Statement& statement);
  ColumnDefinition ParseColumnDefinition();
  bool ParseColumnConstraint(ColumnDefinition& column);
  TableConstraint ParseTableConstraint();
  long long ExpectSignedInteger();
  VariableDeclaration ParseVariableDeclaration();
};

}  // namespace twk::tsql
