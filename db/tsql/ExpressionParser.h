// SPDX-License-Identifier: MIT
#pragma once

#include "OperandParser.h"

namespace twk::tsql {

/// T-SQL operators at the server's precedence, loosest first: OR; AND; NOT;
/// comparisons and the predicates IS NULL, BETWEEN, LIKE, IN; + - & ^ | with
/// unary + and -; * / %; ~. Chains of one level are read in a loop, so a long
/// chain of terms costs no stack. As on the server, a condition is no value
/// (select 1 = 1 is a syntax error) and a value is no condition (where 1).
class ExpressionParser : public OperandParser {
 public:
  ExprPtr ParseExpression() override;
  ExprPtr ParseCondition() override;
  ExprPtr ParseConditionOrValue() override;

 protected:
  explicit ExpressionParser(const QString& sBatch) : OperandParser(sBatch) {}

 private:
  static bool IsCondition(const Expr& expr);
  void RequireCondition(const Expr& expr) const;
  void RequireValue(const Expr& expr) const;
  ExprPtr ParseAnd();
  ExprPtr ParseNot();
  ExprPtr ParsePredicate();
  ExprPtr ParseInTail(ExprPtr operand, size_t iStart);
  ExprPtr ParseAdditive();
  ExprPtr ParseValue();  // an additive expression that is no condition
  ExprPtr ParseSigned();
  ExprPtr ParseMultiplicative();
  ExprPtr ParseBitwiseNot();
  ExprPtr Combine(Expr::Kind kind, const QString& sOperator, ExprPtr left, ExprPtr right,
                  size_t iStart) const;
};

}  // namespace twk::tsql
