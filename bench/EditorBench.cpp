// SPDX-License-Identifier: MIT
// Filling the editor's list with 1,000 and 32,766 definitions against
// fetching the same rows through OpenRecordset alone, every row read.
#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "BenchReport.h"
#include "BenchScratch.h"
#include "ConnectionSettings.h"
#include "DefinitionStatements.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "ctlEditTWK.h"
#include "modSubroutines.h"

namespace {

constexpr int iRounds = 5;
constexpr int iLargestCount = 32766;

void FillDefinitions(const QString& sFile, int iCount) {
  sqlite3* pDatabase = nullptr;
  sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr);
  const QString sSql = QStringLiteral(
                           "delete from ttwk_AlertDefinitions; with recursive n(i) as (select 1 "
                           "union all select i + 1 from n where i < %1) insert into "
                           "ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, "
                           "ALERT_ID) select 'select ' || i || ' as RANK from Name where ID = "
                           "@id', i % 3 <> 0, case when i % 2 = 0 then '' else ' Definition "
                           "number ' || i || ' ' end, 'SQL', 'RULE_' || i from n")
                           .arg(iCount);
  char* pError = nullptr;
  if (sqlite3_exec(pDatabase, sSql.toUtf8().constData(), nullptr, nullptr, &pError) != SQLITE_OK) {
    std::fprintf(stderr, "filling failed: %s\n", pError ? pError : "?");
    sqlite3_free(pError);
  }
  sqlite3_close_v2(pDatabase);
}

// The rows come as they are read, so the fetch is only over once the last
// row is in: every field of every row is read, as PopulateGrid reads them.
double FetchOnly(int iExpectedRows) {
  QElapsedTimer timer;
  timer.start();
  auto rows = twk::modSubroutines::OpenRecordset(twk::DefinitionStatements::ListQuery());
  int iRows = 0;
  qsizetype lCharacters = 0;
  if (rows && rows->IsOpen()) {
    for (; !rows->IsEof(); rows->MoveNext(), ++iRows) {
      for (int i = 0; i < rows->FieldCount(); ++i) lCharacters += rows->Field(i).toString().size();
    }
    rows->Close();
  }
  const double dMs = double(timer.nsecsElapsed()) / 1e6;
  if (iRows != iExpectedRows || lCharacters == 0) {
    std::fprintf(stderr, "bench_editor: the fetch read %d rows, not %d\n", iRows, iExpectedRows);
    std::exit(1);
  }
  return dMs;
}

struct FillTimes {
  double dPopulate = 1e300;  ///< PopulateGrid returned
  double dDrawn = 1e300;     ///< and the window has drawn the list
};

FillTimes FillList(twk::ctlEditTWK& editor) {
  QElapsedTimer timer;
  timer.start();
  editor.PopulateGrid();
  FillTimes times;
  times.dPopulate = double(timer.nsecsElapsed()) / 1e6;
  QApplication::processEvents();
  times.dDrawn = double(timer.nsecsElapsed()) / 1e6;
  return times;
}

void Measure(const QString& sFile, twk::ctlEditTWK& editor, int iCount) {
  FillDefinitions(sFile, iCount);
  double dFetch = 1e300;
  FillTimes best;
  for (int i = 0; i < iRounds; ++i) {
    dFetch = std::min(dFetch, FetchOnly(iCount));
    const FillTimes times = FillList(editor);
    best.dPopulate = std::min(best.dPopulate, times.dPopulate);
    best.dDrawn = std::min(best.dDrawn, times.dDrawn);
  }
  using twk::bench::Judged;
  std::printf("%6d definitions: all rows read alone %.1f ms\n", iCount, dFetch);
  std::printf("  PopulateGrid    %7.1f ms, ratio %s\n", best.dPopulate,
              Judged(best.dPopulate / dFetch, 3.0, 2, "x").constData());
  std::printf("  drawn on screen %7.1f ms, ratio %s\n", best.dDrawn,
              Judged(best.dDrawn / dFetch, 3.0, 2, "x").constData());
  if (iCount == iLargestCount) {
    std::printf("  drawn on screen: %s\n",
                twk::bench::JudgedUnder(best.dDrawn, 1000.0, 0, " ms").constData());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("bench.db"));
  twk::EmbeddedDatabase::Create(sFile, false);
  twk::ConnectionSettings settings;
  settings.sDataSource = sFile;
  twk::Connection& connection = twk::ModuleState::ForThisThread().SharedConnection();
  connection.SetSettings(settings);
  connection.Open();

  twk::ctlEditTWK editor;
  editor.show();
  QApplication::processEvents();
  std::printf("Editor list fill, against reading the same rows alone (best of %d rounds)\n",
              iRounds);
  Measure(sFile, editor, 1000);
  Measure(sFile, editor, iLargestCount);
  return 0;
}
