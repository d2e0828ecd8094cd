// SPDX-License-Identifier: MIT
#include "OperandParser.h"

#include <QSet>

namespace twk::tsql {

namespace {

using Kind = Token::Kind;

bool IsLiteralToken(Kind kind) {
  return kind == Kind::String || kind == Kind::UnicodeString || kind == Kind::Integer ||
         kind == Kind::Decimal || kind == Kind::Float || kind == Kind::Binary ||
         kind == Kind::Money;
}

// Reserved keywords that still name built-in functions when a parenthesis follows.
bool IsKeywordFunction(const QString& sLower) {
  return sLower == u"left" || sLower == u"right" || sLower == u"coalesce" || sLower == u"nullif";
}

// Reserved keywords that are functions without parentheses.
bool IsNiladicFunction(const QString& sLower) {
  return sLower == u"current_timestamp" || sLower == u"current_user" || sLower == u"session_user" ||
         sLower == u"system_user" || sLower == u"user";
}

// Types the server has that the engine holds no value representation for.
bool IsTypeNotRun(const QString& sLower) {
  static const QSet<QString> names{
      QStringLiteral("text"),      QStringLiteral("ntext"),       QStringLiteral("image"),
      QStringLiteral("xml"),       QStringLiteral("sql_variant"), QStringLiteral("binary"),
      QStringLiteral("timestamp"), QStringLiteral("rowversion"),  QStringLiteral("hierarchyid"),
      QStringLiteral("geography"), QStringLiteral("geometry"),    QStringLiteral("datetimeoffset"),
  };
  return names.contains(sLower);
}

}  // namespace

bool OperandParser::StartsQuery(int iAhead) const {
  while (IsSymbol(u"(", iAhead)) ++iAhead;
  return IsWord(u"select", iAhead);
}

ExprPtr OperandParser::MakeExpr(Expr::Kind kind, size_t iStart) const {
  auto expr = std::make_unique<Expr>();
  expr->kind = kind;
  expr->span = SpanFrom(iStart);
  return expr;
}

ExprPtr OperandParser::ParseOperand() {
  const size_t iStart = Position();
  const Token& token = Current();
  const QString sWord = WordLower();
  ExprPtr expr;
  if (IsLiteralToken(token.kind) || sWord == u"null") {
    expr = ParseLiteral();
  } else if (token.kind == Kind::Variable || token.kind == Kind::SystemVariable) {
    expr = MakeExpr(
        token.kind == Kind::Variable ? Expr::Kind::Variable : Expr::Kind::SystemVariable, iStart);
    expr->sName = token.kind == Kind::Variable ? TextOf(token) : TextOf(token).toLower();
    Advance();
  } else if (IsSymbol(u"(")) {
    expr = ParseParenthesized();
  } else if (sWord == u"case") {
    expr = ParseCase();
  } else if (sWord == u"exists") {
    Advance();
    ExpectSymbol(u"(");
    expr = MakeExpr(Expr::Kind::Exists, iStart);
    expr->query = ParseQuery();
    ExpectSymbol(u")");
  } else if ((sWord == u"cast" || sWord == u"try_cast") && IsSymbol(u"(", 1)) {
    expr = ParseCast(sWord);
  } else if ((sWord == u"convert" || sWord == u"try_convert") && IsSymbol(u"(", 1)) {
    expr = ParseConvert(sWord);
  } else if (IsNiladicFunction(sWord)) {
    Advance();
    expr = MakeExpr(Expr::Kind::Function, iStart);
    expr->sName = sWord;
    expr->name.parts = {sWord};
  } else if (token.kind == Kind::Unknown && TextOf(token) == u"{") {
    Refuse(Refusals::Construct::OdbcEscape);
  } else if (IsName() || (IsKeywordFunction(sWord) && IsSymbol(u"(", 1))) {
    expr = ParseNameOrCall();
  } else {
    Fail();
  }
  expr->span = SpanFrom(iStart);
  while (AcceptWord(u"collate")) {
    ExprPtr collate = MakeExpr(Expr::Kind::Collate, iStart);
    collate->sName = ExpectName();
    collate->args.push_back(std::move(expr));
    collate->span = SpanFrom(iStart);
    expr = std::move(collate);
  }
  return expr;
}

ExprPtr OperandParser::ParseLiteral() {
  const size_t iStart = Position();
  const Token& token = Advance();
  ExprPtr literal = MakeExpr(Expr::Kind::Literal, iStart);
  literal->literalKind = token.kind;
  literal->sValue = token.kind == Kind::Word ? QStringLiteral("null") : Unquoted(token);
  literals_.push_back(literal.get());
  return literal;
}

// A parenthesized expression gives the expression itself; a parenthesized
// query a subquery, and (select ... for xml path('')).value('.', type) its text.
ExprPtr OperandParser::ParseParenthesized() {
  const size_t iStart = Position();
  ExpectSymbol(u"(");
  if (!IsWord(u"select")) {
    ExprPtr inner = ParseConditionOrValue();
    ExpectSymbol(u")");
    return inner;
  }
  ExprPtr subquery = MakeExpr(Expr::Kind::Subquery, iStart);
  subquery->query = ParseQuery();
  ExpectSymbol(u")");
  subquery->span = SpanFrom(iStart);
  if (!(IsSymbol(u".") && IsWord(u"value", 1) && IsSymbol(u"(", 2))) return subquery;
  Advance();
  Advance();
  Advance();
  ExprPtr value = MakeExpr(Expr::Kind::XmlValue, iStart);
  value->args.push_back(std::move(subquery));
  value->args.push_back(ParseExpression());
  ExpectSymbol(u",");
  value->args.push_back(ParseExpression());
  ExpectSymbol(u")");
  return value;
}

ExprPtr OperandParser::ParseCase() {
  const size_t iStart = Position();
  ExpectWord(u"case");
  ExprPtr expr = MakeExpr(Expr::Kind::Case, iStart);
  if (!IsWord(u"when")) {
    expr->bSimpleCase = true;
    expr->args.push_back(ParseExpression());
  }
  if (!IsWord(u"when")) Fail();
  while (AcceptWord(u"when")) {
    ExprPtr when = expr->bSimpleCase ? ParseExpression() : ParseCondition();
    ExpectWord(u"then");
    expr->whens.emplace_back(std::move(when), ParseExpression());
  }
  if (AcceptWord(u"else")) expr->elseExpr = ParseExpression();
  ExpectWord(u"end");
  return expr;
}

ExprPtr OperandParser::ParseCast(const QString& sFunction) {
  const size_t iStart = Position();
  Advance();
  ExpectSymbol(u"(");
  ExprPtr expr = MakeExpr(Expr::Kind::Cast, iStart);
  expr->sName = sFunction;
  expr->args.push_back(ParseExpression());
  ExpectWord(u"as");
  expr->targetType = ExpectType(expr->bTargetLengthGiven);
  ExpectSymbol(u")");
  return expr;
}

ExprPtr OperandParser::ParseConvert(const QString& sFunction) {
  const size_t iStart = Position();
  Advance();
  ExpectSymbol(u"(");
  ExprPtr expr = MakeExpr(Expr::Kind::Cast, iStart);
  expr->sName = sFunction;
  expr->targetType = ExpectType(expr->bTargetLengthGiven);
  ExpectSymbol(u",");
  expr->args.push_back(ParseExpression());
  if (AcceptSymbol(u",")) expr->args.push_back(ParseExpression());
  ExpectSymbol(u")");
  return expr;
}

ExprPtr OperandParser::ParseNameOrCall() {
  const size_t iStart = Position();
  ObjectName name;
  name.parts.push_back(IsName() ? ExpectName() : TextOf(Advance()));
  while (IsSymbol(u".") && name.parts.size() < 4) {
    Advance();
    if (IsSymbol(u".")) {
      name.parts.emplace_back();
      continue;
    }
    name.parts.push_back(ExpectName());
  }
  name.span = SpanFrom(iStart);
  if (!IsSymbol(u"(")) {
    ExprPtr column = MakeExpr(Expr::Kind::Column, iStart);
    column->name = std::move(name);
    return column;
  }
  ExprPtr call = MakeExpr(Expr::Kind::Function, iStart);
  call->sName = name.Last().toLower();
  call->name = std::move(name);
  CheckNotRefusedFunction(call->sName);
  ParseArguments(*call);
  return call;
}

void OperandParser::CheckNotRefusedFunction(const QString& sName) const {
  if (sName == u"contains" || sName == u"freetext") Refuse(Refusals::Construct::FullText);
  if (sName == u"openquery" || sName == u"openrowset" || sName == u"opendatasource" ||
      sName == u"openxml") {
    Refuse(Refusals::Construct::RemoteRowset);
  }
}

void OperandParser::ParseArguments(Expr& call) {
  ExpectSymbol(u"(");
  if (call.sName == u"count" && IsSymbol(u"*")) {
    Advance();
    call.bStarArgument = true;
  } else if (!IsSymbol(u")")) {
    if (AcceptWord(u"distinct")) {
      call.bDistinct = true;
    } else {
      AcceptWord(u"all");
    }
    do {
      const bool bCondition = call.args.empty() && call.sName == u"iif";
      call.args.push_back(bCondition ? ParseCondition() : ParseExpression());
    } while (AcceptSymbol(u","));
  }
  ExpectSymbol(u")");
  if (IsWord(u"within") && IsWord(u"group", 1)) Refuse(Refusals::Construct::WithinGroup);
  if (IsWord(u"over")) ParseOver(call);
}

void OperandParser::ParseOver(Expr& call) {
  ExpectWord(u"over");
  ExpectSymbol(u"(");
  call.bOver = true;
  if (AcceptWord(u"partition")) {
    ExpectWord(u"by");
    do {
      call.partitionBy.push_back(ParseExpression());
    } while (AcceptSymbol(u","));
  }
  if (AcceptWord(u"order")) {
    ExpectWord(u"by");
    call.overOrderBy = ParseOrderList();
  }
  if (IsWord(u"rows") || IsWord(u"range")) Refuse(Refusals::Construct::WindowFrame);
  ExpectSymbol(u")");
}

std::vector<OrderItem> OperandParser::ParseOrderList() {
  std::vector<OrderItem> items;
  do {
    OrderItem item;
    item.expr = ParseExpression();
    if (AcceptWord(u"desc")) {
      item.bDescending = true;
    } else {
      AcceptWord(u"asc");
    }
    items.push_back(std::move(item));
  } while (AcceptSymbol(u","));
  return items;
}

SqlType OperandParser::ExpectType(bool& bLengthGiven) {
  if (Current().kind != Kind::Word && Current().kind != Kind::QuotedName) Fail();
  QString sBase = Unquoted(Advance()).toLower();
  // The server's multi-word spellings: double precision, national char varying, ...
  if (sBase == u"double" && AcceptWord(u"precision")) sBase += QStringLiteral(" precision");
  if (sBase == u"national" && (IsWord(u"char") || IsWord(u"character"))) {
    sBase += u' ' + TextOf(Advance()).toLower();
  }
  if ((sBase.endsWith(u"char") || sBase.endsWith(u"character")) && AcceptWord(u"varying")) {
    sBase += QStringLiteral(" varying");
  }
  const bool bSysname = sBase == u"sysname";
  if (bSysname) sBase = QStringLiteral("nvarchar(128)");
  if (IsTypeNotRun(sBase)) Refuse(Refusals::Construct::DataType);
  QString sArguments;
  if (AcceptSymbol(u"(")) {
    do {
      if (Current().kind != Kind::Integer && !IsWord(u"max")) Fail();
      if (!sArguments.isEmpty()) sArguments += u',';
      sArguments += TextOf(Advance());
    } while (AcceptSymbol(u","));
    ExpectSymbol(u")");
  }
  const QString sWritten = sArguments.isEmpty() ? sBase : sBase + u'(' + sArguments + u')';
  const std::optional<SqlType> type = SqlType::Parse(sWritten);
  if (!type) {
    const std::optional<SqlType> base = SqlType::Parse(sBase);
    if (base && (base->IsText() || base->kind == SqlType::Kind::VarBinary) &&
        sArguments.toInt() > 0) {
      const bool bUnicode = base->IsUnicode();
      Raise(131, QStringLiteral("The size (") + sArguments +
                     QStringLiteral(") given to the type '") + sBase +
                     QStringLiteral("' exceeds the maximum allowed for any data type (") +
                     (bUnicode ? QStringLiteral("4000") : QStringLiteral("8000")) +
                     QStringLiteral(")."));
    }
    Raise(243,
          QStringLiteral("Type ") + sWritten + QStringLiteral(" is not a defined system type."));
  }
  bLengthGiven = bSysname || !sArguments.isEmpty() ||
                 !(type->IsText() || type->kind == SqlType::Kind::VarBinary);
  return *type;
}

}  // namespace twk::tsql
