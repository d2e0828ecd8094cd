// SPDX-License-Identifier: MIT
// RefreshItems, as the panel runs it, with 50 definitions of typical shapes
// on a database the size of a real association's, against the SQLite
// statements that the evaluation hands to SQLite, prepared and stepped
// directly on the C API.
//
// "Raw" is exactly what SQLite was given: every statement is traced
// (sqlite3_trace_v2, bound values written in) while RefreshItems evaluates
// the record once, and the raw side prepares, steps to the end and finalizes
// those statements in the same order on its own connection, which has the
// engine's SQL functions, reading every column of every row as text. So the
// ratio is what the libraries add on top of SQLite: parsing and translating
// T-SQL, the batch executor, record sets, conversions, the alert table.
//
// Fails (exit 1, with the reason) when a definition fails, a statement does
// not run raw, a message would have been shown, or no alert came back at all,
// so that the figures never measure failing SQL.
#include <sqlite3.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "AlertEvaluation.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "BenchScratch.h"
#include "ModuleState.h"
#include "RealisticDatabase.h"
#include "RealisticDefinitions.h"
#include "SqliteFunctions.h"
#include "SqliteHandles.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace {

using twk::bench::RealisticDatabase;
using twk::bench::RealisticDefinitions;

constexpr int iRecords = 8;
constexpr int iRounds = 20;

[[noreturn]] void Fail(const QString& sWhy) { twk::bench::FailBench("bench_realistic", sWhy); }

double Milliseconds(const QElapsedTimer& timer) {
  return double(timer.nsecsElapsed()) / 1e6;
}

// Every connection opened while the engine connects, so that its statements
// can be traced without reaching into the engine. The close trace costs a
// statement nothing and takes a closed connection off the list.
std::vector<sqlite3*> openedConnections;
std::vector<QByteArray>* pCapture = nullptr;

int Trace(unsigned iEvent, void*, void* pSubject, void* pText) {
  if (iEvent == SQLITE_TRACE_CLOSE) {
    std::erase(openedConnections, static_cast<sqlite3*>(pSubject));
    return 0;
  }
  // Statements of triggers come as comments; they run inside their statement.
  if (!pCapture || QByteArray(static_cast<const char*>(pText)).startsWith("--")) return 0;
  char* pExpanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(pSubject));
  if (!pExpanded) Fail(QStringLiteral("a traced statement could not be written out"));
  pCapture->push_back(QByteArray(pExpanded));
  sqlite3_free(pExpanded);
  return 0;
}

void TraceAll(std::vector<QByteArray>* pStatements) {
  pCapture = pStatements;
  const unsigned iMask = SQLITE_TRACE_CLOSE | (pStatements ? SQLITE_TRACE_STMT : 0u);
  for (sqlite3* pDb : openedConnections) sqlite3_trace_v2(pDb, iMask, &Trace, nullptr);
}

int RecordConnection(sqlite3* pDb, const char**, const sqlite3_api_routines*) {
  openedConnections.push_back(pDb);
  sqlite3_trace_v2(pDb, SQLITE_TRACE_CLOSE | (pCapture ? SQLITE_TRACE_STMT : 0u), &Trace, nullptr);
  return SQLITE_OK;
}

// What a definition did for one record, as the evaluation tells it.
class Verifier : public twk::EvaluationObserver {
 public:
  explicit Verifier(const QMap<qint32, QString>& alertIds) : alertIds_(alertIds) {
    for (const auto& definition : RealisticDefinitions()) {
      if (definition.sTableKeyword) {
        tableKeywords_.insert(QString::fromUtf8(definition.sTableKeyword),
                              QString::fromUtf8(definition.sAlertId));
      }
    }
  }

  QStringList failures;
  int iRun = 0;
  QMap<QString, int> alerts;  ///< ALERT_ID to the alerts it gave

  void RuleStarted(const twk::AlertRule& rule, bool bRuns) override {
    sCurrent_ = alertIds_.value(rule.SEQN, QStringLiteral("SEQN %1").arg(rule.SEQN));
    if (bRuns) ++iRun;
  }
  void RuleFailed(const QString& sError) override {
    failures << sCurrent_ + QStringLiteral(": ") + sError;
  }
  void ValueFailed(const QString& sColumn) override {
    failures << sCurrent_ + QStringLiteral(": the value of ") + sColumn + QStringLiteral(" failed");
  }
  void RowJudged(const twk::AlertOutput& candidate, bool bAccepted) override {
    if (!bAccepted) return;
    if (candidate.lSeqn >= 0) {
      ++alerts[sCurrent_];
    } else if (tableKeywords_.contains(candidate.sKeyword)) {
      ++alerts[tableKeywords_.value(candidate.sKeyword)];
    } else {
      failures << QStringLiteral("an output-table row of no definition: ") + candidate.sKeyword;
    }
  }
  void RuleFinished() override {}
  void TableRowsStarted() override { sCurrent_ = QStringLiteral("the output table"); }

 private:
  QMap<qint32, QString> alertIds_;
  QMap<QString, QString> tableKeywords_;
  QString sCurrent_;
};

QMap<qint32, QString> WriteDefinitions(const QString& sFile) {
  twk::SqliteHandle db = twk::bench::OpenWithoutDefinitions(sFile);
  twk::StatementHandle insert = twk::PrepareFixed(
      db.get(),
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
      "values (?, 1, '', ?, ?)");
  QMap<qint32, QString> alertIds;
  for (const auto& definition : RealisticDefinitions()) {
    sqlite3_bind_text(insert.get(), 1, definition.sCriteria, -1, SQLITE_STATIC);
    sqlite3_bind_text(insert.get(), 2, definition.sType, -1, SQLITE_STATIC);
    sqlite3_bind_text(insert.get(), 3, definition.sAlertId, -1, SQLITE_STATIC);
    twk::CheckSqlite(db.get(), sqlite3_step(insert.get()));
    sqlite3_reset(insert.get());
    alertIds.insert(qint32(sqlite3_last_insert_rowid(db.get())),
                    QString::fromUtf8(definition.sAlertId));
  }
  return alertIds;
}

qint64 CountRows(sqlite3* pDb, const char* sSql) {
  twk::StatementHandle statement = twk::PrepareFixed(pDb, sSql);
  twk::CheckSqlite(pDb, sqlite3_step(statement.get()));
  return sqlite3_column_int64(statement.get(), 0);
}

/// Prepares, steps to the end and finalizes each statement; empty when all
/// ran, else the failing statement and SQLite's message.
QString RunRaw(sqlite3* pDb, const std::vector<QByteArray>& statements) {
  for (const QByteArray& sSql : statements) {
    sqlite3_stmt* pStatement = nullptr;
    if (sqlite3_prepare_v2(pDb, sSql.constData(), int(sSql.size()), &pStatement, nullptr) !=
        SQLITE_OK) {
      return QString::fromUtf8(sSql) + QStringLiteral(": ") +
             QString::fromUtf8(sqlite3_errmsg(pDb));
    }
    int iStep = SQLITE_ROW;
    while ((iStep = sqlite3_step(pStatement)) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(pStatement); ++i) sqlite3_column_text(pStatement, i);
    }
    sqlite3_finalize(pStatement);
    if (iStep != SQLITE_DONE) {
      return QString::fromUtf8(sSql) + QStringLiteral(": ") +
             QString::fromUtf8(sqlite3_errmsg(pDb));
    }
  }
  return {};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double Mean(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
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

struct Record {
  QString sId;
  std::vector<QByteArray> statements;
  std::unique_ptr<Verifier> verifier;
  std::vector<double> evaluation;
  std::vector<double> raw;

  int Alerts() const {
    const auto& counts = verifier->alerts;
    return std::accumulate(counts.begin(), counts.end(), 0);
  }
};

twk::bench::RealisticFile CachedDatabase() {
  try {
    return RealisticDatabase::Cached();
  } catch (const twk::TwkError& error) {
    Fail(QStringLiteral("the database could not be generated: ") + error.Description());
  } catch (const std::exception& error) {
    Fail(QStringLiteral("the database could not be generated: ") + QString::fromUtf8(error.what()));
  }
}

void PrintDatabase(sqlite3* pDb, const twk::bench::RealisticFile& cached) {
  std::printf(
      "Realistic database: %lld contacts, %lld registrations, %lld activities, %d "
      "definitions\n",
      CountRows(pDb, "select count(*) from Name"),
      CountRows(pDb, "select count(*) from Meet_Registration"),
      CountRows(pDb, "select count(*) from Activity"), int(RealisticDefinitions().size()));
  if (cached.dGenerateSeconds >= 0) {
    std::printf("  generated in %.1f s, cached for today in %s\n", cached.dGenerateSeconds,
                qUtf8Printable(cached.sPath));
  } else {
    std::printf("  from the cache %s (generator version %d; generating took %.1f s)\n",
                qUtf8Printable(cached.sPath), RealisticDatabase::iGeneratorVersion,
                cached.dEarlierSeconds);
  }
}

// The spread sample, and the record with the longest history: the one whose
// definitions read the most.
QStringList RecordIds(sqlite3* pDb) {
  QStringList ids = RealisticDatabase::SampleIds(iRecords - 1);
  twk::StatementHandle busiest = twk::PrepareFixed(
      pDb, "select ID from Activity group by ID order by count(*) desc, ID limit 1");
  twk::CheckSqlite(pDb, sqlite3_step(busiest.get()));
  ids << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(busiest.get(), 0)));
  return ids;
}

void ConnectEngine(const QString& sFile, const twk::bench::QuietPlatform& quiet) {
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(&RecordConnection));
  twk::modSubroutines::InitializeConnection(sFile, QStringLiteral("DEMO"),
                                            QStringLiteral("MANAGER"), QString(), 1);
  twk::ModuleState::ForThisThread().AuthID = QStringLiteral("MANAGER");
  if (quiet.iMessages > 0) Fail(QStringLiteral("connecting failed: ") + quiet.sLastMessage);
}

// One evaluation of the record to see what it does: what ran, what came
// back, and the statements SQLite was given; which must run raw as well.
Record ObserveRecord(const QString& sId, const QMap<qint32, QString>& alertIds, sqlite3* pRaw,
                     const twk::bench::QuietPlatform& quiet) {
  Record record;
  record.sId = sId;
  twk::AlertEvaluation warmUp;
  warmUp.RefreshItems(sId);  // the connection number is handed out once, not per evaluation
  record.verifier = std::make_unique<Verifier>(alertIds);
  twk::AlertEvaluation traced;
  traced.SetObserver(record.verifier.get());
  TraceAll(&record.statements);
  traced.RefreshItems(sId);
  TraceAll(nullptr);
  if (record.statements.empty()) Fail(QStringLiteral("no statement of the engine was traced"));

  const Verifier& seen = *record.verifier;
  if (!seen.failures.isEmpty()) {
    Fail(QStringLiteral("record %1: %2").arg(sId, seen.failures.join(QStringLiteral("; "))));
  }
  if (seen.iRun != int(RealisticDefinitions().size())) {
    Fail(QStringLiteral("record %1: %2 definitions ran, not %3")
             .arg(sId)
             .arg(seen.iRun)
             .arg(RealisticDefinitions().size()));
  }
  if (quiet.iMessages > 0) Fail(QStringLiteral("record %1: %2").arg(sId, quiet.sLastMessage));
  const QString sRawFailure = RunRaw(pRaw, record.statements);
  if (!sRawFailure.isEmpty()) Fail(QStringLiteral("record %1, raw: %2").arg(sId, sRawFailure));
  return record;
}

void PrintStatements(const Record& record) {
  std::printf("Statements of record %s:\n", qUtf8Printable(record.sId));
  for (const QByteArray& sSql : record.statements) {
    std::printf("  %s\n", QByteArray(sSql).replace('\n', ' ').simplified().constData());
  }
}

// Alternating sides and records, so that neither profits from a quiet
// moment of the shared machine.
void TimeRecords(std::vector<Record>& records, sqlite3* pRaw) {
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
          const QString sFailure = RunRaw(pRaw, record.statements);
          record.raw.push_back(Milliseconds(timer));
          if (!sFailure.isEmpty()) Fail(sFailure);
        }
      }
    }
  }
}

void PrintTimes(const std::vector<Record>& records) {
  std::printf("RefreshItems vs raw SQLite, %d records x %d rounds (ms per record)\n", iRecords,
              iRounds);
  std::printf(
      "  raw = the statements SQLite was given during one RefreshItems of the record\n"
      "        (traced; with the engine's own for declare/set/if), prepared and stepped\n"
      "        on the C API with the engine's SQL functions, every column read as text\n");
  std::printf("  record  statements  alerts  evaluation median  raw median  ratio\n");
  std::vector<double> allEvaluation;
  std::vector<double> allRaw;
  for (const Record& record : records) {
    const double dEvaluation = Median(record.evaluation);
    const double dRaw = Median(record.raw);
    std::printf("  %6s  %10zu  %6d  %17.2f  %10.2f  %5.2f\n", qUtf8Printable(record.sId),
                record.statements.size(), record.Alerts(), dEvaluation, dRaw, dEvaluation / dRaw);
    allEvaluation.insert(allEvaluation.end(), record.evaluation.begin(), record.evaluation.end());
    allRaw.insert(allRaw.end(), record.raw.begin(), record.raw.end());
  }
  const double dMeanRatio = Mean(allEvaluation) / Mean(allRaw);
  const double dMedianRatio = Median(allEvaluation) / Median(allRaw);
  std::printf(
      "  all     mean %.2f ms vs %.2f ms (ratio %.2f); median %.2f ms vs %.2f ms (ratio "
      "%.2f)\n",
      Mean(allEvaluation), Mean(allRaw), dMeanRatio, Median(allEvaluation), Median(allRaw),
      dMedianRatio);
  std::printf("  target: ratio at most 1.10 (mean: %s, median: %s)\n",
              dMeanRatio <= 1.10 ? "met" : "not met", dMedianRatio <= 1.10 ? "met" : "not met");
}

// Which definitions spoke for the measured records, and which stayed silent.
void PrintYields(const std::vector<Record>& records, int iAlerts) {
  QStringList yielding;
  QStringList silent;
  for (const auto& definition : RealisticDefinitions()) {
    const QString sAlertId = QString::fromUtf8(definition.sAlertId);
    int iRecordsWith = 0;
    for (const Record& record : records) iRecordsWith += record.verifier->alerts.contains(sAlertId);
    if (iRecordsWith > 0) {
      yielding << QStringLiteral("%1 %2").arg(sAlertId).arg(iRecordsWith);
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

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Times RefreshItems with 50 typical definitions on a generated database of 100,000\n"
      "contacts against the same SQLite statements run raw; prints, never judges."));
  parser.addHelpOption();
  const QCommandLineOption showStatements(
      QStringLiteral("show-statements"),
      QStringLiteral("Also print the statements SQLite was given for each record."));
  parser.addOption(showStatements);
  parser.process(application);
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);

  const twk::bench::RealisticFile cached = CachedDatabase();
  // Each run starts from the same file: the evaluations write to it.
  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("realistic.db"));
  if (!QFile::copy(cached.sPath, sFile)) Fail(QStringLiteral("cannot copy ") + cached.sPath);
  const QMap<qint32, QString> alertIds = WriteDefinitions(sFile);

  sqlite3* pRawConnection = nullptr;
  sqlite3_open_v2(QFile::encodeName(sFile).constData(), &pRawConnection, SQLITE_OPEN_READWRITE,
                  nullptr);
  twk::SqliteHandle raw(pRawConnection);
  twk::RegisterTsqlFunctions(raw.get());
  PrintDatabase(raw.get(), cached);
  ConnectEngine(sFile, quiet);

  std::vector<Record> records;
  int iAlerts = 0;
  for (const QString& sId : RecordIds(raw.get())) {
    records.push_back(ObserveRecord(sId, alertIds, raw.get(), quiet));
    if (parser.isSet(showStatements)) PrintStatements(records.back());
    iAlerts += records.back().Alerts();
  }
  // Connections opened later than the engine's first are traced too; from
  // here on nothing is traced, so nothing more need be known.
  sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&RecordConnection));
  if (iAlerts == 0) Fail(QStringLiteral("no definition gave an alert for any record"));

  TimeRecords(records, raw.get());
  if (quiet.iMessages > 0) Fail(QStringLiteral("while timing: ") + quiet.sLastMessage);
  PrintTimes(records);
  PrintYields(records, iAlerts);
  twk::modSubroutines::ReleaseConnection();
  std::printf("  peak memory (max resident set): %.1f MiB%s\n", twk::bench::PeakMiB(),
              cached.dGenerateSeconds >= 0 ? " (this run also generated the database)" : "");
  return 0;
}
