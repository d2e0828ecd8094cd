// SPDX-License-Identifier: MIT
#pragma once

#include "ParserCursor.h"

namespace twk::tsql {

/// The operands of T-SQL expressions: literals, variables, names, function
/// calls with over (...), case, cast and convert, subqueries; and data types.
class OperandParser : public ParserCursor {
 public:
  virtual ~OperandParser() = default;

  /// A data type as written; bLengthGiven is false when a type that takes a
  /// length has none (varchar alone).
  SqlType ExpectType(bool& bLengthGiven);

 protected:
  explicit OperandParser(const QString& sBatch) : ParserCursor(sBatch) {}

  /// A value: an expression that is no condition (select items, arguments, set).
  virtual ExprPtr ParseExpression() = 0;
  /// A condition: where, having, on, when, if, while, check.
  virtual ExprPtr ParseCondition() = 0;
  /// Either, as inside parentheses: a condition in parentheses stays one.
  virtual ExprPtr ParseConditionOrValue() = 0;
  /// A query expression starting at the current token.
  virtual QueryPtr ParseQuery() = 0;

  /// True when the tokens from iAhead on start a query: select, with, or a
  /// parenthesis around one.
  bool StartsQuery(int iAhead = 0) const;

  /// One operand with its postfix collate.
  ExprPtr ParseOperand();
  std::vector<OrderItem> ParseOrderList();

  ExprPtr MakeExpr(Expr::Kind kind, size_t iStart) const;
  /// The literal nodes read so far, in the order written.
  std::vector<Expr*> TakeLiterals() { return std::move(literals_); }

 private:
  ExprPtr ParseLiteral();
  ExprPtr ParseParenthesized();
  ExprPtr ParseCase();
  ExprPtr ParseCast(const QString& sFunction);
  ExprPtr ParseConvert(const QString& sFunction);
  ExprPtr ParseNameOrCall();
  void ParseArguments(Expr& call);
  void ParseOver(Expr& call);
  void CheckNotRefusedFunction(const QString& sName) const;

  std::vector<Expr*> literals_;
};

}  // namespace twk::tsql
