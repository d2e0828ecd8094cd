// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace twk::bench {

/// Ends a benchmark whose figures would not mean what they say (a failing
/// definition, a message shown, a wrong row count); run-all marks it FAILED.
[[noreturn]] inline void FailBench(const char* sBench, const QString& sWhy) {
  std::fprintf(stderr, "%s: %s\n", sBench, qUtf8Printable(sWhy));
  std::exit(1);
}

/// The process's peak resident memory so far, in MiB.
inline double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

/// A figure beside its target, worded the same way by every benchmark:
/// "1.23x (target at most 1.15x: not met)". The figure is judged as it is
/// printed, rounded to iDecimals, so that the words never contradict the
/// digits beside them.
inline QByteArray Judged(double dFigure, double dAtMost, int iDecimals, const char* sUnit = "") {
  const double dScale = std::pow(10.0, iDecimals);
  const bool bMet = std::round(dFigure * dScale) <= std::round(dAtMost * dScale);
  return QByteArray::number(dFigure, 'f', iDecimals) + sUnit + " (target at most " +
         QByteArray::number(dAtMost, 'f', iDecimals) + sUnit + (bMet ? ": met)" : ": not met)");
}

/// The same for a target a figure must stay under ("under 50 MB").
inline QByteArray JudgedUnder(double dFigure, double dUnder, int iDecimals, const char* sUnit) {
  const double dScale = std::pow(10.0, iDecimals);
  const bool bMet = std::round(dFigure * dScale) < std::round(dUnder * dScale);
  return QByteArray::number(dFigure, 'f', iDecimals) + sUnit + " (target under " +
         QByteArray::number(dUnder, 'f', 0) + sUnit + (bMet ? ": met)" : ": not met)");
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

inline double Mean(const std::vector<double>& values) {
  if (values.empty()) return 0.0;
  return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

}  // namespace twk::bench
