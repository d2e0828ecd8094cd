// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "EvaluationFixture.h"

namespace twk {
namespace {

using testing::EvaluationFixture;

class RunAlertRules : public EvaluationFixture {};

QString Keyword(const char* pKeyword) {
  return QStringLiteral("select '%1' as KEYWORD, 'About it' as DESCRIPTION").arg(pKeyword);
}

TEST_F(RunAlertRules, NoEnabledDefinitionStillClearsOwnRowsAndResetsEverySlot) {
  AddDefinition(Keyword("Off"), QStringLiteral("SQL"), false);
  Raw(QStringLiteral("insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, KEYWORD, DESCRIPTION) "
                     "values (%1, '1001', 'Stale', 'left by an earlier run')")
          .arg(OwnSpid()));
  evaluation.aoAlerts[40].sKeyword = QStringLiteral("from the previous record");
  evaluation.iAlertCount = 41;

  const auto rules = evaluation.ReadAlertRules();
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0].SEQN, 0);
  EXPECT_TRUE(rules[0].ALERT_TYPE.isEmpty());
  evaluation.RunAlertRules(rules, QStringLiteral("1001"));

  EXPECT_EQ(evaluation.iAlertCount, 0);
  EXPECT_TRUE(evaluation.aoAlerts[40].sKeyword.isEmpty());
  EXPECT_EQ(RawValue(QStringLiteral("select count(*) from ttwk_AlertOutput")), QStringLiteral("0"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RunAlertRules, RunsOnlyTypesSqlAndSqlSilentSpelledExactly) {
  AddDefinition(Keyword("Upper"), QStringLiteral("SQL"));
  AddDefinition(Keyword("Lower"), QStringLiteral("sql"));
  AddDefinition(Keyword("Silent"), QStringLiteral("SQLSilent"));
  AddDefinition(Keyword("Other"), QStringLiteral("URL"));
  Evaluate();
  EXPECT_EQ(Keywords(), (QStringList{QStringLiteral("Upper"), QStringLiteral("Silent")}));
}

TEST_F(RunAlertRules, DirectRowsFillFromExactColumnNamesAndDefaultEventAndKey) {
  const qint32 lSeqn = AddDefinition(QStringLiteral(
      "select 'K' as KEYWORD, 'D' as DESCRIPTION, 'T' as TITLE_TEXT, 'ignored' as Title_Text, "
      "7 as ICON, 'extra' as SOMETHING_ELSE"));
  AddDefinition(QStringLiteral("select 'k' as keyword, 'd' as description"));
  AddDefinition(QStringLiteral("select 'X' as KEYWORD, 'd' as Description"));
  AddDefinition(QStringLiteral(
      "select 'NAME' as EVENT_TYPE, 'Smith' as KEY_VALUE, 'Own' as KEYWORD, 'D' as DESCRIPTION"));
  Evaluate(QStringLiteral("1001"));

  ASSERT_EQ(Keywords(), (QStringList{QStringLiteral("K"), QStringLiteral("Own")}));
  const AlertOutput& first = evaluation.aoAlerts[0];
  EXPECT_EQ(first.lSeqn, lSeqn);
  EXPECT_EQ(first.sEventType, QStringLiteral("ID"));
  EXPECT_EQ(first.sKeyValue, QStringLiteral("1001"));
  EXPECT_EQ(first.sTitleText, QStringLiteral("T"));
  EXPECT_EQ(first.iIcon, 7);
  EXPECT_EQ(evaluation.aoAlerts[1].sEventType, QStringLiteral("NAME"));
  EXPECT_EQ(evaluation.aoAlerts[1].sKeyValue, QStringLiteral("Smith"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RunAlertRules, TableRowsAreReadOnlyForThisConnectionAndLeftInPlace) {
  // 64 is the first connection of process 1, which always runs: a live
  // connection of another process, whose rows must stay.
  Raw(
      QStringLiteral("insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, KEYWORD, DESCRIPTION) "
                     "values (64, '1001', 'Foreign', 'another connection''s')"));
  AddDefinition(QStringLiteral(
      "insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, KEYWORD, DESCRIPTION, "
      "CLIPBOARD_TEXT, AUTO_POPUP) values (@@spid, @id, 3, 'Written', 'by the batch', null, 1)"));
  Evaluate(QStringLiteral("1001"));
  Evaluate(QStringLiteral("1001"));

  ASSERT_EQ(Keywords(), QStringList{QStringLiteral("Written")});
  const AlertOutput& alert = evaluation.aoAlerts[0];
  EXPECT_EQ(alert.lSeqn, -1);
  EXPECT_EQ(alert.iRank, 3);
  EXPECT_EQ(alert.bAutoPopup, -1);
  EXPECT_TRUE(alert.sClipboardText.isEmpty());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(RawValue(QStringLiteral("select count(*) from ttwk_AlertOutput where OWNER_SPID = "
                                    "64")),
            QStringLiteral("1"));
  EXPECT_EQ(RawValue(QStringLiteral("select count(*) from ttwk_AlertOutput")), QStringLiteral("2"));
}

TEST_F(RunAlertRules, TooltipDefaultsToTheFirstLineOfTheDescription) {
  AddDefinition(QStringLiteral(
      "select 'A' as KEYWORD, 'First' + char(13) + char(10) + 'Second' as DESCRIPTION "
      "union all select 'B', char(13) + 'Starts with a return' "
      "union all select 'C', 'One line'"));
  AddDefinition(QStringLiteral(
      "select 'D' as KEYWORD, 'x' + char(13) + 'y' as DESCRIPTION, 'Given' as TOOLTIP_TEXT"));
  Evaluate();
  ASSERT_EQ(evaluation.iAlertCount, 4);
  EXPECT_EQ(evaluation.aoAlerts[0].sTooltipText, QStringLiteral("First (more)"));
  EXPECT_EQ(evaluation.aoAlerts[1].sTooltipText, QStringLiteral("\rStarts with a return"));
  EXPECT_EQ(evaluation.aoAlerts[2].sTooltipText, QStringLiteral("One line"));
  EXPECT_EQ(evaluation.aoAlerts[3].sTooltipText, QStringLiteral("Given"));
}

TEST_F(RunAlertRules, DroppedCandidateLeavesItsTitleInTheReusedSlot) {
  std::vector<int> clearedSlots;
  evaluation.SetSlotClearedHook([&](int iSlot) { clearedSlots.push_back(iSlot); });
  AddDefinition(QStringLiteral(
      "select '' as KEYWORD, 'no keyword' as DESCRIPTION, 'Old title' as TITLE_TEXT, "
      "'tip' as TOOLTIP_TEXT, 5 as RANK"));
  const qint32 lSecond = AddDefinition(Keyword("Kept"));
  Evaluate();

  ASSERT_EQ(Keywords(), QStringList{QStringLiteral("Kept")});
  const AlertOutput& alert = evaluation.aoAlerts[0];
  EXPECT_EQ(alert.lSeqn, lSecond);
  EXPECT_EQ(alert.sTitleText, QStringLiteral("Old title"));
  EXPECT_EQ(alert.sTooltipText, QStringLiteral("About it"));
  EXPECT_EQ(alert.iRank, 0);
  EXPECT_EQ(clearedSlots, std::vector<int>{0});
  // An empty text is a value, not a null.
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

// The server stops a recursion deeper than 100 unless the query lifts the bound.
const QString sRows = QStringLiteral(
    "with n(i) as (select 1 union all select i + 1 from n where i < %1) "
    "select 'k' + convert(varchar(10), i) as KEYWORD, 'd' as DESCRIPTION from n "
    "option (maxrecursion 0)");

TEST_F(RunAlertRules, ExactlyOneHundredAndOneAlertsAreAllKeptAfterOneMessage) {
  AddDefinition(sRows.arg(101));
  Evaluate();
  EXPECT_EQ(evaluation.iAlertCount, 101);
  EXPECT_EQ(evaluation.aoAlerts[100].sKeyword, QStringLiteral("k101"));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("Maximum alerts exceeded"));
  EXPECT_EQ(
      platform.messages[0].sText,
      QStringLiteral("Critical error!  Exceeded maximum number of alert outputs for this record!"));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
}

TEST_F(RunAlertRules, CandidatesBeyondTheLastSlotAreDropped) {
  AddDefinition(sRows.arg(3000));
  AddDefinition(
      QStringLiteral("insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, KEYWORD, DESCRIPTION) "
                     "values (@@spid, @id, 'Table', 'row')"));
  AddDefinition(Keyword("Late"));
  Evaluate();
  EXPECT_EQ(evaluation.iAlertCount, 101);
  EXPECT_EQ(evaluation.aoAlerts[100].sKeyword, QStringLiteral("k101"));
  EXPECT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Maximum alerts exceeded")});
  // The definitions after the overflow still ran.
  EXPECT_EQ(RawValue(QStringLiteral("select KEYWORD from ttwk_AlertOutput")),
            QStringLiteral("Table"));
}

TEST_F(RunAlertRules, TableRowsWrittenAfterALargeFirstResultAreRead) {
  AddDefinition(
      QStringLiteral("with n(i) as (select 1 union all select i + 1 from n where i < 5000) "
                     "select 'unfinished' as KEYWORD from n option (maxrecursion 0)\n"
                     "insert ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, KEYWORD, DESCRIPTION) "
                     "values (@@spid, @id, 'Table', 'row')"));
  Evaluate();
  EXPECT_EQ(Keywords(), QStringList{QStringLiteral("Table")});
}

TEST_F(RunAlertRules, BrokenDefinitionYieldsNothingSilentlyAndTheNextStillRuns) {
  AddDefinition(QStringLiteral("select frobnicate from no_such_table"));
  AddDefinition(QStringLiteral("insert into ttwk_AlertOutput (OWNER_SPID) values (@@spid)"));
  AddDefinition(Keyword("After"));
  Evaluate();
  EXPECT_EQ(Keywords(), QStringList{QStringLiteral("After")});
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(RunAlertRules, ADefinitionFailingAfterItsFirstRowsWereTakenYieldsNothingSilently) {
  // Rows past the first thousand are read only as the evaluation walks them,
  // so the division by zero in row 1500 comes after rows 10 and 20 were taken.
  AddDefinition(
      QStringLiteral("with n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                     "select case when i in (10, 20) then 'Early' else '' end as KEYWORD, "
                     "case when i = 1500 then convert(varchar(10), 1 / (1500 - i)) else 'd' end "
                     "as DESCRIPTION from n option (maxrecursion 0)"));
  AddDefinition(Keyword("After"));
  Evaluate();
  EXPECT_EQ(Keywords(), QStringList{QStringLiteral("After")});
  EXPECT_EQ(evaluation.aoAlerts[1].sKeyword, QString());
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(RunAlertRules, NullTitleInTheTableIsReportedWhileNullClipboardTextIsNot) {
  // The server's table may allow nulls in any column; give this one that shape.
  Raw(QStringLiteral(
      "drop table ttwk_AlertOutput; create table ttwk_AlertOutput (OWNER_SPID int, "
      "EVENT_TYPE nvarchar(60), KEY_VALUE nvarchar(255), RANK smallint, ICON smallint, "
      "KEYWORD nvarchar(4000), DESCRIPTION nvarchar(4000), TOOLTIP_TEXT nvarchar(4000), "
      "TITLE_TEXT nvarchar(4000), CLIPBOARD_TEXT nvarchar(4000), "
      "CLIPBOARD_DESCRIPTION nvarchar(4000), ACTION_TEXT nvarchar(4000), "
      "ACTION_DESCRIPTION nvarchar(4000), LOG_TEXT nvarchar(4000), PLAY_SOUND bit, "
      "AUTO_POPUP bit, AUTO_CLIPBOARD bit, AUTO_ACTION bit)"));
  AddDefinition(QStringLiteral(
      "insert into ttwk_AlertOutput values (@@spid, 'ID', @id, 1, 2, 'K', 'D', 'tip', null, null, "
      "'cd', 'act', 'ad', 'log', 0, 0, 0, -1)"));
  Evaluate();

  ASSERT_EQ(evaluation.iAlertCount, 1);
  const AlertOutput& alert = evaluation.aoAlerts[0];
  EXPECT_TRUE(alert.sTitleText.isEmpty());
  EXPECT_TRUE(alert.sClipboardText.isEmpty());
  EXPECT_EQ(alert.sClipboardDescription, QStringLiteral("cd"));
  EXPECT_EQ(alert.bAutoAction, -1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("Invalid use of Null\r\nin TWK.ctlTWK.RunAlertRules at line 230\r\n"
                           "Source: TWK"));
}

// The 17 columns of ttwk_AlertOutput in their order, each with a type, for
// tables of other shapes than the one the database is created with.
QString OutputColumns(bool bLowerCase, const QString& sLeftOut = QString()) {
  QStringList columns{QStringLiteral("OWNER_SPID int")};
  for (const char* pName : {"EVENT_TYPE", "KEY_VALUE", "RANK", "ICON", "KEYWORD", "DESCRIPTION",
                            "TOOLTIP_TEXT", "TITLE_TEXT", "CLIPBOARD_TEXT", "CLIPBOARD_DESCRIPTION",
                            "ACTION_TEXT", "ACTION_DESCRIPTION", "LOG_TEXT", "PLAY_SOUND",
                            "AUTO_POPUP", "AUTO_CLIPBOARD", "AUTO_ACTION"}) {
    const QString sName = QString::fromLatin1(pName);
    if (sName == sLeftOut) continue;
    const bool bNumber = sName == QLatin1StringView("RANK") || sName == QLatin1StringView("ICON") ||
                         sName.startsWith(QLatin1StringView("PLAY_")) ||
                         sName.startsWith(QLatin1StringView("AUTO_"));
    columns << (bLowerCase ? sName.toLower() : sName) +
                   (bNumber ? QStringLiteral(" smallint default 0")
                            : QStringLiteral(" nvarchar(4000) default ''"));
  }
  return columns.join(QStringLiteral(", "));
}

TEST_F(RunAlertRules, TableRowsAreReadByNameWhateverTheLetterCaseOfTheTable) {
  Raw(QStringLiteral("drop table ttwk_AlertOutput; create table ttwk_AlertOutput (%1)")
          .arg(OutputColumns(true)));
  AddDefinition(
      QStringLiteral("insert into ttwk_AlertOutput (owner_spid, event_type, key_value, rank, icon, "
                     "keyword, description, "
                     "title_text, auto_action) values (@@spid, 'ID', @id, 4, 12, 'Lower', 'in a "
                     "lower-case table', "
                     "'Title', 1)"));
  Evaluate();
  ASSERT_EQ(Keywords(), QStringList{QStringLiteral("Lower")});
  const AlertOutput& alert = evaluation.aoAlerts[0];
  EXPECT_EQ(alert.lSeqn, -1);
  EXPECT_EQ(alert.iRank, 4);
  EXPECT_EQ(alert.iIcon, 12);
  EXPECT_EQ(alert.sTitleText, QStringLiteral("Title"));
  EXPECT_EQ(alert.bAutoAction, -1);
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(RunAlertRules, AColumnMissingFromTheOutputTableIsReportedAndTheRestIsRead) {
  Raw(QStringLiteral("drop table ttwk_AlertOutput; create table ttwk_AlertOutput (%1)")
          .arg(OutputColumns(false, QStringLiteral("LOG_TEXT"))));
  AddDefinition(
      QStringLiteral("insert into ttwk_AlertOutput (OWNER_SPID, EVENT_TYPE, KEY_VALUE, KEYWORD, "
                     "DESCRIPTION, AUTO_ACTION) values (@@spid, 'ID', @id, 'K', 'D', -1)"));
  Evaluate();
  ASSERT_EQ(Keywords(), QStringList{QStringLiteral("K")});
  EXPECT_EQ(evaluation.aoAlerts[0].bAutoAction, -1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.ctlTWK.RunAlertRules at line 230")));
}

TEST_F(RunAlertRules, WithoutTheOutputTableOnlyTheDeleteIsReportedAndDirectRowsStillCount) {
  Raw(QStringLiteral("drop table ttwk_AlertOutput"));
  AddDefinition(Keyword("Direct"));
  Evaluate();
  EXPECT_EQ(Keywords(), QStringList{QStringLiteral("Direct")});
  ASSERT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.Exec_SQL_No_Return at line")));
}

TEST_F(RunAlertRules, TemporaryObjectsOfOneDefinitionServeTheLaterOnes) {
  AddDefinition(QStringLiteral(
      "create table #scratch (WHO varchar(30))\ninsert into #scratch values ({user})"));
  AddDefinition(QStringLiteral("select 'Seen' as KEYWORD, WHO as DESCRIPTION from #scratch"));
  Evaluate();
  ASSERT_EQ(Keywords(), QStringList{QStringLiteral("Seen")});
  EXPECT_EQ(evaluation.aoAlerts[0].sDescription, QStringLiteral("MANAGER"));
}

TEST_F(RunAlertRules, ConvertsRanksAndFlagsAndReportsWhatDoesNotFit) {
  AddDefinition(QStringLiteral(
      "select 'A' as KEYWORD, 'd' as DESCRIPTION, '2.5' as RANK, 3.5 as ICON, 'True' as "
      "AUTO_ACTION, 'false' as AUTO_POPUP, 1 as PLAY_SOUND"));
  AddDefinition(QStringLiteral(
      "select 'B' as KEYWORD, 'd' as DESCRIPTION, 40000 as RANK, 'maybe' as AUTO_CLIPBOARD, "
      "null as TITLE_TEXT, 9 as ICON"));
  Evaluate();

  ASSERT_EQ(evaluation.iAlertCount, 2);
  const AlertOutput& first = evaluation.aoAlerts[0];
  EXPECT_EQ(first.iRank, 2);
  EXPECT_EQ(first.iIcon, 4);
  EXPECT_EQ(first.bAutoAction, -1);
  EXPECT_EQ(first.bAutoPopup, 0);
  EXPECT_EQ(first.bPlaySound, -1);
  const AlertOutput& second = evaluation.aoAlerts[1];
  EXPECT_EQ(second.iRank, 0);
  EXPECT_EQ(second.bAutoClipboard, 0);
  EXPECT_EQ(second.iIcon, 9);
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_TRUE(platform.messages[0].sText.startsWith(QStringLiteral("Overflow\r\n")));
  EXPECT_TRUE(platform.messages[1].sText.startsWith(QStringLiteral("Type mismatch\r\n")));
  EXPECT_TRUE(platform.messages[2].sText.startsWith(QStringLiteral("Invalid use of Null\r\n")));
  for (const auto& message : platform.messages) {
    EXPECT_TRUE(message.sText.contains(QStringLiteral("in TWK.ctlTWK.RunAlertRules at line 160")));
  }
}

TEST_F(RunAlertRules, RecordIdWithAnApostropheIsInsertedSafely) {
  AddDefinition(
      QStringLiteral("select 'K' as KEYWORD, 'About ' + @id as DESCRIPTION, "
                     "{user} as TITLE_TEXT"));
  const QString sId = QStringLiteral("1'; delete from ttwk_AlertDefinitions; --");
  Evaluate(sId);
  ASSERT_EQ(evaluation.iAlertCount, 1);
  EXPECT_EQ(evaluation.aoAlerts[0].sDescription, QStringLiteral("About ") + sId);
  EXPECT_EQ(evaluation.aoAlerts[0].sKeyValue, sId);
  EXPECT_EQ(evaluation.aoAlerts[0].sTitleText, QStringLiteral("MANAGER"));
  EXPECT_EQ(RawValue(QStringLiteral("select count(*) from ttwk_AlertDefinitions")),
            QStringLiteral("1"));
}

TEST_F(RunAlertRules, ADefinitionWithoutSeqnIsDisabledFirstAndStillRead) {
  // The server's table would not allow it; an older copy of it might.
  Raw(QStringLiteral(
      "drop table ttwk_AlertDefinitions; create table ttwk_AlertDefinitions (SEQN int, "
      "CRITERIA nvarchar(3072), ENABLED bit, DESCRIPTION nvarchar(255), "
      "ALERT_TYPE nvarchar(255), ALERT_ID nvarchar(20)); "
      "insert into ttwk_AlertDefinitions values (null, 'select 1', 1, '', 'SQL', 'A'), "
      "(5, 'select 5', 1, 'five', 'SQLSilent', 'B')"));
  const auto rules = evaluation.ReadAlertRules();

  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0].SEQN, 0);
  EXPECT_EQ(rules[0].CRITERIA, QStringLiteral("select 1"));
  EXPECT_EQ(rules[1].SEQN, 5);
  EXPECT_EQ(rules[1].ALERT_TYPE, QStringLiteral("SQLSilent"));
  // The update without a number fails on its own report; reading the null
  // SEQN as a number is the rule reader's.
  ASSERT_EQ(platform.messages.size(), 2u) << AllMessageText().toStdString();
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.Exec_SQL_No_Return at line")));
  EXPECT_EQ(platform.messages[1].sText,
            QStringLiteral("Invalid use of Null\r\nin TWK.ctlTWK.ReadAlertRules at line 130\r\n"
                           "Source: TWK"));
}

TEST_F(RunAlertRules, UnreadableDefinitionsAreReportedAndRunNothing) {
  Raw(QStringLiteral("drop table ttwk_AlertDefinitions"));
  const auto rules = evaluation.ReadAlertRules();
  EXPECT_TRUE(rules.empty());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.ctlTWK.ReadAlertRules at line 110")));
}

TEST_F(RunAlertRules, AnIdMadeToCloseTheAuthorsLiteralFindsNothing) {
  Raw(QStringLiteral("create table NOTES (NOTE varchar(40))"));
  Raw(QStringLiteral("insert into NOTES values ('about 1001'), ('about 1002'), ('other')"));
  AddDefinition(QStringLiteral(
      "select NOTE as KEYWORD, 'd' as DESCRIPTION from NOTES where NOTE like '%{id}%'"));
  Evaluate(QStringLiteral("1002"));
  EXPECT_EQ(Keywords(), QStringList{QStringLiteral("about 1002")});
  Evaluate(QStringLiteral("' or 1=1 or NOTE like '"));
  EXPECT_TRUE(Keywords().isEmpty());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RunAlertRules, ARowWithAnEmptyEventTypeOrKeyValueIsNotAccepted) {
  AddDefinition(
      QStringLiteral("select '' as EVENT_TYPE, 'NoType' as KEYWORD, 'd' as DESCRIPTION union all "
                     "select 'ID', 'NoKey', 'd' where 1 = 0 union all "
                     "select 'NAME', 'Both', 'd'"));
  AddDefinition(
      QStringLiteral("select '' as KEY_VALUE, 'NoKey' as KEYWORD, 'd' as DESCRIPTION union all "
                     "select 'x', 'Kept', 'd'"));
  Evaluate(QStringLiteral("1001"));
  EXPECT_EQ(Keywords(), (QStringList{QStringLiteral("Both"), QStringLiteral("Kept")}));
}

}  // namespace
}  // namespace twk
