// SPDX-License-Identifier: MIT
// Warm cost per definition of RefreshItems at 10 to 2,000 definitions, each
// a different text (four shapes, numbered), on the realistic database: the
// engine keeps per-connection caches of translations and statements, and a
// cache that is emptied whole when full would show as a cliff. Every 25th
// definition gives an alert, so that at 2,000 the alerts still fit the
// panel's slots and every definition's rows are read.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <list>
#include <vector>

#include "AlertEvaluation.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "RealisticSetup.h"
#include "modSubroutines.h"

namespace {

using twk::bench::RealisticSetup;

constexpr std::array<int, 5> counts{10, 100, 500, 1000, 2000};
constexpr int iReference = 100;
constexpr double dTarget = 1.25;
constexpr int iEvery = 25;

// %1 is the definition's number; "%1 % 25 = 0" makes one in 25 speak.
constexpr std::array<const char*, 4> shapes{
    "select %1 as RANK, 3 as ICON, 'Rule %1' as KEYWORD, FULL_NAME + ' is ' + STATUS as "
    "DESCRIPTION\n  from Name where ID = {id} and %1 % 25 = 0",
    "select %1 as RANK, 13 as ICON, 'Activity %1' as KEYWORD,\n"
    "       convert(varchar(10), count(*)) + ' activities' as DESCRIPTION\n"
    "  from Activity\n"
    " where ID = @id and TRANSACTION_DATE >= dateadd(day, -%1, convert(date, getdate()))\n"
    "having %1 % 25 = 0",
    "select top 1 %1 as RANK, 6 as ICON, 'Event %1' as KEYWORD, m.TITLE as DESCRIPTION\n"
    "  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING\n"
    " where r.ID = @id and %1 % 25 = 0 order by m.BEGIN_DATE desc",
    "declare @n int\n"
    "set @n = (select count(*) from Meet_Registration where ID = @id)\n"
    "if %1 % 25 = 0\n"
    "  select %1 as RANK, 8 as ICON, 'Count %1' as KEYWORD,\n"
    "         convert(varchar(10), @n) + ' registrations' as DESCRIPTION",
};

struct Written {
  std::list<QByteArray> texts;  // stable storage for the rows handed over
  std::vector<std::array<const char*, 3>> rows;
};

Written Definitions(int iCount) {
  Written written;
  for (int i = 1; i <= iCount; ++i) {
    const QString sText = QString::fromLatin1(shapes[std::size_t(i % 4)]).arg(i);
    const QByteArray& sCriteria = written.texts.emplace_back(sText.toUtf8());
    const QByteArray& sAlertId = written.texts.emplace_back("COUNT_" + QByteArray::number(i));
    written.rows.push_back({sCriteria.constData(), "SQL", sAlertId.constData()});
  }
  return written;
}

// Median ms of one RefreshItems, after two that fill the caches.
double WarmMilliseconds(const RealisticSetup& setup, const QString& sId, int iCount,
                        const twk::bench::QuietPlatform& quiet) {
  twk::AlertEvaluation evaluation;
  for (int i = 0; i < 2; ++i) evaluation.RefreshItems(sId);
  if (quiet.iMessages > 0) setup.Fail(quiet.sLastMessage);
  // Rows that did not arrive would make the run cheap for the wrong reason.
  if (evaluation.iAlertCount != iCount / iEvery) {
    setup.Fail(QStringLiteral("%1 definitions gave %2 alerts, not %3")
                   .arg(iCount)
                   .arg(evaluation.iAlertCount)
                   .arg(iCount / iEvery));
  }
  const int iRounds = std::max(5, 4000 / iCount);
  std::vector<double> times;
  for (int i = 0; i < iRounds; ++i) {
    QElapsedTimer timer;
    timer.start();
    evaluation.RefreshItems(sId);
    times.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  return twk::bench::Median(times);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);
  const RealisticSetup setup("bench_definition_count");
  const QString sId = twk::bench::RealisticDatabase::SampleIds(2).first();
  std::printf("Warm RefreshItems of record %s by number of definitions (median)\n",
              qUtf8Printable(sId));
  std::vector<double> perDefinition;
  for (const int iCount : counts) {
    setup.WriteDefinitions(Definitions(iCount).rows);
    setup.ConnectEngine(quiet);  // a fresh connection: its caches start empty
    perDefinition.push_back(WarmMilliseconds(setup, sId, iCount, quiet) / iCount);
  }
  twk::modSubroutines::ReleaseConnection();
  const double dReference = perDefinition[std::size_t(
      std::find(counts.begin(), counts.end(), iReference) - counts.begin())];
  for (std::size_t i = 0; i < counts.size(); ++i) {
    std::printf("  %5d definitions: %6.1f us a definition; against %d: %s\n", counts[i],
                perDefinition[i] * 1000.0, iReference,
                twk::bench::Judged(perDefinition[i] / dReference, dTarget, 2, "x").constData());
  }
  return 0;
}
