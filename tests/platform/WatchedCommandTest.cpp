// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "CommandLine.h"

namespace twk {
namespace {

TEST(StartWatchedCommand, AProgramEndingInFailureIsToldItsExitCode) {
  struct Case {
    const char* sCommandLine;
    bool bStarted;
    int iReported;  // 0: nothing is told
  };
  const std::vector<Case> cases = {
      {"sh -c \"exit 3\"", true, 3},
      {"sh -c \"kill -9 $$\"", true, -1},
      {"true", true, 0},
      {"tellwick-no-such-program-here", false, 0},
  };
  for (const Case& c : cases) {
    int iReported = 0;
    const CommandStart start = StartWatchedCommand(QString::fromUtf8(c.sCommandLine),
                                                   [&](int iCode) { iReported = iCode; });
    EXPECT_EQ(start.bStarted, c.bStarted) << c.sCommandLine;
    EXPECT_EQ(start.sError.isEmpty(), c.bStarted) << c.sCommandLine;
    // A program that ends well is given a moment to be told wrongly.
    if (start.bStarted) {
      (void)QTest::qWaitFor([&] { return iReported != 0; }, c.iReported != 0 ? 5000 : 500);
    }
    EXPECT_EQ(iReported, c.iReported) << c.sCommandLine;
  }
}

}  // namespace
}  // namespace twk
