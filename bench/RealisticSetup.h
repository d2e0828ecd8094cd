// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <vector>

#include "BenchPlatform.h"
#include "RealisticDatabase.h"
#include "SqliteHandles.h"

namespace twk::bench {

/// What the benchmarks on the realistic database share: today's cached
/// database copied into a scratch folder (each run starts from the same
/// file, the evaluations write to it), raw connections to it, the engine's
/// shared connection, and the records to time. Ends the benchmark (exit 1)
/// when any of it cannot be had.
class RealisticSetup {
 public:
  explicit RealisticSetup(const char* sBench);

  const QString& File() const { return sFile_; }
  /// A new raw connection to the copy, with nothing of the engine's.
  SqliteHandle OpenRaw() const;
  /// (Re)connects the engine's shared connection to the copy, as MANAGER.
  void ConnectEngine(const QuietPlatform& quiet) const;
  /// Replaces the copy's definitions; ALERT_IDs in the order written.
  void WriteDefinitions(const std::vector<std::array<const char*, 3>>& definitions) const;

  /// The size of the database, and where it came from.
  void PrintDatabase(sqlite3* pDb, int iDefinitions) const;
  /// The record with the longest activity history.
  static QString BusiestRecord(sqlite3* pDb);
  /// Spread people, a company, and the busiest record.
  static QStringList TimedRecords(sqlite3* pDb, int iCount);

  [[noreturn]] void Fail(const QString& sWhy) const;

 private:
  const char* sBench_;
  RealisticFile cached_;
  QTemporaryDir scratch_;
  QString sFile_;
};

}  // namespace twk::bench
