// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <stdexcept>

#include "RecordingPlatform.h"
#include "Steps.h"

namespace twk {
namespace {

using testing::RecordingPlatform;

TEST(Steps, AFailingStepShowsTheErrorReportAndTheNextStepStillRuns) {
  RecordingPlatform platform;
  Steps steps(QStringLiteral("ctlTWK"), QStringLiteral("RefreshAlerts"));
  bool bLaterStepRan = false;

  EXPECT_FALSE(steps.Run(190, [] {
    throw TwkError(QStringLiteral("Invalid use of Null"), QStringLiteral("TWK"), 94);
  }));
  steps.Run(200, [&] { bLaterStepRan = true; });

  EXPECT_TRUE(bLaterStepRan);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("Invalid use of Null\r\nin TWK.ctlTWK.RefreshAlerts at line 190\r\n"
                           "Source: TWK"));
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("TWK"));
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
  EXPECT_TRUE(steps.AnyFailed());
}

TEST(Steps, ForeignExceptionsAreReportedWithTheLibraryAsSource) {
  RecordingPlatform platform;
  Steps steps(QStringLiteral("modSubroutines"), QStringLiteral("NumericQuery"));

  steps.Run(110, [] { throw std::runtime_error("out of range"); });

  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("out of range\r\nin TWK.modSubroutines.NumericQuery at line 110\r\n"
                           "Source: TWK"));
}

TEST(Steps, SkipSilentlyShowsNothingAndGoesOn) {
  RecordingPlatform platform;
  Steps steps(QStringLiteral("ctlTWK"), QStringLiteral("DisableAlert"), OnError::SkipSilently);
  int iStepsRun = 0;

  steps.Run(100, [] { throw TwkError(QStringLiteral("x"), QStringLiteral("y")); });
  steps.Run(110, [&] { ++iStepsRun; });

  EXPECT_EQ(iStepsRun, 1);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(Steps, PassOnHandsTheErrorToTheCallerUnreported) {
  RecordingPlatform platform;
  Steps steps(QStringLiteral("m"), QStringLiteral("p"), OnError::PassOn);

  try {
    steps.Run(100, [] { throw TwkError(QStringLiteral("deep"), QStringLiteral("SQLite"), 7); });
    FAIL() << "the error should have been passed on";
  } catch (const TwkError& error) {
    EXPECT_EQ(error.Description(), QStringLiteral("deep"));
    EXPECT_EQ(error.Source(), QStringLiteral("SQLite"));
    EXPECT_EQ(error.Number(), 7);
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST(Steps, AnOwnReporterReplacesTheErrorReport) {
  RecordingPlatform platform;
  QString sSeen;
  Steps steps(QStringLiteral("ctlAlertDetail"), QStringLiteral("SetAll"), OnError::Report,
              [&](const TwkError& error, const StepFailure& where) {
                sSeen = error.Description() + QLatin1Char('@') + QString::number(where.iLabel);
              });

  steps.Run(130, [] { throw TwkError(QStringLiteral("bad"), QStringLiteral("TWKDetail")); });

  EXPECT_EQ(sSeen, QStringLiteral("bad@130"));
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace twk
