// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "EmittedSql.h"

namespace twk::embedded {

/// A select that assigns variables and reads one that it assigns, run as
/// the server runs it: row by row in the query's order, each row seeing what
/// the rows before it assigned. The query gives each row's values of the
/// parts that no assigned variable changes; one statement per assignment
/// then computes the value from them and the variables as they stand.
class SteppedAssignment {
 public:
  /// Whether an assignment of the core reads a variable that one of them assigns.
  static bool IsNeeded(const tsql::SelectCore& core);
  /// Writes the query and the steps into emitted, whose columns name the variables.
  static void Emit(const tsql::QueryExpr& query, EmittedSql& emitted);
  /// x += v becomes x = x + v, under the operator's type rules.
  static void MakePlain(QString& sOperator, tsql::ExprPtr& value, const QString& sVariable,
                        const tsql::SqlType& type);
};

}  // namespace twk::embedded
