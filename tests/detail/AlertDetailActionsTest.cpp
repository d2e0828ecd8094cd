// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "RecordingPlatform.h"
#include "ctlAlertDetail.h"

namespace twk {
namespace {

// Records every menu the item would show and answers with a scripted choice.
class AlertDetailActions : public ::testing::Test {
 protected:
  void SetUp() override {
    item.SetMenuPresenter([this](const DetailMenuState& state) {
      menus.push_back(state);
      return choice;
    });
  }

  void Load(const QString& sAction, const QString& sClipboard, const QString& sType = "ID") {
    AlertOutput alert;
    alert.lSeqn = 12;
    alert.sEventType = sType;
    alert.sKeyValue = QStringLiteral("987");
    alert.iRank = 2;
    alert.sKeyword = QStringLiteral("Dues");
    alert.sDescription = QStringLiteral("Dues owed");
    alert.sClipboardText = sClipboard;
    alert.sActionText = sAction;
    item.SetAll(alert);
  }

  void Send(QWidget* pWidget, QEvent::Type type, Qt::MouseButton button) {
    const QPointF point(2, 2);
    QMouseEvent event(type, point, pWidget->mapToGlobal(point), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
  }

  testing::RecordingPlatform platform;
  ctlAlertDetail item;
  std::vector<DetailMenuState> menus;
  DetailCommand choice = DetailCommand::Nothing;
};

TEST_F(AlertDetailActions, MenuAfterClearAllOffersOnlyZoomAndCancel) {
  item.ShowPopupMenu();
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_TRUE(menus[0].bZoomEnabled);
  EXPECT_FALSE(menus[0].bClipboardEnabled);
  EXPECT_FALSE(menus[0].bActionEnabled);
  EXPECT_TRUE(menus[0].bCancelEnabled);
}

TEST_F(AlertDetailActions, MenuChoiceRunsItsHandler) {
  Load(QStringLiteral("prog {ID}"), QStringLiteral("text"));
  choice = DetailCommand::PerformAction;
  item.ShowPopupMenu();
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_TRUE(menus[0].bActionEnabled);
  EXPECT_TRUE(menus[0].bClipboardEnabled);
  EXPECT_EQ(platform.commandLines, QStringList{QStringLiteral("prog 987")});
}

TEST_F(AlertDetailActions, RightReleaseOnSurfaceOrLabelOpensOneMenu) {
  Load(QString(), QString());
  Send(&item, QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_EQ(menus.size(), 1u);
  Send(item.lblKeyword(), QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_EQ(menus.size(), 2u);
  item.HookWindow();  // a second install must not double the menu
  Send(item.lblKeyword(), QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_EQ(menus.size(), 3u);
}

// Counts what reaches the widget that holds the item: a release or a
// context-menu request that the item let through would arrive here.
class ContainerSpy : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* pEvent) override {
    if (pEvent->type() == QEvent::MouseButtonRelease) ++iReleases;
    if (pEvent->type() == QEvent::ContextMenu) ++iContextMenus;
    return false;
  }
  int iReleases = 0;
  int iContextMenus = 0;
};

TEST_F(AlertDetailActions, TheContainerSeesNeitherTheRightReleaseNorAContextMenuRequest) {
  Load(QString(), QString());
  QWidget container;
  ContainerSpy spy;
  container.installEventFilter(&spy);
  item.setParent(&container);
  for (QWidget* pWidget :
       {static_cast<QWidget*>(&item), static_cast<QWidget*>(item.lblKeyword())}) {
    Send(pWidget, QEvent::MouseButtonRelease, Qt::RightButton);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2),
                              pWidget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(pWidget, &request);
  }
  EXPECT_EQ(menus.size(), 2u);
  EXPECT_EQ(spy.iReleases, 0);
  EXPECT_EQ(spy.iContextMenus, 0);
  item.setParent(nullptr);
}

TEST_F(AlertDetailActions, WithoutTheHookTheLabelStillOpensTheMenuOnce) {
  item.UnhookWindow();
  EXPECT_FALSE(item.IsHooked());
  item.UnhookWindow();
  Send(item.lblKeyword(), QEvent::MouseButtonRelease, Qt::RightButton);
  Send(&item, QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_EQ(menus.size(), 2u);
  item.HookWindow();
  EXPECT_TRUE(item.IsHooked());
}

TEST_F(AlertDetailActions, RightReleaseOnButtonsAndPictureOpensOneMenu) {
  Load(QStringLiteral("prog"), QStringLiteral("text"));
  for (QWidget* pWidget :
       {static_cast<QWidget*>(item.cmdAction()), static_cast<QWidget*>(item.cmdClip()),
        static_cast<QWidget*>(item.picAlert())}) {
    const size_t iBefore = menus.size();
    Send(pWidget, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(menus.size(), iBefore + 1) << pWidget->objectName().toStdString();
  }
  EXPECT_TRUE(platform.commandLines.isEmpty());
  EXPECT_TRUE(platform.clipboardWrites.isEmpty());
}

TEST_F(AlertDetailActions, LeftReleasesOnButtonsActAndDisabledButtonsDoNot) {
  Load(QStringLiteral("prog"), QStringLiteral("text"));
  Send(item.cmdAction(), QEvent::MouseButtonRelease, Qt::LeftButton);
  Send(item.cmdClip(), QEvent::MouseButtonRelease, Qt::LeftButton);
  EXPECT_EQ(platform.commandLines, QStringList{QStringLiteral("prog")});
  EXPECT_EQ(platform.ClipboardText(), QStringLiteral("text"));
  Load(QString(), QString());
  Send(item.cmdAction(), QEvent::MouseButtonRelease, Qt::LeftButton);
  Send(item.cmdAction(), QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_EQ(platform.commandLines.size(), 1);
  EXPECT_TRUE(menus.empty());
}

TEST_F(AlertDetailActions, KeywordClickZoomsWhilePictureAndSurfaceNeedADoubleClick) {
  Load(QString(), QString());
  Send(item.picAlert(), QEvent::MouseButtonRelease, Qt::LeftButton);
  Send(&item, QEvent::MouseButtonRelease, Qt::LeftButton);
  EXPECT_TRUE(platform.messages.empty());
  Send(item.lblKeyword(), QEvent::MouseButtonRelease, Qt::LeftButton);
  ASSERT_EQ(platform.messages.size(), 1u);
  Send(item.picAlert(), QEvent::MouseButtonDblClick, Qt::LeftButton);
  Send(&item, QEvent::MouseButtonDblClick, Qt::LeftButton);
  Send(item.lblKeyword(), QEvent::MouseButtonDblClick, Qt::LeftButton);
  EXPECT_EQ(platform.messages.size(), 4u);
}

TEST_F(AlertDetailActions, ZoomShowsDescriptionRankAndTitle) {
  Load(QString(), QString());
  item.SetDescription(QString());
  item.ZoomDetails();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText, QStringLiteral("\r\n\r\nRank=2"));
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("Dues"));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
}

TEST_F(AlertDetailActions, CopyLeavesExactlyTheTextAndRestoresTheSurface) {
  Load(QString(), QStringLiteral("  a\tb "));
  item.CopyToClipboard();
  EXPECT_EQ(platform.clipboardWrites, (QStringList{QString(), QStringLiteral("a\tb")}));
  EXPECT_EQ(item.palette().color(QPalette::Window),
            DetailRules::ColourOf(SystemColour::WindowBackground));
}

// Paints the item at the moment the text goes onto the clipboard, mid-flash.
class FlashRecorder : public testing::RecordingPlatform {
 public:
  QWidget* pItem = nullptr;
  QImage flash;
  void SetClipboardText(const QString& sText) override {
    if (!sText.isEmpty()) flash = pItem->grab().toImage();
    RecordingPlatform::SetClipboardText(sText);
  }
};

TEST_F(AlertDetailActions, CopyFlashesOnlyTheUncoveredSurface) {
  Load(QString(), QStringLiteral("text"));
  FlashRecorder recorder;
  recorder.pItem = &item;
  item.CopyToClipboard();
  ASSERT_FALSE(recorder.flash.isNull());
  const QColor windowText = DetailRules::ColourOf(SystemColour::WindowText);
  const QColor background = DetailRules::ColourOf(SystemColour::WindowBackground);
  const qreal dScale = recorder.flash.devicePixelRatio();
  auto colourAt = [&](const QPoint& point) {
    return recorder.flash.pixelColor((QPointF(point) * dScale).toPoint());
  };
  EXPECT_EQ(colourAt(QPoint(30, 38)), windowText);  // below the icon area
  // The icon area's transparent corner and the label's empty lower part.
  EXPECT_EQ(colourAt(item.picAlert()->geometry().topLeft()), background);
  EXPECT_EQ(colourAt(item.lblKeyword()->geometry().bottomRight() - QPoint(2, 2)), background);
}

// The real context menu, read while it is open and answered by its access key.
TEST(AlertDetailMenu, EntriesInOrderWithTheirCaptionsStatesAndAccessKeys) {
  testing::RecordingPlatform platform;
  ctlAlertDetail item;
  item.SetActionText(QStringLiteral("prog"));
  QStringList entries;
  QTimer::singleShot(0, [&] {
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
      auto* pMenu = qobject_cast<QMenu*>(pWidget);
      if (pMenu == nullptr || !pMenu->isVisible()) continue;
      for (const QAction* pAction : pMenu->actions()) {
        entries << pAction->text() + (pAction->isEnabled() ? "+" : "-");
      }
      QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      QApplication::sendEvent(pMenu, &key);
      if (pMenu->isVisible()) pMenu->close();  // never leave the test waiting
    }
  });
  item.ShowPopupMenu();
  EXPECT_EQ(entries, (QStringList{QStringLiteral("&Zoom details+"), QStringLiteral("Clipboard-"),
                                  QStringLiteral("Perform &action+"), QStringLiteral("Cancel+")}));
  EXPECT_EQ(platform.commandLines, QStringList{QStringLiteral("prog")});
}

TEST_F(AlertDetailActions, IdIsReplacedOnlyForTypeIdAndAnEmptyLineStartsNothing) {
  Load(QStringLiteral("prog {ID}"), QString(), QStringLiteral("id"));
  item.PerformAction();
  Load(QStringLiteral("{ID}"), QString());
  item.SetKeyValue(QString());
  item.PerformAction();
  EXPECT_EQ(platform.commandLines, QStringList{QStringLiteral("prog {ID}")});
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AlertDetailActions, StartReturningZeroShowsOnlyTheCriticalMessage) {
  Load(QStringLiteral("prog {ID}"), QString());
  platform.FailNextCommand(QString());
  item.PerformAction();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("Error when performing action for alert #12\r\n\"prog 987\""));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
}

TEST_F(AlertDetailActions, StartFailingWithAnErrorShowsTheReportThenTheCriticalMessage) {
  Load(QStringLiteral("prog"), QString());
  platform.FailNextCommand(QStringLiteral("No such file"));
  item.PerformAction();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("No such file\r\nin TWKDetail.ctlAlertDetail.PerformAction \r\nLine "
                           "130\r\nSource TWKPlatform"));
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(platform.messages[1].icon, MessageIcon::Critical);
}

TEST_F(AlertDetailActions, AKeyValueHoldingANulIsReportedAndStartsNothing) {
  const struct {
    QString sAction, sKeyValue;
  } cases[] = {
      {QStringLiteral("prog --opt={ID}.tail"), QStringLiteral("a\0b")},
      {QStringLiteral("prog {ID}"), QStringLiteral("\0")},
  };
  for (const auto& row : cases) {
    platform.messages.clear();
    Load(row.sAction, QString());
    item.SetKeyValue(row.sKeyValue);
    item.PerformAction();
    EXPECT_TRUE(platform.commandLines.isEmpty()) << platform.commandLines.join(u'|').toStdString();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].sText.startsWith(QStringLiteral("The action is not started")));
    EXPECT_TRUE(platform.messages[0].sText.contains(QStringLiteral("Line 120\r\nSource TWKDetail")))
        << platform.messages[0].sText.toStdString();
  }
}

// Keeps one log across message boxes, clipboard and command starts.
class OrderedPlatform : public testing::RecordingPlatform {
 public:
  QStringList order;
  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override {
    order.append(QStringLiteral("box"));
    return RecordingPlatform::ShowMessage(sText, sTitle, buttons, icon);
  }
  void SetClipboardText(const QString& sText) override {
    order.append(QStringLiteral("clip:") + sText);
    RecordingPlatform::SetClipboardText(sText);
  }
  CommandStart StartCommand(const QString& sCommandLine) override {
    order.append(QStringLiteral("start:") + sCommandLine);
    return RecordingPlatform::StartCommand(sCommandLine);
  }
};

TEST_F(AlertDetailActions, AutomationCopiesThenZoomsThenStarts) {
  Load(QStringLiteral("prog"), QStringLiteral("text"));
  item.SetAutoClipboard(-1);
  item.SetAutoPopup(-1);
  item.SetAutoAction(-1);
  OrderedPlatform ordered;
  item.PerformAutomation();
  EXPECT_EQ(ordered.order, (QStringList{QStringLiteral("clip:"), QStringLiteral("clip:text"),
                                        QStringLiteral("box"), QStringLiteral("start:prog")}));
  EXPECT_TRUE(platform.commandLines.isEmpty());
}

TEST_F(AlertDetailActions, AutomationDoesEachActionByItsOwnFlag) {
  Load(QStringLiteral("prog"), QStringLiteral("text"));
  item.SetAutoPopup(-1);
  item.PerformAutomation();
  EXPECT_TRUE(platform.clipboardWrites.isEmpty());
  EXPECT_TRUE(platform.commandLines.isEmpty());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
}

TEST_F(AlertDetailActions, AutomationIgnoresFlagsHoldingOne) {
  Load(QStringLiteral("prog"), QStringLiteral("text"));
  item.SetAutoClipboard(1);
  item.SetAutoPopup(1);
  item.SetAutoAction(-1);
  item.PerformAutomation();
  EXPECT_TRUE(platform.clipboardWrites.isEmpty());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.commandLines.size(), 1);
}

}  // namespace
}  // namespace twk
