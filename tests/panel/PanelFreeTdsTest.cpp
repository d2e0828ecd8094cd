// SPDX-License-Identifier: MIT
// The alert panel through FreeTDS against the scripted TDS responder, which
// stands in for SQL Server with the libraries' own statements.
#include <gtest/gtest.h>

#include <QLabel>

#include "DefinitionWorkbench.h"
#include "ImisScript.h"
#include "ModuleFixture.h"
#include "ScriptedHost.h"
#include "TdsResponder.h"
#include "ctlAlertDetail.h"
#include "ctlTWK.h"
#include "modSubroutines.h"

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

TEST_F(PanelThroughFreeTds, ACheckSendsTheTextUnderNoexecAndPlacesTheServersRefusal) {
  const QString sSound = QStringLiteral("select KEYWORD from Alerts where ID = {id}");
  const QString sBroken = QStringLiteral("select 1\nselect ID fromm Name where ID = {id}");
  const auto Sent = [](const QString& s) {
    return QStringLiteral("set noexec on; ") + QString(s).replace(u"{id}"_qs, u"'1001'"_qs) +
           QStringLiteral("\nset noexec off");
  };
  const QJsonArray batches = {
      Answer(Sent(sSound), {QJsonObject{{"done", QJsonValue()}}}),
      Answer(Sent(sBroken), {ErrorToken(102, QStringLiteral("Incorrect syntax near 'Name'."))}),
      Answer(QStringLiteral("set noexec off"), {QJsonObject{{"done", QJsonValue()}}})};
  TdsResponder responder(ImisScript(QJsonArray(), batches, QString()));
  TWK_REQUIRE_RESPONDER(responder);
  modSubroutines::CalculateAuthID(QStringLiteral("STAFF1_ASSOC_i"), QStringLiteral("ASSOC"));
  ASSERT_TRUE(modSubroutines::InitializeConnection(
      responder.DefineDataSource(scratch.path(), QStringLiteral("Imis")), QStringLiteral("ASSOC"),
      QStringLiteral("STAFF1_ASSOC_i"), QStringLiteral("pw"), 9))
      << AllMessageText().toStdString();
  const qsizetype iStart = responder.Batches().size();

  EXPECT_TRUE(DefinitionWorkbench::Check(sSound, QStringLiteral("1001")).Passed());
  const DefinitionCheck refused = DefinitionWorkbench::Check(sBroken, QStringLiteral("1001"));
  // FreeTDS keeps the server's line to itself; the quoted text stands once.
  EXPECT_TRUE(refused.Text().startsWith(u"Line 2, column 17: "_qs)) << refused.Text().toStdString();
  EXPECT_TRUE(refused.Text().endsWith(u"Incorrect syntax near 'Name'."_qs))
      << refused.Text().toStdString();
  // Only the compile-only batches reached the server, each followed by the
  // option put back.
  EXPECT_EQ(responder.Batches().mid(iStart).join(u'\n').toStdString(),
            QStringList({Sent(sSound), QStringLiteral("set noexec off"), Sent(sBroken),
                         QStringLiteral("set noexec off")})
                .join(u'\n')
                .toStdString());
  modSubroutines::ReleaseConnection();
}

}  // namespace
}  // namespace twk
