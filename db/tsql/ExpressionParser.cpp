// SPDX-License-Identifier: MIT
#include "ExpressionParser.h"

#include "TsqlError.h"

namespace twk::tsql {

namespace {

// The comparison operators, with the server's synonyms written one way.
QString ComparisonOperator(const QString& sText) {
  if (sText == u"=" || sText == u"<>" || sText == u"<" || sText == u">" || sText == u"<=" ||
      sText == u">=") {
    return sText;
  }
  if (sText == u"!=") return QStringLiteral("<>");
  if (sText == u"!<") return QStringLiteral(">=");
  if (sText == u"!>") return QStringLiteral("<=");
  return {};
}

}  // namespace

ExprPtr ExpressionParser::Combine(Expr::Kind kind, const QString& sOperator, ExprPtr left,
                                  ExprPtr right, size_t iStart) const {
  ExprPtr expr = MakeExpr(kind, iStart);
  expr->sOperator = sOperator;
  expr->args.push_back(std::move(left));
  if (right) expr->args.push_back(std::move(right));
  return expr;
}

bool ExpressionParser::IsCondition(const Expr& expr) {
  switch (expr.kind) {
    case Expr::Kind::Comparison:
    case Expr::Kind::And:
    case Expr::Kind::Or:
    case Expr::Kind::Not:
    case Expr::Kind::IsNull:
    case Expr::Kind::Between:
    case Expr::Kind::Like:
    case Expr::Kind::InList:
    case Expr::Kind::InQuery:
    case Expr::Kind::Exists:
      return true;
    default:
      return false;
  }
}

// The server names the token after the value, or the last one at the end.
void ExpressionParser::RequireCondition(const Expr& expr) const {
  if (IsCondition(expr)) return;
  const Token& near = AtEnd() ? Peek(-1) : Current();
  throw TsqlError(4145,
                  QStringLiteral("An expression of non-boolean type specified in a context where a "
                                 "condition is expected, near '") +
                      Unquoted(near) + QStringLiteral("'."),
                  near.span.iLine);
}

void ExpressionParser::RequireValue(const Expr& expr) const {
  if (IsCondition(expr)) Fail();
}

ExprPtr ExpressionParser::ParseExpression() {
  const Nesting nesting(*this);
  ExprPtr expr = ParseAdditive();
  RequireValue(*expr);
  return expr;
}

ExprPtr ExpressionParser::ParseCondition() {
  ExprPtr expr = ParseConditionOrValue();
  RequireCondition(*expr);
  return expr;
}

ExprPtr ExpressionParser::ParseConditionOrValue() {
  const Nesting nesting(*this);
  const size_t iStart = Position();
  ExprPtr expr = ParseAnd();
  while (IsWord(u"or")) {
    RequireCondition(*expr);
    Advance();
    ExprPtr right = ParseAnd();
    RequireCondition(*right);
    expr = Combine(Expr::Kind::Or, {}, std::move(expr), std::move(right), iStart);
  }
  return expr;
}

ExprPtr ExpressionParser::ParseAnd() {
  const size_t iStart = Position();
  ExprPtr expr = ParseNot();
  while (IsWord(u"and")) {
    RequireCondition(*expr);
    Advance();
    ExprPtr right = ParseNot();
    RequireCondition(*right);
    expr = Combine(Expr::Kind::And, {}, std::move(expr), std::move(right), iStart);
  }
  return expr;
}

// not not not x: the words are counted first, so that a long run costs no stack.
ExprPtr ExpressionParser::ParseNot() {
  std::vector<size_t> starts;
  while (IsWord(u"not")) {
    starts.push_back(Position());
    Advance();
  }
  ExprPtr expr = ParsePredicate();
  if (!starts.empty()) RequireCondition(*expr);
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    expr = Combine(Expr::Kind::Not, {}, std::move(expr), nullptr, *it);
  }
  return expr;
}

ExprPtr ExpressionParser::ParsePredicate() {
  const size_t iStart = Position();
  ExprPtr left = ParseAdditive();
  if (IsCondition(*left)) return left;  // a parenthesized condition
  const Token& token = Current();
  if (token.kind == Token::Kind::Operator) {
    const QString sOperator = ComparisonOperator(TextOf(token));
    if (sOperator.isEmpty()) return left;
    Advance();
    if (IsWord(u"all") || IsWord(u"any") || IsWord(u"some")) {
      Refuse(Refusals::Construct::AllAnySome);
    }
    return Combine(Expr::Kind::Comparison, sOperator, std::move(left), ParseValue(), iStart);
  }
  if (AcceptWord(u"is")) {
    const bool bNegated = AcceptWord(u"not");
    ExpectWord(u"null");
    ExprPtr expr = Combine(Expr::Kind::IsNull, {}, std::move(left), nullptr, iStart);
    expr->bNegated = bNegated;
    return expr;
  }
  const bool bNegated =
      IsWord(u"not") && (IsWord(u"between", 1) || IsWord(u"like", 1) || IsWord(u"in", 1));
  if (bNegated) Advance();
  ExprPtr expr;
  if (AcceptWord(u"between")) {
    expr = Combine(Expr::Kind::Between, {}, std::move(left), ParseValue(), iStart);
    ExpectWord(u"and");
    expr->args.push_back(ParseValue());
  } else if (AcceptWord(u"like")) {
    expr = Combine(Expr::Kind::Like, {}, std::move(left), ParseValue(), iStart);
    if (AcceptWord(u"escape")) expr->args.push_back(ParseValue());
  } else if (AcceptWord(u"in")) {
    expr = ParseInTail(std::move(left), iStart);
  } else {
    return left;
  }
  expr->bNegated = bNegated;
  expr->span = SpanFrom(iStart);
  return expr;
}

ExprPtr ExpressionParser::ParseInTail(ExprPtr operand, size_t iStart) {
  ExpectSymbol(u"(");
  if (StartsQuery()) {
    ExprPtr expr = Combine(Expr::Kind::InQuery, {}, std::move(operand), nullptr, iStart);
    expr->query = ParseQuery();
    ExpectSymbol(u")");
    return expr;
  }
  ExprPtr expr = Combine(Expr::Kind::InList, {}, std::move(operand), nullptr, iStart);
  do {
    expr->args.push_back(ParseExpression());
  } while (AcceptSymbol(u","));
  ExpectSymbol(u")");
  return expr;
}

ExprPtr ExpressionParser::ParseAdditive() {
  const size_t iStart = Position();
  ExprPtr expr = ParseSigned();
  for (;;) {
    const Token& token = Current();
    if (token.kind != Token::Kind::Operator) return expr;
    const QString sOperator = TextOf(token);
    if (sOperator != u"+" && sOperator != u"-" && sOperator != u"&" && sOperator != u"^" &&
        sOperator != u"|") {
      return expr;
    }
    RequireValue(*expr);
    Advance();
    ExprPtr right = ParseSigned();
    RequireValue(*right);
    expr = Combine(Expr::Kind::Binary, sOperator, std::move(expr), std::move(right), iStart);
  }
}

ExprPtr ExpressionParser::ParseValue() {
  ExprPtr expr = ParseAdditive();
  RequireValue(*expr);
  return expr;
}

// Unary + and - rank with the additive operators: -a * b is -(a * b). A run
// of signs is counted first, as NOT is.
ExprPtr ExpressionParser::ParseSigned() {
  std::vector<std::pair<size_t, QString>> signs;
  while (IsSymbol(u"-") || IsSymbol(u"+")) {
    signs.emplace_back(Position(), TextOf(Current()));
    Advance();
  }
  ExprPtr expr = ParseMultiplicative();
  if (!signs.empty()) RequireValue(*expr);
  for (auto it = signs.rbegin(); it != signs.rend(); ++it) {
    expr = Combine(Expr::Kind::Unary, it->second, std::move(expr), nullptr, it->first);
  }
  return expr;
}

ExprPtr ExpressionParser::ParseMultiplicative() {
  const size_t iStart = Position();
  ExprPtr expr = ParseBitwiseNot();
  while (IsSymbol(u"*") || IsSymbol(u"/") || IsSymbol(u"%")) {
    RequireValue(*expr);
    const QString sOperator = TextOf(Advance());
    ExprPtr right;
    if (IsSymbol(u"-") || IsSymbol(u"+")) {
      // A sign after * / % takes the rest of the product, as the server reads
      // it: -100 / -100 * 10 is -(100 / -(100 * 10)). Each such sign nests.
      const Nesting nesting(*this);
      right = ParseSigned();
    } else {
      right = ParseBitwiseNot();
    }
    RequireValue(*right);
    expr = Combine(Expr::Kind::Binary, sOperator, std::move(expr), std::move(right), iStart);
  }
  return expr;
}

ExprPtr ExpressionParser::ParseBitwiseNot() {
  std::vector<size_t> starts;
  while (IsSymbol(u"~")) {
    starts.push_back(Position());
    Advance();
  }
  ExprPtr expr = ParseOperand();
  if (!starts.empty()) RequireValue(*expr);
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    expr = Combine(Expr::Kind::Unary, QStringLiteral("~"), std::move(expr), nullptr, *it);
  }
  return expr;
}

}  // namespace twk::tsql
