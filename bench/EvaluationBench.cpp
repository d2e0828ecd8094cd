// SPDX-License-Identifier: MIT
// Evaluation of one demo record with 10, 50 and 200 enabled T-SQL
// definitions against their hand-written SQLite equivalents on the C API:
// read the enabled definitions, clear this connection's output rows, run
// each equivalent, read the output rows back. Each pair must give the same
// answer before anything is timed.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "AlertEvaluation.h"
#include "AnswerCheck.h"
#include "BenchDefinitions.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "BenchScratch.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "RawSql.h"
#include "modSubroutines.h"

namespace {

using twk::bench::AddDefinitions;
using twk::bench::Definition;
using twk::bench::SqliteDefinition;

constexpr int iRounds = 20;
constexpr int iTargetCount = 50;
constexpr double dTarget = 1.25;
const QString sRecordId = QStringLiteral("1002");

[[noreturn]] void Fail(const QString& sWhy) {
  twk::bench::FailBench("bench_evaluation", sWhy);
}

double Evaluate() {
  QElapsedTimer timer;
  timer.start();
  twk::AlertEvaluation evaluation;
  evaluation.RunAlertRules(evaluation.ReadAlertRules(), sRecordId);
  evaluation.SortAlerts();
  return double(timer.nsecsElapsed()) / 1e6;
}

double Raw(const twk::bench::RawSql& raw, const std::vector<QByteArray>& definitions) {
  QElapsedTimer timer;
  timer.start();
  QString sFailure = raw.Run(
      "delete from ttwk_AlertOutput where OWNER_SPID = :spid;"
      "select SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE from ttwk_AlertDefinitions "
      "where ENABLED = 1");
  for (const QByteArray& sSql : definitions) {
    if (sFailure.isEmpty()) sFailure = raw.Run(sSql.constData());
  }
  if (sFailure.isEmpty()) {
    sFailure = raw.Run("select * from ttwk_AlertOutput where OWNER_SPID = :spid");
  }
  const double dMs = double(timer.nsecsElapsed()) / 1e6;
  if (!sFailure.isEmpty()) Fail(QStringLiteral("raw: ") + sFailure);
  return dMs;
}

// Both shapes of definition, against the engine, before any timing.
void CompareAnswers(const twk::bench::RawSql& raw) {
  const twk::bench::AnswerCheck check(raw);
  for (int i = 1; i <= 2; ++i) {
    const QByteArray sTsql = Definition(i).toUtf8();
    const QByteArray sSqlite = SqliteDefinition(i);
    const QString sDifference =
        check.Compare({sTsql.constData(), sSqlite.constData(), i % 2 == 1}, sRecordId);
    if (!sDifference.isEmpty()) Fail(QStringLiteral("answers differ: ") + sDifference);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("bench.db"));
  twk::EmbeddedDatabase::Create(sFile, true);
  // 200 definitions overflow the table on purpose: its one message is
  // expected and counted, not shown.
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);

  sqlite3* pDatabase = nullptr;
  sqlite3_open_v2(QFile::encodeName(sFile).constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr);
  twk::SqliteHandle db(pDatabase);
  const twk::bench::RawSql raw(db.get(), {sRecordId.toUtf8(), QByteArrayLiteral("MANAGER"), 9999});

  std::printf("Evaluation of record %s, T-SQL against hand-written SQLite (best of %d rounds)\n",
              qUtf8Printable(sRecordId), iRounds);
  std::printf("  definitions  evaluation ms  raw SQLite ms  ratio   alerts\n");
  double dTargetRatio = 0.0;
  for (const int iCount : {10, 50, 200}) {
    AddDefinitions(db.get(), iCount);
    twk::modSubroutines::InitializeConnection(sFile, QStringLiteral("DEMO"),
                                              QStringLiteral("MANAGER"), QString(), 1);
    twk::ModuleState::ForThisThread().AuthID = QStringLiteral("MANAGER");
    CompareAnswers(raw);
    std::vector<QByteArray> definitions;
    for (int i = 1; i <= iCount; ++i) definitions.push_back(SqliteDefinition(i));
    double dEvaluation = 1e300;
    double dRaw = 1e300;
    for (int iRound = 0; iRound < iRounds; ++iRound) {
      dEvaluation = std::min(dEvaluation, Evaluate());
      dRaw = std::min(dRaw, Raw(raw, definitions));
    }
    twk::AlertEvaluation check;
    check.RunAlertRules(check.ReadAlertRules(), sRecordId);
    if (check.iAlertCount == 0) Fail(QStringLiteral("no alert came back"));
    std::printf("  %11d  %13.2f  %13.2f  %5.2f  %7d\n", iCount, dEvaluation, dRaw,
                dEvaluation / dRaw, int(check.iAlertCount));
    if (iCount == iTargetCount) dTargetRatio = dEvaluation / dRaw;
  }
  twk::modSubroutines::ReleaseConnection();
  std::printf("  ratio at %d definitions: %s\n", iTargetCount,
              twk::bench::Judged(dTargetRatio, dTarget, 2, "x").constData());
  std::printf("  peak memory (max resident set): %.1f MiB\n", twk::bench::PeakMiB());
  return 0;
}
