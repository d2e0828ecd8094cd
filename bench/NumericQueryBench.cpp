// SPDX-License-Identifier: MIT
// NumericQuery through the helpers against the same query prepared and
// stepped directly on the SQLite C API.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "BenchReport.h"
#include "BenchScratch.h"
#include "ConsolePlatform.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "modSubroutines.h"

namespace {

constexpr int iCalls = 10000;
constexpr int iRounds = 5;
const char* const sQuery = "select count(*) from System_Params where ParameterName like 'QUOR.%'";

double HelpersMilliseconds() {
  QElapsedTimer timer;
  timer.start();
  qint64 lSum = 0;
  for (int i = 0; i < iCalls; ++i)
    lSum += twk::modSubroutines::NumericQuery(QString::fromLatin1(sQuery));
  const double dElapsed = double(timer.nsecsElapsed()) / 1e6;
  if (lSum < 0) std::puts("impossible");
  return dElapsed;
}

double RawMilliseconds(sqlite3* pDatabase) {
  QElapsedTimer timer;
  timer.start();
  qint64 lSum = 0;
  for (int i = 0; i < iCalls; ++i) {
    sqlite3_stmt* pStatement = nullptr;
    sqlite3_prepare_v2(pDatabase, sQuery, -1, &pStatement, nullptr);
    if (sqlite3_step(pStatement) == SQLITE_ROW) lSum += sqlite3_column_int(pStatement, 0);
    sqlite3_finalize(pStatement);
  }
  const double dElapsed = double(timer.nsecsElapsed()) / 1e6;
  if (lSum < 0) std::puts("impossible");
  return dElapsed;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("bench.db"));
  twk::EmbeddedDatabase::Create(sFile, true);

  twk::ConsolePlatform console;
  twk::ScopedPlatform installation(console);
  twk::ConnectionSettings settings;
  settings.sDataSource = sFile;
  twk::ModuleState::ForThisThread().SharedConnection().SetSettings(settings);
  twk::ModuleState::ForThisThread().SharedConnection().Open();

  sqlite3* pDatabase = nullptr;
  sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr);

  // Best of several rounds, alternating, so that neither side profits from
  // a quiet moment of the machine.
  double dHelpers = 1e300;
  double dRaw = 1e300;
  for (int iRound = 0; iRound < iRounds; ++iRound) {
    dHelpers = std::min(dHelpers, HelpersMilliseconds());
    dRaw = std::min(dRaw, RawMilliseconds(pDatabase));
  }
  sqlite3_close_v2(pDatabase);

  std::printf("NumericQuery, %d calls of a one-row query (best of %d rounds)\n", iCalls, iRounds);
  std::printf("  through the helpers : %8.1f ms (%6.2f us a call)\n", dHelpers,
              dHelpers * 1000.0 / iCalls);
  std::printf("  SQLite C API        : %8.1f ms (%6.2f us a call)\n", dRaw, dRaw * 1000.0 / iCalls);
  std::printf("  ratio               : %s\n",
              twk::bench::Judged(dHelpers / dRaw, 1.50, 2, "x").constData());
  return 0;
}
