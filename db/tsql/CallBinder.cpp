// SPDX-License-Identifier: MIT
#include "CallBinder.h"

#include "ExprBinder.h"
#include "TsqlError.h"
#include "TypeRules.h"

namespace twk::tsql {

namespace {

using Kind = SqlType::Kind;
using Clause = ExprBinder::Clause;

[[noreturn]] void InvalidArgument(const SqlType& type, int iArgument, const char* sFunction,
                                  int iLine) {
  throw TsqlError(8116,
                  QStringLiteral("Argument data type ") + TypeRules::MessageName(type) +
                      QStringLiteral(" is invalid for argument ") + QString::number(iArgument + 1) +
                      QStringLiteral(" of ") + QLatin1String(sFunction) +
                      QStringLiteral(" function."),
                  iLine);
}

QString WrittenName(const Expr& expr) {
  if (expr.name.parts.empty()) return expr.sName;
  QString sName;
  for (const QString& sPart : expr.name.parts) sName += (sName.isEmpty() ? "" : ".") + sPart;
  return sName;
}

}  // namespace

void CallBinder::BindFunction(Expr& expr) {
  const Builtins::Function* function = Builtins::Find(expr.sName);
  const int iLine = expr.span.iLine;
  if (function == nullptr) {
    if (expr.name.parts.size() > 1) {
      throw TsqlError(4121,
                      QStringLiteral("Cannot find either column \"") + expr.name.parts.front() +
                          QStringLiteral("\" or the user-defined function or aggregate \"") +
                          WrittenName(expr) + QStringLiteral("\", or the name is ambiguous."),
                      iLine);
    }
    throw TsqlError(
        195,
        u'\'' + WrittenName(expr) + QStringLiteral("' is not a recognized built-in function name."),
        iLine);
  }
  const int iCount = static_cast<int>(expr.args.size()) + (expr.bStarArgument ? 1 : 0);
  Builtins::CheckArgumentCount(*function, iCount, iLine);
  CheckPlacement(*function, expr);
  const bool bGrouping = function->functionClass == Builtins::Class::Aggregate && !expr.bOver;
  if (bGrouping) expressions_.EnterAggregate();
  BindArguments(*function, expr);
  if (bGrouping) {
    expressions_.LeaveAggregate();
    expressions_.NoteAggregate();
  }
  // Windowed functions: the partition and order belong to the row, not the group.
  for (ExprPtr& partition : expr.partitionBy) expressions_.Bind(partition);
  for (OrderItem& item : expr.overOrderBy) expressions_.Bind(item.expr);
  std::vector<SqlType> types;
  for (const ExprPtr& arg : expr.args) types.push_back(arg->type);
  const QLatin1String sName(function->sName);
  const bool bMinMax = sName == QLatin1String("min") || sName == QLatin1String("max");
  if (bMinMax && !types.empty() && types[0].kind == Kind::Bit) {
    throw TsqlError(8117,
                    QStringLiteral("Operand data type bit is invalid for ") + sName +
                        QStringLiteral(" operator."),
                    iLine);
  }
  if (sName == QLatin1String("coalesce")) {
    const bool bAllNull = std::all_of(types.begin(), types.end(),
                                      [](const SqlType& t) { return t.kind == Kind::Null; });
    if (bAllNull) {
      throw TsqlError(4127,
                      QStringLiteral("At least one of the arguments to COALESCE must be an "
                                     "expression that is not the NULL constant."),
                      iLine);
    }
  }
  expr.type = Builtins::ResultType(*function, types, iLine);
  // coalesce, iif and choose give every value argument the common type.
  if (function->rule == Builtins::Rule::Common) {
    for (size_t i = sName == QLatin1String("coalesce") ? 0 : 1; i < expr.args.size(); ++i) {
      ExprBinder::ImplicitCast(expr.args[i],
                               TypeRules::ConvertedType(expr.args[i]->type, expr.type));
    }
  }
}

void CallBinder::CheckPlacement(const Builtins::Function& function, const Expr& expr) {
  const Clause clause = expressions_.CurrentClause();
  const int iLine = expr.span.iLine;
  const QString sName = QLatin1String(function.sName);
  if (function.functionClass == Builtins::Class::Window && !expr.bOver) {
    throw TsqlError(
        10753,
        QStringLiteral("The function '") + sName + QStringLiteral("' must have an OVER clause."),
        iLine);
  }
  if (expr.bOver && clause != Clause::Select && clause != Clause::OrderBy) {
    throw TsqlError(4108,
                    QStringLiteral("Windowed functions can only appear in the SELECT or ORDER BY "
                                   "clauses."),
                    iLine);
  }
  if (function.functionClass != Builtins::Class::Aggregate || expr.bOver) return;
  if (expressions_.AggregateDepth() > 0) {
    throw TsqlError(130,
                    QStringLiteral("Cannot perform an aggregate function on an expression "
                                   "containing an aggregate or a subquery."),
                    iLine);
  }
  if (clause == Clause::Where || clause == Clause::On) {
    throw TsqlError(147,
                    QStringLiteral("An aggregate may not appear in the WHERE clause unless it is "
                                   "in a subquery contained in a HAVING clause or a select list, "
                                   "and the column being aggregated is an outer reference."),
                    iLine);
  }
  if (clause == Clause::GroupBy) {
    throw TsqlError(144,
                    QStringLiteral("Cannot use an aggregate or a subquery in an expression used "
                                   "for the group by list of a GROUP BY clause."),
                    iLine);
  }
}

void CallBinder::BindArguments(const Builtins::Function& function, Expr& expr) {
  for (size_t i = 0; i < expr.args.size(); ++i) {
    if (Builtins::ParameterClass(function, static_cast<int>(i)) == u'p') {
      BindDatePart(function, *expr.args[i]);
      continue;
    }
    expressions_.Bind(expr.args[i]);
    ConvertArgument(function, expr, static_cast<int>(i));
  }
}

// Converts an argument to what the function takes, as the server converts
// it by itself: text to a number or a date, a number to text.
void CallBinder::ConvertArgument(const Builtins::Function& function, Expr& expr, int iArgument) {
  ExprPtr& arg = expr.args[iArgument];
  const SqlType type = arg->type;
  const QChar cClass = Builtins::ParameterClass(function, iArgument);
  if (type.kind == Kind::Null || cClass == u'a') return;
  const bool bForeign = type.kind == Kind::UniqueIdentifier || type.kind == Kind::VarBinary;
  const int iLine = arg->span.iLine;
  if (cClass == u't') {
    if (!type.IsText())
      ExprBinder::ImplicitCast(arg, SqlType::Of(Kind::VarChar, TypeRules::TextLength(type)));
  } else if (cClass == u'i' || cClass == u'n') {
    if (type.IsDateTime() || bForeign) InvalidArgument(type, iArgument, function.sName, iLine);
    if (cClass == u'n' && type.IsText()) ExprBinder::ImplicitCast(arg, SqlType::Of(Kind::Float));
    if (cClass == u'i' && !type.IsInteger()) ExprBinder::ImplicitCast(arg, SqlType::Of(Kind::Int));
  } else if (cClass == u'd' || cClass == u'D') {
    if (bForeign) InvalidArgument(type, iArgument, function.sName, iLine);
    if (type.IsText() && cClass == u'd')
      ExprBinder::ImplicitCast(arg, SqlType::Of(Kind::DateTime2, 0, 0, 7));
    if (type.IsNumeric() || (type.IsText() && cClass == u'D'))
      ExprBinder::ImplicitCast(arg, SqlType::Of(Kind::DateTime));
  }
}

// The first argument of dateadd, datediff, datepart and datename is a
// keyword, not a column: it is checked, never resolved.
void CallBinder::BindDatePart(const Builtins::Function& function, Expr& part) {
  const bool bWord = part.kind == Expr::Kind::Column && part.name.parts.size() == 1;
  const QString sWord = bWord ? part.name.Last() : part.sValue;
  if (!bWord || !Builtins::IsDatePart(sWord)) {
    throw TsqlError(155,
                    u'\'' + sWord + QStringLiteral("' is not a recognized ") +
                        QLatin1String(function.sName) + QStringLiteral(" option."),
                    part.span.iLine);
  }
  part.sName = sWord.toLower();
}

void CallBinder::BindCast(Expr& expr) {
  expressions_.Bind(expr.args[0]);
  if (expr.args.size() > 1) expressions_.Bind(expr.args[1]);
  if (expr.sName == QLatin1String("implicit")) return;  // bound before, kept as it was made
  SqlType target = expr.targetType;
  // cast(x as varchar) and convert(varchar, x) are 30 long, unlike a declare.
  if (!expr.bTargetLengthGiven && (target.IsText() || target.kind == Kind::VarBinary))
    target.iLength = 30;
  TypeRules::CheckExplicit(expr.args[0]->type, target, expr.span.iLine);
  expr.targetType = target;
  expr.type = target;
}

}  // namespace twk::tsql
