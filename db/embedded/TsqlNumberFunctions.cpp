// SPDX-License-Identifier: MIT
#include "TsqlNumberFunctions.h"

#include <cmath>
#include <limits>
#include <random>

#include "FunctionArguments.h"
#include "TsqlNumberText.h"

namespace twk::embedded::TsqlNumberFunctions {

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint64>::min();

// Text that reaches arithmetic is read as SQLite reads numbers.
bool IsWhole(sqlite3_value* pValue) {
  return sqlite3_value_numeric_type(pValue) == SQLITE_INTEGER;
}

[[noreturn]] void FailOverflow() {
  FailTsql(8115,
           QStringLiteral("Arithmetic overflow error converting expression to data type bigint."));
}

[[noreturn]] void FailInvalidOperation() {
  FailTsql(3623, QStringLiteral("An invalid floating point operation occurred."));
}

void CheckDivisor(sqlite3_value* pDivisor) {
  if (sqlite3_value_double(pDivisor) == 0)
    FailTsql(8134, QStringLiteral("Divide by zero error encountered."));
}

void ResultReal(sqlite3_context* pContext, double dValue) {
  if (!std::isfinite(dValue)) FailInvalidOperation();
  sqlite3_result_double(pContext, dValue);
}

// A function of a float: NULL gives NULL, a value outside its domain
// (acos(2), log(0)) the server's invalid floating point operation.
void ResultFloat(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments,
                 double (*pApply)(double)) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  ResultReal(pContext, pApply(sqlite3_value_double(ppArguments[0])));
}

// degrees and radians keep an integer's type, cut toward zero.
void ResultAngle(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments,
                 double dFactor) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const double dResult = sqlite3_value_double(ppArguments[0]) * dFactor;
  if (!IsWhole(ppArguments[0])) return ResultReal(pContext, dResult);
  if (!(std::fabs(dResult) < 9.2233720368547758e18)) FailOverflow();
  sqlite3_result_int64(pContext, qint64(std::trunc(dResult)));
}

}  // namespace

void Acos(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::acos(d); });
}

void Asin(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::asin(d); });
}

void Atan(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::atan(d); });
}

void Cos(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::cos(d); });
}

void Sin(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::sin(d); });
}

void Tan(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::tan(d); });
}

void Exp(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return std::exp(d); });
}

void Log10(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments,
              [](double d) { return d > 0 ? std::log10(d) : std::nan(""); });
}

void Square(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultFloat(pContext, iCount, ppArguments, [](double d) { return d * d; });
}

// log(x[, base]): the natural logarithm, or to a base other than 1.
void Log(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const double dValue = sqlite3_value_double(ppArguments[0]);
  double dResult = dValue > 0 ? std::log(dValue) : std::nan("");
  if (iCount > 1) {
    const double dBase = sqlite3_value_double(ppArguments[1]);
    dResult = dBase > 0 && dBase != 1 ? dResult / std::log(dBase) : std::nan("");
  }
  ResultReal(pContext, dResult);
}

void Pi(sqlite3_context* pContext, int, sqlite3_value**) {
  sqlite3_result_double(pContext, 3.14159265358979323846);
}

void Degrees(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultAngle(pContext, iCount, ppArguments, 180 / 3.14159265358979323846);
}

void Radians(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  ResultAngle(pContext, iCount, ppArguments, 3.14159265358979323846 / 180);
}

// rand(seed) starts the connection's sequence again, as the server's does;
// the numbers are the engine's own.
void Rand(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  if (iCount > 0 && sqlite3_value_type(ppArguments[0]) != SQLITE_NULL) {
    generator.seed(std::uint64_t(sqlite3_value_int64(ppArguments[0])));
  }
  sqlite3_result_double(pContext, std::uniform_real_distribution<double>(0, 1)(generator));
}

void Divide(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  CheckDivisor(ppArguments[1]);
  if (!IsWhole(ppArguments[0]) || !IsWhole(ppArguments[1])) {
    return ResultReal(pContext,
                      sqlite3_value_double(ppArguments[0]) / sqlite3_value_double(ppArguments[1]));
  }
  const qint64 lA = sqlite3_value_int64(ppArguments[0]);
  const qint64 lB = sqlite3_value_int64(ppArguments[1]);
  if (lA == kLowest && lB == -1) FailOverflow();
  sqlite3_result_int64(pContext, lA / lB);  // C++ truncates toward zero, as the server does
}

void Modulo(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  CheckDivisor(ppArguments[1]);
  if (!IsWhole(ppArguments[0]) || !IsWhole(ppArguments[1])) {
    return ResultReal(pContext, std::fmod(sqlite3_value_double(ppArguments[0]),
                                          sqlite3_value_double(ppArguments[1])));
  }
  const qint64 lB = sqlite3_value_int64(ppArguments[1]);
  sqlite3_result_int64(pContext, lB == -1 ? 0 : sqlite3_value_int64(ppArguments[0]) % lB);
}

void Round(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const int iScale = sqlite3_value_int(ppArguments[1]);
  const bool bCut = iCount > 2 && sqlite3_value_int(ppArguments[2]) != 0;
  const double dValue = sqlite3_value_double(ppArguments[0]);
  const double dResult =
      bCut ? TsqlNumberText::Truncate(dValue, iScale) : TsqlNumberText::Round(dValue, iScale);
  if (!IsWhole(ppArguments[0])) return ResultReal(pContext, dResult);
  if (iScale >= 0) return sqlite3_result_int64(pContext, sqlite3_value_int64(ppArguments[0]));
  if (std::fabs(dResult) >= 9.2233720368547758e18) FailOverflow();
  sqlite3_result_int64(pContext, qint64(dResult));
}

void Ceiling(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  if (IsWhole(ppArguments[0]))
    return sqlite3_result_int64(pContext, sqlite3_value_int64(ppArguments[0]));
  ResultReal(pContext, std::ceil(sqlite3_value_double(ppArguments[0])) + 0.0);
}

void Floor(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  if (IsWhole(ppArguments[0]))
    return sqlite3_result_int64(pContext, sqlite3_value_int64(ppArguments[0]));
  ResultReal(pContext, std::floor(sqlite3_value_double(ppArguments[0])));
}

// The result keeps the type of the base: power(2, -1) is 0, power(2.0, -1) 0.5.
void Power(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const double dResult =
      std::pow(sqlite3_value_double(ppArguments[0]), sqlite3_value_double(ppArguments[1]));
  if (std::isnan(dResult)) FailInvalidOperation();
  if (!IsWhole(ppArguments[0])) return ResultReal(pContext, dResult);
  if (!(std::fabs(dResult) < 9.2233720368547758e18)) FailOverflow();
  sqlite3_result_int64(pContext, qint64(std::trunc(dResult)));
}

void Sign(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const double dValue = sqlite3_value_double(ppArguments[0]);
  const int iSign = (dValue > 0) - (dValue < 0);
  if (IsWhole(ppArguments[0])) return sqlite3_result_int(pContext, iSign);
  sqlite3_result_double(pContext, iSign);
}

void Sqrt(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const double dValue = sqlite3_value_double(ppArguments[0]);
  if (dValue < 0) FailInvalidOperation();
  sqlite3_result_double(pContext, std::sqrt(dValue));
}

void Abs(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  if (!IsWhole(ppArguments[0]))
    return ResultReal(pContext, std::fabs(sqlite3_value_double(ppArguments[0])));
  const qint64 lValue = sqlite3_value_int64(ppArguments[0]);
  if (lValue == kLowest) FailOverflow();
  sqlite3_result_int64(pContext, lValue < 0 ? -lValue : lValue);
}

void CheckInt(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  sqlite3_value* pValue = ppArguments[0];
  if (sqlite3_value_type(pValue) == SQLITE_INTEGER) {
    const qint64 lValue = sqlite3_value_int64(pValue);
    if (lValue < std::numeric_limits<qint32>::min() ||
        lValue > std::numeric_limits<qint32>::max()) {
      FailTsql(8115,
               QStringLiteral("Arithmetic overflow error converting expression to data type int."));
    }
  }
  sqlite3_result_value(pContext, pValue);
}

}  // namespace twk::embedded::TsqlNumberFunctions
