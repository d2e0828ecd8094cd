// SPDX-License-Identifier: MIT
#include "Builtins.h"

#include <algorithm>
#include <array>

#include "TsqlError.h"
#include "TypeRules.h"

namespace twk::tsql {

namespace {

using Kind = SqlType::Kind;
using Rule = Builtins::Rule;
using Class = Builtins::Class;
constexpr Class S = Class::Scalar;
constexpr Class A = Class::Aggregate;
constexpr Class W = Class::Window;

constexpr Builtins::Function kFunctions[] = {
    {"abs", 1, 1, S, Rule::FirstArgument, "", "n"},
    {"acos", 1, 1, S, Rule::Fixed, "float", "n"},
    {"app_name", 0, 0, S, Rule::Fixed, "nvarchar(128)", ""},
    {"ascii", 1, 1, S, Rule::Fixed, "int", "t"},
    {"asin", 1, 1, S, Rule::Fixed, "float", "n"},
    {"atan", 1, 1, S, Rule::Fixed, "float", "n"},
    {"avg", 1, 1, A, Rule::Avg, "", "a"},
    {"binary_checksum", 1, -1, S, Rule::Fixed, "int", "a"},
    {"ceiling", 1, 1, S, Rule::WholeNumber, "", "n"},
    {"char", 1, 1, S, Rule::Fixed, "char(1)", "i"},
    {"charindex", 2, 3, S, Rule::IntOrBigint, "", "tti"},
    {"checksum", 1, -1, S, Rule::Fixed, "int", "a"},
    {"choose", 2, -1, S, Rule::Common, "", "ia"},
    {"coalesce", 2, -1, S, Rule::Common, "", "a"},
    {"concat", 2, 254, S, Rule::Concat, "", "t"},
    {"concat_ws", 3, 254, S, Rule::Concat, "", "t"},
    {"cos", 1, 1, S, Rule::Fixed, "float", "n"},
    {"count", 1, 1, A, Rule::Fixed, "int", "a"},
    {"count_big", 1, 1, A, Rule::Fixed, "bigint", "a"},
    {"cume_dist", 0, 0, W, Rule::Fixed, "float", ""},
    {"current_timestamp", 0, 0, S, Rule::Fixed, "datetime", ""},
    {"current_user", 0, 0, S, Rule::Fixed, "nvarchar(128)", ""},
    {"datalength", 1, 1, S, Rule::IntOrBigint, "", "a"},
    {"dateadd", 3, 3, S, Rule::DateArgument, "", "piD"},
    {"datediff", 3, 3, S, Rule::Fixed, "int", "pdd"},
    {"datediff_big", 3, 3, S, Rule::Fixed, "bigint", "pdd"},
    {"datefromparts", 3, 3, S, Rule::Fixed, "date", "i"},
    {"datename", 2, 2, S, Rule::Fixed, "nvarchar(30)", "pd"},
    {"datepart", 2, 2, S, Rule::Fixed, "int", "pd"},
    {"datetimefromparts", 7, 7, S, Rule::Fixed, "datetime", "i"},
    {"day", 1, 1, S, Rule::Fixed, "int", "d"},
    {"db_id", 0, 1, S, Rule::Fixed, "smallint", "t"},
    {"db_name", 0, 1, S, Rule::Fixed, "nvarchar(128)", "i"},
    {"degrees", 1, 1, S, Rule::FirstArgument, "", "n"},
    {"dense_rank", 0, 0, W, Rule::Fixed, "bigint", ""},
    {"difference", 2, 2, S, Rule::Fixed, "int", "t"},
    {"eomonth", 1, 2, S, Rule::Fixed, "date", "di"},
    {"error_line", 0, 0, S, Rule::Fixed, "int", ""},
    {"error_message", 0, 0, S, Rule::Fixed, "nvarchar(4000)", ""},
    {"error_number", 0, 0, S, Rule::Fixed, "int", ""},
    {"error_procedure", 0, 0, S, Rule::Fixed, "nvarchar(128)", ""},
    {"error_severity", 0, 0, S, Rule::Fixed, "int", ""},
    {"error_state", 0, 0, S, Rule::Fixed, "int", ""},
    {"exp", 1, 1, S, Rule::Fixed, "float", "n"},
    {"first_value", 1, 1, W, Rule::FirstArgument, "", "a"},
    {"floor", 1, 1, S, Rule::WholeNumber, "", "n"},
    {"format", 2, 3, S, Rule::Fixed, "nvarchar(4000)", "att"},
    {"getdate", 0, 0, S, Rule::Fixed, "datetime", ""},
    {"getutcdate", 0, 0, S, Rule::Fixed, "datetime", ""},
    {"host_name", 0, 0, S, Rule::Fixed, "nvarchar(128)", ""},
    {"ident_current", 1, 1, S, Rule::Fixed, "decimal(38,0)", "t"},
    {"iif", 3, 3, S, Rule::Common, "aa", "a"},
    {"isdate", 1, 1, S, Rule::Fixed, "int", "t"},
    {"isnull", 2, 2, S, Rule::FirstArgument, "", "a"},
    {"isnumeric", 1, 1, S, Rule::Fixed, "int", "a"},
    {"lag", 1, 3, W, Rule::FirstArgument, "", "aia"},
    {"last_value", 1, 1, W, Rule::FirstArgument, "", "a"},
    {"lead", 1, 3, W, Rule::FirstArgument, "", "aia"},
    {"left", 2, 2, S, Rule::TextOfFirst, "", "ti"},
    {"len", 1, 1, S, Rule::IntOrBigint, "", "t"},
    {"log", 1, 2, S, Rule::Fixed, "float", "n"},
    {"log10", 1, 1, S, Rule::Fixed, "float", "n"},
    {"lower", 1, 1, S, Rule::TextOfFirst, "", "t"},
    {"ltrim", 1, 2, S, Rule::TextOfFirst, "", "t"},
    {"max", 1, 1, A, Rule::FirstArgument, "", "a"},
    {"min", 1, 1, A, Rule::FirstArgument, "", "a"},
    {"month", 1, 1, S, Rule::Fixed, "int", "d"},
    {"nchar", 1, 1, S, Rule::Fixed, "nchar(1)", "i"},
    {"newid", 0, 0, S, Rule::Fixed, "uniqueidentifier", ""},
    {"ntile", 1, 1, W, Rule::Fixed, "bigint", "i"},
    {"nullif", 2, 2, S, Rule::FirstArgument, "", "a"},
    {"object_id", 1, 2, S, Rule::Fixed, "int", "t"},
    {"object_name", 1, 2, S, Rule::Fixed, "nvarchar(128)", "i"},
    {"patindex", 2, 2, S, Rule::IntOrBigint, "", "t"},
    {"percent_rank", 0, 0, W, Rule::Fixed, "float", ""},
    {"pi", 0, 0, S, Rule::Fixed, "float", ""},
    {"power", 2, 2, S, Rule::Power, "", "n"},
    {"quotename", 1, 2, S, Rule::Fixed, "nvarchar(258)", "t"},
    {"radians", 1, 1, S, Rule::FirstArgument, "", "n"},
    {"rand", 0, 1, S, Rule::Fixed, "float", "i"},
    {"rank", 0, 0, W, Rule::Fixed, "bigint", ""},
    {"replace", 3, 3, S, Rule::LongText, "", "t"},
    {"replicate", 2, 2, S, Rule::LongText, "", "ti"},
    {"reverse", 1, 1, S, Rule::TextOfFirst, "", "t"},
    {"right", 2, 2, S, Rule::TextOfFirst, "", "ti"},
    {"round", 2, 3, S, Rule::Round, "", "nii"},
    {"row_number", 0, 0, W, Rule::Fixed, "bigint", ""},
    {"rtrim", 1, 2, S, Rule::TextOfFirst, "", "t"},
    {"scope_identity", 0, 0, S, Rule::Fixed, "decimal(38,0)", ""},
    {"sign", 1, 1, S, Rule::WholeNumber, "", "n"},
    {"sin", 1, 1, S, Rule::Fixed, "float", "n"},
    {"soundex", 1, 1, S, Rule::Fixed, "varchar(4)", "t"},
    {"space", 1, 1, S, Rule::Fixed, "varchar(8000)", "i"},
    {"sqrt", 1, 1, S, Rule::Fixed, "float", "n"},
    {"square", 1, 1, S, Rule::Fixed, "float", "n"},
    {"str", 1, 3, S, Rule::Fixed, "varchar(10)", "ni"},
    {"string_agg", 2, 2, A, Rule::StringAgg, "", "at"},
    {"stuff", 4, 4, S, Rule::LongText, "", "tiit"},
    {"substring", 3, 3, S, Rule::TextOfFirst, "", "tii"},
    {"sum", 1, 1, A, Rule::Sum, "", "a"},
    {"suser_sname", 0, 1, S, Rule::Fixed, "nvarchar(128)", "a"},
    {"sysdatetime", 0, 0, S, Rule::Fixed, "datetime2(7)", ""},
    {"sysutcdatetime", 0, 0, S, Rule::Fixed, "datetime2(7)", ""},
    {"stdev", 1, 1, A, Rule::Fixed, "float", "n"},
    {"stdevp", 1, 1, A, Rule::Fixed, "float", "n"},
    {"system_user", 0, 0, S, Rule::Fixed, "nvarchar(128)", ""},
    {"session_user", 0, 0, S, Rule::Fixed, "nvarchar(128)", ""},
    {"tan", 1, 1, S, Rule::Fixed, "float", "n"},
    {"translate", 3, 3, S, Rule::LongText, "", "t"},
    {"trim", 1, 2, S, Rule::TextOfFirst, "", "t"},
    {"unicode", 1, 1, S, Rule::Fixed, "int", "t"},
    {"upper", 1, 1, S, Rule::TextOfFirst, "", "t"},
    {"user_name", 0, 1, S, Rule::Fixed, "nvarchar(128)", "i"},
    {"var", 1, 1, A, Rule::Fixed, "float", "n"},
    {"varp", 1, 1, A, Rule::Fixed, "float", "n"},
    {"year", 1, 1, S, Rule::Fixed, "int", "d"},
};

SqlType Parsed(const char* sName) {
  return *SqlType::Parse(QString::fromLatin1(sName));
}

bool AnyMax(const std::vector<SqlType>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [](const SqlType& t) { return t.IsText() && t.iLength == SqlType::Max; });
}

bool AnyUnicode(const std::vector<SqlType>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [](const SqlType& t) { return t.IsUnicode(); });
}

// The variable-length text a value becomes: char turns into varchar.
SqlType AsVaryingText(const SqlType& type) {
  if (type.IsText())
    return SqlType::Of(type.IsUnicode() ? Kind::NVarChar : Kind::VarChar, type.iLength);
  return SqlType::Of(Kind::VarChar, TypeRules::TextLength(type));
}

[[noreturn]] void InvalidAggregate(const SqlType& type, const char* sFunction, int iLine) {
  throw TsqlError(8117,
                  QStringLiteral("Operand data type ") + TypeRules::MessageName(type) +
                      QStringLiteral(" is invalid for ") + QLatin1String(sFunction) +
                      QStringLiteral(" operator."),
                  iLine);
}

SqlType SumOrAvg(const Builtins::Function& function, const SqlType& type, int iLine) {
  const bool bAvg = function.rule == Rule::Avg;
  switch (type.kind) {
    case Kind::Null:
    case Kind::TinyInt:
    case Kind::SmallInt:
    case Kind::Int:
      return SqlType::Of(Kind::Int);
    case Kind::BigInt:
      return type;
    case Kind::SmallMoney:
    case Kind::Money:
      return SqlType::Of(Kind::Money);
    case Kind::Decimal:
      return SqlType::Of(Kind::Decimal, 0, 38, bAvg ? std::max(type.iScale, 6) : type.iScale);
    case Kind::Real:
    case Kind::Float:
      return SqlType::Of(Kind::Float);
    default:
      InvalidAggregate(type, function.sName, iLine);
  }
}

// ceiling, floor, sign, round and power keep the kind of a number, with the
// small integers widened to int and bit and text read as float.
SqlType NumberFamily(Rule rule, const SqlType& type) {
  switch (type.kind) {
    case Kind::TinyInt:
    case Kind::SmallInt:
    case Kind::Int:
      return SqlType::Of(Kind::Int);
    case Kind::BigInt:
    case Kind::Real:
    case Kind::Float:
      return SqlType::Of(type.kind == Kind::BigInt ? Kind::BigInt : Kind::Float);
    case Kind::SmallMoney:
    case Kind::Money:
      return SqlType::Of(Kind::Money);
    case Kind::Decimal:
      if (rule == Rule::WholeNumber) return SqlType::Of(Kind::Decimal, 0, type.iPrecision, 0);
      if (rule == Rule::Power) return SqlType::Of(Kind::Decimal, 0, 38, type.iScale);
      return type;
    default:
      return SqlType::Of(Kind::Float);
  }
}

SqlType ConcatResult(const Builtins::Function& function, const std::vector<SqlType>& arguments) {
  const bool bUnicode = AnyUnicode(arguments);
  const Kind kind = bUnicode ? Kind::NVarChar : Kind::VarChar;
  if (AnyMax(arguments)) return SqlType::Of(kind, SqlType::Max);
  int iLength = 0;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const int iPart = TypeRules::TextLength(arguments[i]);
    // concat_ws puts its separator between every two values.
    iLength += function.rule == Rule::Concat &&
                       QLatin1String(function.sName) == QLatin1String("concat_ws") && i == 0
                   ? iPart * std::max<int>(0, static_cast<int>(arguments.size()) - 2)
                   : iPart;
  }
  return SqlType::Of(kind, std::clamp(iLength, 1, bUnicode ? 4000 : 8000));
}

SqlType CommonOf(const std::vector<SqlType>& arguments, size_t iFirst) {
  SqlType common;
  for (size_t i = iFirst; i < arguments.size(); ++i) common = SqlType::Common(common, arguments[i]);
  return common.kind == Kind::Null ? SqlType::Of(Kind::Int) : common;
}

}  // namespace

const Builtins::Function* Builtins::Find(QStringView sName) {
  const QString sLower = sName.toString().toLower();
  for (const Function& function : kFunctions) {
    if (sLower == QLatin1String(function.sName)) return &function;
  }
  return nullptr;
}

std::span<const Builtins::Function> Builtins::All() {
  return kFunctions;
}

void Builtins::CheckArgumentCount(const Function& function, int iCount, int iLine) {
  const int iMin = function.iMinArguments;
  const int iMax = function.iMaxArguments;
  if (iCount >= iMin && (iMax < 0 || iCount <= iMax)) return;
  const QString sName = QLatin1String(function.sName);
  if (iMin == iMax || iMax < 0) {
    throw TsqlError(174,
                    QStringLiteral("The ") + sName + QStringLiteral(" function requires ") +
                        QString::number(iMin) + QStringLiteral(" argument(s)."),
                    iLine);
  }
  throw TsqlError(189,
                  QStringLiteral("The ") + sName + QStringLiteral(" function requires ") +
                      QString::number(iMin) + QStringLiteral(" to ") + QString::number(iMax) +
                      QStringLiteral(" arguments."),
                  iLine);
}

QChar Builtins::ParameterClass(const Function& function, int iArgument) {
  const QLatin1String sParameters(function.sParameters);
  if (sParameters.isEmpty()) return u'a';
  return sParameters.at(std::min<qsizetype>(iArgument, sParameters.size() - 1));
}

SqlType Builtins::ResultType(const Function& function, const std::vector<SqlType>& arguments,
                             int iLine) {
  const SqlType first = arguments.empty() ? SqlType() : arguments.front();
  switch (function.rule) {
    case Rule::Fixed:
      return Parsed(function.sResult);
    case Rule::IntOrBigint:
      return SqlType::Of(AnyMax(arguments) ? Kind::BigInt : Kind::Int);
    case Rule::TextOfFirst:
      return AsVaryingText(first);
    case Rule::LongText: {
      const Kind kind = AnyUnicode(arguments) ? Kind::NVarChar : Kind::VarChar;
      if (first.IsText() && first.iLength == SqlType::Max) return SqlType::Of(kind, SqlType::Max);
      return SqlType::Of(kind, kind == Kind::NVarChar ? 4000 : 8000);
    }
    case Rule::Concat:
      return ConcatResult(function, arguments);
    case Rule::FirstArgument:
      if (first.kind == Kind::Null && arguments.size() > 1) return arguments[1];
      return first.kind == Kind::Null ? SqlType::Of(Kind::Int) : first;
    case Rule::Common:
      // iif and choose lead with their condition or index; every argument of
      // coalesce is a value.
      return CommonOf(arguments, qstrcmp(function.sName, "coalesce") == 0 ? 0 : 1);
    case Rule::DateArgument: {
      const SqlType date = arguments.size() > 2 ? arguments[2] : SqlType();
      return date.IsDateTime() ? date : SqlType::Of(Kind::DateTime);
    }
    case Rule::WholeNumber:
    case Rule::Round:
    case Rule::Power:
      return NumberFamily(function.rule, first);
    case Rule::Sum:
    case Rule::Avg:
      return SumOrAvg(function, first, iLine);
    case Rule::StringAgg:
      if (first.IsText()) {
        const Kind kind = first.IsUnicode() ? Kind::NVarChar : Kind::VarChar;
        if (first.iLength == SqlType::Max) return SqlType::Of(kind, SqlType::Max);
        return SqlType::Of(kind, kind == Kind::NVarChar ? 4000 : 8000);
      }
      return SqlType::Of(Kind::NVarChar, 4000);
  }
  return first;
}

std::optional<SqlType> Builtins::SystemVariableType(QStringView sName) {
  static const std::pair<const char*, const char*> kVariables[] = {
      {"@@rowcount", "int"},
      {"@@error", "int"},
      {"@@identity", "decimal(38,0)"},
      {"@@spid", "smallint"},
      {"@@trancount", "int"},
      {"@@fetch_status", "int"},
      {"@@version", "nvarchar(300)"},
      {"@@servername", "nvarchar(128)"},
      {"@@servicename", "nvarchar(128)"},
      {"@@datefirst", "tinyint"},
      {"@@language", "nvarchar(128)"},
      {"@@procid", "int"},
      {"@@nestlevel", "int"},
      {"@@langid", "smallint"},
      {"@@max_precision", "tinyint"},
      {"@@textsize", "int"},
  };
  const QString sLower = sName.toString().toLower();
  for (const auto& [sVariable, sType] : kVariables) {
    if (sLower == QLatin1String(sVariable)) return Parsed(sType);
  }
  return std::nullopt;
}

bool Builtins::IsDatePart(QStringView sWord) {
  static const char* const kParts[] = {
      "year",     "yy",          "yyyy",      "quarter",     "qq",      "q",          "month",
      "mm",       "m",           "dayofyear", "dy",          "y",       "day",        "dd",
      "d",        "week",        "wk",        "ww",          "weekday", "dw",         "w",
      "hour",     "hh",          "minute",    "mi",          "n",       "second",     "ss",
      "s",        "millisecond", "ms",        "microsecond", "mcs",     "nanosecond", "ns",
      "iso_week", "isowk",       "isoww",     "tzoffset",    "tz"};
  const QString sLower = sWord.toString().toLower();
  return std::any_of(std::begin(kParts), std::end(kParts),
                     [&](const char* sPart) { return sLower == QLatin1String(sPart); });
}

}  // namespace twk::tsql
