// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "PanelFixture.h"
#include "PanelIcons.h"
#include "PanelRules.h"
#include "UpDownScroller.h"
#include "ctlAlertDetail.h"

namespace twk {
namespace {

using testing::PanelFixture;
using testing::ScriptedHost;

class Panel : public PanelFixture {};

TEST_F(Panel, StartsConnectedSubscribedAndShowingTheCurrentRecord) {
  AddAlerts(3);
  auto panel = StartPanel(host);
  EXPECT_EQ(host.titles, (QStringList{QStringLiteral("Tellwick"), QStringLiteral("ID 1001")}));
  EXPECT_EQ(host.notices, QStringList{QStringLiteral("nNewId")});
  EXPECT_EQ(host.iCloseRequests, 0);
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_EQ(panel->VisualModeName(), QStringLiteral("10"));
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("1-3"));
  EXPECT_EQ(panel->detDetail(0)->Keyword(), QStringLiteral("Alert 1"));
  EXPECT_EQ(panel->detDetail(2)->Keyword(), QStringLiteral("Alert 3"));
  EXPECT_EQ(panel->detDetail(0)->Description(), QStringLiteral("About 1001"));
  EXPECT_FALSE(panel->lblFixedText()->text().isEmpty());
  EXPECT_EQ(panel->Test(), 1);
}

TEST_F(Panel, TheViewLineAndScrollerFollowTheAlertCount) {
  struct Case {
    int iAlerts;
    const char* sCaption;
    bool bEnabled;
    int iMaximum;
  };
  for (const Case& c :
       {Case{0, "1-0", false, 1}, Case{3, "1-3", false, 1}, Case{5, "1-5", false, 1},
        Case{6, "1-5 (6)", true, 2}, Case{9, "1-5 (9)", true, 5}}) {
    SetVariableCount(c.iAlerts);
    if (c.iAlerts == 0) AddVariableAlerts(0);
    auto panel = StartPanel(host);
    EXPECT_EQ(panel->lblMore()->text(), QString::fromLatin1(c.sCaption)) << c.iAlerts;
    EXPECT_EQ(panel->udScrollAlerts()->isEnabled(), c.bEnabled) << c.iAlerts;
    EXPECT_EQ(panel->udScrollAlerts()->Maximum(), c.iMaximum) << c.iAlerts;
    EXPECT_EQ(panel->detDetail(0)->Keyword().isEmpty(), c.iAlerts == 0) << c.iAlerts;
  }
}

TEST_F(Panel, ScrollerClicksPageOneAlertWithoutEvaluatingAgain) {
  AddAlerts(9);
  auto panel = StartPanel(host);
  ASSERT_EQ(Evaluations(), 1);
  panel->udScrollAlerts_DownClick();
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("2-6 (9)"));
  EXPECT_EQ(panel->detDetail(0)->Keyword(), QStringLiteral("Alert 2"));
  EXPECT_EQ(panel->FirstShown(), 2);
  for (int i = 0; i < 10; ++i) panel->udScrollAlerts_DownClick();
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("5-9 (9)"));
  panel->udScrollAlerts_UpClick();
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("4-8 (9)"));
  EXPECT_EQ(Evaluations(), 1);
}

TEST_F(Panel, DownClickAtTheEndMovesNothing) {
  AddAlerts(6);
  auto panel = StartPanel(host);
  panel->udScrollAlerts_DownClick();
  const QStringList titlesBefore = host.titles;
  panel->udScrollAlerts_DownClick();
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("2-6 (6)"));
  EXPECT_EQ(host.titles, titlesBefore);  // not displayed again
}

TEST_F(Panel, TheSameIdNotifiedAgainReturnsToTheFirstAlertWithoutEvaluating) {
  AddAlerts(9);
  auto panel = StartPanel(host);
  panel->udScrollAlerts_DownClick();
  panel->NotifyListener(QStringLiteral("nNewId"), {}, {}, {}, {});
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("1-5 (9)"));
  EXPECT_EQ(Evaluations(), 1);

  host.values[QStringLiteral("lvSession.CurrentId")] = QStringLiteral("1002");
  panel->NotifyListener(QStringLiteral("nNewID"), {}, {}, {}, {});  // not the notice
  EXPECT_EQ(Evaluations(), 1);
  panel->NotifyListener(QStringLiteral("nNewId"), {}, {}, {}, {});
  EXPECT_EQ(Evaluations(), 2);
  EXPECT_EQ(host.titles.last(), QStringLiteral("ID 1002"));
}

TEST_F(Panel, RefreshReevaluatesAndKeepsTheViewUnlessTheCountNoLongerReachesIt) {
  AddVariableAlerts(9);
  auto panel = StartPanel(host);
  for (int i = 0; i < 3; ++i) panel->udScrollAlerts_DownClick();
  ASSERT_EQ(panel->lblMore()->text(), QStringLiteral("4-8 (9)"));

  SetVariableCount(8);
  panel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("4-8 (8)"));
  SetVariableCount(6);
  panel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("1-5 (6)"));
  EXPECT_EQ(Evaluations(), 3);
}

TEST_F(Panel, ARightPressOnRefreshOpensTheProductPageInsteadOfRefreshing) {
  AddAlerts(2);
  auto panel = StartPanel(host);
  panel->cmdRefresh_MouseDown(Qt::RightButton);
  ASSERT_EQ(platform.webAddresses.size(), 1);
  // The address names the product page itself, a file that is there.
  const QUrl address(platform.webAddresses[0]);
  ASSERT_TRUE(address.isLocalFile()) << platform.webAddresses[0].toStdString();
  QFile page(address.toLocalFile());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << address.toLocalFile().toStdString();
  EXPECT_TRUE(page.readAll().contains("<title>Tellwick</title>"));
  EXPECT_EQ(Evaluations(), 1);
}

TEST_F(Panel, WithoutACurrentRecordItemZeroSaysSoAndTheViewLineStays) {
  AddAlerts(7);
  auto panel = StartPanel(host);
  host.values[QStringLiteral("lvSession.CurrentId")] = QString();
  panel->NotifyListener(QStringLiteral("nNewId"), {}, {}, {}, {});
  EXPECT_EQ(host.titles.last(), QStringLiteral("No current ID"));
  EXPECT_EQ(panel->detDetail(0)->Keyword(), QStringLiteral("No current iMIS record"));
  EXPECT_EQ(panel->detDetail(0)->Icon(), 49);
  EXPECT_FALSE(panel->picAlertIcon(0)->pixmap().isNull());
  EXPECT_TRUE(panel->detDetail(1)->Keyword().isEmpty());
  EXPECT_EQ(panel->lblFixedText()->text(), QStringLiteral("..."));
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("1-5 (7)"));
}

TEST_F(Panel, TheNoRecordItemShowsIcon49AfterAPageWhoseFirstIconWasOutOfRange) {
  AddAlerts(1, 680);
  auto panel = StartPanel(host);
  ASSERT_TRUE(panel->picAlertIcon(0)->isHidden());
  host.values[QStringLiteral("lvSession.CurrentId")] = QString();
  panel->NotifyListener(QStringLiteral("nNewId"), {}, {}, {}, {});
  EXPECT_FALSE(panel->picAlertIcon(0)->isHidden());
  EXPECT_FALSE(panel->picAlertIcon(0)->pixmap().isNull());
}

TEST_F(Panel, ALongKeywordEndsAtALineBoundaryWithTheWholeTextInTheTooltip) {
  auto panel = StartPanel(host);
  const QString sLong = QStringLiteral(
      "Membership lapsed on the last day of the previous year and was never renewed since");
  AlertOutput alert;
  alert.sKeyword = sLong;
  alert.sTooltipText = QStringLiteral("See the dues history");
  ctlAlertDetail* pItem = panel->detDetail(0);
  pItem->SetAll(alert);
  const QLabel* pLabel = pItem->lblKeyword();
  EXPECT_EQ(pItem->Keyword(), alert.sKeyword);
  EXPECT_TRUE(pLabel->text().endsWith(QChar(0x2026))) << pLabel->text().toStdString();
  EXPECT_LE(pLabel->heightForWidth(pLabel->width()), pLabel->height());
  EXPECT_TRUE(pLabel->toolTip().contains(alert.sKeyword));
  EXPECT_TRUE(pLabel->toolTip().contains(alert.sTooltipText));
  alert.sKeyword = QStringLiteral("Short");
  pItem->SetAll(alert);
  EXPECT_EQ(pLabel->text(), QStringLiteral("Short"));
  EXPECT_EQ(pLabel->toolTip(), alert.sTooltipText);
  // The same keyword again once the label's font has grown still fits.
  alert.sKeyword = sLong;
  pItem->SetAll(alert);
  const QString sBefore = pLabel->text();
  QFont larger = pLabel->font();
  larger.setPointSizeF(larger.pointSizeF() * 1.5);
  pItem->lblKeyword()->setFont(larger);
  pItem->SetAll(alert);
  EXPECT_NE(pLabel->text(), sBefore);
  EXPECT_LE(pLabel->heightForWidth(pLabel->width()), pLabel->height());
}

TEST_F(Panel, IconsOutsideTheSetAreHiddenAndEachShownOneIsItsOwnPicture) {
  auto panel = StartPanel(host);
  for (int iIcon : {0, -1, 680, 1, 679, 1}) {
    Raw(QStringLiteral("delete from ttwk_AlertDefinitions"));
    AddAlerts(1, iIcon);
    panel->cmdRefresh_MouseDown(Qt::LeftButton);
    const bool bShown = iIcon >= 1 && iIcon <= 679;
    const QLabel* pIcon = panel->picAlertIcon(0);
    EXPECT_EQ(pIcon->isHidden(), !bShown) << iIcon;
    EXPECT_EQ(pIcon->pixmap().isNull(), !bShown) << iIcon;
    if (bShown) {
      EXPECT_EQ(pIcon->pixmap().toImage(), PanelIcons::Picture(qint16(iIcon)).toImage()) << iIcon;
    }
  }
}

TEST_F(Panel, AutomationRunsOnEvaluationOnlyNotOnPaging) {
  Raw(QStringLiteral(
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
      "values ('with n(i) as (select 1 union all select i + 1 from n where i < 7) "
      "select ''K'' + convert(varchar(10), i) as KEYWORD, ''D'' as DESCRIPTION, i as RANK, "
      "case when i = 1 then -1 else 0 end as AUTO_ACTION, "
      "case when i = 1 then -1 else 0 end as AUTO_CLIPBOARD, ''copied'' as CLIPBOARD_TEXT "
      "from n', 1, '', 'SQL', 'AUTO')"));
  auto panel = StartPanel(host);
  EXPECT_EQ(platform.clipboardWrites.count(QStringLiteral("copied")), 1);
  panel->udScrollAlerts_DownClick();
  panel->udScrollAlerts_UpClick();
  EXPECT_EQ(platform.clipboardWrites.count(QStringLiteral("copied")), 1);
  panel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_EQ(platform.clipboardWrites.count(QStringLiteral("copied")), 2);
}

TEST_F(Panel, ARecordIdWithApostrophesIsSafe) {
  AddAlerts(1);
  host.values[QStringLiteral("lvSession.CurrentId")] = QStringLiteral("O'Brien 7");
  auto panel = StartPanel(host);
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_EQ(panel->detDetail(0)->Description(), QStringLiteral("About O'Brien 7"));
  EXPECT_EQ(host.titles.last(), QStringLiteral("ID O'Brien 7"));
}

TEST_F(Panel, TheFixedTextIsShownAsWrittenNotAsMarkup) {
  const QString sMarkup = QStringLiteral("<b>Bold</b> &amp; <i>x</i>");
  Raw(QStringLiteral("insert or replace into twk_procedures (name, parameters, body) values "
                     "('ptwk_calculate_fixed_text', '@ID, @UserName', 'select ''%1'' as FIXED')")
          .arg(sMarkup));
  auto panel = StartPanel(host);
  QLabel* pLabel = panel->lblFixedText();
  ASSERT_EQ(pLabel->text(), sMarkup);
  // What is on screen must be what the same label draws when told outright
  // that its text is plain.
  const QImage shown = pLabel->grab().toImage();
  const Qt::TextFormat format = pLabel->textFormat();
  pLabel->setTextFormat(Qt::PlainText);
  const QImage plain = pLabel->grab().toImage();
  pLabel->setTextFormat(Qt::RichText);
  const QImage rich = pLabel->grab().toImage();
  pLabel->setTextFormat(format);
  ASSERT_NE(plain, rich) << "the label is too small to tell markup from text";
  EXPECT_EQ(shown, plain);
}

TEST_F(Panel, DoubleClickOnTheFixedTextShowsIt) {
  auto panel = StartPanel(host);
  panel->lblFixedText_DblClick();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("Overview text"));
  EXPECT_EQ(platform.messages[0].sText, panel->lblFixedText()->text());
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
}

TEST_F(Panel, AVanishedTableIsReportedAndThePanelStaysUsable) {
  AddAlerts(2);
  auto panel = StartPanel(host);
  Raw(QStringLiteral("drop table ttwk_AlertDefinitions"));
  panel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_FALSE(platform.messages.empty());
  EXPECT_TRUE(AllMessageText().contains(QStringLiteral("in TWK.ctlTWK.ReadAlertRules at line")));
  EXPECT_EQ(panel->lblMore()->text(), QStringLiteral("1-0"));
  panel->udScrollAlerts_DownClick();
  EXPECT_EQ(host.titles.last(), QStringLiteral("ID 1001"));
}

TEST_F(Panel, DisableAlertTakesOnlyAWholeNumber) {
  AddAlerts(2);
  auto panel = StartPanel(host);
  QVariant sneaky(QStringLiteral("1 or 1 = 1"));
  panel->DisableAlert(sneaky);
  EXPECT_EQ(RawValue(QStringLiteral("select ENABLED from ttwk_AlertDefinitions where SEQN = 1")),
            QStringLiteral("1"));
  QVariant seqn(1);
  panel->DisableAlert(seqn);
  EXPECT_EQ(RawValue(QStringLiteral("select ENABLED from ttwk_AlertDefinitions where SEQN = 1")),
            QStringLiteral("0"));
}

TEST_F(Panel, TabAlwaysLandsOnRefresh) {
  auto panel = StartPanel(host);
  panel->show();
  QApplication::setActiveWindow(panel.get());
  panel->lblMore()->setFocusPolicy(Qt::StrongFocus);
  panel->lblMore()->setFocus();
  panel->UserControl_KeyUp(9, 0);
  EXPECT_EQ(QApplication::focusWidget(), panel->cmdRefresh());
  panel->UserControl_KeyUp(9, 1);
  EXPECT_EQ(QApplication::focusWidget(), panel->cmdRefresh());
}

TEST_F(Panel, TabFromInsideAnItemLandsOnRefreshWithoutAReport) {
  AddAlerts(2);
  auto panel = StartPanel(host);
  panel->show();
  QApplication::setActiveWindow(panel.get());
  auto* pKeyword = panel->detDetail(1)->findChild<QLabel*>(QStringLiteral("lblKeyword"));
  ASSERT_NE(pKeyword, nullptr);
  pKeyword->setFocusPolicy(Qt::StrongFocus);
  pKeyword->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), pKeyword);
  panel->UserControl_KeyUp(9, 0);
  EXPECT_EQ(QApplication::focusWidget(), panel->cmdRefresh());
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(Panel, AQuickSecondPressOnRefreshRefreshesAgain) {
  AddAlerts(2);
  auto panel = StartPanel(host);
  const QPointF at(5, 5);
  QMouseEvent press(QEvent::MouseButtonPress, at, panel->cmdRefresh()->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel->cmdRefresh(), &press);
  EXPECT_EQ(Evaluations(), 2);
  QMouseEvent second(QEvent::MouseButtonDblClick, at, panel->cmdRefresh()->mapToGlobal(at),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel->cmdRefresh(), &second);
  EXPECT_EQ(Evaluations(), 3);
}

// Pending events run between the slots of a page; a record change arriving
// then must leave the display of the new record, not of the old one.
TEST_F(Panel, ARecordChangeWhileAPageFillsLeavesTheNewRecordOnView) {
  for (const QString& sNewId : {QStringLiteral("1002"), QString()}) {
    Raw(QStringLiteral("delete from ttwk_AlertDefinitions"));
    AddAlerts(3);
    host.values[QStringLiteral("lvSession.CurrentId")] = QStringLiteral("1001");
    auto panel = StartPanel(host);
    QMetaObject::invokeMethod(
        panel.get(),
        [&] {
          host.values[QStringLiteral("lvSession.CurrentId")] = sNewId;
          panel->NotifyListener(QStringLiteral("nNewId"), {}, {}, {}, {});
        },
        Qt::QueuedConnection);
    panel->cmdRefresh_MouseDown(Qt::LeftButton);
    if (sNewId.isEmpty()) {
      EXPECT_EQ(host.titles.last(), QStringLiteral("No current ID"));
      EXPECT_EQ(panel->detDetail(0)->Keyword(), QStringLiteral("No current iMIS record"));
      EXPECT_TRUE(panel->detDetail(1)->Keyword().isEmpty());
      EXPECT_EQ(panel->lblFixedText()->text(), QStringLiteral("..."));
    } else {
      EXPECT_EQ(host.titles.last(), QStringLiteral("ID 1002"));
      for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(panel->detDetail(k)->Description(), QStringLiteral("About 1002")) << k;
      }
      EXPECT_EQ(panel->LastId(), QStringLiteral("1002"));
    }
    EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  }
}

TEST_F(Panel, ResizingMovesOnlyTheFixedTextAndTheItems) {
  auto panel = StartPanel(host);
  panel->show();
  panel->resize(300, 400);                          // 4500 x 6000 twips
  EXPECT_EQ(panel->detDetail(0)->width(), 300);     // 4496 twips
  EXPECT_EQ(panel->lblFixedText()->width(), 298);   // 4466 twips
  EXPECT_EQ(panel->lblFixedText()->height(), 160);  // 2396 twips
  panel->resize(1, 1);
  EXPECT_EQ(panel->lblFixedText()->width(), 0);  // 1 twip
  EXPECT_EQ(panel->cmdRefresh()->geometry(), QRect(0, 212, 49, 25));

  const PanelLayout big = ComputePanelLayout(3000, 5000);
  EXPECT_EQ(big.iItemWidth, 2996);
  EXPECT_EQ(big.iFixedTextWidth, 2966);
  EXPECT_EQ(big.iFixedTextHeight, 1396);
  const PanelLayout tiny = ComputePanelLayout(20, 20);
  EXPECT_EQ(tiny.iFixedTextWidth, 1);
  EXPECT_EQ(tiny.iFixedTextHeight, 1);
  EXPECT_EQ(tiny.iItemWidth, 31);
}

}  // namespace
}  // namespace twk
