// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

/// The date functions on dates stored as the engine stores them; a date
/// argument may also be any text the server reads as a date.
namespace twk::embedded::TsqlDateFunctions {

/// tsql_getdate(): the local time as datetime; tsql_getutcdate() in UTC.
void GetDate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void GetUtcDate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_sysdatetime(): the local time as datetime2(7).
void SysDateTime(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_sysutcdatetime(): the same in UTC.
void SysUtcDateTime(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_dateadd(part, n, date, 'type of date'): stored as that type.
void DateAdd(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_datediff(part, a, b): the part's boundaries crossed from a to b.
void DateDiff(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_datediff_big(part, a, b): the same as a bigint, without the int's overflow.
void DateDiffBig(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void DatePart(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_datename(part, d): English month and day names, other parts as text.
void DateName(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_eomonth(d[, months]): the last day of the month, as a date.
void EoMonth(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void DateFromParts(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
void IsDate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
/// tsql_datetimefromparts(y, m, d, h, mi, s, ms): a datetime, 289 for parts that make none.
void DateTimeFromParts(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);

}  // namespace twk::embedded::TsqlDateFunctions
