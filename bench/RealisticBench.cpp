// SPDX-License-Identifier: MIT
// RefreshItems, as the panel runs it, with 50 T-SQL definitions of typical
// shapes on a database the size of a real association's, against their
// hand-written SQLite equivalents run on the C API: warm (the connection
// has run them before) and cold (the first evaluation after connecting).
//
// "Raw" is what an application written for SQLite would do for the same
// alerts: on a second connection, read the enabled definitions, clear its
// rows of the output table, run each definition's hand-written equivalent
// (prepare, bind the record id, step every row reading each column as text,
// finalize), and read its rows of the output table back. The ratio is what
// the T-SQL engine and the libraries cost on top of SQLite.
//
// Before anything is timed, each pair is run for every timed record and
// must give the same answer; a pair that does not is printed and the
// benchmark exits 1 after its figures (unequal answers make no honest
// ratio). It also fails when a definition fails in RefreshItems, a message
// would have been shown, or no alert came back at all.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <cstdio>
#include <memory>
#include <vector>

#include "AlertEvaluation.h"
#include "AlertTally.h"
#include "AnswerCheck.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "RawSql.h"
#include "RealisticDefinitions.h"
#include "RealisticSetup.h"
#include "modSubroutines.h"

namespace {

using twk::bench::Judged;
using twk::bench::Mean;
using twk::bench::Median;
using twk::bench::RealisticDatabase;
using twk::bench::RealisticDefinitions;
using twk::bench::RealisticSetup;

constexpr int iRecords = 8;
constexpr int iRounds = 20;
constexpr int iColdSamples = 16;
constexpr int iCheckedRecords = 200;
constexpr double dWarmTarget = 1.15;
constexpr double dColdTarget = 1.5;

double Milliseconds(const QElapsedTimer& timer) {
  return double(timer.nsecsElapsed()) / 1e6;
}

twk::bench::RawBindings Bindings(const QString& sId) {
  return {sId.toUtf8(), QByteArrayLiteral("MANAGER"), 9999};
}

// The raw side of one RefreshItems; empty when every statement ran.
QString RawRefresh(sqlite3* pDb, const QString& sId) {
  const twk::bench::RawSql raw(pDb, Bindings(sId));
  QString sFailure = raw.Run(
      "select SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE from ttwk_AlertDefinitions "
      "where ENABLED = 1;"
      "delete from ttwk_AlertOutput where OWNER_SPID = :spid");
  for (const auto& definition : RealisticDefinitions()) {
    if (sFailure.isEmpty()) sFailure = raw.Run(definition.sSqlite);
    if (!sFailure.isEmpty())
      return QString::fromUtf8(definition.sAlertId) + QStringLiteral(": ") + sFailure;
  }
  return raw.Run("select * from ttwk_AlertOutput where OWNER_SPID = :spid");
}

struct Record {
  QString sId;
  std::unique_ptr<twk::bench::AlertTally> tally;
  std::vector<double> evaluation;
  std::vector<double> raw;
};

// 1. Every pair gives the same answer for the timed records, whose figures
// would not count otherwise, and for a wider sample, so that most pairs are
// seen answering with rows; a difference there is printed, a wrong answer of
// the engine that the timing does not meet. The count for the timed records.
int CompareAnswers(const QStringList& timed, sqlite3* pRaw) {
  const QStringList wider = RealisticDatabase::SampleIds(iCheckedRecords);
  int iTimedDiffering = 0;
  int iWiderDiffering = 0;
  QMap<QString, int> rowsSeen;
  for (const QString& sId : timed + wider) {
    const bool bTimed = timed.contains(sId);
    const twk::bench::RawSql raw(pRaw, Bindings(sId));
    const twk::bench::AnswerCheck check(raw);
    for (const auto& definition : RealisticDefinitions()) {
      int iRows = 0;
      const QString sDifference = check.Compare(definition.Pair(), sId, &iRows);
      rowsSeen[QString::fromUtf8(definition.sAlertId)] += iRows;
      if (sDifference.isEmpty()) continue;
      ++(bTimed ? iTimedDiffering : iWiderDiffering);
      std::printf("  answers differ%s: %s for record %s: %s\n", bTimed ? "" : " (untimed record)",
                  definition.sAlertId, qUtf8Printable(sId), qUtf8Printable(sDifference));
    }
  }
  QStringList never;
  for (auto it = rowsSeen.cbegin(); it != rowsSeen.cend(); ++it) {
    if (it.value() == 0) never << it.key();
  }
  std::printf("  answers of the %zu pairs for the %lld timed records: %s; for %lld more: %s\n",
              RealisticDefinitions().size(), qint64(timed.size()),
              iTimedDiffering == 0 ? "all equal" : "SOME DIFFER (these figures do not count)",
              qint64(wider.size()),
              iWiderDiffering == 0 ? "all equal"
                                   : qPrintable(QStringLiteral("%1 differ").arg(iWiderDiffering)));
  std::printf("  pairs that gave no row for any of them (compared empty): %s\n",
              never.isEmpty() ? "none" : qUtf8Printable(never.join(QStringLiteral(", "))));
  return iTimedDiffering;
}

// 2. One evaluation of the record with a tally: what ran, what came back.
Record ObserveRecord(const RealisticSetup& setup, const QString& sId,
                     const QMap<qint32, QString>& alertIds, const QMap<QString, QString>& keywords,
                     const twk::bench::QuietPlatform& quiet) {
  Record record;
  record.sId = sId;
  record.tally = std::make_unique<twk::bench::AlertTally>(alertIds, keywords);
  twk::AlertEvaluation observed;
  observed.SetObserver(record.tally.get());
  observed.RefreshItems(sId);
  const auto& tally = *record.tally;
  if (!tally.failures.isEmpty()) {
    setup.Fail(QStringLiteral("record %1: %2").arg(sId, tally.failures.join(QStringLiteral("; "))));
  }
  if (tally.iRun != int(RealisticDefinitions().size())) {
    setup.Fail(QStringLiteral("record %1: %2 definitions ran, not %3")
                   .arg(sId)
                   .arg(tally.iRun)
                   .arg(RealisticDefinitions().size()));
  }
  if (quiet.iMessages > 0) setup.Fail(QStringLiteral("record %1: %2").arg(sId, quiet.sLastMessage));
  return record;
}

// 3. Warm: alternating sides and records, so that neither profits from a
// quiet moment of the shared machine.
void TimeWarm(const RealisticSetup& setup, std::vector<Record>& records, sqlite3* pRaw) {
  twk::AlertEvaluation evaluation;  // the panel keeps one, too
  for (int iRound = 0; iRound < iRounds; ++iRound) {
    for (std::size_t i = 0; i < records.size(); ++i) {
      Record& record = records[i];
      for (int iSide = 0; iSide < 2; ++iSide) {
        QElapsedTimer timer;
        timer.start();
        if ((iSide + iRound + int(i)) % 2 == 0) {
          evaluation.RefreshItems(record.sId);
          record.evaluation.push_back(Milliseconds(timer));
        } else {
          const QString sFailure = RawRefresh(pRaw, record.sId);
          record.raw.push_back(Milliseconds(timer));
          if (!sFailure.isEmpty()) setup.Fail(sFailure);
        }
      }
    }
  }
}

// 4. Cold: the first evaluation on a fresh connection, each sample a new
// one on both sides; connecting itself is not timed.
void TimeCold(const RealisticSetup& setup, const QStringList& ids,
              const twk::bench::QuietPlatform& quiet, std::vector<double>& evaluation,
              std::vector<double>& raw) {
  for (int iSample = 0; iSample < iColdSamples; ++iSample) {
    const QString& sId = ids[iSample % ids.size()];
    for (int iSide = 0; iSide < 2; ++iSide) {
      if ((iSide + iSample) % 2 == 0) {
        twk::modSubroutines::ReleaseConnection();
        setup.ConnectEngine(quiet);
        twk::AlertEvaluation first;
        QElapsedTimer timer;
        timer.start();
        first.RefreshItems(sId);
        evaluation.push_back(Milliseconds(timer));
      } else {
        twk::SqliteHandle fresh = setup.OpenRaw();
        QElapsedTimer timer;
        timer.start();
        const QString sFailure = RawRefresh(fresh.get(), sId);
        raw.push_back(Milliseconds(timer));
        if (!sFailure.isEmpty()) setup.Fail(sFailure);
      }
    }
  }
}

void PrintWarm(const std::vector<Record>& records) {
  std::printf("Warm: RefreshItems vs hand-written SQLite, %d records x %d rounds (ms)\n", iRecords,
              iRounds);
  std::printf("  record  alerts  evaluation median  raw median  ratio\n");
  std::vector<double> allEvaluation;
  std::vector<double> allRaw;
  for (const Record& record : records) {
    const double dEvaluation = Median(record.evaluation);
    const double dRaw = Median(record.raw);
    std::printf("  %6s  %6d  %17.2f  %10.2f  %5.2f\n", qUtf8Printable(record.sId),
                record.tally->Alerts(), dEvaluation, dRaw, dEvaluation / dRaw);
    allEvaluation.insert(allEvaluation.end(), record.evaluation.begin(), record.evaluation.end());
    allRaw.insert(allRaw.end(), record.raw.begin(), record.raw.end());
  }
  std::printf("  warm ratio, mean   %.2f ms vs %.2f ms: %s\n", Mean(allEvaluation), Mean(allRaw),
              Judged(Mean(allEvaluation) / Mean(allRaw), dWarmTarget, 2, "x").constData());
  std::printf("  warm ratio, median %.2f ms vs %.2f ms: %s\n", Median(allEvaluation),
              Median(allRaw),
              Judged(Median(allEvaluation) / Median(allRaw), dWarmTarget, 2, "x").constData());
}

void PrintCold(const std::vector<double>& evaluation, const std::vector<double>& raw) {
  std::printf("Cold: the first evaluation on a fresh connection, %d samples a side (ms)\n",
              iColdSamples);
  std::printf("  cold ratio, mean   %.2f ms vs %.2f ms: %s\n", Mean(evaluation), Mean(raw),
              Judged(Mean(evaluation) / Mean(raw), dColdTarget, 2, "x").constData());
  std::printf("  cold ratio, median %.2f ms vs %.2f ms: %s\n", Median(evaluation), Median(raw),
              Judged(Median(evaluation) / Median(raw), dColdTarget, 2, "x").constData());
}

void PrintWrapped(const QStringList& items) {
  QString sLine;
  for (const QString& sItem : items) {
    if (!sLine.isEmpty() && sLine.size() + sItem.size() > 84) {
      std::printf("    %s,\n", qUtf8Printable(sLine));
      sLine.clear();
    }
    sLine += (sLine.isEmpty() ? QString() : QStringLiteral(", ")) + sItem;
  }
  if (!sLine.isEmpty()) std::printf("    %s\n", qUtf8Printable(sLine));
}

// Which definitions spoke for the measured records, and which stayed silent.
void PrintYields(const std::vector<Record>& records, int iAlerts) {
  QStringList yielding;
  QStringList silent;
  for (const auto& definition : RealisticDefinitions()) {
    const QString sAlertId = QString::fromUtf8(definition.sAlertId);
    int iWith = 0;
    for (const Record& record : records) iWith += record.tally->alerts.contains(sAlertId);
    if (iWith > 0) {
      yielding << QStringLiteral("%1 %2").arg(sAlertId).arg(iWith);
    } else {
      silent << sAlertId;
    }
  }
  std::printf("  %d alerts in all; definitions with alerts (on how many of the %d records):\n",
              iAlerts, iRecords);
  PrintWrapped(yielding);
  std::printf("  definitions that ran clean and gave no alert for these records:\n");
  PrintWrapped(silent);
}

QMap<qint32, QString> WriteDefinitions(const RealisticSetup& setup, sqlite3* pRaw) {
  std::vector<std::array<const char*, 3>> rows;
  for (const auto& definition : RealisticDefinitions()) {
    rows.push_back({definition.sCriteria, definition.sType, definition.sAlertId});
  }
  setup.WriteDefinitions(rows);
  QMap<qint32, QString> alertIds;
  twk::StatementHandle read =
      twk::PrepareFixed(pRaw, "select SEQN, ALERT_ID from ttwk_AlertDefinitions");
  while (sqlite3_step(read.get()) == SQLITE_ROW) {
    alertIds.insert(
        sqlite3_column_int(read.get(), 0),
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 1))));
  }
  return alertIds;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);
  const RealisticSetup setup("bench_realistic");
  twk::SqliteHandle raw = setup.OpenRaw();
  const QMap<qint32, QString> alertIds = WriteDefinitions(setup, raw.get());
  QMap<QString, QString> keywords;
  for (const auto& definition : RealisticDefinitions()) {
    if (definition.sTableKeyword) {
      keywords.insert(QString::fromUtf8(definition.sTableKeyword),
                      QString::fromUtf8(definition.sAlertId));
    }
  }
  setup.PrintDatabase(raw.get(), int(RealisticDefinitions().size()));
  setup.ConnectEngine(quiet);

  const QStringList ids = RealisticSetup::TimedRecords(raw.get(), iRecords);
  const int iDiffering = CompareAnswers(ids, raw.get());
  std::vector<Record> records;
  int iAlerts = 0;
  for (const QString& sId : ids) {
    records.push_back(ObserveRecord(setup, sId, alertIds, keywords, quiet));
    iAlerts += records.back().tally->Alerts();
  }
  if (iAlerts == 0) setup.Fail(QStringLiteral("no definition gave an alert for any record"));

  TimeWarm(setup, records, raw.get());
  std::vector<double> coldEvaluation;
  std::vector<double> coldRaw;
  TimeCold(setup, ids, quiet, coldEvaluation, coldRaw);
  if (quiet.iMessages > 0) setup.Fail(QStringLiteral("while timing: ") + quiet.sLastMessage);
  PrintWarm(records);
  PrintCold(coldEvaluation, coldRaw);
  PrintYields(records, iAlerts);
  twk::modSubroutines::ReleaseConnection();
  std::printf("  peak memory (max resident set): %.1f MiB\n", twk::bench::PeakMiB());
  if (iDiffering > 0) {
    std::fflush(stdout);
    std::fprintf(stderr, "bench_realistic: %d answers for timed records differ\n", iDiffering);
    return 1;
  }
  return 0;
}
