// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "AlertPlaceholders.h"

namespace twk {
namespace {

QString Replace(const char* pCriteria, const QString& sId = QStringLiteral("42"),
                const QString& sUser = QStringLiteral("MANAGER")) {
  return ReplacePlaceholders(QString::fromUtf8(pCriteria), sId, sUser);
}

TEST(ReplacePlaceholders, ReplacesEveryNameByItsQuotedValue) {
  EXPECT_EQ(Replace("{id} {user} @psId @id @sUserName"),
            QStringLiteral("'42' 'MANAGER' '42' '42' 'MANAGER'"));
  EXPECT_EQ(Replace("where ID = @id and X = @id"), QStringLiteral("where ID = '42' and X = '42'"));
}

TEST(ReplacePlaceholders, IgnoresLetterCase) {
  EXPECT_EQ(Replace("{ID} {User} @PSID @ID @susername"),
            QStringLiteral("'42' 'MANAGER' '42' '42' 'MANAGER'"));
}

TEST(ReplacePlaceholders, LeavesServerVariablesIntact) {
  EXPECT_EQ(Replace("select @@IDENTITY, @@spid, @@id where a = @id"),
            QStringLiteral("select @@IDENTITY, @@spid, @@id where a = '42'"));
}

TEST(ReplacePlaceholders, ReplacesAtNamesOnlyAsWholeNames) {
  EXPECT_EQ(Replace("@idx @id_2 @id1 @psIdOld @sUserNames"),
            QStringLiteral("@idx @id_2 @id1 @psIdOld @sUserNames"));
  EXPECT_EQ(Replace("(@id),@id;@id"), QStringLiteral("('42'),'42';'42'"));
  EXPECT_EQ(Replace("@id"), QStringLiteral("'42'"));
}

TEST(ReplacePlaceholders, ReplacesBracedNamesWhereverTheyStand) {
  EXPECT_EQ(Replace("x{id}y{user}z"), QStringLiteral("x'42'y'MANAGER'z"));
  EXPECT_EQ(Replace("@{id}"), QStringLiteral("@'42'"));
}

TEST(ReplacePlaceholders, DoublesApostrophesInTheInsertedValues) {
  EXPECT_EQ(Replace("{id} @sUserName", QStringLiteral("O'Brien"), QStringLiteral("d'Arcy")),
            QStringLiteral("'O''Brien' 'd''Arcy'"));
  EXPECT_EQ(Replace("@id", QStringLiteral("1'; drop table T; --")),
            QStringLiteral("'1''; drop table T; --'"));
  EXPECT_EQ(Replace("@id", QString()), QStringLiteral("''"));
}

TEST(ReplacePlaceholders, NeverSearchesAnInsertedValueForPlaceholders) {
  // Re-replacing inside a quoted value would close its quotes early.
  EXPECT_EQ(Replace("@id", QStringLiteral("{user}")), QStringLiteral("'{user}'"));
  EXPECT_EQ(Replace("{id} {user}", QStringLiteral("@sUserName"), QStringLiteral("@id")),
            QStringLiteral("'@sUserName' '@id'"));
}

TEST(ReplacePlaceholders, TakesPsIdAsOneNameBeforeId) {
  EXPECT_EQ(Replace("@psId@id", QStringLiteral("7")), QStringLiteral("'7''7'"));
  EXPECT_EQ(Replace("@PSID", QStringLiteral("7")), QStringLiteral("'7'"));
}

TEST(ReplacePlaceholders, InsideALiteralPutsTheValueInWithoutQuotes) {
  EXPECT_EQ(Replace("where NOTE like '%{id}%'"), QStringLiteral("where NOTE like '%42%'"));
  EXPECT_EQ(Replace("select N'@sUserName''s list' as X"),
            QStringLiteral("select N'MANAGER''s list' as X"));
  // The value's apostrophes stay doubled, so the author's literal still ends
  // where the author ended it.
  EXPECT_EQ(Replace("where NOTE like '%{id}%'", QStringLiteral("' or 1=1 or NOTE like '")),
            QStringLiteral("where NOTE like '%'' or 1=1 or NOTE like ''%'"));
}

TEST(ReplacePlaceholders, InsideADoubleQuotedNameDoublesItsQuotes) {
  EXPECT_EQ(Replace("select 1 as \"col {id}\"", QStringLiteral("a\"b")),
            QStringLiteral("select 1 as \"col a\"\"b\""));
}

TEST(ReplacePlaceholders, LeavesCommentsAndBracketedNamesAsWritten) {
  EXPECT_EQ(Replace("select 1 -- for {id} and @id\nwhere @id = 1"),
            QStringLiteral("select 1 -- for {id} and @id\nwhere '42' = 1"));
  EXPECT_EQ(Replace("/* {user} */ select [x {id}]"),
            QStringLiteral("/* {user} */ select [x {id}]"));
}

TEST(ReplacePlaceholders, ReadsTheTextAsTheServerDoes) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      // Block comments nest: after the first "*/" the text is still a comment.
      {"/* a /* b */ {id} */ select @id", "/* a /* b */ {id} */ select '42'"},
      // "]]" inside a bracketed name stands for one "]" and does not end it.
      {"select [a]]{id}] where 'x]' = {id}", "select [a]]{id}] where 'x]' = '42'"},
      // A lone carriage return ends a line comment.
      {"select 1 -- {id}\r{id}", "select 1 -- {id}\r'42'"},
      // Backticks quote nothing in T-SQL.
      {"select `{user}`", "select `'MANAGER'`"},
      // A literal or comment left open runs to the end.
      {"select N'{id}", "select N'42"},
      {"select {id} /* {id}", "select '42' /* {id}"},
  };
  for (const auto& [pCriteria, pExpected] : cases) {
    EXPECT_EQ(Replace(pCriteria), QString::fromUtf8(pExpected)) << pCriteria;
  }
}

}  // namespace
}  // namespace twk
