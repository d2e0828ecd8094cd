// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk::embedded::TsqlTextSearch {

/// tsql_like(value, pattern[, escape]): 1 or 0 under the collation TSQL.
void Like(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_patindex(pattern, text): 1-based position of the first match, 0 when none.
void PatIndex(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_charindex(find, text[, start]): 1-based position, case-insensitive.
void CharIndex(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_replace(text, find, with): every case-insensitive occurrence replaced.
void Replace(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);

}  // namespace twk::embedded::TsqlTextSearch
