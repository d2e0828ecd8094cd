// SPDX-License-Identifier: MIT
// The panel from "nNewId" to the page fully shown, with 50 definitions,
// against the evaluation alone; and a page change by the scroller.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "AlertEvaluation.h"
#include "BenchDefinitions.h"
#include "BenchPlatform.h"
#include "BenchReport.h"
#include "BenchScratch.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "XtenderHost.h"
#include "ctlTWK.h"

namespace {

constexpr int iDefinitions = 50;
constexpr int iRounds = 200;

class BenchHost : public twk::XtenderHost {
 public:
  QMap<QString, QString> values;
  void GetValue(const QString& sName, QString& sValue) override { sValue = values.value(sName); }
  void SetValue(const QString&, const QString&) override {}
  void Notify(const QString&, const QString&, const QString&, const QString&,
              const QString&) override {}
  void RegisterForNotice(const QString&) override {}
  void SetWindowTitle(const QString&) override {}
  void CloseSelf() override {}
};

double Milliseconds(const QElapsedTimer& timer) {
  return double(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  twk::bench::QuietPlatform quiet;
  twk::ScopedPlatform installation(quiet);
  QTemporaryDir scratch(twk::bench::ScratchTemplate());
  const QString sFile = scratch.filePath(QStringLiteral("bench.db"));
  twk::EmbeddedDatabase::Create(sFile, true);
  sqlite3* pDatabase = nullptr;
  sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr);
  twk::bench::AddDefinitions(pDatabase, iDefinitions);
  sqlite3_close_v2(pDatabase);

  BenchHost host;
  host.values = {{QStringLiteral("lvSession.SQLHostName"), sFile},
                 {QStringLiteral("lvSession.SQLDatabase"), QStringLiteral("DEMO")},
                 {QStringLiteral("lvSession.SQLUserId"), QStringLiteral("MANAGER")},
                 {QStringLiteral("lvSession.LevelSystem"), QStringLiteral("1")},
                 {QStringLiteral("lvSession.MasterVersion"), QStringLiteral("10.2.0")}};
  twk::ctlTWK panel;
  panel.SetHost(&host);
  panel.show();
  panel.XtenderInit();

  // Two records in turn, so that every notice is a new id and evaluates.
  const QString ids[] = {QStringLiteral("1002"), QStringLiteral("1003")};
  double dPanel = 1e300;
  double dEvaluation = 1e300;
  double dPage = 1e300;
  for (int iRound = 0; iRound < iRounds; ++iRound) {
    host.values[QStringLiteral("lvSession.CurrentId")] = ids[iRound % 2];
    QElapsedTimer timer;
    timer.start();
    panel.NotifyListener(QStringLiteral("nNewId"), {}, {}, {}, {});
    dPanel = std::min(dPanel, Milliseconds(timer));

    twk::AlertEvaluation evaluation;
    timer.restart();
    evaluation.RunAlertRules(evaluation.ReadAlertRules(), ids[iRound % 2]);
    evaluation.SortAlerts();
    dEvaluation = std::min(dEvaluation, Milliseconds(timer));

    timer.restart();
    panel.udScrollAlerts_DownClick();
    dPage = std::min(dPage, Milliseconds(timer));
  }
  std::printf("Panel with %d definitions, best of %d rounds\n", iDefinitions, iRounds);
  std::printf("  nNewId to page shown : %8.2f ms\n", dPanel);
  std::printf("  evaluation alone     : %8.2f ms\n", dEvaluation);
  std::printf("  display adds         : %s\n",
              twk::bench::Judged((dPanel / dEvaluation - 1.0) * 100.0, 20.0, 1, " %").constData());
  std::printf("  page change (scroll) : %8.2f ms\n", dPage);
  return 0;
}
