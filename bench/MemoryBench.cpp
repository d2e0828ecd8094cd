// SPDX-License-Identifier: MIT
// Peak memory of an evaluation whose definition returns 1,000,000 rows,
// with only 101 alert slots to put them in: alone, followed by another
// statement, and written into the output table. Each case runs in a
// process of its own, so that its peak (max resident set) is its own.
#include <sqlite3.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "AlertEvaluation.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "BenchScratch.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "SqliteHandles.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace {

constexpr int iRows = 1000000;
constexpr double dTargetMiB = 50.0;

struct Case {
  const char* sName;
  const char* sLabel;
  const char* sCriteria;
};

const std::array<Case, 3> cases{{
    {"alone", "1,000,000 rows, the whole definition",
     "select 'Row' as KEYWORD, DESCRIPTION, 50 as RANK from Million"},
    {"followed", "1,000,000 rows, then another statement",
     "select 'Row' as KEYWORD, DESCRIPTION, 50 as RANK from Million\n"
     "select count(*) as ROWS_SEEN from Million"},
    {"table", "1,000,000 rows into the output table",
     "insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, KEYWORD, DESCRIPTION)\n"
     "select @@spid, {id}, 50, 'Row', DESCRIPTION from Million"},
}};

using twk::bench::PeakMiB;

[[noreturn]] void Fail(const QString& sWhy) {
  twk::bench::FailBench("bench_memory", sWhy);
}

void Prepare(const QString& sFile) {
  twk::EmbeddedDatabase::Create(sFile, true);
  sqlite3* pRaw = nullptr;
  sqlite3_open_v2(QFile::encodeName(sFile).constData(), &pRaw, SQLITE_OPEN_READWRITE, nullptr);
  twk::SqliteHandle db(pRaw);
  const QByteArray sFill =
      "create table Million (N integer primary key, DESCRIPTION text not null);"
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
      QByteArray::number(iRows) +
      ") insert into Million select i, 'Row number ' || i || ' of the generated table' from n;";
  twk::CheckSqlite(db.get(), sqlite3_exec(db.get(), sFill.constData(), nullptr, nullptr, nullptr));
}

void SetDefinition(const QString& sFile, const char* sCriteria) {
  twk::SqliteHandle db = twk::bench::OpenWithoutDefinitions(sFile);
  twk::StatementHandle insert = twk::PrepareFixed(
      db.get(),
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, ALERT_TYPE, ALERT_ID) values (?, 1, "
      "'SQL', 'MILLION')");
  sqlite3_bind_text(insert.get(), 1, sCriteria, -1, SQLITE_STATIC);
  twk::CheckSqlite(db.get(), sqlite3_step(insert.get()));
}

// One case, in this process.
int RunCase(const QString& sFile, const Case& which) {
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);
  SetDefinition(sFile, which.sCriteria);
  twk::modSubroutines::InitializeConnection(sFile, QStringLiteral("DEMO"),
                                            QStringLiteral("MANAGER"), QString(), 1);
  twk::ModuleState::ForThisThread().AuthID = QStringLiteral("MANAGER");
  if (quiet.iMessages > 0) Fail(QStringLiteral("connecting failed: ") + quiet.sLastMessage);
  const double dBefore = PeakMiB();
  twk::AlertEvaluation evaluation;
  QElapsedTimer timer;
  timer.start();
  evaluation.RefreshItems(QStringLiteral("1001"));
  const double dMs = double(timer.nsecsElapsed()) / 1e6;
  const double dPeak = PeakMiB();
  twk::modSubroutines::ReleaseConnection();
  // A full table and its one capacity message are the expected outcome;
  // anything else means the rows never arrived.
  if (evaluation.iAlertCount != twk::AlertEvaluation::iSlotCount) {
    Fail(QStringLiteral("%1: %2 alerts, not %3 (%4)")
             .arg(QLatin1String(which.sName))
             .arg(evaluation.iAlertCount)
             .arg(twk::AlertEvaluation::iSlotCount)
             .arg(quiet.sLastMessage));
  }
  if (quiet.iMessages != 1) {
    Fail(QStringLiteral("%1: %2 messages, the last: %3")
             .arg(QLatin1String(which.sName))
             .arg(quiet.iMessages)
             .arg(quiet.sLastMessage));
  }
  std::printf("  %-40s %8.0f ms  peak %s, %.1f MiB before\n", which.sLabel, dMs,
              twk::bench::JudgedUnder(dPeak, dTargetMiB, 1, " MiB").constData(), dBefore);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Prints the peak memory of evaluations whose definition returns 1,000,000 rows."));
  parser.addHelpOption();
  const QCommandLineOption caseOption(QStringLiteral("case"),
                                      QStringLiteral("Run only this case, on FILE."),
                                      QStringLiteral("NAME"));
  const QCommandLineOption fileOption(QStringLiteral("file"),
                                      QStringLiteral("The prepared database of --case."),
                                      QStringLiteral("FILE"));
  parser.addOptions({caseOption, fileOption});
  parser.process(application);

  if (parser.isSet(caseOption)) {
    for (const Case& which : cases) {
      if (parser.value(caseOption) == QLatin1String(which.sName)) {
        try {
          return RunCase(parser.value(fileOption), which);
        } catch (const twk::TwkError& error) {
          Fail(error.Description());
        }
      }
    }
    Fail(QStringLiteral("no case ") + parser.value(caseOption));
  }

  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("million.db"));
  try {
    Prepare(sFile);
  } catch (const twk::TwkError& error) {
    Fail(error.Description());
  }
  std::printf("Evaluation of a 1,000,000-row definition, 101 slots (each case its own process)\n");
  std::fflush(stdout);
  int iResult = 0;
  for (const Case& which : cases) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--case"), QLatin1String(which.sName), QStringLiteral("--file"), sFile});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
      iResult = 1;
    }
  }
  return iResult;
}
