// SPDX-License-Identifier: MIT
// The alert panel through FreeTDS against the scripted TDS responder, which
// stands in for SQL Server with the libraries' own statements.
#include <gtest/gtest.h>

#include <QLabel>

#include "ImisScript.h"
#include "ModuleFixture.h"
#include "ScriptedHost.h"
#include "TdsResponder.h"
#include "ctlAlertDetail.h"
#include "ctlTWK.h"

namespace twk {
namespace {

using namespace twk::testing;

class PanelThroughFreeTds : public ModuleFixture {};

TEST_F(PanelThroughFreeTds, ShowsAPageOfTheServersAlertsAndPagesWithoutAskingAgain) {
  const QString sCriteria = QStringLiteral("exec dbo.Alerts_For @id");
  QJsonArray rows;
  for (int i = 1; i <= 7; ++i) {
    rows.append(QJsonArray{QStringLiteral("Alert %1").arg(i), QStringLiteral("About 1001"), i, 3});
  }
  const QJsonArray batches = {
      Answer(QStringLiteral("exec dbo.Alerts_For '1001'"), {Rows({{"KEYWORD", "nvarchar(50)"},
                                                                  {"DESCRIPTION", "nvarchar(255)"},
                                                                  {"RANK", "int"},
                                                                  {"ICON", "int"}},
                                                                 rows),
                                                            QJsonObject{{"return_status", 0}}})};
  TdsResponder responder(ImisScript(OneRow({1, sCriteria, "Open items", "SQL"}), batches,
                                    QStringLiteral("Member since 2001")));
  TWK_REQUIRE_RESPONDER(responder);

  ScriptedHost host;
  host.values = {{QStringLiteral("lvSession.SQLHostName"),
                  responder.DefineDataSource(scratch.path(), QStringLiteral("Imis"))},
                 {QStringLiteral("lvSession.SQLDatabase"), QStringLiteral("ASSOC")},
                 {QStringLiteral("lvSession.SQLUserId"), QStringLiteral("STAFF1_ASSOC_i")},
                 {QStringLiteral("lvSession.SQLUserPassword"), QStringLiteral("pw}x;")},
                 {QStringLiteral("lvSession.LevelSystem"), QStringLiteral("9 (sysadmin)")},
                 {QStringLiteral("lvSession.MasterVersion"), QStringLiteral("10.2.0")},
                 {QStringLiteral("lvSession.CurrentId"), QStringLiteral("1001")}};
  ctlTWK panel;
  panel.SetHost(&host);
  panel.XtenderInit();

  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_EQ(host.iCloseRequests, 0);
  EXPECT_EQ(panel.lblMore()->text(), QStringLiteral("1-5 (7)"));
  EXPECT_EQ(panel.detDetail(0)->Keyword(), QStringLiteral("Alert 1"));
  EXPECT_EQ(panel.detDetail(4)->Keyword(), QStringLiteral("Alert 5"));
  EXPECT_EQ(panel.lblFixedText()->text(), QStringLiteral("Member since 2001"));
  const QStringList evaluation =
      EvaluationStatementsBefore() + QStringList{QStringLiteral("exec dbo.Alerts_For '1001'")} +
      EvaluationStatementsAfter(QStringLiteral("1001"), QStringLiteral("STAFF1"));
  EXPECT_EQ(responder.Batches().join(QLatin1Char('\n')).toStdString(),
            (StartupStatements() + evaluation).join(QLatin1Char('\n')).toStdString());

  const qsizetype iBatches = responder.Batches().size();
  panel.udScrollAlerts_DownClick();
  EXPECT_EQ(panel.lblMore()->text(), QStringLiteral("2-6 (7)"));
  EXPECT_EQ(panel.detDetail(0)->Keyword(), QStringLiteral("Alert 2"));
  // Paging shows from memory; only the fixed text is asked for again.
  const QStringList after = responder.Batches().mid(iBatches);
  EXPECT_EQ(after.join(QLatin1Char('\n')).toStdString(),
            EvaluationStatementsAfter(QStringLiteral("1001"), QStringLiteral("STAFF1"))
                .last()
                .toStdString());
  EXPECT_EQ(responder.Logins().front()["password"].toString(), QStringLiteral("pw}x;"));
  EXPECT_EQ(responder.Attentions(), 0);
}

}  // namespace
}  // namespace twk
