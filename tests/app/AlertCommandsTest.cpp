// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "AlertCommands.h"
#include "AlertListDialog.h"
#include "EmbeddedDatabase.h"
#include "HostPlatform.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "RecordBrowser.h"
#include "RecordingPlatform.h"
#include "UpDownScroller.h"
#include "ctlAlertDetail.h"
#include "DemoWindow.h"
#include "ctlTWK.h"

namespace twk {
namespace {

/// The host window, shown and active, with a panel on the demo's fullest
/// record and the host's status-bar platform in front of the recorder.
class KeyRoutes : public ::testing::Test {
 protected:
  void SetUp() override {
    window = ShownDemoWindow(scratch.filePath(QStringLiteral("demo.db")));
    pPanel = qobject_cast<ctlTWK*>(
        window->OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea));
    ASSERT_NE(pPanel, nullptr);
    ASSERT_TRUE(window->Browser()->Select(QStringLiteral("1029")));
    window->Browser()->SearchField()->setFocus();
  }

  void TearDown() override { window.reset(); }

  void Press(int iKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(iKey), modifiers);
  }
  QString Status() const { return window->statusBar()->currentMessage(); }
  int Count() const { return pPanel->Evaluation().iAlertCount; }
  // The first alert of the evaluation for which pWanted holds, or -1.
  int RowWhere(const std::function<bool(const AlertOutput&)>& wanted) const {
    for (int i = 0; i < Count(); ++i) {
      if (wanted(pPanel->Evaluation().aoAlerts[std::size_t(i)])) return i;
    }
    return -1;
  }

  testing::RecordingPlatform platform;
  HostPlatform hostPlatform{platform, [this](const QString& s) {
                              if (window) window->ShowStatus(s);
                            }};
  ScopedPlatform installation{hostPlatform};
  ScopedModuleState moduleState;
  QTemporaryDir scratch;
  std::unique_ptr<HostWindow> window;
  ctlTWK* pPanel = nullptr;
};

QString Spoken(QObject* pObject) {
  QAccessibleInterface* pInterface = QAccessible::queryAccessibleInterface(pObject);
  return pInterface ? pInterface->text(QAccessible::Name) : QStringLiteral("<none>");
}

TEST_F(KeyRoutes, PageKeysFromAnyPaneMoveThePanelsViewByFive) {
  struct Case {
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
    bool bOnRefresh;
    int iFirstShown;
  };
  const std::vector<Case> cases = {
      {{{Qt::Key_PageDown, Qt::ControlModifier}}, false, 6},
      {{{Qt::Key_PageDown, Qt::ControlModifier}, {Qt::Key_PageUp, Qt::ControlModifier}}, false, 1},
      {{{Qt::Key_PageUp, Qt::ControlModifier}}, false, 1},
      {{{Qt::Key_Down, Qt::NoModifier}, {Qt::Key_Down, Qt::NoModifier}}, true, 3},
      {{{Qt::Key_Right, Qt::NoModifier}, {Qt::Key_Left, Qt::NoModifier}}, true, 1},
  };
  ASSERT_GE(Count(), 10);
  for (const Case& c : cases) {
    pPanel->PageAlerts(-Count());
    QWidget* pStart = c.bOnRefresh ? static_cast<QWidget*>(pPanel->cmdRefresh())
                                   : window->Browser()->SearchField();
    pStart->setFocus();
    for (const auto& [iKey, modifiers] : c.keys) Press(iKey, modifiers);
    EXPECT_EQ(pPanel->FirstShown(), c.iFirstShown) << c.keys.size() << " from " << c.bOnRefresh;
    EXPECT_EQ(pPanel->lblMore()->text(),
              QStringLiteral("%1-%2 (%3)").arg(c.iFirstShown).arg(c.iFirstShown + 4).arg(Count()));
    // Arrow keys on Refresh leave the focus where it was.
    EXPECT_EQ(QApplication::focusWidget(), pStart);
  }
  EXPECT_TRUE(window->Browser()->SearchField()->text().isEmpty());
}

TEST_F(KeyRoutes, F5EvaluatesAgainWhereARedisplayWouldShowTheTableAsItStands) {
  const int iEvaluated = Count();
  pPanel->Evaluation().iAlertCount = 2;
  Press(Qt::Key_F5);
  EXPECT_EQ(Count(), iEvaluated);
  EXPECT_TRUE(Status().contains(pPanel->lblMore()->text())) << Status().toStdString();
}

TEST_F(KeyRoutes, TheListRunsEachKeyThroughTheAlertsOwnDetailAction) {
  enum Asked { Box, Copy, Start, Nothing };
  struct Case {
    int iKey;
    Qt::KeyboardModifiers modifiers;
    std::function<bool(const AlertOutput&)> wanted;
    Asked asked;
    const char* sStatusStart;
  };
  const auto any = [](const AlertOutput&) { return true; };
  const auto copies = [](const AlertOutput& a) { return !a.sClipboardText.isEmpty(); };
  const auto acts = [](const AlertOutput& a) { return !a.sActionText.isEmpty(); };
  const std::vector<Case> cases = {
      {Qt::Key_Space, Qt::NoModifier, any, Box, ""},
      {Qt::Key_F1, Qt::NoModifier, any, Box, ""},
      {Qt::Key_C, Qt::ControlModifier, copies, Copy, "Copied: "},
      {Qt::Key_Return, Qt::NoModifier, acts, Start, "Started: "},
      {Qt::Key_Return, Qt::NoModifier, std::not_fn(acts), Nothing, "This alert has no action."},
  };
  for (const Case& c : cases) {
    platform.messages.clear();
    platform.clipboardWrites.clear();
    platform.commandLines.clear();
    QApplication::setActiveWindow(window.get());
    window->Browser()->SearchField()->setFocus();
    Press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    auto* pDialog = window->findChild<AlertListDialog*>();
    ASSERT_NE(pDialog, nullptr);
    ASSERT_EQ(pDialog->List()->topLevelItemCount(), Count());
    const int iRow = RowWhere(c.wanted);
    ASSERT_GE(iRow, 0) << c.iKey;
    const AlertOutput& alert = pPanel->Evaluation().aoAlerts[std::size_t(iRow)];
    pDialog->List()->setCurrentItem(pDialog->List()->topLevelItem(iRow));
    QTest::keyClick(pDialog->List(), Qt::Key(c.iKey), c.modifiers);
    const QString sTitle = alert.sTitleText.isEmpty() ? alert.sKeyword : alert.sTitleText;
    const QString sLine =
        alert.sActionText.trimmed().replace(QStringLiteral("{ID}"), alert.sKeyValue);
    EXPECT_EQ(platform.MessageTitles(), c.asked == Box ? QStringList{sTitle} : QStringList());
    EXPECT_EQ(platform.clipboardWrites.value(1),
              c.asked == Copy ? alert.sClipboardText : QString());
    EXPECT_EQ(platform.commandLines, c.asked == Start ? QStringList{sLine} : QStringList());
    EXPECT_TRUE(Status().startsWith(QString::fromUtf8(c.sStatusStart))) << Status().toStdString();
    pDialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(KeyRoutes, AScreenReaderHearsTheAlertsTheScreenShows) {
  ASSERT_EQ(pPanel->detDetail(0)->Keyword(), QStringLiteral("Do not contact"));
  struct Case {
    QObject* pObject;
    QString sName;
  };
  const std::vector<Case> cases = {
      {pPanel->picAlertIcon(0), QStringLiteral("Do not contact: Do not contact, red")},
      {pPanel->detDetail(0), QStringLiteral("Alert 1 of %1: Do not contact").arg(Count())},
      {pPanel->detDetail(0)->cmdAction(), QStringLiteral("Perform action")},
      {pPanel->detDetail(0)->cmdClip(), QStringLiteral("Copy to clipboard")},
      {pPanel->udScrollAlerts(), QStringLiteral("Page through the alerts")},
      {pPanel->udScrollAlerts()->DownButton(), QStringLiteral("Later alert")},
      {pPanel->lblMore(), pPanel->lblMore()->text()},
  };
  for (const auto& [pObject, sName] : cases) EXPECT_EQ(Spoken(pObject), sName);
  // The sighted pointer user reads the same words, the alert's tooltip after them.
  EXPECT_TRUE(pPanel->picAlertIcon(0)->toolTip().startsWith(Spoken(pPanel->picAlertIcon(0))))
      << pPanel->picAlertIcon(0)->toolTip().toStdString();
  auto* pDialog = window->Commands()->ShowList();
  ASSERT_NE(pDialog, nullptr);
  QAccessibleInterface* pList = QAccessible::queryAccessibleInterface(pDialog->List());
  ASSERT_NE(pList, nullptr);
  ASSERT_NE(pList->tableInterface(), nullptr);
  QAccessibleInterface* pCell = pList->tableInterface()->cellAt(0, 0);
  ASSERT_NE(pCell, nullptr);
  EXPECT_EQ(pCell->text(QAccessible::Name), QStringLiteral("Do not contact: Do not contact, red"));
}

TEST_F(KeyRoutes, ClosingTheRecordAndARefusedPanelLeaveNoStaleDisplay) {
  window->Browser()->Select(QStringLiteral("1002"));
  EXPECT_TRUE(pPanel->detDetail(0)->toolTip().isEmpty());
  ASSERT_TRUE(window->Browser()->NoRecordButton());
  window->Browser()->NoRecordButton()->click();
  EXPECT_EQ(pPanel->detDetail(0)->toolTip(), QStringLiteral("No current iMIS record"));
  EXPECT_EQ(pPanel->lblMore()->text(), QString());
  window->Browser()->Select(QStringLiteral("1002"));
  EXPECT_TRUE(pPanel->detDetail(0)->toolTip().isEmpty());
  const QSize before = window->size();
  window->OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  EXPECT_EQ(window->size(), before);

  // The list of a record's alerts follows F5 and goes with its record.
  const int iRows = Count();
  ASSERT_GT(iRows, 1);
  pPanel->Evaluation().iAlertCount = 1;  // what a stale copy would keep showing
  Press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  QPointer<AlertListDialog> list = window->findChild<AlertListDialog*>();
  ASSERT_TRUE(list);
  ASSERT_EQ(list->List()->topLevelItemCount(), 1);
  Press(Qt::Key_F5);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  list = window->findChild<AlertListDialog*>();
  ASSERT_TRUE(list);
  EXPECT_EQ(list->List()->topLevelItemCount(), iRows);
  window->Browser()->Select(QStringLiteral("1029"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(list);
}

}  // namespace
}  // namespace twk
