// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "SqlType.h"

namespace twk::embedded {

struct TsqlDateValue;

/// The styles of convert from a date type to text, as the server documents
/// them: 0-14 and 100-114 (two- and four-digit years), 20-25 and 120-131.
class TsqlDateStyles {
 public:
  /// The text for a value of this type; iStyle -1 is cast's form (style 0
  /// for datetime and smalldatetime, ISO for date, time and datetime2).
  /// Fails with 281 for a style the server refuses.
  static QString Write(const TsqlDateValue& value, const tsql::SqlType& type, int iStyle);

  /// A style's text built without allocating, for the styles whose text is
  /// ASCII (all but the Hijri 130 and 131).
  struct Ascii {
    char acText[48];
    int iLength = 0;
  };
  /// Write into pOut; false for a Hijri style, which only Write gives.
  static bool WriteAscii(const TsqlDateValue& value, const tsql::SqlType& type, int iStyle,
                         Ascii* pOut);
};

}  // namespace twk::embedded
