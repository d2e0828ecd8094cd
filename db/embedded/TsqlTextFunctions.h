// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

/// The server's string functions that cut, pad and reshape text; lengths
/// count UTF-16 code units as nvarchar does.
namespace twk::embedded::TsqlTextFunctions {

void Left(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Right(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// A start below 1 shortens the piece as the server does.
void Substring(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// Trailing blanks are not counted.
void Len(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_datalength(x, 'type'): the bytes the server stores for the type.
void DataLength(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Stuff(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Replicate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Reverse(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Space(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// Blanks (U+0020) only, as the server trims.
void LTrim(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void RTrim(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_trim(s[, characters]).
void Trim(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// upper and lower map each character to one, as the server does.
void Upper(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Lower(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_translate(text, from, to): 9828 when from and to differ in length.
void Translate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);

}  // namespace twk::embedded::TsqlTextFunctions
