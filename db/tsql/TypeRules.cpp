// SPDX-License-Identifier: MIT
#include "TypeRules.h"

#include <algorithm>

#include "TsqlError.h"

namespace twk::tsql {

namespace {

using Kind = SqlType::Kind;

// date, time and datetime2 take no part in arithmetic, unlike datetime and
// smalldatetime, which add and subtract numbers of days.
bool IsNewDateKind(Kind kind) {
  return kind == Kind::Date || kind == Kind::Time || kind == Kind::DateTime2;
}

bool IsOldDateKind(Kind kind) {
  return kind == Kind::DateTime || kind == Kind::SmallDateTime;
}

[[noreturn]] void Incompatible(const SqlType& a, const SqlType& b, const QString& sOperator,
                               int iLine) {
  throw TsqlError(402,
                  QStringLiteral("The data types ") + TypeRules::MessageName(a) +
                      QStringLiteral(" and ") + TypeRules::MessageName(b) +
                      QStringLiteral(" are incompatible in the ") +
                      TypeRules::OperatorName(sOperator) + QStringLiteral(" operator."),
                  iLine);
}

[[noreturn]] void InvalidOperand(const SqlType& type, const QString& sOperator, int iLine) {
  throw TsqlError(8117,
                  QStringLiteral("Operand data type ") + TypeRules::MessageName(type) +
                      QStringLiteral(" is invalid for ") + TypeRules::OperatorName(sOperator) +
                      QStringLiteral(" operator."),
                  iLine);
}

[[noreturn]] void Clash(const SqlType& from, const SqlType& to, int iLine) {
  throw TsqlError(206,
                  QStringLiteral("Operand type clash: ") + TypeRules::MessageName(from) +
                      QStringLiteral(" is incompatible with ") + TypeRules::MessageName(to),
                  iLine);
}

// Two texts joined by +: the lengths add up to what a non-max text holds.
SqlType Concatenation(const SqlType& a, const SqlType& b) {
  const bool bUnicode = a.IsUnicode() || b.IsUnicode();
  const bool bFixed = (a.kind == Kind::Char || a.kind == Kind::NChar) &&
                      (b.kind == Kind::Char || b.kind == Kind::NChar);
  const Kind kind =
      bUnicode ? (bFixed ? Kind::NChar : Kind::NVarChar) : (bFixed ? Kind::Char : Kind::VarChar);
  if (a.iLength == SqlType::Max || b.iLength == SqlType::Max)
    return SqlType::Of(kind, SqlType::Max);
  return SqlType::Of(kind, std::min(a.iLength + b.iLength, bUnicode ? 4000 : 8000));
}

// The checks of + and - where a date, time or datetime2 takes part, which
// the server makes before it looks at precedence.
void CheckNewDateOperands(const QString& sOperator, const SqlType& a, const SqlType& b, int iLine) {
  const SqlType& date = IsNewDateKind(a.kind) ? a : b;
  const SqlType& other = IsNewDateKind(a.kind) ? b : a;
  if (other.IsDateTime() && other.kind != date.kind) Incompatible(a, b, sOperator, iLine);
  if (other.IsNumeric()) Clash(other, date, iLine);
  InvalidOperand(date, sOperator, iLine);
}

// The result kind of an operator once both operands share `target`.
SqlType ResultOf(const QString& sOperator, const SqlType& a, const SqlType& b,
                 const SqlType& target, int iLine) {
  const QChar cOperator = sOperator.at(0);
  const bool bBitwise = cOperator == u'&' || cOperator == u'|' || cOperator == u'^';
  if (bBitwise) {
    if (!a.IsInteger() && a.kind != Kind::Null) Incompatible(a, b, sOperator, iLine);
    if (!b.IsInteger() && b.kind != Kind::Null) Incompatible(a, b, sOperator, iLine);
    return target;
  }
  if (target.IsText() || target.kind == Kind::UniqueIdentifier || target.kind == Kind::VarBinary)
    InvalidOperand(target, sOperator, iLine);
  if (IsOldDateKind(target.kind)) {
    if (cOperator != u'+' && cOperator != u'-') InvalidOperand(target, sOperator, iLine);
    return target;
  }
  if (a.kind == Kind::Bit && b.kind == Kind::Bit) InvalidOperand(target, sOperator, iLine);
  if (cOperator == u'%' && (target.kind == Kind::Real || target.kind == Kind::Float))
    Incompatible(a, b, sOperator, iLine);
  if (target.kind == Kind::Decimal) return TypeRules::DecimalResult(cOperator, a, b);
  return target;
}

}  // namespace

TypeRules::Conversion TypeRules::ConversionOf(const SqlType& from, const SqlType& to) {
  const Kind f = from.kind;
  const Kind t = to.kind;
  if (f == t || f == Kind::Null || from.IsText() || to.IsText()) return Conversion::Implicit;
  if (f == Kind::UniqueIdentifier || t == Kind::UniqueIdentifier)
    return f == Kind::VarBinary || t == Kind::VarBinary ? Conversion::Implicit : Conversion::None;
  if (f == Kind::VarBinary) return to.IsDateTime() ? Conversion::Explicit : Conversion::Implicit;
  if (t == Kind::VarBinary) return Conversion::Implicit;
  if (from.IsNumeric() && to.IsNumeric()) return Conversion::Implicit;
  if (from.IsNumeric()) return IsOldDateKind(t) ? Conversion::Implicit : Conversion::None;
  if (to.IsNumeric()) return IsOldDateKind(f) ? Conversion::Explicit : Conversion::None;
  // Both are dates or times: only date and time have nothing in common.
  const bool bDateAndTime =
      (f == Kind::Date && t == Kind::Time) || (f == Kind::Time && t == Kind::Date);
  return bDateAndTime ? Conversion::None : Conversion::Implicit;
}

TypeRules::Operation TypeRules::Arithmetic(const QString& sOperator, const SqlType& a,
                                           const SqlType& b, int iLine) {
  if (a.kind == Kind::Null && b.kind == Kind::Null)
    return {SqlType(), SqlType(), SqlType::Of(Kind::Int)};
  const bool bPlus = sOperator == QLatin1String("+");
  const bool bTexts = (a.IsText() || a.kind == Kind::Null) && (b.IsText() || b.kind == Kind::Null);
  if (bPlus && bTexts) {
    const SqlType& left = a.kind == Kind::Null ? b : a;
    const SqlType& right = b.kind == Kind::Null ? a : b;
    return {SqlType(), SqlType(), Concatenation(left, right)};
  }
  if (bPlus && a.kind == Kind::VarBinary && b.kind == Kind::VarBinary)
    return {SqlType(), SqlType(),
            SqlType::Of(Kind::VarBinary, std::min(8000, a.iLength + b.iLength))};
  const bool bAdditive = bPlus || sOperator == QLatin1String("-");
  if (IsNewDateKind(a.kind) || IsNewDateKind(b.kind)) {
    if (bAdditive) CheckNewDateOperands(sOperator, a, b, iLine);
    if (a.kind != b.kind && a.IsDateTime() && b.IsDateTime()) Incompatible(a, b, sOperator, iLine);
  }
  const SqlType target = Comparison(sOperator, a, b, iLine);
  Operation operation;
  if (a.kind != target.kind && a.kind != Kind::Null) operation.left = ConvertedType(a, target);
  if (b.kind != target.kind && b.kind != Kind::Null) operation.right = ConvertedType(b, target);
  const SqlType left = operation.left.kind == Kind::Null ? a : operation.left;
  const SqlType right = operation.right.kind == Kind::Null ? b : operation.right;
  operation.result = ResultOf(sOperator, left.kind == Kind::Null ? right : left,
                              right.kind == Kind::Null ? left : right, target, iLine);
  return operation;
}

SqlType TypeRules::Comparison(const QString& sOperator, const SqlType& a, const SqlType& b,
                              int iLine) {
  if (a.kind == Kind::Null) return b;
  if (b.kind == Kind::Null) return a;
  const SqlType target = SqlType::Common(a, b);
  const SqlType& lower = a.kind < b.kind ? a : b;
  if (a.kind == b.kind || ConversionOf(lower, target) == Conversion::Implicit) return target;
  if (lower.IsDateTime() && target.IsDateTime()) Incompatible(a, b, sOperator, iLine);
  Clash(lower, target, iLine);
}

SqlType TypeRules::ConvertedType(const SqlType& from, const SqlType& to) {
  if (to.kind == Kind::Decimal && from.IsExactNumeric()) return AsDecimal(from);
  return to;
}

void TypeRules::CheckAssignment(const SqlType& from, const SqlType& to, int iLine) {
  switch (ConversionOf(from, to)) {
    case Conversion::Implicit:
      return;
    case Conversion::Explicit:
      throw TsqlError(257,
                      QStringLiteral("Implicit conversion from data type ") + MessageName(from) +
                          QStringLiteral(" to ") + MessageName(to) +
                          QStringLiteral(" is not allowed. Use the CONVERT function to run this "
                                         "query."),
                      iLine);
    case Conversion::None:
      Clash(from, to, iLine);
  }
}

void TypeRules::CheckExplicit(const SqlType& from, const SqlType& to, int iLine) {
  if (ConversionOf(from, to) != Conversion::None) return;
  throw TsqlError(529,
                  QStringLiteral("Explicit conversion from data type ") + MessageName(from) +
                      QStringLiteral(" to ") + MessageName(to) + QStringLiteral(" is not allowed."),
                  iLine);
}

SqlType TypeRules::DecimalResult(QChar cOperator, const SqlType& a, const SqlType& b) {
  const SqlType x = AsDecimal(a);
  const SqlType y = AsDecimal(b);
  const int p1 = x.iPrecision, s1 = x.iScale, p2 = y.iPrecision, s2 = y.iScale;
  const int iWhole = std::max(p1 - s1, p2 - s2);
  int iPrecision = 0;
  int iScale = 0;
  if (cOperator == u'*') {
    iPrecision = p1 + p2 + 1;
    iScale = s1 + s2;
  } else if (cOperator == u'/') {
    iScale = std::max(6, s1 + p2 + 1);
    iPrecision = p1 - s1 + s2 + iScale;
  } else if (cOperator == u'%') {
    iScale = std::max(s1, s2);
    iPrecision = std::min(p1 - s1, p2 - s2) + iScale;
  } else {
    iScale = std::max(s1, s2);
    iPrecision = iScale + iWhole + 1;
  }
  if (iPrecision > 38) {
    // The integral part is kept whole; the scale gives way, down to 6 for
    // products and quotients whose integral part is too long for 32 digits.
    if (cOperator == u'*' || cOperator == u'/') {
      const int iIntegral = iPrecision - iScale;
      iScale = iIntegral > 32 ? std::min(iScale, 6) : std::min(iScale, 38 - iIntegral);
    } else {
      iScale = std::max(0, std::min(iScale, 38 - iWhole));
    }
    iPrecision = 38;
  }
  return SqlType::Of(Kind::Decimal, 0, std::max(1, iPrecision), iScale);
}

SqlType TypeRules::AsDecimal(const SqlType& type) {
  switch (type.kind) {
    case Kind::Decimal:
      return type;
    case Kind::Bit:
      return SqlType::Of(Kind::Decimal, 0, 1, 0);
    case Kind::TinyInt:
      return SqlType::Of(Kind::Decimal, 0, 3, 0);
    case Kind::SmallInt:
      return SqlType::Of(Kind::Decimal, 0, 5, 0);
    case Kind::Int:
      return SqlType::Of(Kind::Decimal, 0, 10, 0);
    case Kind::BigInt:
      return SqlType::Of(Kind::Decimal, 0, 19, 0);
    case Kind::SmallMoney:
      return SqlType::Of(Kind::Decimal, 0, 10, 4);
    case Kind::Money:
      return SqlType::Of(Kind::Decimal, 0, 19, 4);
    default:
      return SqlType::Of(Kind::Decimal, 0, 18, 0);
  }
}

int TypeRules::TextLength(const SqlType& type) {
  switch (type.kind) {
    case Kind::Null:
    case Kind::Bit:
      return 1;
    case Kind::TinyInt:
      return 3;
    case Kind::SmallInt:
      return 6;
    case Kind::Int:
      return 11;
    case Kind::BigInt:
      return 20;
    case Kind::SmallMoney:
    case Kind::Money:
      return 22;
    case Kind::Decimal:
      return type.iPrecision + 2;
    case Kind::Real:
    case Kind::Float:
      return 23;
    case Kind::Date:
      return 10;
    case Kind::Time:
      return 16;
    case Kind::SmallDateTime:
      return 19;
    case Kind::DateTime:
      return 23;
    case Kind::DateTime2:
      return 27;
    case Kind::UniqueIdentifier:
      return 36;
    default:
      return type.iLength;
  }
}

QString TypeRules::MessageName(const SqlType& type) {
  const QString sName = type.Name();
  const qsizetype iParen = sName.indexOf(u'(');
  return iParen < 0 ? sName : sName.left(iParen);
}

QString TypeRules::OperatorName(const QString& sOperator) {
  static const std::pair<const char*, const char*> kNames[] = {{"+", "add"},
                                                               {"-", "subtract"},
                                                               {"*", "multiply"},
                                                               {"/", "divide"},
                                                               {"%", "modulo"},
                                                               {"=", "equal to"},
                                                               {"<>", "not equal to"},
                                                               {"<", "less than"},
                                                               {">", "greater than"},
                                                               {"<=", "less than or equal to"},
                                                               {">=", "greater than or equal to"}};
  for (const auto& [sSymbol, sName] : kNames) {
    if (sOperator == QLatin1String(sSymbol)) return QString::fromLatin1(sName);
  }
  if (sOperator.size() == 1 && QStringLiteral("&|^~").contains(sOperator))
    return u'\'' + sOperator + u'\'';
  return sOperator;  // sum, avg, ... name themselves
}

}  // namespace twk::tsql
