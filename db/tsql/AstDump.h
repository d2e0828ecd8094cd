// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "Ast.h"

namespace twk::tsql {

/// A compact S-expression text of a tree, for tests and debugging:
/// "select a + 1 from t where b = 'x'" is
/// "(select ((+ a 1)) (from t) (where (= b 'x')))". Statements of a batch are
/// one to a line.
class AstDump {
 public:
  static QString Of(const Batch& batch);
  static QString Of(const Statement& statement);
  static QString Of(const QueryExpr& query);
  static QString Of(const Expr& expr);
  static QString Of(const TableRef& table);
};

}  // namespace twk::tsql
