// SPDX-License-Identifier: MIT
#include "Connection.h"
#include "ConnectionSettings.h"
#include "EmbeddedDatabase.h"
#include "ExplainWindow.h"
#include "HostPlatform.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "RecordBrowser.h"
#include "RecordingPlatform.h"
#include "XtenderControl.h"
#include "ControlScrollArea.h"
#include "LimitedTextBox.h"
#include "ctlEditTWK.h"
#include "ctlTWK.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QRegularExpression>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QStatusBar>
#include <QPushButton>
#include <QTableView>

namespace twk {
namespace {

using testing::RecordingPlatform;

/// The host program's window on a fresh demo database.
class HostProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    sDatabase = scratch.filePath(QStringLiteral("demo.db"));
    EmbeddedDatabase::Create(sDatabase, true);
    options = {sDatabase, QStringLiteral("DEMO"), QStringLiteral("MANAGER"), QString(),
               QStringLiteral("9 (sysadmin)"), QStringLiteral("10.2.0")};
  }

  static QList<QDockWidget*> Docks(const HostWindow& window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.findChildren<QDockWidget*>();
  }

  RecordingPlatform platform;
  ScopedModuleState moduleState;
  QTemporaryDir scratch;
  QString sDatabase;
  HostOptions options;
};

TEST_F(HostProgram, ThePanelFollowsTheRecordPickedInTheBrowser) {
  HostWindow window(options);
  EXPECT_EQ(window.Browser()->RecordCount(), 32);
  auto* pPanel = qobject_cast<ctlTWK*>(
      window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea));
  ASSERT_NE(pPanel, nullptr);
  QDockWidget* pDock = Docks(window).value(0);
  ASSERT_NE(pDock, nullptr);
  EXPECT_EQ(pDock->windowTitle(), QStringLiteral("No current ID"));

  ASSERT_TRUE(window.Browser()->Select(QStringLiteral("1009")));
  EXPECT_EQ(window.Session().CurrentId(), QStringLiteral("1009"));
  EXPECT_EQ(pDock->windowTitle(), QStringLiteral("ID 1009"));
  EXPECT_NE(pPanel->lblMore()->text(), QStringLiteral("1-0"));

  // The demo's fullest record pages: five alerts at a time, the count in brackets.
  ASSERT_TRUE(window.Browser()->Select(QStringLiteral("1029")));
  const QRegularExpressionMatch paged =
      QRegularExpression(QStringLiteral("^1-5 \\((\\d+)\\)$")).match(pPanel->lblMore()->text());
  ASSERT_TRUE(paged.hasMatch()) << pPanel->lblMore()->text().toStdString();
  EXPECT_GE(paged.captured(1).toInt(), 9);
  EXPECT_TRUE(platform.messages.empty()) << platform.MessageTitles().join(u',').toStdString();
}

TEST_F(HostProgram, ASecondPanelIsClosedByTheGuardAndTheFirstKeepsWorking) {
  HostWindow window(options);
  window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("No current record"));
  window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  EXPECT_TRUE(window.statusBar()->currentMessage().contains(QStringLiteral("10.4")))
      << window.statusBar()->currentMessage().toStdString();
  EXPECT_EQ(Docks(window).size(), 1);
  EXPECT_EQ(window.Session().SubscriberCount(), 1);
  window.Browser()->Select(QStringLiteral("1002"));
  EXPECT_EQ(Docks(window).value(0)->windowTitle(), QStringLiteral("ID 1002"));
}

TEST_F(HostProgram, ABadConnectionClosesThePanelAfterSayingWhy) {
  options.sServer = scratch.filePath(QStringLiteral("missing.db"));
  HostWindow window(options);
  EXPECT_EQ(window.Browser()->RecordCount(), 0);
  window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  EXPECT_TRUE(Docks(window).isEmpty());
  EXPECT_FALSE(platform.messages.empty());
}

TEST_F(HostProgram, TheIconPreviewOpensAndUnknownControlsDoNot) {
  HostWindow window(options);
  QWidget* pPreview =
      window.OpenControl(QStringLiteral("TWK.ctlPreviewImages"), Qt::BottomDockWidgetArea);
  ASSERT_NE(pPreview, nullptr);
  EXPECT_EQ(dynamic_cast<XtenderControl*>(pPreview)->Test(), 1);
  EXPECT_EQ(window.OpenControl(QStringLiteral("TWK.noSuchControl"), Qt::LeftDockWidgetArea),
            nullptr);
  EXPECT_EQ(Docks(window).size(), 1);
}

TEST_F(HostProgram, ADefinitionSavedInTheEditorIsSeenByThePanelsNextEvaluation) {
  HostWindow window(options);
  auto* pPanel = qobject_cast<ctlTWK*>(
      window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea));
  ASSERT_NE(pPanel, nullptr);
  window.Browser()->Select(QStringLiteral("1014"));  // no demo alert fires for 1014
  ASSERT_EQ(pPanel->lblMore()->text(), QStringLiteral("1-0"));

  auto* pEditor = qobject_cast<ctlEditTWK*>(
      window.OpenControl(QStringLiteral("TWK.ctlEditTWK"), Qt::BottomDockWidgetArea));
  ASSERT_NE(pEditor, nullptr);
  pEditor->cmdNew_Click();
  pEditor->txtName()->setText(QStringLiteral("EVERYONE"));
  pEditor->txtDescription()->SetText(QStringLiteral("Shown for every record"));
  pEditor->txtCriteria()->SetText(
      QStringLiteral("select 'Hello ' + @id as KEYWORD, 'Seen by ' + {user} as DESCRIPTION"));
  pEditor->ComType()->setEditText(QStringLiteral("SQL"));
  pEditor->OptEnabled(1)->setChecked(true);
  pEditor->cmdSave_Click();
  EXPECT_FALSE(pEditor->lblSeqn()->text().isEmpty());

  pPanel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_EQ(pPanel->lblMore()->text(), QStringLiteral("1-1"));
  EXPECT_TRUE(platform.messages.empty()) << platform.MessageTitles().join(u',').toStdString();

  pEditor->OptEnabled(2)->setChecked(true);
  pEditor->cmdSave_Click();
  pPanel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_EQ(pPanel->lblMore()->text(), QStringLiteral("1-0"));
}

/// Where a docked control falls short of its design: the control squeezed
/// below its designed size, a widget of the design outside it, a caption
/// cut through its letters, or part of it neither on view nor reachable by
/// scrolling. Empty when the control is whole.
QStringList Shortfalls(QWidget* pControl) {
  QStringList faults;
  const QString sName = pControl->metaObject()->className();
  const QSize designed = pControl->sizeHint();
  if (pControl->width() < designed.width() || pControl->height() < designed.height()) {
    faults << sName + QStringLiteral(" squeezed");
  }
  const QRect design = pControl->rect();
  for (QWidget* pChild : pControl->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (pChild->isHidden()) continue;
    if (!design.contains(pChild->geometry())) {
      faults << sName + QStringLiteral(": ") + pChild->metaObject()->className() +
                    QStringLiteral(" outside the design");
    }
    auto* pLabel = qobject_cast<QLabel*>(pChild);
    if (pLabel && !pLabel->wordWrap() && !pLabel->text().isEmpty() &&
        pLabel->sizeHint().height() > pLabel->height()) {
      faults << sName + QStringLiteral(": \"") + pLabel->text() + QStringLiteral("\" cut");
    }
  }
  auto* pArea = qobject_cast<ControlScrollArea*>(pControl->parentWidget()
                                                     ? pControl->parentWidget()->parentWidget()
                                                     : nullptr);
  if (!pArea) return faults << sName + QStringLiteral(" not in a scroll area");
  if (!pArea->isVisible()) faults << sName + QStringLiteral(" not shown");
  const QSize view = pArea->viewport()->size();
  const bool bWideEnough =
      view.width() >= designed.width() || pArea->horizontalScrollBar()->isVisible();
  const bool bHighEnough =
      view.height() >= designed.height() || pArea->verticalScrollBar()->isVisible();
  if (!bWideEnough || !bHighEnough) faults << sName + QStringLiteral(" cut off");
  return faults;
}

std::string Joined(const QStringList& faults) { return faults.join(QStringLiteral("; ")).toStdString(); }

TEST_F(HostProgram, EachControlOpensWhole) {
  for (const char* sClass : {"TWK.ctlTWK", "TWK.ctlEditTWK", "TWK.ctlPreviewImages"}) {
    ScopedModuleState freshState;
    HostWindow window(options);
    window.show();
    const bool bBeside = QByteArray(sClass) == "TWK.ctlTWK";
    QWidget* pControl = window.OpenControl(QString::fromLatin1(sClass),
                                           bBeside ? Qt::RightDockWidgetArea
                                                   : Qt::BottomDockWidgetArea);
    ASSERT_NE(pControl, nullptr) << sClass;
    QCoreApplication::processEvents();
    EXPECT_EQ(Joined(Shortfalls(pControl)), "") << sClass;
    EXPECT_TRUE(qobject_cast<ControlScrollArea*>(pControl->parentWidget()->parentWidget())
                    ->ShowsWholeControl())
        << sClass;
  }
}

TEST_F(HostProgram, AllControlsTogetherStayWholeInABigWindowAndScrollInATinyOne) {
  options.sHostVersion = QStringLiteral("10.5.0");  // two panels may run
  HostWindow window(options);
  window.show();
  QList<QWidget*> controls;
  controls << window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea)
           << window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea)
           << window.OpenControl(QStringLiteral("TWK.ctlEditTWK"), Qt::BottomDockWidgetArea)
           << window.OpenControl(QStringLiteral("TWK.ctlPreviewImages"), Qt::BottomDockWidgetArea);
  ASSERT_FALSE(controls.contains(nullptr));
  window.resize(1400, 1300);
  QCoreApplication::processEvents();
  for (QWidget* pControl : controls) {
    EXPECT_EQ(Joined(Shortfalls(pControl)), "");
    auto* pArea = qobject_cast<ControlScrollArea*>(pControl->parentWidget()->parentWidget());
    EXPECT_TRUE(pArea->ShowsWholeControl())
        << pControl->metaObject()->className() << " " << pArea->viewport()->width() << "x"
        << pArea->viewport()->height() << " of " << pControl->width() << "x" << pControl->height();
  }
  // Smaller than the designs together: the window takes the size and the
  // controls scroll, rather than the window refusing to shrink.
  const QSize tiny(480, 360);
  window.resize(tiny);
  QCoreApplication::processEvents();
  EXPECT_EQ(window.size(), tiny);
  int iScrolled = 0;
  for (QWidget* pControl : controls) {
    EXPECT_EQ(Joined(Shortfalls(pControl)), "");
    auto* pArea = qobject_cast<ControlScrollArea*>(pControl->parentWidget()->parentWidget());
    iScrolled += pArea->ShowsWholeControl() ? 0 : 1;
  }
  EXPECT_GT(iScrolled, 0);
}

TEST_F(HostProgram, TabReachesThePanelAndF6MovesBetweenPanes) {
  HostWindow window(options);
  window.show();
  QApplication::setActiveWindow(&window);
  auto* pPanel = qobject_cast<ctlTWK*>(
      window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea));
  ASSERT_NE(pPanel, nullptr);
  RecordBrowser* pBrowser = window.Browser();
  pBrowser->SearchField()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), pBrowser->List());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(pBrowser->NoRecordButton()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_TRUE(pPanel->isAncestorOf(QApplication::focusWidget()));
  // Inside the panel its own rule holds: Tab lands on Refresh.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(pPanel->cmdRefresh()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
  EXPECT_EQ(QApplication::focusWidget(), pBrowser->SearchField());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_TRUE(pPanel->isAncestorOf(QApplication::focusWidget()));
  EXPECT_TRUE(window.Session().CurrentId().isEmpty());  // nothing opened on the way
  EXPECT_TRUE(platform.messages.empty()) << platform.MessageTitles().join(u',').toStdString();
}

/// Claims every key for the text box, as a line edit does under X11 with
/// Ctrl+E (end of line); the offscreen test platform binds no such keys.
class ClaimsEveryKey : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* pEvent) override {
    if (pEvent->type() == QEvent::ShortcutOverride) pEvent->accept();
    return false;
  }
};

TEST_F(HostProgram, MenuShortcutsWorkFromTheSearchField) {
  HostWindow window(options);
  window.show();
  QApplication::setActiveWindow(&window);
  ClaimsEveryKey claims;
  window.Browser()->SearchField()->installEventFilter(&claims);
  window.Browser()->SearchField()->setFocus();
  QTest::keyClicks(window.Browser()->SearchField(), QStringLiteral("Ai"));
  QTest::keyClick(window.Browser()->SearchField(), Qt::Key_E, Qt::ControlModifier);
  QTest::keyClick(window.Browser()->SearchField(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_NE(window.findChild<ctlEditTWK*>(), nullptr);
  EXPECT_EQ(Docks(window).size(), 2);
  EXPECT_EQ(window.Browser()->SearchField()->text(), QStringLiteral("Ai"));
}

TEST_F(HostProgram, AProductPageThatDoesNotOpenIsToldInTheStatusBar) {
  HostWindow window(options);
  QString sReported;
  HostPlatform hostPlatform(platform, [&](const QString& s) { sReported = s; });
  ScopedPlatform installation(hostPlatform);
  auto* pPanel = qobject_cast<ctlTWK*>(
      window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea));
  ASSERT_NE(pPanel, nullptr);
  pPanel->cmdRefresh_MouseDown(Qt::RightButton);
  EXPECT_EQ(sReported, QString());
  platform.bWebAddressOpens = false;
  pPanel->cmdRefresh_MouseDown(Qt::RightButton);
  EXPECT_TRUE(sReported.contains(ctlTWK::ProductWebPage())) << sReported.toStdString();
  EXPECT_EQ(platform.webAddresses.size(), 2);
}

TEST_F(HostProgram, TheExplainWindowShowsTheCurrentRecordsDefinitions) {
  HostWindow window(options);
  EXPECT_EQ(window.ExplainCurrentRecord(), nullptr);  // no record yet
  EXPECT_TRUE(window.statusBar()->currentMessage().contains(QStringLiteral("record")));
  ASSERT_TRUE(window.Browser()->Select(QStringLiteral("1009")));
  ExplainWindow* pExplain = window.ExplainCurrentRecord();  // without a panel
  ASSERT_NE(pExplain, nullptr);
  EXPECT_TRUE(pExplain->Report().contains(QStringLiteral("record 1009")));
  EXPECT_TRUE(pExplain->Report().contains(QStringLiteral("accepted, keyword")))
      << pExplain->Report().toStdString();
  EXPECT_TRUE(platform.messages.empty()) << platform.MessageTitles().join(u',').toStdString();
}

TEST_F(HostProgram, TheSurveyReportsEveryRecordAndStopsWhenCancelled) {
  const struct {
    bool bCancel;
    const char* sStatus;
    const char* sReport;
  } cases[] = {{false, "Surveyed 32 records.", "Surveyed 32 records with"},
               {true, "Survey cancelled after 1 of 32 records.",
                "Surveyed 1 records (stopped before the rest)"}};
  for (const auto& c : cases) {
    HostWindow window(options);
    if (c.bCancel) {
      // Pressed while the first record's progress is drawn.
      QTimer::singleShot(0, &window, [&window] {
        if (auto* pProgress = window.findChild<QProgressDialog*>(u"surveyProgress"_qs)) {
          pProgress->cancel();
        }
      });
    }
    ExplainWindow* pReport = window.SurveyAllRecords();
    ASSERT_NE(pReport, nullptr);
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(), c.sStatus);
    EXPECT_TRUE(pReport->Report().startsWith(QString::fromUtf8(c.sReport)))
        << pReport->Report().toStdString();
    EXPECT_TRUE(pReport->Report().contains(QStringLiteral("DUPLICATE")));
  }
}

TEST_F(HostProgram, ARecordDeletedWhileOpenIsRefreshedWithoutACrash) {
  HostWindow window(options);
  auto* pPanel = qobject_cast<ctlTWK*>(
      window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea));
  ASSERT_NE(pPanel, nullptr);
  ASSERT_TRUE(window.Browser()->Select(QStringLiteral("1009")));
  ASSERT_NE(pPanel->lblMore()->text(), QStringLiteral("1-0"));
  Connection connection;
  ConnectionSettings settings;
  settings.sDataSource = sDatabase;
  connection.SetSettings(settings);
  connection.Open();
  connection.Execute(QStringLiteral("delete from Name where ID = '1009'"));
  pPanel->cmdRefresh_MouseDown(Qt::LeftButton);
  EXPECT_EQ(Docks(window).value(0)->windowTitle(), QStringLiteral("ID 1009"));
  window.Browser()->Search(QStringLiteral("1009"));
  EXPECT_EQ(window.Browser()->LoadedCount(), 0);
  EXPECT_FALSE(window.Browser()->Select(QStringLiteral("1009")));
}

TEST_F(HostProgram, TheSameRecordPickedAgainSendsNoNotice) {
  HostSession session;
  EXPECT_TRUE(session.SetCurrentId(QStringLiteral("7")));
  EXPECT_FALSE(session.SetCurrentId(QStringLiteral("7")));
  EXPECT_EQ(session.Value(QStringLiteral("lvSession.CurrentId")), QStringLiteral("7"));
  EXPECT_EQ(session.Value(QStringLiteral("lvSession.Unknown")), QString());
}

}  // namespace
}  // namespace twk
