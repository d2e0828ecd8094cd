// SPDX-License-Identifier: MIT
#include "ModuleFixture.h"
#include "modSubroutines.h"

#include <gtest/gtest.h>

namespace twk {
namespace {

using namespace modSubroutines;
using testing::ModuleFixture;

class SystemParams : public ModuleFixture {
 protected:
  void SetUp() override {
    ModuleFixture::SetUp();
    OpenShared();
  }
  bool Loaded() { return moduleState.State().SystemParamsLoaded; }
};

TEST_F(SystemParams, NamesMatchWithoutRegardToCase) {
  Raw(QStringLiteral("insert into System_Params values ('System_Control.Version', '20.2')"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("system_control.version"), QStringLiteral("d")),
            QStringLiteral("20.2"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("Absent"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(SystemParams, AmongNamesDifferingOnlyInCaseTheLastInOrderWins) {
  Raw(QStringLiteral("insert into System_Params values ('ABC', 'upper'), ('abc', 'lower')"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("Abc"), QString()), QStringLiteral("lower"));
}

TEST_F(SystemParams, AnEmptyTableLoadsOnceAndDefaultsWithoutReloading) {
  EXPECT_EQ(SysParamsValue(QStringLiteral("x"), QStringLiteral("d1")), QStringLiteral("d1"));
  EXPECT_TRUE(Loaded());
  // A reload would now fail loudly; a loaded cache does not try.
  Raw(QStringLiteral("drop table System_Params"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("y"), QStringLiteral("d2")), QStringLiteral("d2"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SystemParams, AFailingLoadReportsAtEveryLookupAndGivesTheDefault) {
  Raw(QStringLiteral("drop table System_Params"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("a"), QStringLiteral("d")), QStringLiteral("d"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("b"), QStringLiteral("e")), QStringLiteral("e"));
  EXPECT_FALSE(Loaded());
  ASSERT_EQ(platform.messages.size(), 4u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.ReloadSystemParams at line 100")));
  EXPECT_EQ(platform.messages[1].sText, QStringLiteral("Error fetching System_Params"));
  EXPECT_EQ(platform.messages[1].icon, MessageIcon::Critical);
  EXPECT_EQ(platform.messages[3].sText, QStringLiteral("Error fetching System_Params"));
}

TEST_F(SystemParams, ANullValueIsEmptyTextNotTheDefaultAndIsReported) {
  Raw(QStringLiteral("insert into System_Params values ('Blank', null)"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("Blank"), QStringLiteral("d")), QString());
  EXPECT_TRUE(Loaded());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.startsWith(QStringLiteral("Invalid use of Null")));
}

TEST_F(SystemParams, AWrittenValueIsSeenWithoutAFurtherLoad) {
  EXPECT_EQ(SysParamsValue(QStringLiteral("QUOR.TWK.Version"), QStringLiteral("0.00.000")),
            QStringLiteral("0.00.000"));
  WriteSysParams(QStringLiteral("QUOR.TWK.Version"), QStringLiteral("1.00.000"));
  Raw(QStringLiteral("drop table System_Params"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("quor.twk.version"), QString()),
            QStringLiteral("1.00.000"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SystemParams, WritingReplacesAnExistingValue) {
  WriteSysParams(QStringLiteral("N"), QStringLiteral("first"));
  WriteSysParams(QStringLiteral("N"), QStringLiteral("second"));
  EXPECT_EQ(RawValue(QStringLiteral("select count(*) from System_Params where ParameterName = 'N'")),
            QStringLiteral("1"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("N"), QString()), QStringLiteral("second"));
}

TEST_F(SystemParams, ApostrophesInNameAndValueAreStoredUnchanged) {
  WriteSysParams(QStringLiteral("O'Brien.Note"), QStringLiteral("it's '' fine"));
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(RawValue(QStringLiteral(
                "select ShortValue from System_Params where ParameterName = 'O''Brien.Note'")),
            QStringLiteral("it's '' fine"));
}

TEST_F(SystemParams, AFailingWriteIsReportedAndTheCacheIsReloadedAnyway) {
  Raw(QStringLiteral("insert into System_Params values ('Seen', 'yes')"));
  Raw(QStringLiteral("delete from twk_procedures where name = 'ptwk_WriteSystemParams'"));
  WriteSysParams(QStringLiteral("Seen"), QStringLiteral("no"));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.WriteSysParams at line 100")));
  EXPECT_TRUE(Loaded());
  EXPECT_EQ(SysParamsValue(QStringLiteral("Seen"), QString()), QStringLiteral("yes"));
}

TEST_F(SystemParams, EraseMakesTheNextLookupReload) {
  EXPECT_EQ(SysParamsValue(QStringLiteral("Late"), QStringLiteral("d")), QStringLiteral("d"));
  Raw(QStringLiteral("insert into System_Params values ('Late', 'now')"));
  EXPECT_EQ(SysParamsValue(QStringLiteral("Late"), QStringLiteral("d")), QStringLiteral("d"));
  EraseSysParams();
  EXPECT_EQ(SysParamsValue(QStringLiteral("Late"), QStringLiteral("d")), QStringLiteral("now"));
}

}  // namespace
}  // namespace twk
