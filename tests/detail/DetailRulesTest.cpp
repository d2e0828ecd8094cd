// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QTextDocument>

#include "CommandLine.h"
#include "DetailRules.h"
#include "Twips.h"

namespace twk {
namespace {

TEST(DetailRules, TrimmingRemovesOnlyTheSpaceCharacter) {
  EXPECT_EQ(DetailRules::TrimSpaces(QStringLiteral("   ")), QString());
  EXPECT_EQ(DetailRules::TrimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
  EXPECT_EQ(DetailRules::TrimSpaces(QStringLiteral("\tx ")), QStringLiteral("\tx"));
  EXPECT_EQ(DetailRules::TrimSpaces(QStringLiteral(" x\r\n")), QStringLiteral("x\r\n"));
  EXPECT_EQ(DetailRules::TrimSpaces(QString::fromUtf8("\u00a0x")), QString::fromUtf8("\u00a0x"));
}

TEST(DetailRules, ToolTipsKeepPlainTextAndEscapeWhatLooksLikeMarkup) {
  EXPECT_EQ(DetailRules::ToolTipAsShown(QStringLiteral("a < b & c")), QStringLiteral("a < b & c"));
  EXPECT_EQ(DetailRules::ToolTipAsShown(QString()), QString());
  const QString sMarkup = QStringLiteral("<b>two</b>  spaces");
  QTextDocument document;
  document.setHtml(DetailRules::ToolTipAsShown(sMarkup));
  EXPECT_EQ(document.toPlainText(), sMarkup);
}

TEST(DetailRules, ButtonIsShownEnabledAndOnWindowColourOnlyForText) {
  const DetailButtonLook empty = DetailRules::ButtonLookFor(QString());
  EXPECT_FALSE(empty.bShown);
  EXPECT_FALSE(empty.bEnabled);
  EXPECT_EQ(empty.background, SystemColour::ThreeDHighlight);
  const DetailButtonLook tab = DetailRules::ButtonLookFor(QStringLiteral("\t"));
  EXPECT_TRUE(tab.bShown);
  EXPECT_TRUE(tab.bEnabled);
  EXPECT_EQ(tab.background, SystemColour::WindowBackground);
}

TEST(DetailRules, MenuEntriesFollowTheStoredTexts) {
  const DetailMenuState onlyDescription =
      DetailRules::MenuStateFor(QString(), QString(), QStringLiteral("d"));
  EXPECT_TRUE(onlyDescription.bZoomEnabled);
  EXPECT_FALSE(onlyDescription.bClipboardEnabled);
  EXPECT_FALSE(onlyDescription.bActionEnabled);
  EXPECT_TRUE(onlyDescription.bCancelEnabled);
  const DetailMenuState all =
      DetailRules::MenuStateFor(QStringLiteral("a"), QStringLiteral("c"), QString());
  EXPECT_FALSE(all.bZoomEnabled);
  EXPECT_TRUE(all.bClipboardEnabled);
  EXPECT_TRUE(all.bActionEnabled);
}

TEST(DetailRules, GestureTableMatchesEveryAreaAndGesture) {
  using A = DetailArea;
  using G = DetailGesture;
  using C = DetailCommand;
  struct Case {
    A area;
    C right, other, dbl;
  };
  const Case cases[] = {
      {A::ActionButton, C::ShowPopupMenu, C::PerformAction, C::Nothing},
      {A::ClipButton, C::ShowPopupMenu, C::CopyToClipboard, C::Nothing},
      {A::Picture, C::ShowPopupMenu, C::Nothing, C::ZoomDetails},
      {A::Keyword, C::ShowPopupMenu, C::ZoomDetails, C::ZoomDetails},
      {A::Surface, C::ShowPopupMenu, C::Nothing, C::ZoomDetails},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.area));
    EXPECT_EQ(DetailRules::CommandFor(c.area, G::RightRelease), c.right);
    EXPECT_EQ(DetailRules::CommandFor(c.area, G::OtherRelease), c.other);
    EXPECT_EQ(DetailRules::CommandFor(c.area, G::DoubleClick), c.dbl);
  }
}

TEST(DetailRules, IdIsReplacedOnlyForTheExactTypeAndPlaceholder) {
  const QString sAction = QStringLiteral("/usr/bin/show {ID} --again {ID}");
  EXPECT_EQ(DetailRules::PrepareCommandLine(sAction, QStringLiteral("ID"), QStringLiteral("987")),
            QStringLiteral("/usr/bin/show 987 --again 987"));
  EXPECT_EQ(DetailRules::PrepareCommandLine(sAction, QStringLiteral("id"), QStringLiteral("987")),
            sAction);
  EXPECT_EQ(DetailRules::PrepareCommandLine(QStringLiteral("show {id}"), QStringLiteral("ID"),
                                            QStringLiteral("987")),
            QStringLiteral("show {id}"));
  EXPECT_EQ(
      DetailRules::PrepareCommandLine(QStringLiteral("{ID}"), QStringLiteral("ID"), QString()),
      QString());
}

TEST(DetailRules, AKeyValueIsAlwaysTheTextOfOneArgument) {
  const auto Prepared = [](const char* pAction, const char* pKey) {
    return SplitCommandLine(DetailRules::PrepareCommandLine(
        QString::fromUtf8(pAction), QStringLiteral("ID"), QString::fromUtf8(pKey)));
  };
  EXPECT_EQ(Prepared("/bin/echo \"{ID}\" --fixed", "1\" --injected \"x"),
            (QStringList{QStringLiteral("/bin/echo"), QStringLiteral("1\" --injected \"x"),
                         QStringLiteral("--fixed")}));
  EXPECT_EQ(Prepared("/bin/echo {ID} --fixed", "a b\tc"),
            (QStringList{QStringLiteral("/bin/echo"), QStringLiteral("a b\tc"),
                         QStringLiteral("--fixed")}));
  EXPECT_EQ(Prepared("/bin/echo --id={ID}x \"\"", "\"\" 2"),
            (QStringList{QStringLiteral("/bin/echo"), QStringLiteral("--id=\"\" 2x"), QString()}));
  EXPECT_EQ(Prepared("/bin/echo {ID} rest", ""),
            (QStringList{QStringLiteral("/bin/echo"), QString(), QStringLiteral("rest")}));
}

TEST(DetailRules, FlagsCountOnlyWhenExactlyTrue) {
  EXPECT_TRUE(DetailRules::IsSet(-1));
  EXPECT_FALSE(DetailRules::IsSet(1));
  EXPECT_FALSE(DetailRules::IsSet(0));
}

TEST(DetailRules, MessageTextsHaveTheirExactLines) {
  EXPECT_EQ(DetailRules::ZoomText(QStringLiteral("  Owes dues "), -3),
            QStringLiteral("Owes dues\r\n\r\nRank=-3"));
  EXPECT_EQ(DetailRules::ZoomText(QString(), 7), QStringLiteral("\r\n\r\nRank=7"));
  EXPECT_EQ(DetailRules::StartFailureText(12, QStringLiteral("prog 1")),
            QStringLiteral("Error when performing action for alert #12\r\n\"prog 1\""));
  const TwkError error(QStringLiteral("no such program"), QStringLiteral("TWKPlatform"));
  EXPECT_EQ(DetailRules::ActionReportText(error, QStringLiteral("PerformAction"), 130),
            QStringLiteral("no such program\r\nin TWKDetail.ctlAlertDetail.PerformAction "
                           "\r\nLine 130\r\nSource TWKPlatform"));
  EXPECT_EQ(DetailRules::AutomationReportText(error, 150),
            QStringLiteral("no such program\r\nin TWKDetail.ctlAlertDetail.PerformAutomation at "
                           "line 150\r\nSource: TWKPlatform"));
  const TwkError passed = DetailRules::SetterFailure(
      TwkError(QStringLiteral("x"), QStringLiteral("S"), 5), QStringLiteral("ActionText"), 110);
  EXPECT_EQ(
      passed.Description(),
      QStringLiteral("In module TWKDetail.ctlAlertDetail.ActionText line 110, Reason (x).\r\n"));
  EXPECT_EQ(passed.Number(), 5);
  EXPECT_EQ(passed.Source(), QStringLiteral("S"));
}

TEST(Twips, FifteenTwipsMakeAPixelAt96Dpi) {
  EXPECT_EQ(Twips::ToPixels(2160), 144);
  EXPECT_EQ(Twips::ToPixels(615), 41);
  EXPECT_EQ(Twips::ToPixels(1440, 120), 120);
  EXPECT_EQ(Twips::ToPixels(300, 60, 480, 480), QRect(20, 4, 32, 32));
}

}  // namespace
}  // namespace twk
