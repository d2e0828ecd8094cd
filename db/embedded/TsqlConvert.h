// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include "SqlType.h"
#include "TsqlValue.h"

namespace twk::embedded {

/// CAST and CONVERT between the server's types, on values as the engine
/// stores them; failures are the server's errors.
class TsqlConvert {
 public:
  /// value of type from as type to; iStyle -1 when none is given.
  static TsqlValue Convert(const TsqlValue& value, const tsql::SqlType& from,
                           const tsql::SqlType& to, int iStyle);
  /// Whether TRY_CONVERT answers NULL for this error instead of raising it:
  /// conversions that are not allowed at all and bad styles still fail.
  static bool TryAnswersNull(long lNumber);

  /// tsql_convert(value, 'source type', 'target type'[, style]).
  static void Function(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  /// tsql_try_convert(...): as tsql_convert, NULL where the conversion fails.
  static void TryFunction(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  /// A type argument, read once per statement.
  static const tsql::SqlType& TypeArgument(sqlite3_context* pContext, sqlite3_value** ppArguments,
                                           int iIndex);
};

}  // namespace twk::embedded
