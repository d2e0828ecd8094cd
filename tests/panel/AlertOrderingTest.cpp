// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "AutomationTarget.h"
#include "EvaluationFixture.h"

namespace twk {
namespace {

using testing::EvaluationFixture;

void Put(AlertEvaluation& evaluation, const std::vector<std::pair<const char*, int>>& alerts) {
  for (std::size_t i = 0; i < alerts.size(); ++i) {
    evaluation.aoAlerts[i].sKeyword = QString::fromUtf8(alerts[i].first);
    evaluation.aoAlerts[i].iRank = qint16(alerts[i].second);
  }
  evaluation.iAlertCount = qint16(alerts.size());
}

QStringList Order(const AlertEvaluation& evaluation, int iCount) {
  QStringList order;
  for (int i = 0; i < iCount; ++i) {
    const AlertOutput& alert = evaluation.aoAlerts[std::size_t(i)];
    order << alert.sKeyword + QLatin1Char(':') + QString::number(alert.iRank);
  }
  return order;
}

TEST(SortAlerts, EqualRanksEndInTheOrderTheExchangeSortLeaves) {
  AlertEvaluation evaluation;
  Put(evaluation, {{"A", 5}, {"B", 5}, {"C", 3}});
  evaluation.SortAlerts();
  EXPECT_EQ(Order(evaluation, 3), (QStringList{"C:3", "B:5", "A:5"}));

  AlertEvaluation untouched;
  Put(untouched, {{"A", 5}, {"B", 5}, {"C", 7}});
  untouched.SortAlerts();
  EXPECT_EQ(Order(untouched, 3), (QStringList{"A:5", "B:5", "C:7"}));
}

TEST(SortAlerts, RankZeroBecomesTheHighestAndNeverPassesAnAlert) {
  AlertEvaluation evaluation;
  Put(evaluation, {{"Zero", 0}, {"Two", 2}, {"One", 1}});
  evaluation.SortAlerts();
  EXPECT_EQ(Order(evaluation, 4), (QStringList{"One:1", "Two:2", "Zero:32767", ":32767"}));
  for (const AlertOutput& alert : evaluation.aoAlerts) EXPECT_NE(alert.iRank, 0);
}

TEST(SortAlerts, NegativeRanksComeFirst) {
  AlertEvaluation evaluation;
  Put(evaluation, {{"Four", 4}, {"Low", -32768}, {"Minus", -2}});
  evaluation.SortAlerts();
  EXPECT_EQ(Order(evaluation, 3), (QStringList{"Low:-32768", "Minus:-2", "Four:4"}));
}

class RecordingTarget : public AutomationTarget {
 public:
  void SetAll(const AlertOutput& alert) override { calls << "SetAll " + alert.sKeyword; }
  void PerformAutomation() override { calls << QStringLiteral("PerformAutomation"); }
  QStringList calls;
};

TEST(AlertAutomation, RunsOnlyForExactlyTrueInSlotOrder) {
  AlertEvaluation evaluation;
  RecordingTarget target;
  evaluation.SetAutomationTarget(&target);
  Put(evaluation, {{"Auto", 1}, {"Popup", 2}, {"One", 3}, {"Last", 4}});
  evaluation.aoAlerts[0].bAutoAction = -1;
  evaluation.aoAlerts[1].bAutoPopup = -1;
  evaluation.aoAlerts[1].bAutoClipboard = -1;
  evaluation.aoAlerts[2].bAutoAction = 1;
  evaluation.aoAlerts[100].sKeyword = QStringLiteral("Slot100");
  evaluation.aoAlerts[100].bAutoAction = -1;
  evaluation.AlertAutomation();
  EXPECT_EQ(target.calls, (QStringList{"SetAll Auto", "PerformAutomation", "SetAll Slot100",
                                       "PerformAutomation"}));
}

TEST(AlertAutomation, WithoutATargetEachStepIsReported) {
  ::twk::testing::RecordingPlatform platform;
  AlertEvaluation evaluation;
  evaluation.aoAlerts[0].bAutoAction = -1;
  evaluation.AlertAutomation();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.ctlTWK.AlertAutomation at line 100")));
  EXPECT_TRUE(platform.messages[1].sText.contains(
      QStringLiteral("in TWK.ctlTWK.AlertAutomation at line 110")));
}

TEST(ClearAlertDetails, ResetsTheShownFieldsAndKeepsTheRest) {
  AlertEvaluation evaluation;
  std::vector<int> cleared;
  evaluation.SetSlotClearedHook([&](int iSlot) { cleared.push_back(iSlot); });
  AlertOutput& alert = evaluation.aoAlerts[7];
  alert = AlertOutput{12,   "ID",  "1001", 3,    4,     "K", "D", "Tip", "Title",
                      "Cb", "Cbd", "Act",  "Ad", "Log", -1,  -1,  -1,    -1};
  evaluation.ClearAlertDetails(7);

  EXPECT_EQ(alert.lSeqn, 12);
  EXPECT_EQ(alert.sTitleText, QStringLiteral("Title"));
  EXPECT_EQ(alert.sClipboardDescription, QStringLiteral("Cbd"));
  EXPECT_EQ(alert.sActionDescription, QStringLiteral("Ad"));
  const QStringList emptied{alert.sEventType,   alert.sKeyValue,    alert.sKeyword,
                            alert.sDescription, alert.sTooltipText, alert.sClipboardText,
                            alert.sActionText,  alert.sLogText};
  for (const QString& sText : emptied) EXPECT_TRUE(sText.isEmpty());
  EXPECT_EQ(alert.iRank + alert.iIcon, 0);
  EXPECT_EQ(alert.bPlaySound | alert.bAutoPopup | alert.bAutoClipboard | alert.bAutoAction, 0);
  EXPECT_EQ(cleared, std::vector<int>{7});
}

class RefreshItems : public EvaluationFixture {};

TEST_F(RefreshItems, AutomatesInRankOrderAfterSorting) {
  RecordingTarget target;
  evaluation.SetAutomationTarget(&target);
  AddDefinition(
      QStringLiteral("select 'Late' as KEYWORD, 'd' as DESCRIPTION, 9 as RANK, -1 as AUTO_ACTION "
                     "union all select 'Popup', 'd', 1, 0 "
                     "union all select 'Early', 'd', 2, -1"));
  AddDefinition(QStringLiteral(
      "insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, KEYWORD, DESCRIPTION, "
      "AUTO_POPUP) values (@@spid, @id, 0, 'Unranked', 'd', -1)"));
  evaluation.RefreshItems(QStringLiteral("1001"));

  EXPECT_EQ(Order(evaluation, evaluation.iAlertCount),
            (QStringList{"Popup:1", "Early:2", "Late:9", "Unranked:32767"}));
  EXPECT_EQ(target.calls,
            (QStringList{"SetAll Early", "PerformAutomation", "SetAll Late", "PerformAutomation"}));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RefreshItems, DisabledDefinitionIsSkippedFromTheNextEvaluation) {
  Raw(
      QStringLiteral("insert into ttwk_AlertDefinitions (SEQN, CRITERIA, ALERT_TYPE) values "
                     "(7, 'select ''Seven'' as KEYWORD, ''d'' as DESCRIPTION', 'SQL')"));
  AddDefinition(QStringLiteral("select 'Eight' as KEYWORD, 'd' as DESCRIPTION"));
  evaluation.RefreshItems(QStringLiteral("1001"));
  EXPECT_EQ(Keywords(), (QStringList{"Seven", "Eight"}));

  evaluation.DisableAlert(QVariant(7));
  EXPECT_EQ(RawValue(QStringLiteral("select ENABLED from ttwk_AlertDefinitions where SEQN = 7")),
            QStringLiteral("0"));
  evaluation.RefreshItems(QStringLiteral("1001"));
  EXPECT_EQ(Keywords(), QStringList{"Eight"});
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RefreshItems, DisablingTakesOnlyAWholeNumberIntoTheStatement) {
  for (int i = 0; i < 3; ++i) AddDefinition(QStringLiteral("select 1"));
  // Whatever the host hands over must not widen or extend the update.
  evaluation.DisableAlert(QVariant(QStringLiteral("1 or 1 = 1")));
  evaluation.DisableAlert(
      QVariant(QStringLiteral("1; update ttwk_AlertDefinitions set ENABLED = 0")));
  evaluation.DisableAlert(QVariant(QStringLiteral("1.5")));
  EXPECT_EQ(
      RawValue(QStringLiteral("select count(*) from ttwk_AlertDefinitions where ENABLED = 1")),
      QStringLiteral("3"));

  evaluation.DisableAlert(QVariant(QStringLiteral(" 2 ")));
  evaluation.DisableAlert(QVariant(3.0));
  EXPECT_EQ(RawValue(QStringLiteral("select group_concat(SEQN) from ttwk_AlertDefinitions "
                                    "where ENABLED = 1")),
            QStringLiteral("1"));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(RefreshItems, DisablingWithoutANumberIsReportedOnlyByTheStatementRunner) {
  AddDefinition(QStringLiteral("select 'K' as KEYWORD, 'd' as DESCRIPTION"));
  evaluation.DisableAlert(QVariant());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.Exec_SQL_No_Return at line 100")));
  EXPECT_EQ(
      RawValue(QStringLiteral("select count(*) from ttwk_AlertDefinitions where ENABLED = 1")),
      QStringLiteral("1"));
}

}  // namespace
}  // namespace twk
