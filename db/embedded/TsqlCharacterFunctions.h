// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

/// The server's functions between characters and codes, joins, quoting,
/// number text and the checks on text that goes into a column.
namespace twk::embedded::TsqlCharacterFunctions {

/// tsql_ascii and tsql_char use code page 1252, as varchar does.
void Ascii(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Char(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void NChar(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Unicode(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// NULL arguments count as empty text.
void Concat(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// NULL arguments are left out with their separator.
void ConcatWs(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void QuoteName(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_str(f[, length[, decimals]]): right-aligned, "*" when it cannot fit.
void Str(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void IsNumeric(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_check_length(value, n, 'table', 'column'): the value (blanks past n
/// cut), or error 2628 when more than blanks would be cut.
void CheckLength(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);

}  // namespace twk::embedded::TsqlCharacterFunctions
