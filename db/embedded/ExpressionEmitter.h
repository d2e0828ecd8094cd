// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "SqlBuilder.h"

namespace twk::embedded {

/// Writes one bound expression as SQLite SQL: text compared under the TSQL
/// collation, every conversion the binder made explicit as tsql_convert,
/// T-SQL's operators and functions as the SQLite forms or tsql_ functions
/// that give the server's answers, literals as parameters.
class ExpressionEmitter {
 public:
  explicit ExpressionEmitter(SqlBuilder& sql) : sql_(sql) {}

  void Emit(const tsql::Expr& e);
  /// The expression, under the TSQL collation when it is text, so that a
  /// comparison, sort, grouping or distinct made on it follows the server.
  void EmitCollated(const tsql::Expr& e);
  /// The expression with its literals written into the text, for places
  /// that take no parameter.
  void EmitInline(const tsql::Expr& e);
  void EmitList(const std::vector<tsql::ExprPtr>& list, size_t iFirst = 0);

  static bool IsTextLike(const tsql::SqlType& type);

 private:
  void Literal(const tsql::Expr& e);
  void Unary(const tsql::Expr& e);
  void Binary(const tsql::Expr& e);
  void DateArithmetic(const tsql::Expr& e);
  void Comparison(const tsql::Expr& e);
  void Between(const tsql::Expr& e);
  void Like(const tsql::Expr& e);
  void InList(const tsql::Expr& e);
  void Case(const tsql::Expr& e);
  void Cast(const tsql::Expr& e);
  void XmlValue(const tsql::Expr& e);
  void Collate(const tsql::Expr& e);
  void Column(const tsql::Expr& e);
  void Query(const tsql::Expr& e, QStringView sBefore);
  void ScalarQuery(const tsql::Expr& e);
  void Operands(const tsql::Expr& e, QStringView sOperator);

  SqlBuilder& sql_;
};

}  // namespace twk::embedded
