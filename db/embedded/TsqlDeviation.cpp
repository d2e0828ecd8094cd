// SPDX-License-Identifier: MIT
#include "TsqlDeviation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "FunctionArguments.h"

namespace twk::embedded {

namespace {

// Welford's running mean and sum of squared differences, which a window can
// also take a value out of. Doubles only: SQLite's aggregate memory is
// aligned for them, not for a long double.
struct Sums {
  long long lCount = 0;
  double dMean = 0;
  double dSquares = 0;
};

enum Form : int { kSample = 1, kPopulation = 2, kDeviation = 4 };

Sums* SumsOf(sqlite3_context* pContext) {
  return static_cast<Sums*>(sqlite3_aggregate_context(pContext, sizeof(Sums)));
}

void Step(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  if (sqlite3_value_type(ppArguments[0]) == SQLITE_NULL) return;
  Sums* pSums = SumsOf(pContext);
  if (!pSums) return sqlite3_result_error_nomem(pContext);
  const double dValue = sqlite3_value_double(ppArguments[0]);
  ++pSums->lCount;
  const double dBefore = pSums->dMean;
  pSums->dMean += (dValue - dBefore) / double(pSums->lCount);
  pSums->dSquares += (dValue - dBefore) * (dValue - pSums->dMean);
}

void Inverse(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  if (sqlite3_value_type(ppArguments[0]) == SQLITE_NULL) return;
  Sums* pSums = SumsOf(pContext);
  if (!pSums) return sqlite3_result_error_nomem(pContext);
  if (pSums->lCount <= 1) {
    *pSums = Sums{};
    return;
  }
  const double dValue = sqlite3_value_double(ppArguments[0]);
  const double dBefore = pSums->dMean;
  pSums->dMean = (dBefore * double(pSums->lCount) - dValue) / double(pSums->lCount - 1);
  pSums->dSquares -= (dValue - dBefore) * (dValue - pSums->dMean);
  --pSums->lCount;
}

void Value(sqlite3_context* pContext) {
  const int iForm = int(reinterpret_cast<std::intptr_t>(sqlite3_user_data(pContext)));
  const Sums* pSums = static_cast<const Sums*>(sqlite3_aggregate_context(pContext, 0));
  const long long lCount = pSums ? pSums->lCount : 0;
  const long long lDivisor = (iForm & kSample) ? lCount - 1 : lCount;
  if (lCount == 0 || lDivisor <= 0) return sqlite3_result_null(pContext);
  // Taking values out can leave a hair below zero for equal values.
  const double dVariance = std::max(pSums->dSquares, 0.0) / double(lDivisor);
  sqlite3_result_double(pContext, (iForm & kDeviation) ? std::sqrt(dVariance) : dVariance);
}

}  // namespace

void TsqlDeviation::Register(sqlite3* pDb) {
  const struct {
    const char* sName;
    int iForm;
  } aggregates[] = {{"tsql_stdev", kSample | kDeviation},
                    {"tsql_stdevp", kPopulation | kDeviation},
                    {"tsql_var", kSample},
                    {"tsql_varp", kPopulation}};
  for (const auto& aggregate : aggregates) {
    CheckRegistration(pDb, sqlite3_create_window_function(
                               pDb, aggregate.sName, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                               reinterpret_cast<void*>(std::intptr_t(aggregate.iForm)), Step, Value,
                               Value, Inverse, nullptr));
  }
}

}  // namespace twk::embedded
