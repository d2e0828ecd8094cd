// SPDX-License-Identifier: MIT
#include "TsqlNumberConversion.h"

#include <QRegularExpression>
#include <cmath>

#include "FunctionArguments.h"
#include "TsqlDateValue.h"
#include "TsqlNumberText.h"

namespace twk::embedded {

namespace {

using Kind = tsql::SqlType::Kind;
using tsql::SqlType;

struct Range {
  double dLow, dHigh;
};

Range RangeOf(Kind kind) {
  switch (kind) {
    case Kind::TinyInt:
      return {0, 255};
    case Kind::SmallInt:
      return {-32768, 32767};
    case Kind::Int:
      return {-2147483648.0, 2147483647.0};
    case Kind::SmallMoney:
      return {-214748.3648, 214748.3647};
    case Kind::Money:
      return {-922337203685477.5808, 922337203685477.5807};
    default:
      return {-9223372036854775808.0, 9223372036854775807.0};
  }
}

QString Quoted(const QString& sText) {
  return u'\'' + sText + u'\'';
}

[[noreturn]] void FailOverflow(const QString& sFrom, const SqlType& to) {
  FailTsql(8115, QStringLiteral("Arithmetic overflow error converting %1 to data type %2.")
                     .arg(sFrom, TsqlNumberConversion::MessageName(to)));
}

// A date's number: days since 1900-01-01 and the fraction of the day.
double DaysOf(const TsqlValue& value) {
  const TsqlDateValue date = TsqlDateValue::Argument(value.sText);
  return double(QDate(1900, 1, 1).daysTo(date.date)) +
         double(date.lTicks) / TsqlDateValue::kTicksPerDay;
}

// The number a non-text value of type from stands for; integers of the
// target cut or round it as the server does for that source.
double NumberOf(const TsqlValue& value, const SqlType& from, const SqlType& to) {
  if (from.kind == Kind::DateTime || from.kind == Kind::SmallDateTime) return DaysOf(value);
  if (!from.IsNumeric()) TsqlNumberConversion::FailNotAllowed(from, to);
  return value.Number();
}

qint64 TextWhole(const QString& sText, const SqlType& from, const SqlType& to) {
  static const QRegularExpression whole(QStringLiteral("^[+-]?\\d+$"));
  const QString sTrimmed = sText.trimmed();
  if (to.kind == Kind::Bit) {
    if (sTrimmed.compare(u"true", Qt::CaseInsensitive) == 0) return 1;
    if (sTrimmed.compare(u"false", Qt::CaseInsensitive) == 0) return 0;
  }
  if (sTrimmed.isEmpty()) return 0;
  bool bOk = whole.match(sTrimmed).hasMatch();
  const double dValue = sTrimmed.toDouble();
  if (!bOk) {
    FailTsql(245,
             QStringLiteral("Conversion failed when converting the %1 value %2 to data type %3.")
                 .arg(TsqlNumberConversion::MessageName(from), Quoted(sText), to.Name()));
  }
  const Range range = RangeOf(to.kind);
  if (to.kind != Kind::Bit && (dValue < range.dLow || dValue > range.dHigh)) {
    FailTsql(248, QStringLiteral("The conversion of the %1 value %2 overflowed %3 %4 column.")
                      .arg(TsqlNumberConversion::MessageName(from), Quoted(sText),
                           to.kind == Kind::Int ? QStringLiteral("an") : QStringLiteral("a"),
                           to.Name()));
  }
  return sTrimmed.toLongLong(&bOk);
}

TsqlValue ToWhole(const TsqlValue& value, const SqlType& from, const SqlType& to) {
  qint64 lValue = 0;
  if (value.storage == TsqlValue::Storage::Text && (from.IsText() || from.kind == Kind::Null)) {
    lValue = TextWhole(value.sText, from, to);
  } else if (value.storage == TsqlValue::Storage::Integer && from.IsInteger()) {
    lValue = value.lInteger;
  } else {
    const double dNumber = NumberOf(value, from, to);
    const bool bRounds =
        from.kind == Kind::Money || from.kind == Kind::SmallMoney || !from.IsNumeric();
    const double dWhole = bRounds ? TsqlNumberText::Round(dNumber, 0) : std::trunc(dNumber);
    const Range range = RangeOf(to.kind);
    if (to.kind != Kind::Bit && (dWhole < range.dLow || dWhole >= range.dHigh + 1)) {
      if (from.kind == Kind::Float || from.kind == Kind::Real) {
        FailTsql(232, QStringLiteral("Arithmetic overflow error for type %1, value = %2.")
                          .arg(to.Name(), QString::number(dNumber, 'f', 6)));
      }
      FailOverflow(QStringLiteral("expression"), to);
    }
    lValue = to.kind == Kind::Bit ? (dNumber != 0) : qint64(dWhole);
  }
  if (to.kind == Kind::Bit) return TsqlValue::Integer(lValue != 0);
  const Range range = RangeOf(to.kind);
  if (double(lValue) >= range.dLow && double(lValue) <= range.dHigh)
    return TsqlValue::Integer(lValue);
  // An integer into a smaller one names the value; into int it does not.
  if (to.kind == Kind::TinyInt || to.kind == Kind::SmallInt) {
    FailTsql(220, QStringLiteral("Arithmetic overflow error for data type %1, value = %2.")
                      .arg(to.Name())
                      .arg(lValue));
  }
  FailOverflow(QStringLiteral("expression"), to);
}

double TextNumber(const QString& sText, const SqlType& from, const SqlType& to) {
  static const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
  static const QRegularExpression floating(
      QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
  static const QRegularExpression money(
      QStringLiteral("^[+-]?\\$?\\s*[+-]?(\\d[\\d,]*\\.?\\d*|\\.\\d+)$"));
  QString sTrimmed = sText.trimmed();
  const bool bMoney = to.kind == Kind::Money || to.kind == Kind::SmallMoney;
  if (sTrimmed.isEmpty() && to.kind != Kind::Decimal) return 0;
  if (bMoney && money.match(sTrimmed).hasMatch())
    return sTrimmed.remove(u'$').remove(u',').remove(u' ').toDouble();
  if (bMoney) {
    FailTsql(235,
             QStringLiteral(
                 "Cannot convert a char value to money. The char value has incorrect syntax."));
  }
  const QRegularExpression& pattern = to.kind == Kind::Decimal ? decimal : floating;
  if (!pattern.match(sTrimmed).hasMatch()) {
    FailTsql(8114, QStringLiteral("Error converting data type %1 to %2.")
                       .arg(TsqlNumberConversion::MessageName(from),
                            TsqlNumberConversion::MessageName(to)));
  }
  return sTrimmed.toDouble();
}

TsqlValue ToFraction(const TsqlValue& value, const SqlType& from, const SqlType& to) {
  const bool bText =
      value.storage == TsqlValue::Storage::Text && (from.IsText() || from.kind == Kind::Null);
  const double dValue = bText ? TextNumber(value.sText, from, to) : NumberOf(value, from, to);
  const QString sFrom =
      TsqlNumberConversion::MessageName(bText ? SqlType::Of(Kind::VarChar) : from);
  if (to.kind == Kind::Real || to.kind == Kind::Float) {
    if (to.kind == Kind::Real && std::fabs(dValue) > 3.40282346638528859e38)
      FailOverflow(QStringLiteral("expression"), to);
    return TsqlValue::Real(to.kind == Kind::Real ? double(float(dValue)) : dValue);
  }
  const bool bMoney = to.kind != Kind::Decimal;
  const double dRounded = TsqlNumberText::Round(dValue, bMoney ? 4 : to.iScale);
  if (bMoney) {
    const Range range = RangeOf(to.kind);
    if (dRounded < range.dLow || dRounded > range.dHigh)
      FailOverflow(QStringLiteral("expression"), to);
  } else if (std::fabs(dRounded) >= std::pow(10.0, to.iPrecision - to.iScale)) {
    FailOverflow(sFrom, to);
  }
  return TsqlValue::Real(dRounded);
}

}  // namespace

QString TsqlNumberConversion::MessageName(const SqlType& type) {
  if (type.kind == Kind::Decimal) return QStringLiteral("numeric");
  const QString sName = type.Name();
  return sName.left(sName.indexOf(u'('));
}

void TsqlNumberConversion::FailNotAllowed(const SqlType& from, const SqlType& to) {
  FailTsql(529, QStringLiteral("Explicit conversion from data type %1 to %2 is not allowed.")
                    .arg(MessageName(from), MessageName(to)));
}

TsqlValue TsqlNumberConversion::Convert(const TsqlValue& value, const SqlType& from,
                                        const SqlType& to) {
  if (value.IsNull()) return {};
  if (to.IsInteger()) return ToWhole(value, from, to);
  return ToFraction(value, from, to);
}

}  // namespace twk::embedded
