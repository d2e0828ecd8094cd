// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ControlFrame.h"
#include "RecordingPlatform.h"

namespace twk {
namespace {

using testing::RecordingPlatform;

class TestControl : public ControlFrame {
 public:
  TestControl() : ControlFrame(QStringLiteral("ctlEditTWK"), TabRule::EnabledTextBoxes) {}
  void XtenderInit() override {}
};

class ControlFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int iTab : {2, 5, 9}) {
      auto* pBox = new QLineEdit(QStringLiteral("text %1").arg(iTab), &control);
      control.SetTabIndex(pBox, QStringLiteral("TextBox"), qint16(iTab));
      boxes.push_back(pBox);
    }
    pLabel = new QLabel(QStringLiteral("label"), &control);
    control.SetTabIndex(pLabel, QStringLiteral("Label"), 3);
    control.show();
    QApplication::setActiveWindow(&control);
  }

  RecordingPlatform platform;
  TestControl control;
  std::vector<QLineEdit*> boxes;
  QLabel* pLabel = nullptr;
};

TEST_F(ControlFrameTest, TabMovesTheFocusAndNoWidgetReceivesTheTab) {
  boxes[1]->setFocus();
  boxes[1]->setCursorPosition(0);
  QTest::keyClick(boxes[1], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), boxes[2]);
  EXPECT_EQ(boxes[1]->text(), QStringLiteral("text 5"));
  EXPECT_EQ(boxes[2]->cursorPosition(), boxes[2]->text().size());

  QTest::keyClick(boxes[2], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), boxes[0]);
  QTest::keyClick(boxes[0], Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), boxes[2]);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ControlFrameTest, ATabReleaseWithoutAnActiveWidgetIsReportedAndStartsFromZero) {
  pLabel->setFocusPolicy(Qt::StrongFocus);
  pLabel->setFocus();
  control.UserControl_KeyUp(9, NoModifier);
  ASSERT_EQ(platform.messages.size(), 0u);  // the label has a tab index: it is the active widget
  EXPECT_EQ(QApplication::focusWidget(), boxes[1]);

  auto* pStranger = new QPushButton(&control);
  pStranger->show();
  pStranger->setFocus();
  control.UserControl_KeyUp(9, NoModifier);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.ctlEditTWK.UserControl_KeyUp at line 100")));
  EXPECT_EQ(QApplication::focusWidget(), boxes[0]);
}

TEST_F(ControlFrameTest, TheWidgetThatReceivedTheKeyIsTheActiveOneWhenNoWindowIsActive) {
  // Without a window manager no window is active and the application has
  // no focus widget, yet keys still reach the widget that last took focus.
  boxes[1]->setFocus();
  QApplication::setActiveWindow(nullptr);
  ASSERT_EQ(QApplication::focusWidget(), nullptr);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backtab, Qt::ShiftModifier);
  QCoreApplication::sendEvent(boxes[1], &press);
  QCoreApplication::sendEvent(boxes[1], &release);
  EXPECT_TRUE(platform.messages.empty()) << platform.MessageTitles().join(u',').toStdString();
  EXPECT_EQ(control.focusWidget(), boxes[0]);
}

TEST_F(ControlFrameTest, FocusInsideAControlOfItsOwnCountsAsThatControl) {
  auto* pItem = new QWidget(&control);
  control.SetTabIndex(pItem, QStringLiteral("UserControl"), 6);
  auto* pInner = new QLineEdit(pItem);
  pItem->show();
  pInner->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), pInner);
  control.UserControl_KeyUp(9, NoModifier);
  EXPECT_EQ(QApplication::focusWidget(), boxes[2]);
  pInner->setFocus();
  control.UserControl_KeyUp(9, ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), boxes[1]);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ControlFrameTest, OtherKeysPassAndTestAnswersOne) {
  boxes[0]->setFocus();
  QTest::keyClicks(boxes[0], QStringLiteral("ab"));
  EXPECT_EQ(boxes[0]->text(), QStringLiteral("text 2ab"));
  EXPECT_EQ(control.Test(), 1);
}

}  // namespace
}  // namespace twk
