// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <optional>

#include "SqlType.h"

namespace twk::embedded {

/// A date and time of day to 100 ns, read from the engine's stored text or
/// from the forms the server reads (us_english, dateformat mdy), and written
/// back as each date type is stored.
struct TsqlDateValue {
  static constexpr qint64 kTicksPerSecond = 10'000'000;
  static constexpr qint64 kTicksPerDay = 86'400 * kTicksPerSecond;

  QDate date{1900, 1, 1};  // the server's day zero when only a time is given
  qint64 lTicks = 0;       // since midnight

  /// The stored forms only ('YYYY-MM-DD[ HH:MM[:SS[.fffffff]]]', 'T' allowed,
  /// 'HH:MM:SS[.fffffff]'), quickly; empty for anything else.
  static std::optional<TsqlDateValue> FromStored(QStringView sText);
  /// The same from bytes: any that are not ASCII make it no stored form.
  static std::optional<TsqlDateValue> FromStored(QLatin1StringView sText);
  /// Any form the server reads for a conversion with this style; empty
  /// when the text is no date. bOutOfRange tells a date that reads but does
  /// not exist ('2014-02-30'), which the server words differently.
  static std::optional<TsqlDateValue> Parse(QStringView sText, int iStyle,
                                            bool* pOutOfRange = nullptr);
  /// Parse for a function's date argument: fails with the server's 241.
  static TsqlDateValue Argument(QStringView sText);
  /// A number as datetime reads it: days since 1900-01-01, with the
  /// fraction a part of the day.
  static TsqlDateValue FromDays(double dDays);

  /// Rounded as the type keeps it (datetime to 1/300 s, smalldatetime to the
  /// minute, datetime2 and time to their digits, date to the day).
  TsqlDateValue RoundedFor(const tsql::SqlType& type) const;
  /// The stored text for the type (see the engine's value representation).
  QString Stored(const tsql::SqlType& type) const;
  /// Fails with 242 when the type cannot hold the date (datetime before 1753).
  void CheckRange(const tsql::SqlType& type, const QString& sSourceName) const;

  int Hour() const { return int(lTicks / (3600 * kTicksPerSecond)); }
  int Minute() const { return int(lTicks / (60 * kTicksPerSecond) % 60); }
  int Second() const { return int(lTicks / kTicksPerSecond % 60); }
  int Millisecond() const { return int(lTicks / 10'000 % 1000); }
  /// The fraction of the second to 7 digits.
  qint64 Fraction() const { return lTicks % kTicksPerSecond; }
  /// Moves by whole ticks across midnights.
  TsqlDateValue AddTicks(qint64 lAmount) const;
};

}  // namespace twk::embedded
