// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk {

/// Registers the T-SQL scalar functions that alert definitions commonly use:
/// getdate(), len(s) and charindex(needle, haystack[, start]). (isnull(a, b)
/// reaches SQLite as its own ifnull, see TsqlTranslator.)
void RegisterTsqlFunctions(sqlite3* pDb);

}  // namespace twk
