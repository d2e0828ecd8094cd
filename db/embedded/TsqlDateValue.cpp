// SPDX-License-Identifier: MIT
#include "TsqlDateValue.h"

#include <cmath>

#include "FunctionArguments.h"
#include "TsqlDateText.h"

namespace twk::embedded {

namespace {

using Kind = tsql::SqlType::Kind;

// The stored forms are read from UTF-16 and, without converting, from a
// function argument's ASCII bytes.
template <typename View>
char16_t At(View s, qsizetype i) {
  return char16_t(s[i].unicode());
}

// Reads iCount digits at i; -1 when any is not a digit.
template <typename View>
int DigitsAt(View s, qsizetype i, int iCount) {
  if (i + iCount > s.size()) return -1;
  int iValue = 0;
  for (int k = 0; k < iCount; ++k) {
    const char16_t c = At(s, i + k);
    if (c < u'0' || c > u'9') return -1;
    iValue = iValue * 10 + (c - u'0');
  }
  return iValue;
}

// 'HH:MM[:SS[.fffffff]]' from i to the end; -1 when it is not one.
template <typename View>
qint64 StoredTime(View s, qsizetype i) {
  const int iHour = DigitsAt(s, i, 2);
  const int iMinute = s.size() > i + 2 && At(s, i + 2) == u':' ? DigitsAt(s, i + 3, 2) : -1;
  if (iHour < 0 || iMinute < 0 || iHour > 23 || iMinute > 59) return -1;
  qint64 lTicks = (iHour * 3600LL + iMinute * 60) * TsqlDateValue::kTicksPerSecond;
  qsizetype k = i + 5;
  if (k == s.size()) return lTicks;
  const int iSecond = At(s, k) == u':' ? DigitsAt(s, k + 1, 2) : -1;
  if (iSecond < 0 || iSecond > 59) return -1;
  lTicks += iSecond * TsqlDateValue::kTicksPerSecond;
  k += 3;
  if (k == s.size()) return lTicks;
  if (At(s, k) != u'.' || k + 1 == s.size() || s.size() - k - 1 > 7) return -1;
  const int iDigits = int(s.size() - k - 1);
  const int iFraction = DigitsAt(s, k + 1, iDigits);
  if (iFraction < 0) return -1;
  static constexpr int kScale[] = {1, 1000000, 100000, 10000, 1000, 100, 10, 1};
  return lTicks + qint64(iFraction) * kScale[iDigits];
}

template <typename View>
std::optional<TsqlDateValue> StoredIn(View s) {
  TsqlDateValue value;
  if (s.size() >= 5 && At(s, 2) == u':') {
    value.lTicks = StoredTime(s, 0);
    return value.lTicks < 0 ? std::nullopt : std::optional(value);
  }
  if (s.size() < 10 || At(s, 4) != u'-' || At(s, 7) != u'-') return std::nullopt;
  const int iYear = DigitsAt(s, 0, 4);
  if (iYear < 1) return std::nullopt;
  value.date = QDate(iYear, DigitsAt(s, 5, 2), DigitsAt(s, 8, 2));
  if (!value.date.isValid()) return std::nullopt;
  if (s.size() == 10) return value;
  if (At(s, 10) != u' ' && At(s, 10) != u'T') return std::nullopt;
  value.lTicks = StoredTime(s, 11);
  return value.lTicks < 0 ? std::nullopt : std::optional(value);
}

qint64 RoundTicks(qint64 lTicks, qint64 lUnit) {
  return (lTicks + lUnit / 2) / lUnit * lUnit;
}

}  // namespace

std::optional<TsqlDateValue> TsqlDateValue::FromStored(QStringView sText) {
  return StoredIn(sText);
}

std::optional<TsqlDateValue> TsqlDateValue::FromStored(QLatin1StringView sText) {
  return StoredIn(sText);
}

std::optional<TsqlDateValue> TsqlDateValue::Parse(QStringView sText, int iStyle,
                                                  bool* pOutOfRange) {
  if (std::optional<TsqlDateValue> stored = FromStored(sText)) return stored;
  return TsqlDateText::Read(sText.trimmed(), iStyle, pOutOfRange);
}

TsqlDateValue TsqlDateValue::Argument(QStringView sText) {
  const std::optional<TsqlDateValue> value = Parse(sText, 0);
  if (!value) {
    FailTsql(241, QStringLiteral("Conversion failed when converting date and/or time from "
                                 "character string."));
  }
  return *value;
}

TsqlDateValue TsqlDateValue::FromDays(double dDays) {
  const double dWhole = std::floor(dDays);
  TsqlDateValue value;
  value.date = QDate(1900, 1, 1).addDays(qint64(dWhole));
  value.lTicks = qint64((dDays - dWhole) * double(kTicksPerDay) + 0.5);
  return value;
}

TsqlDateValue TsqlDateValue::AddTicks(qint64 lAmount) const {
  const qint64 lTotal = lTicks + lAmount;
  const qint64 lDays =
      lTotal >= 0 ? lTotal / kTicksPerDay : -((-lTotal + kTicksPerDay - 1) / kTicksPerDay);
  TsqlDateValue moved;
  moved.date = date.addDays(lDays);
  moved.lTicks = lTotal - lDays * kTicksPerDay;
  return moved;
}

TsqlDateValue TsqlDateValue::RoundedFor(const tsql::SqlType& type) const {
  TsqlDateValue rounded = *this;
  switch (type.kind) {
    case Kind::Date:
      rounded.lTicks = 0;
      return rounded;
    case Kind::SmallDateTime:
      return AddTicks(RoundTicks(lTicks, 60 * kTicksPerSecond) - lTicks);
    case Kind::DateTime: {
      // datetime counts 1/300 s and shows it as .000, .003 or .007.
      const qint64 lSecond = lTicks / kTicksPerSecond * kTicksPerSecond;
      const qint64 l300ths = (Fraction() * 300 + kTicksPerSecond / 2) / kTicksPerSecond;
      const qint64 lShown = (l300ths * 10 + 1) / 3 * 10'000;
      return AddTicks(lSecond + lShown - lTicks);
    }
    case Kind::DateTime2:
    case Kind::Time: {
      static constexpr qint64 kUnit[] = {10'000'000, 1'000'000, 100'000, 10'000, 1000, 100, 10, 1};
      rounded = AddTicks(RoundTicks(lTicks, kUnit[qBound(0, type.iScale, 7)]) - lTicks);
      if (type.kind == Kind::Time) rounded.date = date;
      return rounded;
    }
    default:
      return rounded;
  }
}

QString TsqlDateValue::Stored(const tsql::SqlType& type) const {
  const QString sDate = QStringLiteral("%1-%2-%3")
                            .arg(date.year(), 4, 10, QLatin1Char('0'))
                            .arg(date.month(), 2, 10, QLatin1Char('0'))
                            .arg(date.day(), 2, 10, QLatin1Char('0'));
  if (type.kind == Kind::Date) return sDate;
  const QString sTime = QStringLiteral("%1:%2:%3")
                            .arg(Hour(), 2, 10, QLatin1Char('0'))
                            .arg(Minute(), 2, 10, QLatin1Char('0'))
                            .arg(Second(), 2, 10, QLatin1Char('0'));
  const bool bThree = type.kind == Kind::DateTime || type.kind == Kind::SmallDateTime;
  const QString sFraction = bThree
                                ? QStringLiteral("%1").arg(Millisecond(), 3, 10, QLatin1Char('0'))
                                : QStringLiteral("%1").arg(Fraction(), 7, 10, QLatin1Char('0'));
  const QString sClock = sTime + u'.' + sFraction;
  return type.kind == Kind::Time ? sClock : sDate + u' ' + sClock;
}

void TsqlDateValue::CheckRange(const tsql::SqlType& type, const QString& sSourceName) const {
  const int iYear = date.year();
  const bool bInRange = type.kind == Kind::DateTime ? iYear >= 1753 && iYear <= 9999
                        : type.kind == Kind::SmallDateTime
                            ? date >= QDate(1900, 1, 1) && date <= QDate(2079, 6, 6)
                            : iYear >= 1 && iYear <= 9999;
  if (bInRange) return;
  FailTsql(242, QStringLiteral("The conversion of a %1 data type to a %2 data type resulted in an "
                               "out-of-range value.")
                    .arg(sSourceName, type.Name()));
}

}  // namespace twk::embedded
