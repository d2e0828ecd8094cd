// SPDX-License-Identifier: MIT
// The date and conversion functions per row: a datediff and a date style
// over every activity of the record with the longest history, through the
// engine (T-SQL on the shared connection, warm), against SQLite's own
// julianday and strftime over the same rows on a raw connection. Both
// sides must give the same answer first.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <array>
#include <cstdio>
#include <vector>

#include "AlertPlaceholders.h"
#include "AnswerCheck.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "ModuleState.h"
#include "RawSql.h"
#include "RealisticSetup.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace {

using twk::bench::RealisticSetup;

constexpr int iRounds = 30;
constexpr double dTarget = 2.0;

struct DateCase {
  const char* sLabel;
  twk::bench::DefinitionPair pair;
};

const std::array<DateCase, 2> cases{{
    {"datediff(day, date, getdate()) < 365",
     {"select count(*) as N from Activity\n"
      " where ID = {id} and datediff(day, TRANSACTION_DATE, getdate()) < 365",
      "select count(*) as N from Activity\n"
      " where ID = :id\n"
      "   and julianday('now', 'localtime', 'start of day') - julianday(TRANSACTION_DATE) < 365"}},
    {"convert(varchar(10), date, 101)",
     {"select max(convert(varchar(10), TRANSACTION_DATE, 101)) as LATEST from Activity\n"
      " where ID = {id}",
      "select max(strftime('%m/%d/%Y', TRANSACTION_DATE)) as LATEST from Activity\n"
      " where ID = :id"}},
}};

double EngineMilliseconds(const QString& sSql) {
  QElapsedTimer timer;
  timer.start();
  twk::Recordset rows = twk::ModuleState::ForThisThread().SharedConnection().Execute(sSql);
  for (; rows.IsOpen() && !rows.IsEof(); rows.MoveNext()) rows.Field(0).toString();
  return double(timer.nsecsElapsed()) / 1e6;
}

double RawMilliseconds(const twk::bench::RawSql& raw, const char* sSql,
                       const RealisticSetup& setup) {
  QElapsedTimer timer;
  timer.start();
  const QString sFailure = raw.Run(sSql);
  const double dMs = double(timer.nsecsElapsed()) / 1e6;
  if (!sFailure.isEmpty()) setup.Fail(sFailure);
  return dMs;
}

qint64 ActivityCount(sqlite3* pDb, const QString& sId) {
  twk::StatementHandle count = twk::PrepareFixed(pDb, "select count(*) from Activity where ID = ?");
  const QByteArray sBound = sId.toUtf8();
  sqlite3_bind_text(count.get(), 1, sBound.constData(), int(sBound.size()), SQLITE_STATIC);
  twk::CheckSqlite(pDb, sqlite3_step(count.get()));
  return sqlite3_column_int64(count.get(), 0);
}

// Alternating sides, each case warmed first; medians.
void Measure(const RealisticSetup& setup, const DateCase& which, const QString& sId,
             const twk::bench::RawSql& raw, qint64 lRows) {
  const QString sTsql = twk::ReplacePlaceholders(QString::fromUtf8(which.pair.sTsql), sId,
                                                 twk::ModuleState::ForThisThread().AuthID);
  const QString sDifference = twk::bench::AnswerCheck(raw).Compare(which.pair, sId);
  if (!sDifference.isEmpty()) {
    setup.Fail(QStringLiteral("%1: %2").arg(QLatin1String(which.sLabel), sDifference));
  }
  std::vector<double> engine;
  std::vector<double> direct;
  for (int iRound = 0; iRound < iRounds; ++iRound) {
    for (int iSide = 0; iSide < 2; ++iSide) {
      if ((iRound + iSide) % 2 == 0) {
        engine.push_back(EngineMilliseconds(sTsql));
      } else {
        direct.push_back(RawMilliseconds(raw, which.pair.sSqlite, setup));
      }
    }
  }
  const double dEngine = twk::bench::Median(engine);
  const double dRaw = twk::bench::Median(direct);
  std::printf("  %-38s engine %7.3f ms (%6.2f us a row), SQLite %7.3f ms (%6.2f us a row)\n",
              which.sLabel, dEngine, dEngine * 1000.0 / double(lRows), dRaw,
              dRaw * 1000.0 / double(lRows));
  std::printf("  %-38s ratio %s\n", "",
              twk::bench::Judged(dEngine / dRaw, dTarget, 2, "x").constData());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);
  const RealisticSetup setup("bench_date_functions");
  twk::SqliteHandle db = setup.OpenRaw();
  setup.ConnectEngine(quiet);
  const QString sId = RealisticSetup::BusiestRecord(db.get());
  const qint64 lRows = ActivityCount(db.get(), sId);
  const twk::bench::RawSql raw(db.get(), {sId.toUtf8(), QByteArrayLiteral("MANAGER"), 9999});
  std::printf(
      "Date functions over the %lld activities of record %s, T-SQL through the engine vs "
      "SQLite's own date functions (median of %d, warm)\n",
      lRows, qUtf8Printable(sId), iRounds);
  try {
    for (const DateCase& which : cases) Measure(setup, which, sId, raw, lRows);
  } catch (const twk::TwkError& error) {
    setup.Fail(error.Description());
  }
  if (quiet.iMessages > 0) setup.Fail(quiet.sLastMessage);
  twk::modSubroutines::ReleaseConnection();
  return 0;
}
