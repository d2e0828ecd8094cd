// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QLatin1StringView>
#include <QString>

namespace twk::embedded {

/// The signature SQLite calls a scalar function with.
using ScalarFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

/// A function's argument as text (UTF-16 from SQLite's own conversion).
QString TextArgument(sqlite3_value* pValue);

/// A text argument's UTF-8 bytes as SQLite holds them, not copied: for
/// readers of ASCII forms (stored dates, part names) on every row.
QLatin1StringView Utf8Argument(sqlite3_value* pValue);

/// Whether any of the arguments is NULL: most built-ins then answer NULL.
bool AnyNull(int iCount, sqlite3_value** ppArguments);

/// Whether the argument is stored as INTEGER.
bool IsInteger(sqlite3_value* pValue);

void ResultText(sqlite3_context* pContext, const QString& sText);

/// Sets the result to a T-SQL error as the executor reads it back:
/// "TSQL <number>: <message>".
void ResultTsqlError(sqlite3_context* pContext, long lNumber, const QString& sMessage);

/// Throws TwkError with the server's number and message, source "TSQL";
/// the registration wrapper turns it into the function's error result.
[[noreturn]] void FailTsql(long lNumber, const QString& sMessage);

/// Adds a scalar function whose body may throw TwkError. Text arguments are
/// read as UTF-8; iArguments -1 takes any number.
void AddFunction(sqlite3* pDb, const char* sName, int iArguments, ScalarFunction pFunction,
                 bool bDeterministic = true);

/// Checks a registration call; throws TwkError with SQLite's message.
void CheckRegistration(sqlite3* pDb, int iResult);

}  // namespace twk::embedded
