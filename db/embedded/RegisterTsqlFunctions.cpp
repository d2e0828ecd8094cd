// SPDX-License-Identifier: MIT
#include "RegisterTsqlFunctions.h"

#include <array>

#include "FunctionArguments.h"
#include "TsqlCharacterFunctions.h"
#include "TsqlCollation.h"
#include "TsqlConvert.h"
#include "TsqlDateFunctions.h"
#include "TsqlDeviation.h"
#include "TsqlFormat.h"
#include "TsqlNumberFunctions.h"
#include "TsqlStringAgg.h"
#include "TsqlSystemFunctions.h"
#include "TsqlTextFunctions.h"
#include "TsqlTextSearch.h"

namespace twk::embedded {

namespace {

struct FunctionEntry {
  const char* sName;
  int iArguments;  // -1: any number
  ScalarFunction pFunction;
  bool bDeterministic = true;
};

// Every name starts with tsql_ so that none can meet one of SQLite's own.
const auto kFunctions = std::to_array<FunctionEntry>({
    {"tsql_like", 2, TsqlTextSearch::Like},
    {"tsql_like", 3, TsqlTextSearch::Like},
    {"tsql_patindex", 2, TsqlTextSearch::PatIndex},
    {"tsql_charindex", 2, TsqlTextSearch::CharIndex},
    {"tsql_charindex", 3, TsqlTextSearch::CharIndex},
    {"tsql_replace", 3, TsqlTextSearch::Replace},
    {"tsql_convert", 3, TsqlConvert::Function},
    {"tsql_convert", 4, TsqlConvert::Function},
    {"tsql_try_convert", 3, TsqlConvert::TryFunction},
    {"tsql_try_convert", 4, TsqlConvert::TryFunction},
    {"tsql_div", 2, TsqlNumberFunctions::Divide},
    {"tsql_mod", 2, TsqlNumberFunctions::Modulo},
    {"tsql_round", 2, TsqlNumberFunctions::Round},
    {"tsql_round", 3, TsqlNumberFunctions::Round},
    {"tsql_ceiling", 1, TsqlNumberFunctions::Ceiling},
    {"tsql_floor", 1, TsqlNumberFunctions::Floor},
    {"tsql_power", 2, TsqlNumberFunctions::Power},
    {"tsql_sign", 1, TsqlNumberFunctions::Sign},
    {"tsql_sqrt", 1, TsqlNumberFunctions::Sqrt},
    {"tsql_abs", 1, TsqlNumberFunctions::Abs},
    {"tsql_acos", 1, TsqlNumberFunctions::Acos},
    {"tsql_asin", 1, TsqlNumberFunctions::Asin},
    {"tsql_atan", 1, TsqlNumberFunctions::Atan},
    {"tsql_cos", 1, TsqlNumberFunctions::Cos},
    {"tsql_sin", 1, TsqlNumberFunctions::Sin},
    {"tsql_tan", 1, TsqlNumberFunctions::Tan},
    {"tsql_exp", 1, TsqlNumberFunctions::Exp},
    {"tsql_log", 1, TsqlNumberFunctions::Log},
    {"tsql_log", 2, TsqlNumberFunctions::Log},
    {"tsql_log10", 1, TsqlNumberFunctions::Log10},
    {"tsql_square", 1, TsqlNumberFunctions::Square},
    {"tsql_pi", 0, TsqlNumberFunctions::Pi},
    {"tsql_degrees", 1, TsqlNumberFunctions::Degrees},
    {"tsql_radians", 1, TsqlNumberFunctions::Radians},
    // Once a statement, as the server's rand() is: one value for every row.
    {"tsql_rand", 0, TsqlNumberFunctions::Rand},
    {"tsql_rand", 1, TsqlNumberFunctions::Rand},
    {"tsql_int", 1, TsqlNumberFunctions::CheckInt},
    // Marked deterministic so that SQLite reads the clock once each time a
    // statement runs, not once a row: the server's getdate() is a constant
    // of the statement too.
    {"tsql_getdate", 0, TsqlDateFunctions::GetDate},
    {"tsql_getutcdate", 0, TsqlDateFunctions::GetUtcDate},
    {"tsql_sysdatetime", 0, TsqlDateFunctions::SysDateTime},
    {"tsql_sysutcdatetime", 0, TsqlDateFunctions::SysUtcDateTime},
    {"tsql_dateadd", 4, TsqlDateFunctions::DateAdd},
    {"tsql_datediff", 3, TsqlDateFunctions::DateDiff},
    {"tsql_datediff_big", 3, TsqlDateFunctions::DateDiffBig},
    {"tsql_datepart", 2, TsqlDateFunctions::DatePart},
    {"tsql_datename", 2, TsqlDateFunctions::DateName},
    {"tsql_eomonth", 1, TsqlDateFunctions::EoMonth},
    {"tsql_eomonth", 2, TsqlDateFunctions::EoMonth},
    {"tsql_datefromparts", 3, TsqlDateFunctions::DateFromParts},
    {"tsql_datetimefromparts", 7, TsqlDateFunctions::DateTimeFromParts},
    {"tsql_isdate", 1, TsqlDateFunctions::IsDate},
    {"tsql_left", 2, TsqlTextFunctions::Left},
    {"tsql_right", 2, TsqlTextFunctions::Right},
    {"tsql_substring", 3, TsqlTextFunctions::Substring},
    {"tsql_len", 1, TsqlTextFunctions::Len},
    {"tsql_datalength", 2, TsqlTextFunctions::DataLength},
    {"tsql_stuff", 4, TsqlTextFunctions::Stuff},
    {"tsql_replicate", 2, TsqlTextFunctions::Replicate},
    {"tsql_reverse", 1, TsqlTextFunctions::Reverse},
    {"tsql_space", 1, TsqlTextFunctions::Space},
    {"tsql_ltrim", 1, TsqlTextFunctions::LTrim},
    {"tsql_rtrim", 1, TsqlTextFunctions::RTrim},
    {"tsql_trim", 1, TsqlTextFunctions::Trim},
    {"tsql_trim", 2, TsqlTextFunctions::Trim},
    {"tsql_upper", 1, TsqlTextFunctions::Upper},
    {"tsql_lower", 1, TsqlTextFunctions::Lower},
    {"tsql_translate", 3, TsqlTextFunctions::Translate},
    {"tsql_ascii", 1, TsqlCharacterFunctions::Ascii},
    {"tsql_char", 1, TsqlCharacterFunctions::Char},
    {"tsql_nchar", 1, TsqlCharacterFunctions::NChar},
    {"tsql_unicode", 1, TsqlCharacterFunctions::Unicode},
    {"tsql_concat", -1, TsqlCharacterFunctions::Concat},
    {"tsql_concat_ws", -1, TsqlCharacterFunctions::ConcatWs},
    {"tsql_quotename", 1, TsqlCharacterFunctions::QuoteName},
    {"tsql_quotename", 2, TsqlCharacterFunctions::QuoteName},
    {"tsql_str", 1, TsqlCharacterFunctions::Str},
    {"tsql_str", 2, TsqlCharacterFunctions::Str},
    {"tsql_str", 3, TsqlCharacterFunctions::Str},
    {"tsql_isnumeric", 1, TsqlCharacterFunctions::IsNumeric},
    {"tsql_check_length", 4, TsqlCharacterFunctions::CheckLength},
    {"tsql_format", 3, TsqlFormat::Function},
    {"tsql_format", 4, TsqlFormat::Function},
    {"tsql_object_id", 1, TsqlSystemFunctions::ObjectId, false},
    {"tsql_object_id", 2, TsqlSystemFunctions::ObjectId, false},
    {"tsql_db_name", 0, TsqlSystemFunctions::DbName},
    {"tsql_suser_sname", 0, TsqlSystemFunctions::SuserSname},
    {"tsql_system_user", 0, TsqlSystemFunctions::SuserSname},
    {"tsql_host_name", 0, TsqlSystemFunctions::HostName},
    {"tsql_newid", 0, TsqlSystemFunctions::NewId, false},
    // Never taken for a constant to work out once: it fails where it is reached.
    {"tsql_fail", 2, TsqlSystemFunctions::Fail, false},
});

int RegisterOnOpen(sqlite3* pDb, char** /*pError*/, const sqlite3_api_routines* /*pApi*/) {
  RegisterTsqlFunctions(pDb);
  return SQLITE_OK;
}

// Every connection the process opens knows the engine's collation, so that
// the embedded database's tables, whose text columns name it, can be read
// and written from any handle: a tool's, a test's, a benchmark's.
const bool bRegisteredOnOpen = [] {
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(&RegisterOnOpen));
  return true;
}();

}  // namespace

void RegisterTsqlFunctions(sqlite3* pDb) {
  TsqlCollation::Register(pDb);
  TsqlStringAgg::Register(pDb);
  TsqlDeviation::Register(pDb);
  for (const FunctionEntry& entry : kFunctions) {
    AddFunction(pDb, entry.sName, entry.iArguments, entry.pFunction, entry.bDeterministic);
  }
}

}  // namespace twk::embedded
