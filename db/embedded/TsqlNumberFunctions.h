// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

/// The arithmetic the server does differently from SQLite: integers divide
/// as integers, a zero divisor is error 8134, rounding goes half away from
/// zero. An INTEGER argument gives an INTEGER where the server keeps the
/// integer type, a REAL gives a REAL.
namespace twk::embedded::TsqlNumberFunctions {

void Divide(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Modulo(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_round(x, n[, f]): f other than 0 cuts instead of rounding.
void Round(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Ceiling(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Floor(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Power(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Sign(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Sqrt(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Abs(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// acos ... tan, exp, log, log10, square: floats, the server's error 3623
/// outside their domain; degrees and radians keep an integer an integer.
void Acos(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Asin(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Atan(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Cos(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Sin(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Tan(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Exp(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Log(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Log10(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Square(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Pi(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Degrees(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Radians(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void Rand(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_int(x): x, or the server's overflow error when an int's sum,
/// difference or product left the 32 bits of int.
void CheckInt(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);

}  // namespace twk::embedded::TsqlNumberFunctions
