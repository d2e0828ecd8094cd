// SPDX-License-Identifier: MIT
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "DefinitionGrid.h"
#include "EditorFixture.h"
#include "ModuleState.h"

namespace twk::testing {
namespace {

class EditorStart : public EditorFixture {
 protected:
  bool Refused() const {
    return platform.MessageTitles().contains(QStringLiteral("Access Denied")) &&
           host.iCloseRequests == 1;
  }
  bool Admitted(const ctlEditTWK& editor) const {
    return host.iCloseRequests == 0 && editor.grdTWKResults()->TextMatrix(0, 1) == "SEQN";
  }
};

TEST_F(EditorStart, RaisesItsTitleAndFillsTheListForAKeywordHolder) {
  AddDefinition(QStringLiteral("FIRST"), QStringLiteral("One"), QStringLiteral("select 1"));
  auto editor = StartEditor();
  EXPECT_EQ(host.titles, QStringList{QStringLiteral("TWK Editor")});
  EXPECT_TRUE(host.notices.isEmpty());
  EXPECT_TRUE(Admitted(*editor));
  EXPECT_EQ(editor->grdTWKResults()->TextMatrix(1, 2), QStringLiteral("FIRST"));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_EQ(ModuleState::ForThisThread().AuthID, QStringLiteral("EDITOR"));
}

TEST_F(EditorStart, FormStartsEmptyWithEnableAndBothTypesOffered) {
  auto editor = StartEditor();
  EXPECT_TRUE(editor->lblSeqn()->text().isEmpty());
  EXPECT_TRUE(editor->ComType()->currentText().isEmpty());
  ASSERT_EQ(editor->ComType()->count(), 2);
  EXPECT_EQ(editor->ComType()->itemText(0), QStringLiteral("SQL"));
  EXPECT_EQ(editor->ComType()->itemText(1), QStringLiteral("SQLSilent"));
  EXPECT_TRUE(editor->OptEnabled(1)->isChecked());
  EXPECT_FALSE(editor->OptEnabled(2)->isChecked());
}

TEST_F(EditorStart, DatabaseOwnerIsAdmittedWithoutLookingAtUsers) {
  Raw(QStringLiteral("drop table Users"));
  LogInAs(QStringLiteral("dbo"));
  auto editor = StartEditor();
  EXPECT_TRUE(Admitted(*editor));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(EditorStart, OwnerInCapitalsGoesThroughTheKeywordCheck) {
  Raw(QStringLiteral("drop table Users"));
  LogInAs(QStringLiteral("DBO"));
  auto editor = StartEditor();
  EXPECT_TRUE(Refused());
}

TEST_F(EditorStart, KeywordAdmitsInSmallLettersInsideAWordAndInAList) {
  const QStringList keywordTexts = {QStringLiteral("twkedit"), QStringLiteral("XTWKEDITORS"),
                                    QStringLiteral("FINANCE, TwkEdit ,EVENTS")};
  for (const QString& sKeywords : keywordTexts) {
    Raw(QStringLiteral("update Users set AccessKeywords = '%1' where UserId = 'EDITOR'")
            .arg(sKeywords));
    host.iCloseRequests = 0;
    auto editor = StartEditor();
    EXPECT_TRUE(Admitted(*editor)) << sKeywords.toStdString();
  }
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(EditorStart, EmptyKeywordsRefuseAndAskToClose) {
  Raw(QStringLiteral("update Users set AccessKeywords = '' where UserId = 'EDITOR'"));
  auto editor = StartEditor();
  ASSERT_TRUE(Refused());
  const RecordedMessage& refusal = platform.messages.back();
  EXPECT_EQ(
      refusal.sText,
      QStringLiteral("You must have the access keyword TWKEdit to use the TWK Alert Editor."));
  EXPECT_EQ(refusal.buttons, MessageButtons::Ok);
  EXPECT_EQ(refusal.icon, MessageIcon::None);
  // Refused users see no definitions.
  EXPECT_TRUE(editor->grdTWKResults()->TextMatrix(0, 1).isEmpty());
}

TEST_F(EditorStart, MissingUsersRowReportsTheEmptyQueryAndRefuses) {
  LogInAs(QStringLiteral("NOBODY"));
  auto editor = StartEditor();
  EXPECT_TRUE(Refused());
  EXPECT_TRUE(AllMessageText().contains(QStringLiteral("No rows returned from query")));
}

TEST_F(EditorStart, LoginWithAnApostropheIsLookedUpInsteadOfBreakingTheQuery) {
  AddUser(QStringLiteral("O'BRIEN"), QStringLiteral("TWKEdit"));
  LogInAs(QStringLiteral("O'BRIEN"));
  auto editor = StartEditor();
  EXPECT_TRUE(Admitted(*editor));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(EditorStart, UnreachableDatabaseShowsTheConnectMessageAndClosesOnce) {
  host.values[QStringLiteral("lvSession.SQLHostName")] =
      scratch.filePath(QStringLiteral("missing/none.db"));
  auto editor = StartEditor();
  EXPECT_EQ(host.iCloseRequests, 1);
  ASSERT_FALSE(platform.messages.empty());
  const RecordedMessage& last = platform.messages.back();
  EXPECT_EQ(last.sText, QStringLiteral("TWK Editor is unable to connect to SQL."));
  EXPECT_EQ(last.sTitle, QStringLiteral("Error"));
  EXPECT_FALSE(platform.MessageTitles().contains(QStringLiteral("Access Denied")));
}

TEST_F(EditorStart, NoticesChangeNothing) {
  const QString sSeqn =
      AddDefinition(QStringLiteral("FIRST"), QStringLiteral("One"), QStringLiteral("select 1"));
  auto editor = StartEditor();
  ClickRow(*editor, 1);
  editor->NotifyListener(QStringLiteral("nNewId"), QStringLiteral("1002"), {}, {}, {});
  editor->NotifyListener(QStringLiteral("anything"), {}, {}, {}, {});
  EXPECT_EQ(editor->lblSeqn()->text(), sSeqn);
  EXPECT_EQ(editor->grdTWKResults()->Rows(), 2);
  EXPECT_EQ(host.titles.size(), 1);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(editor->Test(), 1);
}

}  // namespace
}  // namespace twk::testing
