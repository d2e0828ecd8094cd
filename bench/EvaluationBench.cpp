// SPDX-License-Identifier: MIT
// Evaluation of one record with 10, 50 and 200 enabled definitions against
// executing the same statements directly on the SQLite C API.
#include "BenchScratch.h"
#include "AlertEvaluation.h"
#include "AlertPlaceholders.h"
#include "BenchDefinitions.h"
#include "ConsolePlatform.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "modSubroutines.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

using twk::bench::AddDefinitions;
using twk::bench::Definition;

constexpr int iRounds = 20;
const QString sRecordId = QStringLiteral("1002");

double Evaluate() {
  QElapsedTimer timer;
  timer.start();
  twk::AlertEvaluation evaluation;
  evaluation.RunAlertRules(evaluation.ReadAlertRules(), sRecordId);
  evaluation.SortAlerts();
  return double(timer.nsecsElapsed()) / 1e6;
}

void StepAll(sqlite3* pDatabase, const QByteArray& sSql) {
  sqlite3_stmt* pStatement = nullptr;
  if (sqlite3_prepare_v2(pDatabase, sSql.constData(), -1, &pStatement, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "raw statement failed: %s\n", sqlite3_errmsg(pDatabase));
    return;
  }
  while (sqlite3_step(pStatement) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(pStatement); ++i) sqlite3_column_text(pStatement, i);
  }
  sqlite3_finalize(pStatement);
}

// The same work with everything the libraries add taken away: the
// statements come ready, with the spid already a number.
double Raw(sqlite3* pDatabase, const std::vector<QByteArray>& definitions) {
  QElapsedTimer timer;
  timer.start();
  StepAll(pDatabase, "delete from ttwk_AlertOutput where OWNER_SPID = 9999");
  StepAll(pDatabase,
          "select SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE from ttwk_AlertDefinitions where "
          "ENABLED = 1");
  for (const QByteArray& sSql : definitions) StepAll(pDatabase, sSql);
  StepAll(pDatabase, "select * from ttwk_AlertOutput where OWNER_SPID = 9999");
  return double(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("bench.db"));
  twk::EmbeddedDatabase::Create(sFile, true);
  // 200 definitions overflow the table on purpose; the message would only
  // scroll the figures away.
  std::FILE* pQuiet = std::fopen("/dev/null", "w");
  twk::ConsolePlatform console(pQuiet ? pQuiet : stderr);
  twk::ScopedPlatform installation(console);

  sqlite3* pDatabase = nullptr;
  sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr);

  std::printf("Evaluation of record %s (best of %d rounds)\n", qUtf8Printable(sRecordId), iRounds);
  std::printf("  definitions  evaluation ms  raw SQLite ms  ratio   alerts\n");
  for (const int iCount : {10, 50, 200}) {
    AddDefinitions(pDatabase, iCount);
    twk::modSubroutines::InitializeConnection(sFile, QStringLiteral("DEMO"),
                                              QStringLiteral("MANAGER"), QString(), 1);
    twk::ModuleState::ForThisThread().AuthID = QStringLiteral("MANAGER");
    std::vector<QByteArray> definitions;
    for (int i = 1; i <= iCount; ++i) {
      QString sSql = twk::ReplacePlaceholders(Definition(i), sRecordId, QStringLiteral("MANAGER"));
      sSql.replace(QStringLiteral("insert ttwk_AlertOutput"), QStringLiteral("insert into ttwk_AlertOutput"));
      sSql.replace(QStringLiteral("@@spid"), QStringLiteral("9999"));
      definitions.push_back(sSql.toUtf8());
    }
    double dEvaluation = 1e300;
    double dRaw = 1e300;
    for (int iRound = 0; iRound < iRounds; ++iRound) {
      dEvaluation = std::min(dEvaluation, Evaluate());
      dRaw = std::min(dRaw, Raw(pDatabase, definitions));
    }
    twk::AlertEvaluation check;
    check.RunAlertRules(check.ReadAlertRules(), sRecordId);
    std::printf("  %11d  %13.2f  %13.2f  %5.2f  %7d\n", iCount, dEvaluation, dRaw,
                dEvaluation / dRaw, int(check.iAlertCount));
  }
  twk::modSubroutines::ReleaseConnection();
  sqlite3_close_v2(pDatabase);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("  target: at most 1.25 at 50 definitions\n");
  std::printf("  peak memory (max resident set): %ld KiB\n", usage.ru_maxrss);
  return 0;
}
