// SPDX-License-Identifier: MIT
#include "ExprBinder.h"

#include "Builtins.h"
#include "CallBinder.h"
#include "QueryBinder.h"
#include "TsqlError.h"
#include "TypeRules.h"

namespace twk::tsql {

namespace {

using Kind = SqlType::Kind;

const SqlType kBit = SqlType::Of(Kind::Bit);

[[noreturn]] void Undeclared(const QString& sName, int iLine) {
  throw TsqlError(137, QStringLiteral("Must declare the scalar variable \"") + sName + u'"', iLine);
}

// Words the server reads as functions although no parentheses follow.
bool IsNiladicFunction(const Expr& expr) {
  if (expr.name.parts.size() != 1) return false;
  const QString sName = expr.name.Last().toLower();
  return sName == QLatin1String("current_timestamp") || sName == QLatin1String("current_user") ||
         sName == QLatin1String("session_user") || sName == QLatin1String("system_user");
}

// A literal's type as the server reads it: 'abc' is varchar(3), 12 int, a
// whole number past int's range decimal(p,0), 1.50 decimal(3,2).
SqlType LiteralType(const Expr& expr) {
  const QString& sValue = expr.sValue;
  const int iLength = std::max(1, static_cast<int>(sValue.size()));
  switch (expr.literalKind) {
    case Token::Kind::String:
      return SqlType::Of(Kind::VarChar, std::min(iLength, 8000));
    case Token::Kind::UnicodeString:
      return SqlType::Of(Kind::NVarChar, std::min(iLength, 4000));
    case Token::Kind::Float:
      return SqlType::Of(Kind::Float);
    case Token::Kind::Money:
      return SqlType::Of(Kind::Money);
    case Token::Kind::Binary:
      return SqlType::Of(Kind::VarBinary, std::max(1, static_cast<int>(sValue.size() - 1) / 2));
    case Token::Kind::Integer:
    case Token::Kind::Decimal: {
      const qsizetype iPoint = sValue.indexOf(u'.');
      QString sWhole = iPoint < 0 ? sValue : sValue.left(iPoint);
      while (sWhole.startsWith(u'0')) sWhole.remove(0, 1);
      const int iScale = iPoint < 0 ? 0 : static_cast<int>(sValue.size() - iPoint - 1);
      bool bFits = false;
      sValue.toInt(&bFits);
      if (iPoint < 0 && bFits) return SqlType::Of(Kind::Int);
      const int iPrecision = std::max(1, static_cast<int>(sWhole.size()) + iScale);
      if (iPrecision > 38) return SqlType::Of(Kind::Float);
      return SqlType::Of(Kind::Decimal, 0, iPrecision, iScale);
    }
    default:
      return SqlType();  // NULL
  }
}

}  // namespace

BindContext& ExprBinder::Context() const {
  return queries_.Context();
}

void ExprBinder::ImplicitCast(ExprPtr& expr, const SqlType& type) {
  if (!expr || expr->type.kind == type.kind || expr->type.kind == Kind::Null) return;
  auto cast = std::make_unique<Expr>();
  cast->kind = Expr::Kind::Cast;
  cast->sName = QStringLiteral("implicit");
  cast->span = expr->span;
  cast->targetType = type;
  cast->type = type;
  cast->args.push_back(std::move(expr));
  expr = std::move(cast);
}

void ExprBinder::BindAs(ExprPtr& expr, const SqlType& type) {
  Bind(expr);
  TypeRules::CheckAssignment(expr->type, type, expr->span.iLine);
  ImplicitCast(expr, type);
}

void ExprBinder::BindAssignment(ExprPtr& value, const QString& sOperator, const SqlType& target) {
  if (sOperator.size() < 2) return BindAs(value, target);
  // x += v is x = x + v: the operator's rules first, then the assignment's.
  Bind(value);
  const TypeRules::Operation operation =
      TypeRules::Arithmetic(sOperator.chopped(1), target, value->type, value->span.iLine);
  if (operation.right.kind != Kind::Null) ImplicitCast(value, operation.right);
  TypeRules::CheckAssignment(operation.result, target, value->span.iLine);
}

void ExprBinder::Bind(ExprPtr& pointer) {
  if (!pointer) return;
  Expr& expr = *pointer;
  switch (expr.kind) {
    case Expr::Kind::Literal:
      expr.type = LiteralType(expr);
      return;
    case Expr::Kind::Star:
      return;
    case Expr::Kind::Variable:
    case Expr::Kind::SystemVariable:
      return BindVariable(expr);
    case Expr::Kind::Column:
      return BindColumn(pointer);
    case Expr::Kind::Unary:
      return BindUnary(expr);
    case Expr::Kind::Binary:
      return BindBinary(expr);
    case Expr::Kind::Comparison:
      return BindComparable(expr, 0, expr.sOperator);
    case Expr::Kind::Between:
      return BindComparable(expr, 0, QStringLiteral("between"));
    case Expr::Kind::InList:
      return BindComparable(expr, 0, QStringLiteral("equal to"));
    case Expr::Kind::And:
    case Expr::Kind::Or:
    case Expr::Kind::Not:
    case Expr::Kind::IsNull:
      for (ExprPtr& arg : expr.args) Bind(arg);
      expr.type = kBit;
      return;
    case Expr::Kind::Like:
      return BindLike(expr);
    case Expr::Kind::InQuery:
    case Expr::Kind::Exists:
    case Expr::Kind::Subquery:
      return BindQueryValue(expr);
    case Expr::Kind::Case:
      return BindCase(expr);
    case Expr::Kind::Function:
      return CallBinder(*this).BindFunction(expr);
    case Expr::Kind::Cast:
      return CallBinder(*this).BindCast(expr);
    case Expr::Kind::Collate:
      Bind(expr.args[0]);
      expr.type = expr.args[0]->type;
      return;
    case Expr::Kind::XmlValue:
      return BindXmlValue(expr);
  }
}

void ExprBinder::BindVariable(Expr& expr) {
  if (expr.kind == Expr::Kind::SystemVariable) {
    const std::optional<SqlType> type = Builtins::SystemVariableType(expr.sName);
    if (!type) Undeclared(expr.sName, expr.span.iLine);
    expr.type = *type;
    return;
  }
  const int iVariable = Context().FindVariable(expr.sName);
  if (iVariable < 0 || Context().variables[iVariable].bTable)
    Undeclared(expr.sName, expr.span.iLine);
  expr.iBinding = iVariable;
  expr.type = Context().variables[iVariable].type;
}

void ExprBinder::BindColumn(ExprPtr& pointer) {
  Expr& expr = *pointer;
  if (IsNiladicFunction(expr)) {
    expr.kind = Expr::Kind::Function;
    expr.sName = expr.name.Last().toLower();
    return CallBinder(*this).BindFunction(expr);
  }
  if (scope_ == nullptr) {
    Scope empty(*Context().binding, nullptr);
    return empty.ResolveColumn(expr);  // 207 or 4104, as the server words them
  }
  scope_->ResolveColumn(expr);
}

void ExprBinder::BindUnary(Expr& expr) {
  Bind(expr.args[0]);
  const SqlType& type = expr.args[0]->type;
  const bool bBitwise = expr.sOperator == QLatin1String("~");
  const bool bValid = type.kind == Kind::Null || (bBitwise ? type.IsInteger() : type.IsNumeric());
  if (!bValid) {
    const QString sName = bBitwise                               ? QStringLiteral("'~'")
                          : expr.sOperator == QLatin1String("-") ? QStringLiteral("minus")
                                                                 : QStringLiteral("plus");
    throw TsqlError(8117,
                    QStringLiteral("Operand data type ") + TypeRules::MessageName(type) +
                        QStringLiteral(" is invalid for ") + sName + QStringLiteral(" operator."),
                    expr.span.iLine);
  }
  expr.type = type.kind == Kind::Null ? SqlType::Of(Kind::Int) : type;
}

void ExprBinder::BindBinary(Expr& expr) {
  Bind(expr.args[0]);
  Bind(expr.args[1]);
  const TypeRules::Operation operation = TypeRules::Arithmetic(expr.sOperator, expr.args[0]->type,
                                                               expr.args[1]->type, expr.span.iLine);
  if (operation.left.kind != Kind::Null) ImplicitCast(expr.args[0], operation.left);
  if (operation.right.kind != Kind::Null) ImplicitCast(expr.args[1], operation.right);
  expr.type = operation.result;
}

// =, <, between and in: every operand converts to the type of highest
// precedence among them, as the server converts each pair it compares.
void ExprBinder::BindComparable(Expr& expr, size_t iFirst, const QString& sOperator) {
  SqlType common;
  for (size_t i = iFirst; i < expr.args.size(); ++i) {
    Bind(expr.args[i]);
    common = TypeRules::Comparison(sOperator, common, expr.args[i]->type, expr.span.iLine);
  }
  for (size_t i = iFirst; i < expr.args.size(); ++i) {
    ImplicitCast(expr.args[i], TypeRules::ConvertedType(expr.args[i]->type, common));
  }
  expr.type = kBit;
}

void ExprBinder::BindLike(Expr& expr) {
  for (ExprPtr& arg : expr.args) {
    Bind(arg);
    if (!arg->type.IsText()) {
      ImplicitCast(arg, SqlType::Of(Kind::VarChar, TypeRules::TextLength(arg->type)));
    }
  }
  expr.type = kBit;
}

void ExprBinder::BindCase(Expr& expr) {
  const bool bSimple = expr.bSimpleCase && !expr.args.empty();
  SqlType operand;
  if (bSimple) {
    Bind(expr.args[0]);
    operand = expr.args[0]->type;
  }
  SqlType result;
  bool bAllNull = true;
  for (auto& [when, then] : expr.whens) {
    Bind(when);
    if (bSimple)
      operand = TypeRules::Comparison(QStringLiteral("="), operand, when->type, when->span.iLine);
    Bind(then);
    result = TypeRules::Comparison(QStringLiteral("case"), result, then->type, then->span.iLine);
    bAllNull = bAllNull && then->type.kind == Kind::Null;
  }
  Bind(expr.elseExpr);
  if (expr.elseExpr) {
    result =
        TypeRules::Comparison(QStringLiteral("case"), result, expr.elseExpr->type, expr.span.iLine);
    bAllNull = bAllNull && expr.elseExpr->type.kind == Kind::Null;
  }
  if (bAllNull) {
    throw TsqlError(8133,
                    QStringLiteral("At least one of the result expressions in a CASE specification "
                                   "must be an expression other than the NULL constant."),
                    expr.span.iLine);
  }
  for (auto& [when, then] : expr.whens) {
    if (bSimple) ImplicitCast(when, TypeRules::ConvertedType(when->type, operand));
    ImplicitCast(then, TypeRules::ConvertedType(then->type, result));
  }
  if (bSimple) ImplicitCast(expr.args[0], TypeRules::ConvertedType(expr.args[0]->type, operand));
  ImplicitCast(expr.elseExpr,
               TypeRules::ConvertedType(expr.elseExpr ? expr.elseExpr->type : result, result));
  expr.type = result;
}

void ExprBinder::BindQueryValue(Expr& expr) {
  if (iAggregateDepth_ > 0) {
    throw TsqlError(130,
                    QStringLiteral("Cannot perform an aggregate function on an expression "
                                   "containing an aggregate or a subquery."),
                    expr.span.iLine);
  }
  const std::vector<ResultColumn> columns = queries_.BindQuery(*expr.query, scope_, true);
  const bool bXml = expr.query->forXmlPath.has_value();
  if (expr.kind == Expr::Kind::Exists) {
    expr.type = kBit;
    return;
  }
  if (columns.size() != 1 && !bXml) {
    throw TsqlError(116,
                    QStringLiteral("Only one expression can be specified in the select list when "
                                   "the subquery is not introduced with EXISTS."),
                    expr.span.iLine);
  }
  const SqlType value = bXml ? SqlType::Of(Kind::NVarChar, SqlType::Max) : columns[0].type;
  if (expr.kind == Expr::Kind::Subquery) {
    expr.type = value;
    return;
  }
  Bind(expr.args[0]);
  const SqlType common =
      TypeRules::Comparison(QStringLiteral("="), expr.args[0]->type, value, expr.span.iLine);
  ImplicitCast(expr.args[0], TypeRules::ConvertedType(expr.args[0]->type, common));
  if (value.kind != common.kind && !bXml) queries_.CastColumn(*expr.query, 0, common);
  expr.type = kBit;
}

void ExprBinder::BindXmlValue(Expr& expr) {
  for (ExprPtr& arg : expr.args) Bind(arg);
  if (expr.args.size() > 2) expr.args[2]->bValueBound = true;
  const QString sType = expr.args.size() > 2 ? expr.args[2]->sValue : QString();
  const std::optional<SqlType> type = SqlType::Parse(sType);
  if (!type) {
    throw TsqlError(
        243, QStringLiteral("Type ") + sType + QStringLiteral(" is not a defined system type."),
        expr.span.iLine);
  }
  expr.type = *type;
}

}  // namespace twk::tsql
