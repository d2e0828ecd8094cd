// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk::embedded {

struct TsqlDateValue;

/// The Hijri calendar of convert styles 130 and 131, by the Kuwaiti
/// algorithm the server uses.
class TsqlHijri {
 public:
  struct Date {
    int iYear, iMonth, iDay;
  };
  static Date FromGregorian(const TsqlDateValue& value);
  /// 'dd month yyyy hh:mi:ss:mmmAM' (130, Arabic month names) or
  /// 'dd/mm/yyyy hh:mi:ss:mmmAM' (131); sMillis is the fraction as written.
  static QString Write(const TsqlDateValue& value, bool bMonthNames, const QString& sMillis);
};

}  // namespace twk::embedded
