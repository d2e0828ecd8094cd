// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "DefinitionStatements.h"

namespace twk {
namespace {

DefinitionForm SampleForm() {
  DefinitionForm form;
  form.sSeqn = QStringLiteral("17");
  form.sName = QStringLiteral("O'Hara");
  form.sDescription = QStringLiteral("It's 'quoted'");
  form.sCriteria = QStringLiteral("select 'x' as KEYWORD");
  form.sType = QStringLiteral("SQL");
  form.bEnabled = true;
  return form;
}

TEST(DefinitionStatements, UpdateIsBuiltPieceByPieceWithApostrophesDoubled) {
  EXPECT_EQ(DefinitionStatements::UpdateStatement(SampleForm()),
            QStringLiteral("update ttwk_AlertDefinitions set CRITERIA = 'select ''x'' as KEYWORD', "
                           "DESCRIPTION = 'It''s ''quoted''', ALERT_ID = 'O''Hara', "
                           "ALERT_TYPE = 'SQL', ENABLED = 1 where SEQN = 17"));
}

TEST(DefinitionStatements, InsertListsTheColumnsAndWritesTheFlagBare) {
  DefinitionForm form = SampleForm();
  form.bEnabled = false;
  EXPECT_EQ(DefinitionStatements::InsertStatement(form),
            QStringLiteral("insert ttwk_AlertDefinitions(CRITERIA, ENABLED, DESCRIPTION, "
                           "ALERT_TYPE, ALERT_ID) values('select ''x'' as KEYWORD', 0, "
                           "'It''s ''quoted''', 'SQL', 'O''Hara')"));
}

TEST(DefinitionStatements, TypedTypeHasItsApostrophesDoubledToo) {
  DefinitionForm form = SampleForm();
  form.sType = QStringLiteral("SQL'X");
  EXPECT_TRUE(DefinitionStatements::InsertStatement(form).contains(QStringLiteral("'SQL''X'")));
  EXPECT_TRUE(DefinitionStatements::UpdateStatement(form).contains(
      QStringLiteral("ALERT_TYPE = 'SQL''X', ")));
}

TEST(DefinitionStatements, TextsAreNeitherTrimmedNorShortened) {
  DefinitionForm form = SampleForm();
  form.sName = QStringLiteral("  padded  ");
  form.sCriteria = QString(3072, QLatin1Char('c'));
  const QString sInsert = DefinitionStatements::InsertStatement(form);
  EXPECT_TRUE(sInsert.endsWith(QStringLiteral("'  padded  ')")));
  EXPECT_TRUE(
      sInsert.contains(QLatin1Char('\'') + QString(3072, QLatin1Char('c')) + QLatin1Char('\'')));
}

TEST(DefinitionStatements, DeleteAndQueriesTakeTheNumberUnquoted) {
  EXPECT_EQ(DefinitionStatements::DeleteStatement(QStringLiteral("42")),
            QStringLiteral("delete ttwk_AlertDefinitions where SEQN = 42"));
  EXPECT_EQ(DefinitionStatements::LoadQuery(QStringLiteral("42")),
            QStringLiteral("select * from ttwk_AlertDefinitions where SEQN = 42"));
  EXPECT_EQ(DefinitionStatements::ListQuery(),
            QStringLiteral("select SEQN, ALERT_ID, CRITERIA, ENABLED, DESCRIPTION from "
                           "ttwk_AlertDefinitions order by SEQN"));
  EXPECT_EQ(DefinitionStatements::NewNumberQuery(), QStringLiteral("select @@identity"));
}

TEST(DefinitionStatements, AccessQueryDoublesApostrophesInTheLogin) {
  EXPECT_EQ(DefinitionStatements::AccessKeywordQuery(QStringLiteral("O'Brien")),
            QStringLiteral("select AccessKeywords from Users where UserId = 'O''Brien'"));
}

TEST(DefinitionStatements, KeywordIsAPlainSubstringWithoutRegardToCase) {
  const struct {
    const char* pKeywords;
    bool bAdmitted;
  } aCases[] = {
      {"TWKEdit", true}, {"twkedit", true},   {"ADMIN,TWKEDIT,X", true}, {"SUPERTWKEDITOR", true},
      {"", false},       {"TWK Edit", false}, {"TWKEdi", false},         {"FINANCE,EDIT", false}};
  for (const auto& testCase : aCases) {
    EXPECT_EQ(DefinitionStatements::HoldsEditorKeyword(QString::fromLatin1(testCase.pKeywords)),
              testCase.bAdmitted)
        << testCase.pKeywords;
  }
}

TEST(DefinitionStatements, ListShowsCriteriaInQuotesOnlyForAnEmptyDescription) {
  EXPECT_EQ(DefinitionStatements::ListDescription(QStringLiteral("  About  "), QStringLiteral("x")),
            QStringLiteral("About"));
  EXPECT_EQ(DefinitionStatements::ListDescription(QString(), QStringLiteral("  select 1  ")),
            QStringLiteral("\"select 1\""));
  // Spaces are a description, even though the list trims them away.
  EXPECT_EQ(DefinitionStatements::ListDescription(QStringLiteral("   "), QStringLiteral("x")),
            QString());
}

TEST(DefinitionStatements, SaveChecksTheNameFirstThenTheCriteriaOnlyForEmptiness) {
  DefinitionForm form = SampleForm();
  form.sName.clear();
  form.sCriteria.clear();
  EXPECT_EQ(DefinitionStatements::SaveRefusal(form), QStringLiteral("Alert Name cannot be blank."));
  form.sName = QStringLiteral(" ");
  EXPECT_EQ(DefinitionStatements::SaveRefusal(form), QStringLiteral("Criteria cannot be blank."));
  form.sCriteria = QStringLiteral(" ");
  form.sDescription.clear();
  form.sType.clear();
  EXPECT_FALSE(DefinitionStatements::SaveRefusal(form).has_value());
}

TEST(DefinitionStatements, DeleteQuestionNamesTheNumber) {
  EXPECT_EQ(DefinitionStatements::DeleteQuestion(QStringLiteral("9")),
            QStringLiteral("Are you sure you want to delete Alert SEQN 9?"));
}

}  // namespace
}  // namespace twk
