// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <span>
#include <vector>

#include "SqlType.h"

namespace twk::tsql {

/// The built-in functions of T-SQL the engine knows: how many arguments
/// each takes, what each argument converts to, whether it aggregates, and
/// the type of its result, as the server documents them.
class Builtins {
 public:
  /// How the type of a function's result follows from its arguments.
  enum class Rule {
    Fixed,          // sResult
    IntOrBigint,    // int, bigint when a text argument is max (len, charindex)
    TextOfFirst,    // the first argument's text type: left, upper, ltrim ...
    LongText,       // varchar(8000) / nvarchar(4000) or max: replace, stuff, replicate
    Concat,         // the lengths added: concat, concat_ws
    FirstArgument,  // isnull, nullif, abs, min, max, lag ...
    Common,         // the highest precedence of the value arguments: coalesce, iif, choose
    DateArgument,   // dateadd: the date argument's type, datetime for a text
    WholeNumber,    // ceiling, floor, sign: decimal(p,0), int for the small integers
    Round,          // round: the argument's type, int for the small integers
    Power,          // power: decimal(38,s), float for text and bit
    Sum,
    Avg,
    StringAgg,
  };

  enum class Class { Scalar, Aggregate, Window };

  struct Function {
    const char* sName;
    int iMinArguments;
    int iMaxArguments;  // -1: no limit
    Class functionClass;
    Rule rule;
    const char* sResult;  // Rule::Fixed
    /// One letter per argument, the last repeated for the rest: t text,
    /// i integer, n number, d date or time (text read as datetime2), D the
    /// same with text read as datetime, p a date part keyword, a anything.
    const char* sParameters;
  };

  /// The function of that name (lower or any case), or null.
  static const Function* Find(QStringView sName);

  /// Every function it knows.
  static std::span<const Function> All();

  /// Throws 174 or 189 when the count does not fit the function.
  static void CheckArgumentCount(const Function& function, int iCount, int iLine);

  /// The argument class letter of the zero-based argument.
  static QChar ParameterClass(const Function& function, int iArgument);

  /// The type of the result for arguments of these types (after their
  /// conversions). Throws 8117 for an aggregate of a type it cannot add.
  static SqlType ResultType(const Function& function, const std::vector<SqlType>& arguments,
                            int iLine);

  /// The type of @@rowcount, @@identity, ... or nothing for an unknown name.
  static std::optional<SqlType> SystemVariableType(QStringView sName);

  /// Whether a word names a part of a date as dateadd, datediff, datepart
  /// and datename read it (year, yy, month, mm, dw ...).
  static bool IsDatePart(QStringView sWord);
};

}  // namespace twk::tsql
