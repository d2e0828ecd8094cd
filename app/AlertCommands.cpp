// SPDX-License-Identifier: MIT
#include "AlertCommands.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>

#include "AlertListDialog.h"
#include "HostSession.h"
#include "RecordBrowser.h"
#include "ctlTWK.h"

namespace twk {

namespace {

constexpr int iAlertsAPage = 5;

QAction* AddCommand(QMenu* pMenu, const QString& sText, const QKeySequence& keys) {
  QAction* pAction = pMenu->addAction(sText);
  pAction->setShortcut(keys);
  // The docks are part of the window: the keys work wherever the focus is.
  pAction->setShortcutContext(Qt::WindowShortcut);
  return pAction;
}

// A panel that was refused or could not connect has closed itself and never
// chose its look; it shows nothing to act on.
bool IsRunning(const ctlTWK* pPanel) {
  return !pPanel->VisualModeName().isEmpty();
}

}  // namespace

AlertCommands::AlertCommands(QMainWindow* pWindow, HostSession& session, RecordBrowser* pBrowser,
                             StatusReporter report, QMenu* pMenu)
    : QObject(pWindow), pWindow_(pWindow), session_(session), report_(std::move(report)) {
  pMenu->addSeparator();
  pRefresh_ = AddCommand(pMenu, QStringLiteral("&Refresh alerts"), QKeySequence(Qt::Key_F5));
  pNext_ = AddCommand(pMenu, QStringLiteral("Ne&xt alert page"),
                      QKeySequence(Qt::CTRL | Qt::Key_PageDown));
  pPrevious_ = AddCommand(pMenu, QStringLiteral("Pre&vious alert page"),
                          QKeySequence(Qt::CTRL | Qt::Key_PageUp));
  pList_ = AddCommand(pMenu, QStringLiteral("Alerts of this &record..."),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  connect(pRefresh_, &QAction::triggered, this, &AlertCommands::Refresh);
  connect(pNext_, &QAction::triggered, this, [this] { Page(+1); });
  connect(pPrevious_, &QAction::triggered, this, [this] { Page(-1); });
  connect(pList_, &QAction::triggered, this, &AlertCommands::ShowList);
  // Connected after the window's own answer, so the panels have shown the
  // new record by the time this runs.
  connect(pBrowser, &RecordBrowser::CurrentIdChanged, this, &AlertCommands::RecordChanged);
}

ctlTWK* AlertCommands::Panel() const {
  ctlTWK* pFirst = nullptr;
  QWidget* pFocus = QApplication::focusWidget();
  for (ctlTWK* pPanel : pWindow_->findChildren<ctlTWK*>()) {
    if (!IsRunning(pPanel)) continue;
    if (pFocus && pPanel->isAncestorOf(pFocus)) return pPanel;
    if (!pFirst) pFirst = pPanel;
  }
  return pFirst;
}

ctlTWK* AlertCommands::PanelOrSay() const {
  ctlTWK* pPanel = Panel();
  if (!pPanel && report_) report_(QStringLiteral("No alert panel is open: Ctrl+N opens one."));
  return pPanel;
}

void AlertCommands::Refresh() {
  ctlTWK* pPanel = PanelOrSay();
  if (!pPanel) return;
  // What a press on Refresh does: every definition runs again.
  pPanel->cmdRefresh_MouseDown(Qt::LeftButton);
  if (report_) report_(QStringLiteral("Alerts evaluated again: ") + pPanel->lblMore()->text());
  // An open list would go on showing the alerts of before.
  if (list_) ShowList();
}

void AlertCommands::Page(int iPages) {
  ctlTWK* pPanel = PanelOrSay();
  if (!pPanel) return;
  const int iBefore = pPanel->FirstShown();
  pPanel->PageAlerts(iPages * iAlertsAPage);
  if (report_ && pPanel->FirstShown() == iBefore) {
    report_(iPages > 0 ? QStringLiteral("The last alerts are on view.")
                       : QStringLiteral("The first alerts are on view."));
  }
}

AlertListDialog* AlertCommands::ShowList() {
  ctlTWK* pPanel = PanelOrSay();
  if (!pPanel) return nullptr;
  const QString sId = session_.CurrentId();
  if (sId.isEmpty() || pPanel->LastId() != sId) {
    if (report_) report_(QStringLiteral("Open a record first: its alerts are what is listed."));
    return nullptr;
  }
  // One list at a time, always of the latest evaluation.
  if (list_) list_->close();
  const AlertEvaluation& evaluation = pPanel->Evaluation();
  std::vector<AlertOutput> alerts(evaluation.aoAlerts.begin(),
                                  evaluation.aoAlerts.begin() + evaluation.iAlertCount);
  list_ = new AlertListDialog(sId, std::move(alerts), report_, pWindow_);
  list_->setProperty("twkId", sId);
  list_->show();
  list_->activateWindow();
  return list_;
}

void AlertCommands::RecordChanged(const QString& sId) {
  // The list is of one record's alerts: it would speak for the next one.
  if (list_ && list_->property("twkId").toString() != sId) list_->close();
  if (!sId.isEmpty()) return;
  // Without a record the panels keep the line of the record before, which
  // reads as if its alerts still applied.
  for (ctlTWK* pPanel : pWindow_->findChildren<ctlTWK*>()) {
    if (IsRunning(pPanel)) pPanel->lblMore()->clear();
  }
}

}  // namespace twk
