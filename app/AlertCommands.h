// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;

namespace twk {

class AlertListDialog;
class HostSession;
class RecordBrowser;
class ctlTWK;

/// The Alerts menu's commands on the open record's panel, so that all of
/// it works from the keyboard: evaluate again, show the next or previous
/// five alerts, and list every alert of the record.
class AlertCommands : public QObject {
  Q_OBJECT

 public:
  using StatusReporter = std::function<void(const QString&)>;

  /// Adds the commands to pMenu; the window holds the panels' docks.
  AlertCommands(QMainWindow* pWindow, HostSession& session, RecordBrowser* pBrowser,
                StatusReporter report, QMenu* pMenu);

  /// The panel the commands act on: the one holding the focus, else the
  /// first running one; nullptr when none runs.
  ctlTWK* Panel() const;
  void Refresh();
  /// Moves the view by a page of five alerts (iPages -1: back).
  void Page(int iPages);
  /// Opens the list of all alerts of the open record; nullptr (and a word
  /// in the status bar) without a panel or a record.
  AlertListDialog* ShowList();

  QAction* RefreshAction() const noexcept { return pRefresh_; }
  QAction* NextPageAction() const noexcept { return pNext_; }
  QAction* PreviousPageAction() const noexcept { return pPrevious_; }
  QAction* ListAction() const noexcept { return pList_; }

 private:
  ctlTWK* PanelOrSay() const;
  void RecordChanged(const QString& sId);

  QMainWindow* pWindow_;
  HostSession& session_;
  StatusReporter report_;
  QAction* pRefresh_;
  QAction* pNext_;
  QAction* pPrevious_;
  QAction* pList_;
  QPointer<AlertListDialog> list_;
};

}  // namespace twk
