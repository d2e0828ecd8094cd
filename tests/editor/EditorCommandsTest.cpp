// SPDX-License-Identifier: MIT
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "DefinitionGrid.h"
#include "EditorFixture.h"
#include "LimitedTextBox.h"

namespace twk::testing {
namespace {

class EditorCommands : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    sFirst =
        AddDefinition(QStringLiteral("FIRST"), QStringLiteral("one"), QStringLiteral("select 1"));
    sLast = AddDefinition(QStringLiteral("LAST"), QStringLiteral("two"), QStringLiteral("select 2"),
                          false, QStringLiteral("SQLSilent"));
    editor = StartEditor();
  }

  void Type(const QString& sName, const QString& sDescription, const QString& sCriteria,
            const QString& sType = QStringLiteral("SQL")) {
    editor->txtName()->setText(sName);
    editor->txtDescription()->SetText(sDescription);
    editor->txtCriteria()->SetText(sCriteria);
    editor->ComType()->setEditText(sType);
  }

  bool FormShows(const QString& sSeqn, const QString& sName, const QString& sCriteria,
                 const QString& sType, bool bEnabled) const {
    return editor->lblSeqn()->text() == sSeqn && editor->txtName()->text() == sName &&
           editor->txtCriteria()->Text() == sCriteria &&
           editor->ComType()->currentText() == sType &&
           editor->OptEnabled(1)->isChecked() == bEnabled &&
           editor->OptEnabled(2)->isChecked() == !bEnabled;
  }

  QString sFirst, sLast;
  std::unique_ptr<ctlEditTWK> editor;
};

TEST_F(EditorCommands, NewEmptiesTheFormWithTypeSqlAndLeavesTheList) {
  ClickRow(*editor, 2);
  editor->cmdNew_Click();
  EXPECT_TRUE(FormShows(QString(), QString(), QString(), QStringLiteral("SQL"), true));
  EXPECT_TRUE(editor->txtDescription()->Text().isEmpty());
  EXPECT_EQ(editor->grdTWKResults()->Row(), 2);
  EXPECT_EQ(Definitions(), 2);
}

TEST_F(EditorCommands, SaveOfANewDefinitionInsertsAndShowsItsNumber) {
  editor->cmdNew_Click();
  Type(QStringLiteral("THIRD"), QString(), QStringLiteral("select 3"));
  editor->OptEnabled(2)->setChecked(true);
  editor->cmdSave_Click();
  const QString sNew = RawValue(QStringLiteral("select max(SEQN) from ttwk_AlertDefinitions"));
  EXPECT_EQ(editor->lblSeqn()->text(), sNew);
  EXPECT_EQ(Column(QStringLiteral("ALERT_ID")), QStringLiteral("FIRST|LAST|THIRD"));
  EXPECT_EQ(Column(QStringLiteral("ENABLED")), QStringLiteral("1|0|0"));
  const DefinitionGrid& grid = *editor->grdTWKResults();
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.TextMatrix(3, 2), QStringLiteral("THIRD"));
  EXPECT_EQ(grid.TextMatrix(3, 4), QStringLiteral("Disabled"));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(EditorCommands, SecondSaveUpdatesTheSameDefinition) {
  editor->cmdNew_Click();
  Type(QStringLiteral("THIRD"), QStringLiteral("d"), QStringLiteral("select 3"));
  editor->cmdSave_Click();
  const QString sNew = editor->lblSeqn()->text();
  editor->txtName()->setText(QStringLiteral("RENAMED"));
  editor->cmdSave_Click();
  EXPECT_EQ(Definitions(), 3);
  EXPECT_EQ(editor->lblSeqn()->text(), sNew);
  EXPECT_EQ(
      RawValue(QStringLiteral("select ALERT_ID from ttwk_AlertDefinitions where SEQN = ") + sNew),
      QStringLiteral("RENAMED"));
}

TEST_F(EditorCommands, SaveOfALoadedDefinitionUpdatesItAndKeepsTheForm) {
  ClickRow(*editor, 1);
  editor->txtCriteria()->SetText(QStringLiteral("select 11"));
  editor->OptEnabled(2)->setChecked(true);
  editor->cmdSave_Click();
  EXPECT_EQ(Column(QStringLiteral("CRITERIA")), QStringLiteral("select 11|select 2"));
  EXPECT_EQ(Column(QStringLiteral("ENABLED")), QStringLiteral("0|0"));
  EXPECT_TRUE(FormShows(sFirst, QStringLiteral("FIRST"), QStringLiteral("select 11"),
                        QStringLiteral("SQL"), false));
  EXPECT_EQ(editor->grdTWKResults()->TextMatrix(1, 4), QStringLiteral("Disabled"));
}

TEST_F(EditorCommands, EmptyNameIsRefusedFirstEvenWithEmptyCriteria) {
  editor->cmdNew_Click();
  editor->cmdSave_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText, QStringLiteral("Alert Name cannot be blank."));
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("Missing Information"));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(Definitions(), 2);
}

TEST_F(EditorCommands, EmptyCriteriaIsRefusedButSpacesPass) {
  editor->cmdNew_Click();
  Type(QStringLiteral("X"), QString(), QString());
  editor->cmdSave_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText, QStringLiteral("Criteria cannot be blank."));
  EXPECT_EQ(Definitions(), 2);
  EXPECT_TRUE(FormShows(QString(), QStringLiteral("X"), QString(), QStringLiteral("SQL"), true));
  editor->txtCriteria()->SetText(QStringLiteral("   "));
  editor->cmdSave_Click();
  EXPECT_EQ(Definitions(), 3);
}

TEST_F(EditorCommands, ApostrophesEverywhereAreStoredUnchanged) {
  editor->cmdNew_Click();
  Type(QStringLiteral("O'Hara \"q\""), QStringLiteral("it's"),
       QStringLiteral("select 'x' as KEYWORD"), QStringLiteral("SQL'ish"));
  editor->cmdSave_Click();
  const QString sWhere =
      QStringLiteral(" from ttwk_AlertDefinitions where SEQN = ") + editor->lblSeqn()->text();
  EXPECT_EQ(RawValue(QStringLiteral("select ALERT_ID") + sWhere), QStringLiteral("O'Hara \"q\""));
  EXPECT_EQ(RawValue(QStringLiteral("select DESCRIPTION") + sWhere), QStringLiteral("it's"));
  EXPECT_EQ(RawValue(QStringLiteral("select CRITERIA") + sWhere),
            QStringLiteral("select 'x' as KEYWORD"));
  EXPECT_EQ(RawValue(QStringLiteral("select ALERT_TYPE") + sWhere), QStringLiteral("SQL'ish"));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(EditorCommands, FailedInsertKeepsTheFormAndTakesNoEarlierNumber) {
  // An earlier insert on the same connection leaves an identity behind.
  editor->cmdNew_Click();
  Type(QStringLiteral("THIRD"), QString(), QStringLiteral("select 3"));
  editor->cmdSave_Click();
  ASSERT_FALSE(editor->lblSeqn()->text().isEmpty());
  Raw(
      QStringLiteral("create trigger refuse before insert on ttwk_AlertDefinitions when "
                     "new.ALERT_ID = 'FOURTH' begin select raise(abort, 'refused'); end"));
  editor->cmdNew_Click();
  Type(QStringLiteral("FOURTH"), QStringLiteral("d"), QStringLiteral("select 4"),
       QStringLiteral("SQLSilent"));
  editor->cmdSave_Click();
  EXPECT_TRUE(AllMessageText().contains(QStringLiteral("Exec_SQL_No_Return")));
  EXPECT_TRUE(AllMessageText().contains(QStringLiteral("refused")));
  EXPECT_EQ(Definitions(), 3);
  EXPECT_TRUE(FormShows(QString(), QStringLiteral("FOURTH"), QStringLiteral("select 4"),
                        QStringLiteral("SQLSilent"), true));
  EXPECT_EQ(editor->txtDescription()->Text(), QStringLiteral("d"));
}

TEST_F(EditorCommands, DeleteWithoutALoadedDefinitionDoesNothing) {
  editor->cmdNew_Click();
  editor->cmdDelete_Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(Definitions(), 2);
}

TEST_F(EditorCommands, DeleteAnsweredNoLeavesTableListAndForm) {
  ClickRow(*editor, 1);
  editor->txtName()->setText(QStringLiteral("TYPED"));
  platform.AnswerNext(MessageAnswer::No);
  editor->cmdDelete_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("Are you sure you want to delete Alert SEQN ") + sFirst + "?");
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("Delete?"));
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(Definitions(), 2);
  EXPECT_TRUE(FormShows(sFirst, QStringLiteral("TYPED"), QStringLiteral("select 1"),
                        QStringLiteral("SQL"), true));
  EXPECT_EQ(editor->grdTWKResults()->Row(), 1);
}

TEST_F(EditorCommands, DeleteAnsweredYesRemovesAndLeavesAnEmptyType) {
  ClickRow(*editor, 2);
  platform.AnswerNext(MessageAnswer::Yes);
  editor->cmdDelete_Click();
  EXPECT_EQ(Column(QStringLiteral("ALERT_ID")), QStringLiteral("FIRST"));
  EXPECT_TRUE(FormShows(QString(), QString(), QString(), QString(), true));
  EXPECT_TRUE(editor->grdTWKResults()->TextMatrix(2, 2).isEmpty());
  // Saved from that form, a definition gets the empty type.
  Type(QStringLiteral("UNTYPED"), QString(), QStringLiteral("select 5"), QString());
  editor->cmdSave_Click();
  EXPECT_EQ(Column(QStringLiteral("ALERT_TYPE")), QStringLiteral("SQL|"));
}

TEST_F(EditorCommands, FailedDeleteKeepsTheDefinitionAndTheForm) {
  Raw(
      QStringLiteral("create trigger keep before delete on ttwk_AlertDefinitions "
                     "begin select raise(abort, 'kept'); end"));
  ClickRow(*editor, 2);
  editor->txtDescription()->SetText(QStringLiteral("typed meanwhile"));
  platform.AnswerNext(MessageAnswer::Yes);
  editor->cmdDelete_Click();
  EXPECT_EQ(Definitions(), 2);
  EXPECT_TRUE(FormShows(sLast, QStringLiteral("LAST"), QStringLiteral("select 2"),
                        QStringLiteral("SQLSilent"), false));
  EXPECT_EQ(editor->txtDescription()->Text(), QStringLiteral("typed meanwhile"));
  EXPECT_TRUE(AllMessageText().contains(QStringLiteral("kept")));
}

TEST_F(EditorCommands, FailedUpdateIsReportedAndKeepsWhatWasTyped) {
  Raw(
      QStringLiteral("create trigger frozen before update on ttwk_AlertDefinitions "
                     "begin select raise(abort, 'definitions are frozen'); end"));
  ClickRow(*editor, 1);
  Type(QStringLiteral("RENAMED"), QStringLiteral("typed"), QStringLiteral("select 11"),
       QStringLiteral("SQLSilent"));
  editor->OptEnabled(2)->setChecked(true);
  // Someone else adds a definition meanwhile: the rebuilt list shows it.
  const QString sOther =
      AddDefinition(QStringLiteral("OTHER"), QStringLiteral("three"), QStringLiteral("select 3"));
  editor->cmdSave_Click();

  ASSERT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  const RecordedMessage& report = platform.messages[0];
  // The embedded engine's messages start with the line of the batch they concern.
  EXPECT_TRUE(report.sText.startsWith(QStringLiteral("Line 1: definitions are frozen")))
      << report.sText.toStdString();
  EXPECT_TRUE(report.sText.contains(
      QStringLiteral("\r\nin TWK.modSubroutines.Exec_SQL_No_Return at line 100\r\nSource: ")));
  EXPECT_EQ(report.sTitle, QStringLiteral("TWK"));
  EXPECT_EQ(report.buttons, MessageButtons::Ok);
  EXPECT_EQ(report.icon, MessageIcon::None);

  EXPECT_EQ(Column(QStringLiteral("ALERT_ID")), QStringLiteral("FIRST|LAST|OTHER"));
  EXPECT_EQ(Column(QStringLiteral("CRITERIA")), QStringLiteral("select 1|select 2|select 3"));
  EXPECT_TRUE(FormShows(sFirst, QStringLiteral("RENAMED"), QStringLiteral("select 11"),
                        QStringLiteral("SQLSilent"), false));
  EXPECT_EQ(editor->txtDescription()->Text(), QStringLiteral("typed"));
  const DefinitionGrid& grid = *editor->grdTWKResults();
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("FIRST"));
  EXPECT_EQ(grid.TextMatrix(1, 3), QStringLiteral("one"));
  EXPECT_TRUE(grid.TextMatrix(1, 4).isEmpty());
  EXPECT_EQ(grid.TextMatrix(3, 1), sOther);

  // Once the cause is gone the same form saves what was typed.
  Raw(QStringLiteral("drop trigger frozen"));
  editor->cmdSave_Click();
  EXPECT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  EXPECT_EQ(Column(QStringLiteral("ALERT_ID")), QStringLiteral("RENAMED|LAST|OTHER"));
  EXPECT_EQ(Column(QStringLiteral("DESCRIPTION")), QStringLiteral("typed|two|three"));
  EXPECT_EQ(Column(QStringLiteral("ENABLED")), QStringLiteral("0|0|1"));
  EXPECT_EQ(Definitions(), 3);
}

TEST_F(EditorCommands, FailedCancelIsReportedAndKeepsWhatWasTyped) {
  ClickRow(*editor, 2);
  Type(QStringLiteral("TYPED"), QStringLiteral("typed"), QStringLiteral("select 22"));
  // The reload cannot find the table.
  Raw(QStringLiteral("alter table ttwk_AlertDefinitions rename to ttwk_AlertDefinitions_moved"));
  editor->cmdCancel_Click();

  ASSERT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("\r\nin TWK.ctlEditTWK.PopulateData at line 140\r\n")))
      << platform.messages[0].sText.toStdString();
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("TWK"));
  // Still the definition the list points at, with the typed text: a Save now
  // updates it rather than storing a new one.
  EXPECT_TRUE(FormShows(sLast, QStringLiteral("TYPED"), QStringLiteral("select 22"),
                        QStringLiteral("SQL"), false));
  EXPECT_EQ(editor->txtDescription()->Text(), QStringLiteral("typed"));
  EXPECT_EQ(editor->grdTWKResults()->Row(), 2);
  EXPECT_EQ(editor->grdTWKResults()->TextMatrix(2, 2), QStringLiteral("LAST"));

  Raw(QStringLiteral("alter table ttwk_AlertDefinitions_moved rename to ttwk_AlertDefinitions"));
  editor->cmdCancel_Click();
  EXPECT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  EXPECT_TRUE(FormShows(sLast, QStringLiteral("LAST"), QStringLiteral("select 2"),
                        QStringLiteral("SQLSilent"), false));
  EXPECT_EQ(editor->txtDescription()->Text(), QStringLiteral("two"));
}

TEST_F(EditorCommands, CancelLeavesAFieldThatCannotBeReadEmptyAfterItsReport) {
  LetDefinitionsHoldNulls();
  ClickRow(*editor, 2);
  Type(QStringLiteral("TYPED"), QStringLiteral("typed"), QStringLiteral("select 22"));
  Raw(QStringLiteral("update ttwk_AlertDefinitions set DESCRIPTION = null where SEQN = ") + sLast);
  editor->cmdCancel_Click();
  ASSERT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  EXPECT_TRUE(platform.messages[0].sText.startsWith(
      QStringLiteral("Invalid use of Null\r\nin TWK.ctlEditTWK.PopulateData at line 180\r\n")))
      << platform.messages[0].sText.toStdString();
  EXPECT_TRUE(FormShows(sLast, QStringLiteral("LAST"), QStringLiteral("select 2"),
                        QStringLiteral("SQLSilent"), false));
  EXPECT_TRUE(editor->txtDescription()->Text().isEmpty());
}

TEST_F(EditorCommands, CancelAfterNewBringsBackTheCurrentRow) {
  ClickRow(*editor, 1);
  editor->cmdNew_Click();
  editor->cmdCancel_Click();
  EXPECT_TRUE(FormShows(sFirst, QStringLiteral("FIRST"), QStringLiteral("select 1"),
                        QStringLiteral("SQL"), true));
}

TEST_F(EditorCommands, CancelAfterSaveLoadsTheHighestNumber) {
  ClickRow(*editor, 1);
  editor->txtDescription()->SetText(QStringLiteral("changed"));
  editor->cmdSave_Click();
  editor->cmdCancel_Click();
  EXPECT_TRUE(FormShows(sLast, QStringLiteral("LAST"), QStringLiteral("select 2"),
                        QStringLiteral("SQLSilent"), false));
}

TEST_F(EditorCommands, CancelAfterDeletingTheLastDefinitionClearsTheForm) {
  for (int iRound = 0; iRound < 2; ++iRound) {
    ClickRow(*editor, 1);
    platform.AnswerNext(MessageAnswer::Yes);
    editor->cmdDelete_Click();
  }
  ASSERT_EQ(Definitions(), 0);
  editor->txtName()->setText(QStringLiteral("typed"));
  editor->cmdCancel_Click();
  EXPECT_TRUE(FormShows(QString(), QString(), QString(), QString(), true));
}

TEST_F(EditorCommands, TextsAtTheLimitsAreStoredWhole) {
  editor->cmdNew_Click();
  const QString sName(20, QLatin1Char('n'));
  const QString sDescription(255, QLatin1Char('d'));
  const QString sCriteria = QStringLiteral("select 1 --") + QString(3072 - 11, QLatin1Char('c'));
  Type(sName, sDescription, sCriteria);
  editor->cmdSave_Click();
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_EQ(Column(QStringLiteral("length(ALERT_ID)")), QStringLiteral("5|4|20"));
  EXPECT_EQ(Column(QStringLiteral("length(DESCRIPTION)")), QStringLiteral("3|3|255"));
  EXPECT_EQ(Column(QStringLiteral("length(CRITERIA)")), QStringLiteral("8|8|3072"));
}

TEST_F(EditorCommands, TypingStopsAtTheLimits) {
  editor->txtName()->setText(QString(20, QLatin1Char('n')));
  editor->txtName()->insert(QStringLiteral("x"));
  EXPECT_EQ(editor->txtName()->text().size(), 20);
  editor->txtDescription()->SetText(QString(250, QLatin1Char('d')));
  editor->txtDescription()->moveCursor(QTextCursor::End);
  editor->txtDescription()->insertPlainText(QString(10, QLatin1Char('p')));
  EXPECT_EQ(editor->txtDescription()->Text(),
            QString(250, QLatin1Char('d')) + QString(5, QLatin1Char('p')));
  editor->txtCriteria()->SetText(QString(3072, QLatin1Char('c')));
  editor->txtCriteria()->moveCursor(QTextCursor::Start);
  editor->txtCriteria()->insertPlainText(QStringLiteral("zz"));
  EXPECT_EQ(editor->txtCriteria()->Text(), QString(3072, QLatin1Char('c')));
}

TEST_F(EditorCommands, LineBreaksAndNoBreakSpacesSurviveALoadAndSave) {
  const QString sCriteria = QStringLiteral("select 1\r\n  from Name\r\nwhere x = '\u00a0'");
  Raw(QStringLiteral("update ttwk_AlertDefinitions set CRITERIA = '%1' where SEQN = %2")
          .arg(QString(sCriteria).replace(QLatin1Char('\''), QStringLiteral("''")), sFirst));
  editor->PopulateGrid();
  ClickRow(*editor, 1);
  EXPECT_EQ(editor->txtCriteria()->blockCount(), 3);
  editor->cmdSave_Click();
  EXPECT_EQ(
      RawValue(QStringLiteral("select CRITERIA from ttwk_AlertDefinitions where SEQN = ") + sFirst),
      sCriteria);
}

TEST_F(EditorCommands, TypedTypeIsStoredAsTypedWithoutCompletion) {
  editor->show();
  editor->cmdNew_Click();
  Type(QStringLiteral("SHORT"), QString(), QStringLiteral("select 6"), QString());
  QLineEdit* pTypeText = editor->ComType()->lineEdit();
  pTypeText->setFocus();
  QTest::keyClicks(pTypeText, QStringLiteral("S"));
  EXPECT_EQ(editor->ComType()->currentText(), QStringLiteral("S"));
  pTypeText->clear();
  QTest::keyClicks(pTypeText, QStringLiteral("sql"));
  QTest::keyClick(pTypeText, Qt::Key_Return);
  EXPECT_EQ(editor->ComType()->currentText(), QStringLiteral("sql"));
  editor->cmdSave_Click();
  EXPECT_EQ(Column(QStringLiteral("ALERT_TYPE")), QStringLiteral("SQL|SQLSilent|sql"));
}

TEST_F(EditorCommands, TypedLineBreaksAreCrLfAndCountTwiceAgainstTheLimit) {
  LimitedTextBox& criteria = *editor->txtCriteria();
  criteria.SetText(QStringLiteral("select 1"));
  criteria.moveCursor(QTextCursor::End);
  QTest::keyClick(&criteria, Qt::Key_Return);
  QTest::keyClick(&criteria, Qt::Key_Return, Qt::ShiftModifier);
  criteria.insertPlainText(QStringLiteral("from Name"));
  EXPECT_EQ(criteria.Text(), QStringLiteral("select 1\r\n\r\nfrom Name"));
  // At the limit a break that no longer fits is cut with what follows it.
  criteria.SetText(QString(3070, QLatin1Char('c')));
  criteria.moveCursor(QTextCursor::End);
  criteria.insertPlainText(QStringLiteral("\nxyz"));
  EXPECT_EQ(criteria.Text(), QString(3070, QLatin1Char('c')) + QStringLiteral("\r\n"));
  EXPECT_EQ(criteria.Length(), 3072);
}

TEST_F(EditorCommands, StoredCrLfTextTypedUpToTheLimitIsSaved) {
  const QString sStored = QStringLiteral("select 1\r\n--") + QString(2990, QLatin1Char('c'));
  Raw(QStringLiteral("update ttwk_AlertDefinitions set CRITERIA = '%1' where SEQN = %2")
          .arg(sStored, sFirst));
  editor->PopulateGrid();
  ClickRow(*editor, 1);
  editor->txtCriteria()->moveCursor(QTextCursor::End);
  editor->txtCriteria()->insertPlainText(QString(100, QLatin1Char('x')));
  editor->cmdSave_Click();
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_EQ(
      RawValue(QStringLiteral("select CRITERIA from ttwk_AlertDefinitions where SEQN = ") + sFirst),
      sStored + QString(3072 - sStored.size(), QLatin1Char('x')));
}

}  // namespace
}  // namespace twk::testing
