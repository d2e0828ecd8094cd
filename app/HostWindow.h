// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QTimer>

#include "HostSession.h"

class QDockWidget;

#include <memory>
#include <vector>

namespace twk {

class DockCommands;
class EditorCommands;
class AlertCommands;
class ExplainWindow;
class HostedControl;
class RecordBrowser;

/// What the host program is started with.
struct HostOptions {
  QString sServer;
  QString sDatabase;
  QString sUser;
  QString sPassword;
  QString sLevel;
  QString sHostVersion;
};

/// The host program's window: the record browser in the middle and the
/// hosted controls in docks around it.
class HostWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit HostWindow(const HostOptions& options, QWidget* pParent = nullptr);
  ~HostWindow() override;

  /// Creates a control by class name in a new dock, hands it this host and
  /// starts it. Returns nullptr for an unknown class name.
  QWidget* OpenControl(const QString& sClassName, Qt::DockWidgetArea area);

  HostSession& Session() noexcept { return session_; }
  RecordBrowser* Browser() const noexcept { return pBrowser_; }
  EditorCommands* Editing() const noexcept { return pEditorCommands_; }
  DockCommands* Docking() const noexcept { return pDockCommands_; }
  /// The Alerts menu's commands on the panel.
  AlertCommands* Commands() const noexcept { return pAlertCommands_; }
  /// Runs the definitions for the current record and shows why each gave
  /// what it gave; nullptr (and a word in the status bar) without a record.
  ExplainWindow* ExplainCurrentRecord();
  /// Runs every enabled definition for every record, as the panel would,
  /// with a progress dialog that can cancel, and shows the survey's report.
  ExplainWindow* SurveyAllRecords();
  /// A message in the status bar, shown for a while.
  void ShowStatus(const QString& sMessage);
  /// Opens the alert library's connection when no panel has; false, with a
  /// word in the status bar, when the database cannot be reached.
  bool ReachAlertConnection();
  /// Moves the focus to the next (iStep 1) or previous (-1) pane: the
  /// records, then each docked control.
  void FocusPane(int iStep);

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void resizeEvent(QResizeEvent* pEvent) override;
  void moveEvent(QMoveEvent* pEvent) override;
  void showEvent(QShowEvent* pEvent) override;

 private:
  void CreateMenus();
  bool IsMenuShortcut(const QKeySequence& keys) const;
  QList<QWidget*> Panes() const;
  void GrowForDock(QDockWidget* pDock, bool bBeside);
  void KeepOnScreen();
  void FitDocks();
  void FitFrame(bool bWatching);

  HostSession session_;
  RecordBrowser* pBrowser_;
  EditorCommands* pEditorCommands_ = nullptr;
  DockCommands* pDockCommands_ = nullptr;
  bool bFitDocks_ = false;
  QSize frameSeen_;
  QTimer frameWatch_;
  int iFrameChecks_ = 0;
  AlertCommands* pAlertCommands_ = nullptr;
  std::vector<std::unique_ptr<HostedControl>> hosted_;
};

}  // namespace twk
