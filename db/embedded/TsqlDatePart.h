// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk::embedded {

struct TsqlDateValue;

/// The date parts of dateadd, datediff, datepart and datename, read from
/// every name and abbreviation the server documents.
class TsqlDatePart {
 public:
  enum class Part {
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Week,
    Weekday,
    Hour,
    Minute,
    Second,
    Millisecond,
    Microsecond,
    Nanosecond,
    IsoWeek
  };

  /// Fails with 155 "'x' is not a recognized <function> option." for a
  /// name that is no part.
  static Part Parse(const QString& sName, const char* sFunction);
  /// datepart's answer (weeks start on Sunday, weekday 1 is Sunday).
  static qint64 Of(const TsqlDateValue& value, Part part);
  /// The number of boundaries of the part crossed going from a to b.
  static qint64 Boundaries(const TsqlDateValue& a, const TsqlDateValue& b, Part part);
  /// The value moved by iAmount parts; a month past its end keeps the last day.
  static TsqlDateValue Add(const TsqlDateValue& value, Part part, qint64 lAmount);
};

}  // namespace twk::embedded
