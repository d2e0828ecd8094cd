// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <optional>

namespace twk::embedded {

struct TsqlDateValue;

/// FORMAT(value, pattern[, culture]) for en-US: .NET date patterns (the
/// standard d, D, f, F, g, G, m, y, t, T, s, o and custom ones of yyyy, MMMM,
/// dddd, HH, hh, mm, ss, fff, tt and quoted text) and number patterns
/// (TsqlNumberFormat). Another culture, or a pattern .NET refuses, gives NULL.
class TsqlFormat {
 public:
  /// tsql_format(value, 'source type', pattern[, culture]).
  static void Function(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  static std::optional<QString> FormatDate(const TsqlDateValue& value, const QString& sPattern);

 private:
  static QString CustomDate(const TsqlDateValue& value, const QString& sPattern);
  static QString DateToken(const TsqlDateValue& value, QChar letter, int iRun);
};

}  // namespace twk::embedded
