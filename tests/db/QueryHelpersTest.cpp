// SPDX-License-Identifier: MIT
#include "ModuleFixture.h"
#include "modSubroutines.h"

#include <gtest/gtest.h>

namespace twk {
namespace {

using namespace modSubroutines;
using testing::ModuleFixture;

class QueryHelpers : public ModuleFixture {
 protected:
  void SetUp() override {
    ModuleFixture::SetUp();
    OpenShared();
  }
};

TEST_F(QueryHelpers, NumericQueryReadsTextAndRoundsHalvesToEven) {
  EXPECT_EQ(NumericQuery(QStringLiteral("select '2'")), 2);
  EXPECT_EQ(NumericQuery(QStringLiteral("select 2.5")), 2);
  EXPECT_EQ(NumericQuery(QStringLiteral("select 3.5")), 4);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(QueryHelpers, NumericQueryWithoutRowsOrWithNullReportsAndYieldsZero) {
  EXPECT_EQ(NumericQuery(QStringLiteral("select 5 where 1 = 0")), 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("\r\nin TWK.modSubroutines.NumericQuery at line 120\r\n")));

  EXPECT_EQ(NumericQuery(QStringLiteral("select null")), 0);
  EXPECT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(NumericQuery(QStringLiteral("select 'abc'")), 0);
  EXPECT_EQ(platform.messages.size(), 3u);
}

TEST_F(QueryHelpers, OpenRecordsetFailsSilently) {
  EXPECT_FALSE(OpenRecordset(QStringLiteral("select * from no_such_table")).has_value());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(QueryHelpers, FetchStringsGivesOneTrimmedTextPerColumn) {
  const QStringList values = FetchStrings(QStringLiteral("select '  a ', 2, 2.5"));
  EXPECT_EQ(values, (QStringList{QStringLiteral("a"), QStringLiteral("2"), QStringLiteral("2.5")}));

  const QStringList empty = FetchStrings(QStringLiteral("select 1, 2, 3 where 1 = 0"));
  EXPECT_EQ(empty, (QStringList{QString(), QString(), QString()}));
  EXPECT_TRUE(platform.messages.empty());

  EXPECT_EQ(FetchStrings(QStringLiteral("exec sp_server_info 1")).value(2),
            QStringLiteral("Microsoft SQL Server"));
}

TEST_F(QueryHelpers, FetchStringsReportsANullAndStillFillsTheOtherColumns) {
  const QStringList values = FetchStrings(QStringLiteral("select 'x', null, 'z'"));
  EXPECT_EQ(values, (QStringList{QStringLiteral("x"), QString(), QStringLiteral("z")}));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.startsWith(QStringLiteral("Invalid use of Null\r\n")));
}

TEST_F(QueryHelpers, FetchStringsOfAFailingQueryIsEmptyAfterAReport) {
  EXPECT_TRUE(FetchStrings(QStringLiteral("select * from no_such_table")).isEmpty());
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.FetchStrings at line 100")));
}

TEST_F(QueryHelpers, ExecSpStringGivesTheFirstValueTrimmedAndNullAsEmpty) {
  EXPECT_EQ(Exec_SQL_SP_String(QStringLiteral("select '  Paid through 2027 '")),
            QStringLiteral("Paid through 2027"));
  EXPECT_EQ(Exec_SQL_SP_String(QStringLiteral("select null")), QString());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(QueryHelpers, ExecSpStringWithoutRowsSaysSoAndGivesEmptyText) {
  const QString sQuery = QStringLiteral("select 1 where 1 = 0");
  EXPECT_EQ(Exec_SQL_SP_String(sQuery), QString());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("No rows returned from query in Exec_SQL_SP_String.  Query:\r\n") +
                sQuery);
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
}

TEST_F(QueryHelpers, ExecSpStringOfAFailingQueryReportsThenSaysNoRows) {
  EXPECT_EQ(Exec_SQL_SP_String(QStringLiteral("exec no_such_procedure")), QString());
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.Exec_SQL_SP_String at line 100")));
  EXPECT_TRUE(platform.messages[1].sText.startsWith(QStringLiteral("No rows returned")));
}

TEST_F(QueryHelpers, ExecNoReturnRunsTheWholeBatchAndReportsFailures) {
  Exec_SQL_No_Return(
      QStringLiteral("insert System_Params(ParameterName, ShortValue) values ('a', '1'); "
                     "insert System_Params(ParameterName, ShortValue) values ('b', '2')"));
  EXPECT_EQ(RawValue(QStringLiteral("select count(*) from System_Params")), QStringLiteral("2"));
  EXPECT_TRUE(platform.messages.empty());

  Exec_SQL_No_Return(QStringLiteral("update no_such_table set x = 1"));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.Exec_SQL_No_Return at line 100")));
}

TEST_F(QueryHelpers, AfterReleaseEveryHelperReportsAClosedConnection) {
  EXPECT_TRUE(ReleaseConnection());
  EXPECT_FALSE(moduleState.State().SharedConnection().IsOpen());
  EXPECT_TRUE(ReleaseConnection());
  Exec_SQL_No_Return(QStringLiteral("select 1"));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.startsWith(
      QStringLiteral("Operation is not allowed when the object is closed.")));
}

TEST(RemoveRight, RemovesOnlyAnExactCaseSensitiveSuffix) {
  EXPECT_EQ(RemoveRight(QStringLiteral("STAFF1_i"), QStringLiteral("_i")), QStringLiteral("STAFF1"));
  EXPECT_EQ(RemoveRight(QStringLiteral("STAFF1_I"), QStringLiteral("_i")), QStringLiteral("STAFF1_I"));
  EXPECT_EQ(RemoveRight(QStringLiteral("abc"), QString()), QStringLiteral("abc"));
  EXPECT_EQ(RemoveRight(QStringLiteral("ab"), QStringLiteral("xab")), QStringLiteral("ab"));
  EXPECT_EQ(RemoveRight(QStringLiteral("ab"), QStringLiteral("ab")), QString());
}

TEST(CalculateAuthID, StripsTheLoginSuffixesOfTheDatabase) {
  ScopedModuleState state;
  const auto authId = [&](const char* sUser, const char* sDatabase) {
    CalculateAuthID(QString::fromLatin1(sUser), QString::fromLatin1(sDatabase));
    return state.State().AuthID.toStdString();
  };
  EXPECT_EQ(authId("STAFF1_ASSOC_i", "ASSOC"), "STAFF1");
  EXPECT_EQ(authId("STAFF1_ASSOC", "ASSOC"), "STAFF1");
  EXPECT_EQ(authId("STAFF1_assoc_i", "ASSOC"), "STAFF1_assoc");
  EXPECT_EQ(authId("sa", "ASSOC"), "sa");
  EXPECT_EQ(authId("STAFF1_i", ""), "STAFF1");
  EXPECT_EQ(authId("STAFF1__i", ""), "STAFF1");
}

}  // namespace
}  // namespace twk
