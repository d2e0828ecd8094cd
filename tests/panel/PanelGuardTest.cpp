// SPDX-License-Identifier: MIT
#include "PanelFixture.h"
#include "PanelRules.h"

#include <gtest/gtest.h>

namespace twk {
namespace {

using testing::PanelFixture;
using testing::ScriptedHost;

class PanelGuard : public PanelFixture {
 protected:
  bool SecondPanelRuns(const QString& sVersion) {
    host.values[QStringLiteral("lvSession.MasterVersion")] = sVersion;
    ScriptedHost secondHost;
    secondHost.values = host.values;
    auto first = StartPanel(host);
    auto second = StartPanel(secondHost);
    const bool bRuns = secondHost.iCloseRequests == 0 && !secondHost.notices.isEmpty();
    second.reset();
    // Whatever happened to the second, the first keeps what it had.
    ScriptedHost thirdHost;
    thirdHost.values = host.values;
    auto third = StartPanel(thirdHost);
    EXPECT_EQ(thirdHost.iCloseRequests == 0, bRuns) << sVersion.toStdString();
    return bRuns;
  }
};

TEST_F(PanelGuard, ASecondPanelIsRefusedExceptOnHostsFrom10Point4To10Point99) {
  EXPECT_FALSE(SecondPanelRuns(QStringLiteral("10.3.1")));
  EXPECT_TRUE(SecondPanelRuns(QStringLiteral("10.5.0")));
  EXPECT_FALSE(SecondPanelRuns(QStringLiteral("10.10.1")));
  EXPECT_FALSE(SecondPanelRuns(QString()));
}

TEST_F(PanelGuard, ARefusedPanelClosesAtOnceAndShowsNothing) {
  auto first = StartPanel(host);
  ScriptedHost secondHost;
  secondHost.values = host.values;
  auto second = StartPanel(secondHost);
  EXPECT_EQ(secondHost.iCloseRequests, 1);
  EXPECT_TRUE(secondHost.titles.isEmpty());
  EXPECT_TRUE(secondHost.notices.isEmpty());
}

TEST_F(PanelGuard, APanelThatCannotConnectClosesAndKeepsTheGuardUntilDestroyed) {
  host.values[QStringLiteral("lvSession.SQLHostName")] = scratch.filePath(QStringLiteral("no.db"));
  auto failed = StartPanel(host);
  EXPECT_EQ(host.iCloseRequests, 1);
  EXPECT_EQ(host.titles, QStringList{QStringLiteral("Tellwick")});
  EXPECT_TRUE(moduleState.State().bPanelActive);
  failed.reset();
  EXPECT_FALSE(moduleState.State().bPanelActive);
}

TEST_F(PanelGuard, AHostThatAnswersNothingGetsAClosedPanelNotACrash) {
  ScriptedHost silent;
  auto panel = StartPanel(silent);
  EXPECT_EQ(silent.iCloseRequests, 1);
  EXPECT_FALSE(platform.messages.empty());
  EXPECT_FALSE(moduleState.State().SharedConnection().IsOpen());
}

TEST_F(PanelGuard, OddLevelTextsStartAsLevelZeroOrTheirLeadingNumber) {
  for (const char* sLevel : {"", "abc", "9 (sysadmin)", "  7.5 x"}) {
    ScriptedHost levelHost;
    levelHost.values = host.values;
    levelHost.values[QStringLiteral("lvSession.LevelSystem")] = QString::fromLatin1(sLevel);
    auto panel = StartPanel(levelHost);
    EXPECT_EQ(levelHost.iCloseRequests, 0) << sLevel;
    EXPECT_TRUE(platform.messages.empty()) << sLevel;
  }
}

TEST_F(PanelGuard, OldHostVersionsChooseTheThreeDimensionalLook) {
  host.values[QStringLiteral("lvSession.MasterVersion")] = QStringLiteral("4.3");
  auto old = StartPanel(host);
  EXPECT_EQ(old->VisualModeName(), QStringLiteral("4"));
  ASSERT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Unknown iMIS version")});
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("This version of TWK has not been\r\ntested on iMIS versions prior to "
                           "4.41.\r\nThe application may not perform correctly."));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
  old.reset();

  platform.messages.clear();
  host.values[QStringLiteral("lvSession.MasterVersion")] = QStringLiteral("4.41.25");
  auto known = StartPanel(host);
  EXPECT_EQ(known->VisualModeName(), QStringLiteral("4"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST(VisualModes, VersionsAreComparedAsText) {
  EXPECT_TRUE(ChooseVisualMode(QStringLiteral("10.4.0")).bAllowManyPanels);
  EXPECT_TRUE(ChooseVisualMode(QStringLiteral("10.99.9")).bAllowManyPanels);
  EXPECT_FALSE(ChooseVisualMode(QStringLiteral("10.3.1")).bAllowManyPanels);
  EXPECT_FALSE(ChooseVisualMode(QStringLiteral("11.0")).bAllowManyPanels);
  EXPECT_EQ(ChooseVisualMode(QStringLiteral("20.2")).sMode, QStringLiteral("10"));
  EXPECT_FALSE(ChooseVisualMode(QStringLiteral("4.41.3")).bWarnUnknown);
  EXPECT_TRUE(ChooseVisualMode(QStringLiteral("4.")).bWarnUnknown);
}

TEST(PageViews, CaptionsForThePartsOfTheTable) {
  EXPECT_EQ(ComputePageView(0, 1).sMoreCaption, QStringLiteral("1-0"));
  EXPECT_EQ(ComputePageView(9, 2).sMoreCaption, QStringLiteral("2-6 (9)"));
  const PageView reset = ComputePageView(6, 4);
  EXPECT_TRUE(reset.bBackToFirst);
  EXPECT_EQ(reset.sMoreCaption, QStringLiteral("1-5 (6)"));
  EXPECT_FALSE(ComputePageView(8, 4).bBackToFirst);
}

}  // namespace
}  // namespace twk
