// SPDX-License-Identifier: MIT
#include "TsqlDateFunctions.h"

#include <QDate>
#include <algorithm>
#include <ctime>

#include "FunctionArguments.h"
#include "TsqlConvert.h"
#include "TsqlDatePart.h"
#include "TsqlDateText.h"
#include "TsqlDateValue.h"

namespace twk::embedded::TsqlDateFunctions {

namespace {

using Kind = tsql::SqlType::Kind;
using Part = TsqlDatePart::Part;
using tsql::SqlType;

// A number stands for a datetime, as in dateadd(month, n, 0).
TsqlDateValue DateArgument(sqlite3_value* pValue) {
  const int iStorage = sqlite3_value_type(pValue);
  if (iStorage == SQLITE_INTEGER || iStorage == SQLITE_FLOAT) {
    return TsqlDateValue::FromDays(sqlite3_value_double(pValue));
  }
  if (const std::optional<TsqlDateValue> stored = TsqlDateValue::FromStored(Utf8Argument(pValue))) {
    return *stored;
  }
  return TsqlDateValue::Argument(TextArgument(pValue));
}

// The clock read with the C library: QDateTime's own reading of local time
// cost more than the rest of a short definition.
void ResultNow(sqlite3_context* pContext, bool bUtc, const SqlType& type) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts{};
  if (bUtc ? !gmtime_r(&now.tv_sec, &parts) : !localtime_r(&now.tv_sec, &parts)) {
    return sqlite3_result_error(pContext, "TSQL 0: the clock cannot be read", -1);
  }
  TsqlDateValue value;
  value.date = QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
  const qint64 lSeconds = parts.tm_hour * 3600 + parts.tm_min * 60 + std::min(parts.tm_sec, 59);
  value.lTicks = (lSeconds * 1000 + now.tv_nsec / 1'000'000) * 10'000;
  ResultText(pContext, value.RoundedFor(type).Stored(type));
}

bool IsTimePart(Part part) {
  return part >= Part::Hour && part <= Part::Nanosecond;
}

void CheckPartForType(Part part, const QString& sPart, const SqlType& type, const char* sFunction) {
  const bool bRefused = (type.kind == Kind::Date && IsTimePart(part)) ||
                        (type.kind == Kind::Time && !IsTimePart(part));
  if (!bRefused) return;
  FailTsql(9810,
           QStringLiteral("The datepart %1 is not supported by date function %2 for data type %3.")
               .arg(sPart.trimmed().toLower(), QLatin1String(sFunction), type.Name()));
}

}  // namespace

void GetDate(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultNow(pContext, false, SqlType::Of(Kind::DateTime));
}

void GetUtcDate(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultNow(pContext, true, SqlType::Of(Kind::DateTime));
}

void SysDateTime(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultNow(pContext, false, SqlType::Of(Kind::DateTime2, 0, 0, 7));
}

void SysUtcDateTime(sqlite3_context* pContext, int, sqlite3_value**) {
  ResultNow(pContext, true, SqlType::Of(Kind::DateTime2, 0, 0, 7));
}

void DateAdd(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sPart = TextArgument(ppArguments[0]);
  const Part part = TsqlDatePart::Parse(sPart, "dateadd");
  const SqlType& type = TsqlConvert::TypeArgument(pContext, ppArguments, 3);
  const SqlType stored = type.IsDateTime() ? type : SqlType::Of(Kind::DateTime);
  CheckPartForType(part, sPart, stored, "dateadd");
  // The server cuts a fractional number of parts toward zero.
  const qint64 lAmount = qint64(sqlite3_value_double(ppArguments[1]));
  TsqlDateValue moved = TsqlDatePart::Add(DateArgument(ppArguments[2]), part, lAmount);
  if (stored.kind == Kind::Time) moved.date = QDate(1900, 1, 1);
  const TsqlDateValue rounded = moved.RoundedFor(stored);
  const int iYear = rounded.date.year();
  if (!rounded.date.isValid() || iYear < (stored.kind == Kind::DateTime ? 1753 : 1) ||
      iYear > 9999) {
    FailTsql(
        517,
        QStringLiteral("Adding a value to a '%1' column caused an overflow.").arg(stored.Name()));
  }
  ResultText(pContext, rounded.Stored(stored));
}

void DateDiffBig(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const Part part = TsqlDatePart::Parse(TextArgument(ppArguments[0]), "datediff_big");
  sqlite3_result_int64(pContext, TsqlDatePart::Boundaries(DateArgument(ppArguments[1]),
                                                          DateArgument(ppArguments[2]), part));
}

void DateDiff(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const Part part = TsqlDatePart::Parse(TextArgument(ppArguments[0]), "datediff");
  const qint64 lCount =
      TsqlDatePart::Boundaries(DateArgument(ppArguments[1]), DateArgument(ppArguments[2]), part);
  if (lCount < -2147483648LL || lCount > 2147483647LL) {
    FailTsql(535, QStringLiteral(
                      "The datediff function resulted in an overflow. The number of dateparts "
                      "separating two date/time instances is too large. Try to use datediff with a "
                      "less precise datepart."));
  }
  sqlite3_result_int64(pContext, lCount);
}

void DatePart(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const Part part = TsqlDatePart::Parse(TextArgument(ppArguments[0]), "datepart");
  sqlite3_result_int64(pContext, TsqlDatePart::Of(DateArgument(ppArguments[1]), part));
}

void DateName(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const Part part = TsqlDatePart::Parse(TextArgument(ppArguments[0]), "datename");
  const TsqlDateValue value = DateArgument(ppArguments[1]);
  if (part == Part::Month)
    return ResultText(pContext, TsqlDateText::MonthName(value.date.month(), false));
  if (part == Part::Weekday)
    return ResultText(pContext, TsqlDateText::DayName(value.date.dayOfWeek()));
  ResultText(pContext, QString::number(TsqlDatePart::Of(value, part)));
}

void EoMonth(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lMonths = iCount > 1 ? sqlite3_value_int64(ppArguments[1]) : 0;
  TsqlDateValue value = DateArgument(ppArguments[0]);
  value.date = value.date.addMonths(int(lMonths));
  if (!value.date.isValid() || value.date.year() > 9999) {
    FailTsql(517, QStringLiteral("Adding a value to a 'date' column caused an overflow."));
  }
  value.date = QDate(value.date.year(), value.date.month(), value.date.daysInMonth());
  ResultText(pContext, value.Stored(SqlType::Of(Kind::Date)));
}

void DateFromParts(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  TsqlDateValue value;
  value.date = QDate(sqlite3_value_int(ppArguments[0]), sqlite3_value_int(ppArguments[1]),
                     sqlite3_value_int(ppArguments[2]));
  if (!value.date.isValid() || value.date.year() < 1 || value.date.year() > 9999) {
    FailTsql(289, QStringLiteral(
                      "Cannot construct data type date, some of the arguments have values which "
                      "are not valid."));
  }
  ResultText(pContext, value.Stored(SqlType::Of(Kind::Date)));
}

// isdate(text): whether the text reads as a datetime, with its range.
void IsDate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_int(pContext, 0);
  const std::optional<TsqlDateValue> value =
      TsqlDateValue::Parse(TextArgument(ppArguments[0]).trimmed(), 0);
  const bool bDate = value && value->date.year() >= 1753 && value->date.year() <= 9999;
  sqlite3_result_int(pContext, bDate ? 1 : 0);
}

void DateTimeFromParts(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  int parts[7];
  for (int i = 0; i < 7; ++i) parts[i] = sqlite3_value_int(ppArguments[i]);
  TsqlDateValue value;
  value.date = QDate(parts[0], parts[1], parts[2]);
  value.lTicks = ((parts[3] * 3600LL + parts[4] * 60 + parts[5]) * 1000 + parts[6]) * 10'000;
  const bool bTime = parts[3] >= 0 && parts[3] < 24 && parts[4] >= 0 && parts[4] < 60 &&
                     parts[5] >= 0 && parts[5] < 60 && parts[6] >= 0 && parts[6] < 1000;
  const SqlType datetime = SqlType::Of(Kind::DateTime);
  // .999 rounds to the next day, which past 9999-12-31 no datetime holds.
  const TsqlDateValue rounded = value.RoundedFor(datetime);
  if (!bTime || !value.date.isValid() || value.date.year() < 1753 || rounded.date.year() > 9999) {
    FailTsql(289, QStringLiteral(
                      "Cannot construct data type datetime, some of the arguments have values "
                      "which are not valid."));
  }
  ResultText(pContext, rounded.Stored(datetime));
}

}  // namespace twk::embedded::TsqlDateFunctions
