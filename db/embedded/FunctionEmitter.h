// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "SqlBuilder.h"

namespace twk::embedded {

class ExpressionEmitter;

/// Writes a T-SQL function call: aggregates and window functions as
/// SQLite's own (under the TSQL collation where they compare text),
/// isnull, iif and choose as the SQLite forms they mean, every other
/// built-in as the engine's tsql_<name> function.
class FunctionEmitter {
 public:
  FunctionEmitter(ExpressionEmitter& expressions, SqlBuilder& sql)
      : expressions_(expressions), sql_(sql) {}

  void Emit(const tsql::Expr& call);

 private:
  bool Aggregate(const tsql::Expr& call);
  void Average(const tsql::Expr& call);
  void Over(const tsql::Expr& call);
  void IsNull(const tsql::Expr& call);
  void Iif(const tsql::Expr& call);
  void Choose(const tsql::Expr& call);
  void Engine(const tsql::Expr& call);
  void Call(QStringView sName, const tsql::Expr& call);

  ExpressionEmitter& expressions_;
  SqlBuilder& sql_;
};

}  // namespace twk::embedded
