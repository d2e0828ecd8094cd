// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk::embedded {

/// The aggregates tsql_stdev, tsql_stdevp, tsql_var and tsql_varp over the
/// values that are not NULL, as floats: NULL without values, and for the
/// sample's forms with one value only; usable with OVER too.
class TsqlDeviation {
 public:
  static void Register(sqlite3* pDb);
};

}  // namespace twk::embedded
