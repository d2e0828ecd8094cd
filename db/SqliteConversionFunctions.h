// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk {

/// Registers the T-SQL conversions and date arithmetic that the translator
/// hands over as functions: twk_plus(a, b) for "+", twk_cast(x, 'type'),
/// convert('type', x[, style]), datediff('part', a, b), dateadd('part', n, d)
/// and datepart('part', d). Failures read as the server's.
void RegisterConversionFunctions(sqlite3* pDb);

}  // namespace twk
