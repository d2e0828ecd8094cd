// SPDX-License-Identifier: MIT
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace twk {

class ctlEditTWK;

/// What the editor's commands need of the host window.
struct EditorHost {
  /// Shows a status bar message.
  std::function<void(const QString&)> report;
  /// The open record's id, empty with none.
  std::function<QString()> currentId;
  /// Opens the alert library's connection if no panel has; false when the
  /// database cannot be reached (the host has said so).
  std::function<bool()> reachDatabase;
  /// Shows a report in a window of its own: title, record id, text.
  std::function<void(const QString&, const QString&, const QString&)> showReport;
};

/// The editor's buttons and list as the host offers them from the keyboard:
/// an Editor menu whose shortcuts act on the editor that has the focus,
/// the list loading the definition its keys move to, and a word in the
/// status bar after each Save.
class EditorCommands : public QObject {
  Q_OBJECT

 public:
  /// Adds the Editor menu to pWindow's menu bar.
  EditorCommands(QMainWindow* pWindow, EditorHost host);

  /// Hooks the list keys and the Save report to an editor just opened.
  void Attach(ctlEditTWK* pEditor);
  /// The editor the commands act on: the one holding the focus, or none.
  ctlEditTWK* Editor() const;
  /// What the status bar says after a Save of pEditor's form.
  static QString SaveReport(const ctlEditTWK& editor);

  /// Compiles the criteria box as it stands, for the open record, without
  /// running it; a refusal is shown with its place, and the cursor goes
  /// there. False when the text was refused.
  bool CheckDefinition(ctlEditTWK& editor);
  /// Runs the form as it stands once for the open record and shows the
  /// explanation; the definition is not written.
  void TryDefinition(ctlEditTWK& editor);

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void AddCommand(const QString& sText, const QList<QKeySequence>& keys,
                  std::function<void(ctlEditTWK&)> command);
  void FollowFocus(QWidget* pNow);
  void ListCurrentChanged(ctlEditTWK* pEditor);
  /// Asks before a Save would store a text the database refuses; true when
  /// the Save goes ahead.
  bool SaveMayGoAhead(ctlEditTWK& editor);
  bool ButtonWouldClick(QObject* pWatched, QEvent* pEvent) const;

  QMainWindow* window_;
  EditorHost host_;
  QMenu* menu_;
  QList<QAction*> actions_;
  QPointer<ctlEditTWK> editor_;
  // Set while a key pressed in a list is being handled: only then does a
  // new current row load its definition, never when the editor's own
  // procedures move the current cell.
  bool bKeyInList_ = false;
  int iRowBeforeKey_ = 0;
};

}  // namespace twk
