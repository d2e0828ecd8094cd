// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk::embedded {

/// The aggregate tsql_string_agg(value, separator): the values that are not
/// NULL joined in the order they arrive, NULL when there are none.
class TsqlStringAgg {
 public:
  static void Register(sqlite3* pDb);
};

}  // namespace twk::embedded
