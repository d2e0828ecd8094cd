// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>

#include "ControlRegistry.h"
#include "DetailRegistration.h"
#include "RecordingPlatform.h"
#include "ctlAlertDetail.h"
#include "FramedButton.h"
#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>

namespace twk {
namespace {

QColor ButtonColour(const QPushButton* pButton) {
  return pButton->palette().color(QPalette::Button);
}

AlertOutput FilledAlert() {
  AlertOutput alert;
  alert.lSeqn = 12;
  alert.sEventType = QStringLiteral("ID");
  alert.sKeyValue = QStringLiteral("987");
  alert.iRank = 4;
  alert.iIcon = 77;
  alert.sKeyword = QStringLiteral("Dues");
  alert.sDescription = QStringLiteral("Dues are owed");
  alert.sTooltipText = QStringLiteral("tip");
  alert.sTitleText = QStringLiteral("Title");
  alert.sClipboardText = QStringLiteral(" copy me ");
  alert.sClipboardDescription = QStringLiteral("copy desc");
  alert.sActionText = QStringLiteral("prog {ID}");
  alert.sActionDescription = QStringLiteral("act desc");
  return alert;
}

// In the default style the window background and the 3-D highlight are both
// white, so a button on the wrong one would look right; these differ.
class DistinctSystemColours {
 public:
  DistinctSystemColours() : previous_(QApplication::palette()) {
    QPalette palette = previous_;
    palette.setColor(QPalette::Base, QColor(0xfa, 0xf5, 0xe6));
    palette.setColor(QPalette::Light, QColor(0x9c, 0xc3, 0xe6));
    palette.setColor(QPalette::Text, QColor(0x40, 0x10, 0x10));
    QApplication::setPalette(palette);
  }
  ~DistinctSystemColours() { QApplication::setPalette(previous_); }

 private:
  QPalette previous_;
};

class AlertDetailItem : public ::testing::Test {
 protected:
  DistinctSystemColours colours;
  testing::RecordingPlatform platform;
  ctlAlertDetail item;
};

TEST_F(AlertDetailItem, NewItemIsClearedAndHidden) {
  EXPECT_EQ(item.Icon(), -1);
  EXPECT_EQ(item.Description(), QStringLiteral(". . ."));
  EXPECT_EQ(item.ClipboardDescription(), QStringLiteral("Clipboard text available"));
  EXPECT_EQ(item.ActionDescription(), QStringLiteral("Action available"));
  EXPECT_EQ(item.Visible(), 0);
  EXPECT_EQ(item.lblKeyword()->text(), QString());
  for (QWidget* pChild :
       {static_cast<QWidget*>(item.cmdAction()), static_cast<QWidget*>(item.cmdClip()),
        static_cast<QWidget*>(item.picAlert()), static_cast<QWidget*>(item.lblKeyword())}) {
    EXPECT_TRUE(pChild->isHidden()) << pChild->objectName().toStdString();
  }
  EXPECT_EQ(item.cmdClip()->toolTip(), QStringLiteral("Clipboard text available"));
  EXPECT_EQ(item.cmdAction()->toolTip(), QStringLiteral("Action available"));
  EXPECT_FALSE(item.cmdAction()->isEnabled());
  EXPECT_EQ(item.Test(), 1);
}

TEST_F(AlertDetailItem, SetAllLoadsEveryValueAndShowsEnabledButtons) {
  item.SetAll(FilledAlert());
  EXPECT_EQ(item.Seqn(), 12);
  EXPECT_EQ(item.AlertType(), QStringLiteral("ID"));
  EXPECT_EQ(item.Rank(), 4);
  EXPECT_EQ(item.Icon(), 77);
  EXPECT_EQ(item.lblKeyword()->text(), QStringLiteral("Dues"));
  EXPECT_EQ(item.picAlert()->toolTip(), QStringLiteral("tip"));
  EXPECT_EQ(item.lblKeyword()->toolTip(), QStringLiteral("tip"));
  EXPECT_EQ(item.ClipboardText(), QStringLiteral("copy me"));
  EXPECT_EQ(item.cmdClip()->toolTip(), QStringLiteral("copy desc"));
  EXPECT_EQ(item.cmdAction()->toolTip(), QStringLiteral("act desc"));
  EXPECT_EQ(item.Visible(), -1);
  EXPECT_FALSE(item.cmdClip()->isHidden());
  EXPECT_TRUE(item.cmdClip()->isEnabled());
  EXPECT_EQ(ButtonColour(item.cmdClip()), DetailRules::ColourOf(SystemColour::WindowBackground));
  EXPECT_EQ(ButtonColour(item.cmdAction()), DetailRules::ColourOf(SystemColour::WindowBackground));
  EXPECT_EQ(ButtonColour(item.cmdAction()), QColor(0xfa, 0xf5, 0xe6));
}

TEST_F(AlertDetailItem, EmptyButtonTextsLeaveVisibleDisabledButtonsOnHighlight) {
  AlertOutput alert = FilledAlert();
  alert.sClipboardText = QStringLiteral("    ");
  alert.sActionText.clear();
  alert.sClipboardDescription.clear();
  alert.sActionDescription.clear();
  item.SetAll(alert);
  EXPECT_EQ(item.ClipboardText(), QString());
  for (QPushButton* pButton : {item.cmdClip(), item.cmdAction()}) {
    EXPECT_FALSE(pButton->isHidden());
    EXPECT_FALSE(pButton->isEnabled());
    EXPECT_EQ(ButtonColour(pButton), DetailRules::ColourOf(SystemColour::ThreeDHighlight));
    EXPECT_EQ(ButtonColour(pButton), QColor(0x9c, 0xc3, 0xe6));
  }
  EXPECT_EQ(item.cmdClip()->toolTip(), QStringLiteral("Clipboard text available"));
  EXPECT_EQ(item.cmdAction()->toolTip(), QStringLiteral("Action available"));
}

TEST_F(AlertDetailItem, LeadingTabKeepsTheClipboardButtonEnabled) {
  item.SetClipboardText(QStringLiteral("\tx "));
  EXPECT_EQ(item.ClipboardText(), QStringLiteral("\tx"));
  EXPECT_TRUE(item.cmdClip()->isEnabled());
  EXPECT_FALSE(item.cmdClip()->isHidden());
}

TEST_F(AlertDetailItem, EmptyTitleFallsBackToTheKeywordStoredBeforeIt) {
  AlertOutput alert = FilledAlert();
  alert.sTitleText.clear();
  item.SetAll(alert);
  EXPECT_EQ(item.TitleText(), QStringLiteral("Dues"));
  item.SetKeyword(QStringLiteral("Other"));
  EXPECT_EQ(item.TitleText(), QStringLiteral("Dues"));
  item.SetKeyword(QString());
  item.SetTitleText(QString());
  EXPECT_EQ(item.TitleText(), QString());
}

TEST_F(AlertDetailItem, VisibleOverridesOnlyVisibilityOfTheButtons) {
  AlertOutput alert = FilledAlert();
  alert.sActionText.clear();
  item.SetAll(alert);
  item.SetVisible(0);
  EXPECT_TRUE(item.cmdClip()->isHidden());
  EXPECT_TRUE(item.lblKeyword()->isHidden());
  item.SetVisible(-1);
  EXPECT_FALSE(item.cmdAction()->isHidden());
  EXPECT_FALSE(item.cmdAction()->isEnabled());
  EXPECT_TRUE(item.cmdClip()->isEnabled());
  EXPECT_FALSE(item.picAlert()->isHidden());
}

TEST_F(AlertDetailItem, ClearAllAfterLoadHidesAndKeywordStaysHidden) {
  item.SetAll(FilledAlert());
  item.ClearAll();
  EXPECT_EQ(item.Seqn(), 0);
  EXPECT_EQ(item.KeyValue(), QString());
  EXPECT_EQ(item.Icon(), -1);
  EXPECT_EQ(item.ClipboardText(), QString());
  EXPECT_TRUE(item.cmdClip()->isHidden());
  EXPECT_FALSE(item.cmdClip()->isEnabled());
  item.SetKeyword(QStringLiteral("k"));
  EXPECT_EQ(item.lblKeyword()->text(), QStringLiteral("k"));
  EXPECT_TRUE(item.lblKeyword()->isHidden());
}

// What a person would read in a tooltip that the toolkit renders.
QString ReadToolTip(const QWidget* pWidget) {
  if (!Qt::mightBeRichText(pWidget->toolTip())) return pWidget->toolTip();
  QTextDocument document;
  document.setHtml(pWidget->toolTip());
  return document.toPlainText();
}

TEST_F(AlertDetailItem, TextsThatLookLikeMarkupAreShownAsWritten) {
  AlertOutput alert = FilledAlert();
  alert.sKeyword = QStringLiteral("<b>Dues</b>");
  alert.sTooltipText = QStringLiteral("<img src=\"x.png\">owes");
  alert.sClipboardDescription = QStringLiteral("<i>copy</i>");
  alert.sActionDescription = QStringLiteral("<u>run</u>");
  item.SetAll(alert);
  EXPECT_EQ(item.lblKeyword()->text(), alert.sKeyword);
  EXPECT_EQ(item.lblKeyword()->textFormat(), Qt::PlainText);
  EXPECT_EQ(ReadToolTip(item.picAlert()), alert.sTooltipText);
  EXPECT_EQ(ReadToolTip(item.lblKeyword()), alert.sTooltipText);
  EXPECT_EQ(ReadToolTip(item.cmdClip()), alert.sClipboardDescription);
  EXPECT_EQ(ReadToolTip(item.cmdAction()), alert.sActionDescription);
  EXPECT_EQ(item.ToolTipText(), alert.sTooltipText);
  EXPECT_EQ(item.ClipboardDescription(), alert.sClipboardDescription);
}

TEST_F(AlertDetailItem, LayoutIsPlacedFromTwips) {
  EXPECT_EQ(item.cmdAction()->geometry(), QRect(0, 0, 17, 21));
  EXPECT_EQ(item.cmdClip()->geometry(), QRect(0, 20, 17, 21));
  EXPECT_EQ(item.picAlert()->geometry(), QRect(20, 4, 32, 32));
  EXPECT_EQ(item.lblKeyword()->geometry(), QRect(56, 0, 85, 41));
  EXPECT_EQ(item.size(), QSize(144, 41));
  EXPECT_TRUE(item.cmdAction()->font().bold());
  EXPECT_FALSE(item.cmdClip()->font().bold());
}

TEST(AlertDetailRegistry, ClassNameCreatesAnItem) {
  RegisterDetailControls();
  std::unique_ptr<QWidget> pWidget(
      ControlRegistry::Instance().Create(QStringLiteral("TWKDetail.ctlAlertDetail")));
  ASSERT_NE(pWidget, nullptr);
  auto* pItem = qobject_cast<ctlAlertDetail*>(pWidget.get());
  ASSERT_NE(pItem, nullptr);
  EXPECT_TRUE(pItem->IsHooked());
}

}  // namespace
}  // namespace twk

namespace twk {
namespace {

QImage Face(QWidget* pButton) { return pButton->grab().toImage(); }

TEST(FramedButtonLook, BorderHoverPressAndFocusEachShowInBothLooks) {
  for (const FramedButton::Look look : {FramedButton::Look::Flat, FramedButton::Look::ThreeD}) {
    QWidget window;
    auto* pButton = new FramedButton(QStringLiteral("C"), &window);
    auto* pOther = new QPushButton(QStringLiteral("other"), &window);
    pButton->setGeometry(0, 0, 17, 21);
    pOther->setGeometry(30, 0, 40, 21);
    pButton->SetLook(look);
    QPalette colours = pButton->palette();
    colours.setColor(QPalette::Button, Qt::white);
    pButton->setPalette(colours);
    window.show();
    QApplication::setActiveWindow(&window);
    pOther->setFocus();

    const QImage plain = Face(pButton);
    EXPECT_NE(plain.pixelColor(16, 10), plain.pixelColor(8, 10)) << "no border";
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(pButton, &enter);
    const QImage hovered = Face(pButton);
    EXPECT_NE(hovered, plain) << "no hover";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(pButton, &leave);
    EXPECT_EQ(Face(pButton), plain);
    pButton->setDown(true);
    EXPECT_NE(Face(pButton), plain) << "no pressed state";
    pButton->setDown(false);
    pButton->setFocus();
    ASSERT_TRUE(pButton->hasFocus());
    EXPECT_NE(Face(pButton), plain) << "no focus frame";
  }
}

TEST(FramedButtonLook, TheButtonRulesTwoColoursDifferVisibly) {
  const QColor highlight = DetailRules::ColourOf(SystemColour::ThreeDHighlight);
  const QColor background = DetailRules::ColourOf(SystemColour::WindowBackground);
  const int iDistance = qAbs(highlight.red() - background.red()) +
                        qAbs(highlight.green() - background.green()) +
                        qAbs(highlight.blue() - background.blue());
  EXPECT_GE(iDistance, 60);
  ctlAlertDetail item;
  EXPECT_NE(qobject_cast<FramedButton*>(item.cmdAction()), nullptr);
  EXPECT_NE(qobject_cast<FramedButton*>(item.cmdClip()), nullptr);
}

}  // namespace
}  // namespace twk
