// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace twk::bench {

/// What RealisticDatabase handed out.
struct RealisticFile {
  QString sPath;
  /// Seconds it took to generate; negative when it came from the cache.
  double dGenerateSeconds = -1.0;
  /// From the cache: how long its generation took, or 0 when not known.
  double dEarlierSeconds = 0.0;
};

/// A database the size of a real association's: the embedded schema and
/// demo data as `tellwick-alerts --init --demo` makes them, plus 100,000
/// generated contacts, their event registrations and a 500,000-row activity
/// history, with the indexes a site has. The same contents every time for a
/// given day: dates are relative to the day it was made.
class RealisticDatabase {
 public:
  static constexpr int iContacts = 100000;
  static constexpr int iActivities = 500000;
  /// Part of the cache key: raise it whenever what is generated changes.
  static constexpr int iGeneratorVersion = 3;

  /// The cached file for today, generated first when missing. It lives in
  /// $TWK_BENCH_CACHE, else /dev/shm/twk-bench-cache (else the temporary
  /// folder); older versions there are removed. Throws TwkError or
  /// std::runtime_error when it cannot be made.
  static RealisticFile Cached();

  /// Generates the database at sPath (which must not exist).
  static void Generate(const QString& sPath);

  /// Record ids of generated contacts for timing: people spread over the
  /// table, the last one a company.
  static QStringList SampleIds(int iCount);
};

}  // namespace twk::bench
