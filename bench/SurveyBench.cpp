// SPDX-License-Identifier: MIT
// A survey of 1,000 records with the demo definitions on the realistic
// database, against the panel's evaluation of the same records one at a
// time (read the definitions, run them, sort): records per second, peak
// memory, and the survey's cost per record as a multiple of the panel's.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "AlertEvaluation.h"
#include "AlertSurvey.h"
#include "BenchReport.h"
#include "Connection.h"
#include "Conversions.h"
#include "ModuleState.h"
#include "RealisticSetup.h"
#include "RecordQueries.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace {

constexpr int iRecords = 1000;

QStringList FirstIds(const twk::bench::RealisticSetup& setup) {
  QStringList ids;
  try {
    // The first records of the list, as tellwick-alerts --survey --sample takes them.
    const twk::RecordQueries queries(twk::RecordQueries::ColumnSets().constLast());
    for (twk::Recordset records = twk::ModuleState::ForThisThread().SharedConnection().Execute(
             queries.Page(QString(), 0, iRecords));
         !records.IsEof(); records.MoveNext()) {
      ids << twk::Conversions::ToTextLenient(records.Field(0));
    }
  } catch (const twk::TwkError& error) {
    setup.Fail(QStringLiteral("the records cannot be read: ") + error.Description());
  }
  if (ids.size() != iRecords) setup.Fail(QStringLiteral("fewer records than %1").arg(iRecords));
  return ids;
}

double Seconds(const QElapsedTimer& timer) {
  return double(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);
  const twk::bench::RealisticSetup setup("bench_survey");
  setup.ConnectEngine(quiet);
  const QStringList ids = FirstIds(setup);

  QElapsedTimer timer;
  timer.start();
  int iPanelAlerts = 0;
  for (const QString& sId : ids) {
    twk::AlertEvaluation evaluation;
    evaluation.RunAlertRules(evaluation.ReadAlertRules(), sId);
    evaluation.SortAlerts();
    iPanelAlerts += evaluation.iAlertCount;
  }
  const double dPanel = Seconds(timer);

  timer.restart();
  twk::AlertEvaluation evaluation;
  const twk::AlertSurvey survey =
      twk::AlertSurvey::Survey(evaluation, evaluation.ReadAlertRules(), ids);
  const double dSurvey = Seconds(timer);
  if (quiet.iMessages > 0) setup.Fail(QStringLiteral("a message was shown: ") + quiet.sLastMessage);

  // The two runs must have seen the same alerts, or their times compare
  // different work.
  int iSurveyAlerts = survey.UnattributedAlerts();
  int iFailures = 0;
  for (const auto& definition : survey.Definitions()) {
    iSurveyAlerts += definition.iAlerts;
    iFailures += definition.iFailures;
  }
  if (iSurveyAlerts != iPanelAlerts) {
    setup.Fail(QStringLiteral("the survey counted %1 alerts, the panel %2")
                   .arg(iSurveyAlerts)
                   .arg(iPanelAlerts));
  }
  twk::modSubroutines::ReleaseConnection();

  std::printf("Survey of %d records, %d definitions, on the realistic database\n", iRecords,
              int(survey.Definitions().size()));
  std::printf("  survey: %.2f s, %.0f records/s; %d alerts, %d failures\n", dSurvey,
              iRecords / dSurvey, iSurveyAlerts, iFailures);
  std::printf("  panel evaluation of the same records one by one: %.2f s, %.0f records/s\n", dPanel,
              iRecords / dPanel);
  std::printf("  survey per record against the panel's evaluation of one record: %.2fx\n",
              dSurvey / dPanel);
  std::printf("  peak memory (max resident set): %.1f MiB\n", twk::bench::PeakMiB());
  return 0;
}
