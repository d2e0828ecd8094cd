// SPDX-License-Identifier: MIT
#pragma once

#include "SqlType.h"
#include "TsqlValue.h"

namespace twk::embedded {

/// Conversions to the numeric types, with the server's rounding and its
/// errors: integers cut decimals and floats toward zero but round money and
/// datetime; decimal(p,s) and money round half away from zero.
class TsqlNumberConversion {
 public:
  /// value (of type from) as a value of the numeric type to.
  static TsqlValue Convert(const TsqlValue& value, const tsql::SqlType& from,
                           const tsql::SqlType& to);
  /// The type's name as the server's messages write it ("varchar", "numeric").
  static QString MessageName(const tsql::SqlType& type);
  /// Fails with 529 "Explicit conversion from data type ... is not allowed."
  [[noreturn]] static void FailNotAllowed(const tsql::SqlType& from, const tsql::SqlType& to);
};

}  // namespace twk::embedded
