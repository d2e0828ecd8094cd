// SPDX-License-Identifier: MIT
#include "FunctionEmitter.h"

#include <array>

#include "ExpressionEmitter.h"
#include "TypeConversion.h"

namespace twk::embedded {

using tsql::Expr;

namespace {

// Functions whose first argument is a date part written as a bare word.
constexpr std::array<const char16_t*, 6> kDatePartFunctions{
    u"dateadd", u"datediff", u"datediff_big", u"datepart", u"datename", u"datetrunc"};

// Window functions SQLite has under the same name and meaning.
constexpr std::array<const char16_t*, 10> kWindowFunctions{
    u"row_number", u"rank",        u"dense_rank", u"ntile",        u"lag",
    u"lead",       u"first_value", u"last_value", u"percent_rank", u"cume_dist"};

// The server's statistical aggregates, which the engine registers.
constexpr std::array<const char16_t*, 4> kDeviations{u"stdev", u"stdevp", u"var", u"varp"};

// Built-ins the binder knows whose answer the engine has no ground for: the
// server's users and checksums, its object numbers, its sound codes.
constexpr std::array<const char16_t*, 12> kNotRun{
    u"app_name",    u"binary_checksum", u"checksum",        u"current_user",
    u"db_id",       u"difference",      u"error_procedure", u"ident_current",
    u"object_name", u"session_user",    u"soundex",         u"user_name"};

template <size_t N>
bool IsOneOf(const QString& sName, const std::array<const char16_t*, N>& names) {
  for (const char16_t* sCandidate : names) {
    if (sName == QStringView(sCandidate)) return true;
  }
  return false;
}

}  // namespace

void FunctionEmitter::Emit(const Expr& call) {
  const QString& sName = call.sName;
  if (Aggregate(call)) {
    if (call.bOver) Over(call);
    return;
  }
  if (IsOneOf(sName, kWindowFunctions)) {
    Call(sName, call);
    Over(call);
  } else if (sName == u"isnull") {
    IsNull(call);
  } else if (sName == u"coalesce") {
    Call(u"coalesce", call);
  } else if (sName == u"nullif") {
    sql_.Append(u"nullif(");
    expressions_.EmitCollated(*call.args[0]);
    sql_.Append(u", ");
    expressions_.Emit(*call.args[1]);
    sql_.Append(u")");
  } else if (sName == u"iif") {
    Iif(call);
  } else if (sName == u"choose") {
    Choose(call);
  } else {
    Engine(call);
  }
}

// True when the call is an aggregate, written.
bool FunctionEmitter::Aggregate(const Expr& call) {
  const QString& sName = call.sName;
  const QStringView sDistinct = call.bDistinct ? u"DISTINCT " : u"";
  if (sName == u"count" || sName == u"count_big") {
    sql_.Append(u"count(").Append(sDistinct);
    if (call.bStarArgument) {
      sql_.Append(u"*");
    } else {
      expressions_.EmitCollated(*call.args[0]);
    }
    sql_.Append(u")");
  } else if (sName == u"min" || sName == u"max") {
    sql_.Append(sName).Append(u"(").Append(sDistinct);
    expressions_.EmitCollated(*call.args[0]);
    sql_.Append(u")");
  } else if (sName == u"sum") {
    // The sum of ints is an int, checked against its 32 bits.
    const bool bChecked = call.type.kind == tsql::SqlType::Kind::Int && !call.bOver;
    sql_.Append(bChecked ? u"tsql_int(sum(" : u"sum(").Append(sDistinct);
    expressions_.Emit(*call.args[0]);
    sql_.Append(bChecked ? u"))" : u")");
  } else if (sName == u"avg") {
    Average(call);
  } else if (IsOneOf(sName, kDeviations)) {
    sql_.Append(u"tsql_").Append(sName).Append(u"(").Append(sDistinct);
    expressions_.Emit(*call.args[0]);
    sql_.Append(u")");
  } else if (sName == u"string_agg") {
    sql_.Append(u"tsql_string_agg(");
    expressions_.EmitList(call.args);
    sql_.Append(u")");
  } else {
    return false;
  }
  return true;
}

// The server averages integers as integers: the sum divided by the count,
// the fraction dropped.
void FunctionEmitter::Average(const Expr& call) {
  const QStringView sDistinct = call.bDistinct ? u"DISTINCT " : u"";
  if (!call.args[0]->type.IsInteger() || call.bOver) {
    sql_.Append(u"avg(").Append(sDistinct);
    expressions_.Emit(*call.args[0]);
    sql_.Append(u")");
    return;
  }
  sql_.Append(u"(sum(").Append(sDistinct);
  expressions_.Emit(*call.args[0]);
  sql_.Append(u") / count(").Append(sDistinct);
  expressions_.Emit(*call.args[0]);
  sql_.Append(u"))");
}

void FunctionEmitter::Over(const Expr& call) {
  sql_.Append(u" OVER (");
  if (!call.partitionBy.empty()) {
    sql_.Append(u"PARTITION BY ");
    for (size_t i = 0; i < call.partitionBy.size(); ++i) {
      if (i > 0) sql_.Append(u", ");
      expressions_.EmitCollated(*call.partitionBy[i]);
    }
  }
  if (!call.overOrderBy.empty()) {
    sql_.Append(call.partitionBy.empty() ? u"ORDER BY " : u" ORDER BY ");
    for (size_t i = 0; i < call.overOrderBy.size(); ++i) {
      if (i > 0) sql_.Append(u", ");
      expressions_.EmitCollated(*call.overOrderBy[i].expr);
      if (call.overOrderBy[i].bDescending) sql_.Append(u" DESC");
    }
  }
  sql_.Append(u")");
}

// isnull gives its first argument's type: the replacement converts to it,
// cut to its length as an assignment cuts.
void FunctionEmitter::IsNull(const Expr& call) {
  const Expr& replacement = *call.args[1];
  sql_.Append(u"coalesce(");
  expressions_.Emit(*call.args[0]);
  sql_.Append(u", ");
  if (call.type.kind == tsql::SqlType::Kind::Null ||
      TypeConversion::KeepsValue(replacement.type, call.type)) {
    expressions_.Emit(replacement);
  } else {
    sql_.Append(u"tsql_convert(");
    expressions_.Emit(replacement);
    sql_.Append(u", ").InlineString(replacement.type.Name());
    sql_.Append(u", ").InlineString(call.type.Name()).Append(u")");
  }
  sql_.Append(u")");
}

void FunctionEmitter::Iif(const Expr& call) {
  sql_.Append(u"CASE WHEN ");
  expressions_.Emit(*call.args[0]);
  sql_.Append(u" THEN ");
  expressions_.Emit(*call.args[1]);
  sql_.Append(u" ELSE ");
  expressions_.Emit(*call.args[2]);
  sql_.Append(u" END");
}

void FunctionEmitter::Choose(const Expr& call) {
  sql_.Append(u"CASE ");
  expressions_.Emit(*call.args[0]);
  for (size_t i = 1; i < call.args.size(); ++i) {
    sql_.Append(u" WHEN ").Append(QString::number(i)).Append(u" THEN ");
    expressions_.Emit(*call.args[i]);
  }
  sql_.Append(u" END");
}

// The engine's own function. A date part goes in as its name in lower case
// and the type of a value as its name, written into the text since they
// decide what the function does; year(d) is datepart(year, d).
void FunctionEmitter::Engine(const Expr& call) {
  if (IsOneOf(call.sName, kNotRun)) RefuseConstruct(tsql::Refusals::Construct::Function, call.span);
  QString sName = call.sName == u"current_timestamp" ? QStringLiteral("getdate") : call.sName;
  QString sPart;
  size_t iFirst = 0;
  if (sName == u"year" || sName == u"month" || sName == u"day") {
    std::swap(sPart, sName);
    sName = QStringLiteral("datepart");
  } else if (IsOneOf(sName, kDatePartFunctions) && !call.args.empty()) {
    const Expr& part = *call.args[0];
    sPart = (part.kind == Expr::Kind::Column ? part.name.Last() : part.sValue).toLower();
    iFirst = 1;
  }
  sql_.Append(u"tsql_").Append(sName).Append(u"(");
  if (!sPart.isEmpty()) {
    sql_.InlineString(sPart);
    if (call.args.size() > iFirst) sql_.Append(u", ");
  }
  for (size_t i = iFirst; i < call.args.size(); ++i) {
    if (i > iFirst) sql_.Append(u", ");
    expressions_.Emit(*call.args[i]);
    // datalength(x), format(x, ...) and dateadd(part, n, d) read x and d by
    // their type: its name follows them.
    const bool bTyped = (i == 0 && (sName == u"datalength" || sName == u"format")) ||
                        (i == 2 && sName == u"dateadd");
    if (bTyped) sql_.Append(u", ").InlineString(call.args[i]->type.Name());
  }
  sql_.Append(u")");
}

void FunctionEmitter::Call(QStringView sName, const Expr& call) {
  sql_.Append(sName).Append(u"(");
  expressions_.EmitList(call.args);
  sql_.Append(u")");
}

}  // namespace twk::embedded
