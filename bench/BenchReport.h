// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>

#include <QString>
#include <cstdio>
#include <cstdlib>

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

}  // namespace twk::bench
