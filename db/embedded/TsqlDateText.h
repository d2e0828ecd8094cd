// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "SqlType.h"

namespace twk::embedded {

struct TsqlDateValue;

/// Dates as the server reads and writes them in text (us_english,
/// dateformat mdy): the forms convert and cast read, and the styles of
/// convert to text (written by TsqlDateStyles).
class TsqlDateText {
 public:
  /// Reads 'yyyymmdd', 'mm/dd/yyyy' (or - and .), 'yyyy-mm-dd', 'Mon dd yyyy',
  /// 'dd Mon yyyy', 'Month dd, yyyy', each with an optional time
  /// 'hh:mi[:ss[.fff]][AM|PM]', or a time alone; dmy styles read the day first.
  static std::optional<TsqlDateValue> Read(QStringView sText, int iStyle, bool* pOutOfRange);
  /// English month names, 1-based: "January", or "Jan" when bShort.
  static QString MonthName(int iMonth, bool bShort);
  /// English day names, Qt's numbering (1 Monday .. 7 Sunday).
  static QString DayName(int iDayOfWeek);
  /// The year of a two-digit year (the server's cutoff 2049).
  static int FullYear(int iYear, int iDigits);
};

}  // namespace twk::embedded
