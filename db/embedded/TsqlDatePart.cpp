// SPDX-License-Identifier: MIT
#include "TsqlDatePart.h"

#include <array>
#include <cmath>

#include "FunctionArguments.h"
#include "TsqlDateValue.h"

namespace twk::embedded {

namespace {

using Part = TsqlDatePart::Part;

struct PartName {
  const char* sName;
  Part part;
};

constexpr auto kNames = std::to_array<PartName>({
    {"year", Part::Year},       {"yy", Part::Year},
    {"yyyy", Part::Year},       {"quarter", Part::Quarter},
    {"qq", Part::Quarter},      {"q", Part::Quarter},
    {"month", Part::Month},     {"mm", Part::Month},
    {"m", Part::Month},         {"dayofyear", Part::DayOfYear},
    {"dy", Part::DayOfYear},    {"y", Part::DayOfYear},
    {"day", Part::Day},         {"dd", Part::Day},
    {"d", Part::Day},           {"week", Part::Week},
    {"wk", Part::Week},         {"ww", Part::Week},
    {"weekday", Part::Weekday}, {"dw", Part::Weekday},
    {"w", Part::Weekday},       {"hour", Part::Hour},
    {"hh", Part::Hour},         {"minute", Part::Minute},
    {"mi", Part::Minute},       {"n", Part::Minute},
    {"second", Part::Second},   {"ss", Part::Second},
    {"s", Part::Second},        {"millisecond", Part::Millisecond},
    {"ms", Part::Millisecond},  {"microsecond", Part::Microsecond},
    {"mcs", Part::Microsecond}, {"nanosecond", Part::Nanosecond},
    {"ns", Part::Nanosecond},   {"iso_week", Part::IsoWeek},
    {"isowk", Part::IsoWeek},   {"isoww", Part::IsoWeek},
});

constexpr qint64 kTicksPerSecond = TsqlDateValue::kTicksPerSecond;

// Ticks of the unit for the parts below a day.
qint64 UnitTicks(Part part) {
  switch (part) {
    case Part::Hour:
      return 3600 * kTicksPerSecond;
    case Part::Minute:
      return 60 * kTicksPerSecond;
    case Part::Second:
      return kTicksPerSecond;
    case Part::Millisecond:
      return 10'000;
    case Part::Microsecond:
      return 10;
    default:
      return 1;
  }
}

qint64 FloorDivide(qint64 a, qint64 b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1900-01-01, a Monday; weeks counted from the Sunday before it.
qint64 DayNumber(const TsqlDateValue& value) {
  return QDate(1900, 1, 1).daysTo(value.date);
}

}  // namespace

Part TsqlDatePart::Parse(const QString& sName, const char* sFunction) {
  const QString sLower = sName.trimmed().toLower();
  for (const PartName& name : kNames) {
    if (sLower == QLatin1String(name.sName)) return name.part;
  }
  FailTsql(
      155,
      QStringLiteral("'%1' is not a recognized %2 option.").arg(sName, QLatin1String(sFunction)));
}

qint64 TsqlDatePart::Of(const TsqlDateValue& value, Part part) {
  const QDate& date = value.date;
  switch (part) {
    case Part::Year:
      return date.year();
    case Part::Quarter:
      return (date.month() - 1) / 3 + 1;
    case Part::Month:
      return date.month();
    case Part::DayOfYear:
      return date.dayOfYear();
    case Part::Day:
      return date.day();
    case Part::Week:
      return (date.dayOfYear() + QDate(date.year(), 1, 1).dayOfWeek() % 7 - 1) / 7 + 1;
    case Part::Weekday:
      return date.dayOfWeek() % 7 + 1;
    case Part::Hour:
      return value.Hour();
    case Part::Minute:
      return value.Minute();
    case Part::Second:
      return value.Second();
    case Part::Millisecond:
      return value.Millisecond();
    case Part::Microsecond:
      return value.Fraction() / 10;
    case Part::Nanosecond:
      return value.Fraction() * 100;
    case Part::IsoWeek:
      return date.weekNumber();
  }
  return 0;
}

qint64 TsqlDatePart::Boundaries(const TsqlDateValue& a, const TsqlDateValue& b, Part part) {
  const int iYears = b.date.year() - a.date.year();
  switch (part) {
    case Part::Year:
      return iYears;
    case Part::Quarter:
      return iYears * 4 + (b.date.month() - 1) / 3 - (a.date.month() - 1) / 3;
    case Part::Month:
      return iYears * 12 + b.date.month() - a.date.month();
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday:
      return a.date.daysTo(b.date);
    case Part::Week:
    case Part::IsoWeek:
      return FloorDivide(DayNumber(b) + 1, 7) - FloorDivide(DayNumber(a) + 1, 7);
    default:
      break;
  }
  const qint64 lUnit = UnitTicks(part);
  const qint64 lDays = a.date.daysTo(b.date);
  // Whole days first so that nanoseconds over long spans stay in range.
  const qint64 lPerDay = TsqlDateValue::kTicksPerDay / lUnit;
  return lDays * lPerDay * (part == Part::Nanosecond ? 100 : 1) +
         (FloorDivide(b.lTicks, lUnit) - FloorDivide(a.lTicks, lUnit)) *
             (part == Part::Nanosecond ? 100 : 1);
}

TsqlDateValue TsqlDatePart::Add(const TsqlDateValue& value, Part part, qint64 lAmount) {
  TsqlDateValue moved = value;
  switch (part) {
    case Part::Year:
      moved.date = value.date.addYears(int(lAmount));
      return moved;
    case Part::Quarter:
      moved.date = value.date.addMonths(int(lAmount * 3));
      return moved;
    case Part::Month:
      moved.date = value.date.addMonths(int(lAmount));
      return moved;
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday:
      moved.date = value.date.addDays(lAmount);
      return moved;
    case Part::Week:
    case Part::IsoWeek:
      moved.date = value.date.addDays(lAmount * 7);
      return moved;
    case Part::Nanosecond:
      return value.AddTicks(lAmount / 100);
    default:
      return value.AddTicks(lAmount * UnitTicks(part));
  }
}

}  // namespace twk::embedded
