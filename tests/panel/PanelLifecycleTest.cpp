// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "FramedButton.h"
#include "PanelFixture.h"

namespace twk {
namespace {

using testing::PanelFixture;
using testing::ScriptedHost;

class PanelLifecycle : public PanelFixture {};

FramedButton::Look LookOf(QWidget* pButton) {
  auto* pFramed = qobject_cast<FramedButton*>(pButton);
  EXPECT_NE(pFramed, nullptr);
  return pFramed ? pFramed->CurrentLook() : FramedButton::Look::Flat;
}

TEST_F(PanelLifecycle, TheTwoVisualModesDifferInBackgroundFramesAndButton) {
  host.values[QStringLiteral("lvSession.MasterVersion")] = QStringLiteral("4.41.25");
  auto threeD = StartPanel(host);
  ASSERT_EQ(threeD->VisualModeName(), QStringLiteral("4"));
  const QColor threeDBackground = threeD->palette().color(QPalette::Window);
  EXPECT_EQ(threeDBackground, threeD->cmdRefresh()->palette().color(QPalette::Button));
  EXPECT_EQ(threeD->lblMore()->frameStyle(), int(QFrame::Panel | QFrame::Sunken));
  EXPECT_EQ(threeD->lblFixedText()->frameStyle(), int(QFrame::Panel | QFrame::Sunken));
  EXPECT_EQ(LookOf(threeD->cmdRefresh()), FramedButton::Look::ThreeD);
  threeD.reset();

  host.values[QStringLiteral("lvSession.MasterVersion")] = QStringLiteral("10.2.0");
  auto flat = StartPanel(host);
  ASSERT_EQ(flat->VisualModeName(), QStringLiteral("10"));
  EXPECT_EQ(flat->palette().color(QPalette::Window), QColor(255, 255, 248));
  EXPECT_EQ(flat->cmdRefresh()->palette().color(QPalette::Button), QColor(255, 255, 248));
  EXPECT_NE(flat->palette().color(QPalette::Window), threeDBackground);
  EXPECT_EQ(flat->lblMore()->frameStyle(), int(QFrame::NoFrame));
  EXPECT_EQ(flat->lblFixedText()->frameStyle(), int(QFrame::NoFrame));
  EXPECT_EQ(LookOf(flat->cmdRefresh()), FramedButton::Look::Flat);
}

TEST_F(PanelLifecycle, TerminatingAskedToCloseAndFreesTheGuardOnlyForTheFirstPanel) {
  auto first = StartPanel(host);
  ASSERT_TRUE(moduleState.State().bPanelActive);
  ScriptedHost secondHost;
  secondHost.values = host.values;
  auto second = StartPanel(secondHost);
  ASSERT_EQ(secondHost.iCloseRequests, 1);

  // The refused duplicate goes without taking the guard from the first.
  second.reset();
  EXPECT_TRUE(moduleState.State().bPanelActive);
  EXPECT_FALSE(moduleState.State().bPanelDuplicate);
  EXPECT_EQ(secondHost.iCloseRequests, 2);

  EXPECT_EQ(host.iCloseRequests, 0);
  first->UserControl_Terminate();
  EXPECT_EQ(host.iCloseRequests, 1);
  EXPECT_FALSE(moduleState.State().bPanelActive);
  first.reset();  // terminating twice asks only once
  EXPECT_EQ(host.iCloseRequests, 1);
}

TEST_F(PanelLifecycle, ResettingASlotHidesItsIcon) {
  AddAlerts(3, 5);
  auto panel = StartPanel(host);
  for (int k = 0; k < 3; ++k) ASSERT_FALSE(panel->picAlertIcon(k)->isHidden()) << k;
  panel->Evaluation().ClearAlertDetails(1);
  EXPECT_TRUE(panel->picAlertIcon(1)->isHidden());
  EXPECT_FALSE(panel->picAlertIcon(0)->isHidden());
  EXPECT_FALSE(panel->picAlertIcon(2)->isHidden());
  // Slot 5 and beyond have no icon of their own; resetting them hides none.
  panel->Evaluation().ClearAlertDetails(5);
  EXPECT_FALSE(panel->picAlertIcon(0)->isHidden());
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace twk
