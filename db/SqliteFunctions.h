// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk {

/// Gives a connection what translated T-SQL needs: the scalar functions
/// that alert definitions commonly use (getdate(), len(s) and
/// charindex(needle, haystack[, start]); isnull(a, b) reaches SQLite as its
/// own ifnull, see TsqlTranslator), the conversions, and the connection's
/// private in-memory database twk_temp, where #tables live.
void RegisterTsqlFunctions(sqlite3* pDb);

}  // namespace twk
