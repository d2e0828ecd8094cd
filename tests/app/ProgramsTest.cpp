// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

#include "AboutBox.h"
#include "EmbeddedDatabase.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "RecordingPlatform.h"

namespace twk {
namespace {

struct Outcome {
  int iExitCode = -1;
  QString sOutput;
  QString sErrors;
};

/// Both programs run as a person would start them, on a terminal without a
/// display unless a test gives them one.
class Programs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch.isValid()); }

  Outcome Run(const char* sProgram, const QStringList& arguments, bool bDisplay = false) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* sVariable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(QString::fromLatin1(sVariable));
    }
    if (bDisplay)
      environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("HOME"), scratch.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path());
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(sProgram), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << sProgram << " crashed";
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

  QTemporaryDir scratch;
};

TEST_F(Programs, TellwickAnswersUsageErrorsWithExitTwoWithOrWithoutADisplay) {
  const QList<QStringList> usageErrors = {
      {QStringLiteral("--bogus")}, {QStringLiteral("stray")}, {QStringLiteral("--id")}};
  for (const bool bDisplay : {false, true}) {
    for (const QStringList& arguments : usageErrors) {
      const Outcome outcome = Run(TELLWICK, arguments, bDisplay);
      EXPECT_EQ(outcome.iExitCode, 2)
          << qPrintable(arguments.join(u' ')) << " display " << bDisplay;
      EXPECT_TRUE(outcome.sErrors.startsWith(QStringLiteral("tellwick: ")))
          << qPrintable(outcome.sErrors);
      EXPECT_TRUE(outcome.sErrors.contains(QStringLiteral("see --help")))
          << qPrintable(outcome.sErrors);
    }
  }
  // A file name is the caller's text: it reaches the terminal escaped, on one line.
  const Outcome missing = Run(
      TELLWICK, {QStringLiteral("--password-file"), QStringLiteral("gone\n -99\x1b[31m")}, true);
  EXPECT_EQ(missing.iExitCode, 2);
  EXPECT_EQ(missing.sErrors.count(u'\n'), 1) << qPrintable(missing.sErrors);
  EXPECT_FALSE(missing.sErrors.contains(u'\x1b')) << qPrintable(missing.sErrors);
}

TEST_F(Programs, TellwickWithoutADisplaySaysSoInsteadOfAborting) {
  const Outcome outcome = Run(TELLWICK, {QStringLiteral("--id"), QStringLiteral("1009")});
  EXPECT_EQ(outcome.iExitCode, 1);
  EXPECT_TRUE(outcome.sErrors.contains(QStringLiteral("no display")))
      << qPrintable(outcome.sErrors);
}

TEST_F(Programs, TellwickAlertsUsesExitTwoForEveryUsageError) {
  const QList<QStringList> usageErrors = {{QStringLiteral("--bogus")},
                                          {QStringLiteral("stray")},
                                          {QStringLiteral("--id")},
                                          {QStringLiteral("--json")},
                                          {QStringLiteral("--only"), QStringLiteral("3")},
                                          {QStringLiteral("--demo")},
                                          {}};
  for (const QStringList& arguments : usageErrors) {
    EXPECT_EQ(Run(TELLWICK_ALERTS, arguments).iExitCode, 2) << qPrintable(arguments.join(u' '));
  }
}

TEST_F(Programs, BothVersionsNameTheLicencesWithoutADisplay) {
  for (const char* sProgram : {TELLWICK, TELLWICK_ALERTS}) {
    const Outcome outcome = Run(sProgram, {QStringLiteral("--version")});
    EXPECT_EQ(outcome.iExitCode, 0) << sProgram;
    EXPECT_TRUE(outcome.sOutput.contains(QStringLiteral("The Tellwick developers"))) << sProgram;
    EXPECT_TRUE(outcome.sOutput.contains(QStringLiteral("The Bootstrap Authors"))) << sProgram;
    EXPECT_TRUE(outcome.sOutput.contains(QStringLiteral("Licence: MIT"))) << sProgram;
  }
}

TEST(AboutBox, HelpAboutShowsTheVersionAndBothLicences) {
  testing::RecordingPlatform platform;
  ScopedModuleState moduleState;
  QTemporaryDir scratch;
  const QString sDatabase = scratch.filePath(QStringLiteral("demo.db"));
  EmbeddedDatabase::Create(sDatabase, true);
  HostWindow window({sDatabase, QStringLiteral("DEMO"), QStringLiteral("MANAGER"), QString(),
                     QStringLiteral("9 (sysadmin)"), QStringLiteral("10.2.0")});

  QAction* pAbout = nullptr;
  for (QAction* pMenu : window.menuBar()->actions()) {
    if (pMenu->text() != QStringLiteral("&Help")) continue;
    for (QAction* pItem : pMenu->menu()->actions()) {
      if (pItem->text() == QStringLiteral("&About Tellwick")) pAbout = pItem;
    }
  }
  ASSERT_NE(pAbout, nullptr);
  pAbout->trigger();

  auto* pBox = window.findChild<AboutBox*>();
  ASSERT_NE(pBox, nullptr);
  EXPECT_TRUE(pBox->isVisible());
  const QString sShown =
      pBox->findChild<QPlainTextEdit*>(QStringLiteral("txtNotices"))->toPlainText();
  EXPECT_TRUE(sShown.contains(QStringLiteral("Copyright (c) 2026 The Tellwick developers")));
  EXPECT_TRUE(sShown.contains(QStringLiteral("Copyright (c) 2019-2021 The Bootstrap Authors")));
  EXPECT_TRUE(AboutBox::Text().contains(QStringLiteral("Tellwick 1.")));
  pBox->close();
}

}  // namespace
}  // namespace twk
