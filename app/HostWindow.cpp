// SPDX-License-Identifier: MIT
#include "HostWindow.h"

#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>

#include "AboutBox.h"
#include "AlertCommands.h"
#include "AlertEvaluation.h"
#include "AlertExplanation.h"
#include "AlertSurvey.h"
#include "ConnectionSettings.h"
#include "ControlRegistry.h"
#include "ControlScrollArea.h"
#include "Conversions.h"
#include "DockCommands.h"
#include "EditorCommands.h"
#include "ExplainWindow.h"
#include "HostedControl.h"
#include "ModuleState.h"
#include "PlatformServices.h"
#include "RecordBrowser.h"
#include "RecordIds.h"
#include "XtenderControl.h"
#include "ctlEditTWK.h"
#include "modSubroutines.h"

namespace twk {

HostWindow::HostWindow(const HostOptions& options, QWidget* pParent)
    : QMainWindow(pParent), pBrowser_(new RecordBrowser(this)) {
  session_.SetValue(QStringLiteral("lvSession.SQLHostName"), options.sServer);
  session_.SetValue(QStringLiteral("lvSession.SQLDatabase"), options.sDatabase);
  session_.SetValue(QStringLiteral("lvSession.SQLUserId"), options.sUser);
  session_.SetValue(QStringLiteral("lvSession.SQLUserPassword"), options.sPassword);
  session_.SetValue(QStringLiteral("lvSession.LevelSystem"), options.sLevel);
  session_.SetValue(QStringLiteral("lvSession.LevelMembership"), options.sLevel);
  session_.SetValue(QStringLiteral("lvSession.MasterVersion"), options.sHostVersion);

  setWindowTitle(QStringLiteral("Tellwick - %1 as %2").arg(options.sServer, options.sUser));
  setCentralWidget(pBrowser_);
  frameWatch_.setInterval(100);
  connect(&frameWatch_, &QTimer::timeout, this, [this] {
    FitFrame(true);
    if (++iFrameChecks_ >= 50) frameWatch_.stop();
  });
  // Panels beside the records take the window's full height, so that the
  // editor and the preview below the records do not take it from them.
  setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
  setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
  connect(pBrowser_, &RecordBrowser::CurrentIdChanged, this, [this](const QString& sId) {
    session_.SetCurrentId(sId);
    statusBar()->showMessage(sId.isEmpty() ? QStringLiteral("No current record")
                                           : QStringLiteral("Current record: ") + sId);
  });
  CreateMenus();
  // Menu shortcuts come first, whichever widget has the focus: a text box
  // would otherwise keep Ctrl+E (end of line) and the like for itself.
  qApp->installEventFilter(this);

  ConnectionSettings settings;
  settings.sDataSource = options.sServer;
  settings.sInitialCatalog = options.sDatabase;
  settings.sUserId = options.sUser;
  settings.sPassword = options.sPassword;
  const QString sError = pBrowser_->Load(settings);
  statusBar()->showMessage(sError.isEmpty() ? QStringLiteral("No current record")
                                            : QStringLiteral("The records could not be read"));
  resize(980, 640);
  KeepOnScreen();
}

void HostWindow::KeepOnScreen() {
  // Never more than the screen offers, frame included, and all of it on
  // the screen: what does not fit scrolls inside the docks.
  if (!screen() || isMaximized() || isFullScreen()) return;
  const QRect available = screen()->availableGeometry();
  const QSize frame = frameGeometry().size() - size();
  resize(size().boundedTo(available.size() - frame).expandedTo(minimumSizeHint()));
  QRect placed = frameGeometry();
  placed.moveRight(qMin(placed.right(), available.right()));
  placed.moveBottom(qMin(placed.bottom(), available.bottom()));
  placed.moveLeft(qMax(placed.left(), available.left()));
  placed.moveTop(qMax(placed.top(), available.top()));
  if (placed.topLeft() != frameGeometry().topLeft()) move(placed.topLeft());
}

HostWindow::~HostWindow() {
  qApp->removeEventFilter(this);
  // The controls still raise events while they are destroyed, so they go
  // before the host objects that answer them.
  for (const auto& hosted : hosted_) {
    QDockWidget* pDock = hosted->Dock();
    hosted->CloseSelf();
    delete pDock;
  }
}

void HostWindow::GrowForDock(QDockWidget* pDock, bool bBeside) {
  // The window grows by what the new dock needs rather than squeezing the
  // records or the docks already open; the screen is the limit, beyond it
  // the docks scroll.
  const QSize wanted = pDock->sizeHint();
  if (!isMaximized() && !isFullScreen()) {
    QSize grown = size() + (bBeside ? QSize(wanted.width(), 0) : QSize(0, wanted.height()));
    if (screen()) {
      const QSize frame = frameGeometry().size() - size();
      grown = grown.boundedTo(screen()->availableGeometry().size() - frame);
    }
    resize(grown.expandedTo(size()).expandedTo(minimumSizeHint()));
    KeepOnScreen();
  }
  // The window system may apply the new size later; the docks are
  // fitted now and again once it has.
  bFitDocks_ = true;
  FitDocks();
}

void HostWindow::FitDocks() {
  // Every dock asks for its design again: the docks take what they need
  // from the records, which shrink first, and only below the records' own
  // minimum do the docks scroll.
  for (const Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
    QList<QDockWidget*> docks;
    QList<int> extents;
    for (QDockWidget* pDock : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      const Qt::DockWidgetArea area = dockWidgetArea(pDock);
      const bool bBeside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
      if (!pDock->widget() || bBeside != (orientation == Qt::Horizontal)) continue;
      docks << pDock;
      extents << (bBeside ? pDock->sizeHint().width() : pDock->sizeHint().height());
    }
    if (!docks.isEmpty()) resizeDocks(docks, extents, orientation);
  }
}

void HostWindow::resizeEvent(QResizeEvent* pEvent) {
  QMainWindow::resizeEvent(pEvent);
  if (!bFitDocks_) return;
  bFitDocks_ = false;
  FitDocks();
}

void HostWindow::moveEvent(QMoveEvent* pEvent) {
  QMainWindow::moveEvent(pEvent);
  FitFrame(false);
}

// A window manager draws its frame only after the window is shown, and
// mostly tells of it with a move; on a loaded machine the frame's extents
// can arrive after that move, with nothing after them. So the frame is
// also looked at for the first seconds after the window is shown.
void HostWindow::showEvent(QShowEvent* pEvent) {
  QMainWindow::showEvent(pEvent);
  iFrameChecks_ = 0;
  if (!frameWatch_.isActive()) frameWatch_.start();
}

void HostWindow::FitFrame(bool bWatching) {
  // The size chosen before counted no frame, so the title bar would push
  // the status bar off the screen. While the window is new, a window
  // manager may also apply the size asked for before the frame came, after
  // the fitted one: it is fitted again then (later, a window the user moved
  // partly off the screen stays where it is).
  const QSize frame = frameGeometry().size() - size();
  const bool bOff = screen() && !screen()->availableGeometry().contains(frameGeometry());
  if (frame == frameSeen_ && !(bWatching && bOff)) return;
  frameSeen_ = frame;
  KeepOnScreen();
}

bool HostWindow::ReachAlertConnection() {
  // The definitions run on the alert library's own connection, as a panel
  // runs them; without a panel the connection is opened here.
  if (ModuleState::ForThisThread().SharedConnection().IsOpen()) return true;
  const QString sUser = session_.Value(QStringLiteral("lvSession.SQLUserId"));
  const QString sDatabase = session_.Value(QStringLiteral("lvSession.SQLDatabase"));
  modSubroutines::CalculateAuthID(sUser, sDatabase);
  const QString sLevel = session_.Value(QStringLiteral("lvSession.LevelSystem"));
  if (modSubroutines::InitializeConnection(
          session_.Value(QStringLiteral("lvSession.SQLHostName")), sDatabase, sUser,
          session_.Value(QStringLiteral("lvSession.SQLUserPassword")),
          qint32(Conversions::LeadingNumber(sLevel)))) {
    return true;
  }
  ShowStatus(QStringLiteral("The alert definitions could not be reached."));
  return false;
}

ExplainWindow* HostWindow::ExplainCurrentRecord() {
  const QString sId = session_.CurrentId();
  if (sId.isEmpty()) {
    ShowStatus(QStringLiteral("Open a record first: its alerts are what is explained."));
    return nullptr;
  }
  if (!ReachAlertConnection()) return nullptr;
  AlertEvaluation evaluation;
  const AlertExplanation explanation =
      AlertExplanation::Explain(evaluation, evaluation.ReadAlertRules(), sId);
  auto* pWindow = new ExplainWindow(sId, explanation.ToText(), this);
  pWindow->show();
  return pWindow;
}

ExplainWindow* HostWindow::SurveyAllRecords() {
  if (!ReachAlertConnection()) return nullptr;
  QStringList ids;
  try {
    ids = ReadRecordIds(ModuleState::ForThisThread().SharedConnection(), 0);
  } catch (const TwkError& error) {
    ShowStatus(QStringLiteral("The records could not be read: ") + error.Description());
    return nullptr;
  }
  AlertEvaluation evaluation;
  const std::vector<AlertRule> rules = AlertSurvey::Surveyed(evaluation.ReadAlertRules());
  QProgressDialog progress(QStringLiteral("Running every enabled definition for each record..."),
                           QStringLiteral("Cancel"), 0, int(ids.size()), this);
  progress.setObjectName(QStringLiteral("surveyProgress"));
  progress.setWindowTitle(QStringLiteral("Survey"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  const AlertSurvey survey =
      AlertSurvey::Survey(evaluation, rules, ids, [&progress](int iDone, int) {
        // Asked at every record; the dialog is shown only once the survey
        // has taken a moment, and the Cancel press must reach it before.
        progress.setValue(iDone);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
      });
  progress.reset();
  auto* pWindow = new ExplainWindow(QString(), survey.ToText(), this);
  pWindow->setObjectName(QStringLiteral("surveyWindow"));
  pWindow->setWindowTitle(QStringLiteral("Survey of %1 records").arg(survey.RecordCount()));
  // Its table is wider than an explanation's lines.
  pWindow->resize(1000, 560);
  pWindow->show();
  ShowStatus(survey.Stopped() ? QStringLiteral("Survey cancelled after %1 of %2 records.")
                                    .arg(survey.RecordCount())
                                    .arg(ids.size())
                              : QStringLiteral("Surveyed %1 records.").arg(survey.RecordCount()));
  return pWindow;
}

void HostWindow::ShowStatus(const QString& sMessage) {
  constexpr int iShownMilliseconds = 15000;
  statusBar()->showMessage(sMessage, iShownMilliseconds);
}

void HostWindow::CreateMenus() {
  QMenu* pFile = menuBar()->addMenu(QStringLiteral("&File"));
  pFile->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);
  QMenu* pAlerts = menuBar()->addMenu(QStringLiteral("&Alerts"));
  pAlerts->addAction(
      QStringLiteral("New alert &panel"), QKeySequence(QStringLiteral("Ctrl+N")), this,
      [this] { OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea); });
  pAlerts->addAction(
      QStringLiteral("Alert &editor"), QKeySequence(QStringLiteral("Ctrl+E")), this, [this] {
        if (!OpenControl(QStringLiteral("TWK.ctlEditTWK"), Qt::BottomDockWidgetArea)) {
          Platform::Services().ShowMessage(
              QStringLiteral("The alert editor is not part of this build."),
              QStringLiteral("Tellwick"), MessageButtons::Ok, MessageIcon::Information);
        }
      });
  pAlerts->addAction(
      QStringLiteral("&Icon preview"), QKeySequence(QStringLiteral("Ctrl+I")), this,
      [this] { OpenControl(QStringLiteral("TWK.ctlPreviewImages"), Qt::BottomDockWidgetArea); });
  pAlerts->addAction(QStringLiteral("E&xplain alerts of this record"), this,
                     [this] { ExplainCurrentRecord(); });
  pAlerts->addAction(QStringLiteral("S&urvey the definitions over all records..."), this,
                     [this] { SurveyAllRecords(); });
  pAlertCommands_ = new AlertCommands(
      this, session_, pBrowser_, [this](const QString& s) { ShowStatus(s); }, pAlerts);
  // Tab stays inside a control, as the controls want it; F6 moves on.
  QMenu* pView = menuBar()->addMenu(QStringLiteral("&View"));
  pView->addAction(QStringLiteral("&Next pane"), QKeySequence(Qt::Key_F6), this,
                   [this] { FocusPane(+1); });
  pView->addAction(QStringLiteral("&Previous pane"), QKeySequence(Qt::SHIFT | Qt::Key_F6), this,
                   [this] { FocusPane(-1); });
  pDockCommands_ = new DockCommands(this, pView);
  EditorHost editorHost;
  editorHost.report = [this](const QString& s) { ShowStatus(s); };
  editorHost.currentId = [this] { return session_.CurrentId(); };
  editorHost.reachDatabase = [this] { return ReachAlertConnection(); };
  editorHost.showReport = [this](const QString& sTitle, const QString& sId,
                                 const QString& sReport) {
    auto* pWindow = new ExplainWindow(sId, sReport, this);
    pWindow->setWindowTitle(sTitle);
    pWindow->setObjectName(QStringLiteral("tryWindow"));
    pWindow->show();
  };
  pEditorCommands_ = new EditorCommands(this, std::move(editorHost));
  AboutBox::AddHelpMenu(menuBar());
}

bool HostWindow::IsMenuShortcut(const QKeySequence& keys) const {
  for (const QAction* pAction : findChildren<QAction*>()) {
    // A disabled command leaves the key to the widget (Escape to a box).
    if (pAction->isEnabled() && pAction->shortcuts().contains(keys)) return true;
  }
  return false;
}

bool HostWindow::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pEvent->type() == QEvent::ShortcutOverride) {
    auto* pWidget = qobject_cast<QWidget*>(pWatched);
    const auto* pKey = static_cast<QKeyEvent*>(pEvent);
    // Leaving the override unaccepted hands the key to the menu.
    if (pWidget && pWidget->window() == this &&
        IsMenuShortcut(QKeySequence(pKey->keyCombination()))) {
      return true;
    }
  }
  return QMainWindow::eventFilter(pWatched, pEvent);
}

QList<QWidget*> HostWindow::Panes() const {
  QList<QWidget*> panes{pBrowser_};
  for (QDockWidget* pDock : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (pDock->isVisible() && pDock->widget()) panes << pDock->widget();
  }
  return panes;
}

void HostWindow::FocusPane(int iStep) {
  const QList<QWidget*> panes = Panes();
  QWidget* pFocus = QApplication::focusWidget();
  int iCurrent = 0;
  for (int i = 0; i < panes.size(); ++i) {
    if (pFocus && (pFocus == panes[i] || panes[i]->isAncestorOf(pFocus))) iCurrent = i;
  }
  const int iCount = int(panes.size());
  for (int iTried = 1; iTried <= iCount; ++iTried) {
    QWidget* pPane = panes[((iCurrent + iStep * iTried) % iCount + iCount) % iCount];
    // The pane's first widget that Tab would reach.
    for (QWidget* pWidget = pPane->nextInFocusChain(); pWidget && pWidget != pPane;
         pWidget = pWidget->nextInFocusChain()) {
      if (!pPane->isAncestorOf(pWidget)) continue;
      if ((pWidget->focusPolicy() & Qt::TabFocus) && pWidget->isVisible() && pWidget->isEnabled()) {
        pWidget->setFocus(Qt::ShortcutFocusReason);
        return;
      }
    }
  }
}

QWidget* HostWindow::OpenControl(const QString& sClassName, Qt::DockWidgetArea area) {
  auto* pDock = new QDockWidget(this);
  pDock->setObjectName(sClassName);
  pDock->setAttribute(Qt::WA_DeleteOnClose);
  QWidget* pControl = ControlRegistry::Instance().Create(sClassName, pDock);
  auto* pXtender = dynamic_cast<XtenderControl*>(pControl);
  if (!pXtender) {
    delete pDock;
    return nullptr;
  }
  // Until the control raises a title of its own.
  static const QMap<QString, QString> titles = {
      {QStringLiteral("TWK.ctlTWK"), QStringLiteral("Alerts")},
      {QStringLiteral("TWK.ctlEditTWK"), QStringLiteral("Alert editor")},
      {QStringLiteral("TWK.ctlPreviewImages"), QStringLiteral("Icon preview")}};
  pDock->setWindowTitle(titles.value(sClassName, sClassName));
  const bool bBeside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
  auto* pArea = new ControlScrollArea(pControl, pDock);
  pDock->setWidget(pArea);
  // Docks of one area stack across it, so that each keeps its designed
  // extent along the records (two controls side by side below them would
  // need a window wider than most screens).
  addDockWidget(area, pDock, Qt::Vertical);
  const QSize before = size();
  GrowForDock(pDock, bBeside);
  hosted_.push_back(std::make_unique<HostedControl>(session_, pDock, pControl));
  pXtender->SetHost(hosted_.back().get());
  pDock->show();
  FitDocks();
  pXtender->XtenderInit();
  if (auto* pEditor = qobject_cast<ctlEditTWK*>(pControl)) pEditorCommands_->Attach(pEditor);
  // A control that closed itself at once (a refused second panel, a failed
  // connection) gives back the room it was given.
  if (hosted_.back()->IsClosing()) {
    if (QDockWidget* pClosing = hosted_.back()->Dock()) pClosing->hide();
    // The layout must forget the dock's least size before the window can
    // shrink back past it.
    if (layout()) layout()->activate();
    if (!isMaximized() && !isFullScreen()) resize(before);
  }
  if (sClassName == QStringLiteral("TWK.ctlTWK") && ModuleState::ForThisThread().bPanelDuplicate) {
    ShowStatus(QStringLiteral("A second alert panel was not started: on host versions before "
                              "10.4 only one panel runs at a time (this host is version ") +
               session_.Value(QStringLiteral("lvSession.MasterVersion")) + QStringLiteral(")."));
  }
  return pControl;
}

}  // namespace twk
