#include <gtest/gtest.h>

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

}  // namespace
}  // namespace twk
