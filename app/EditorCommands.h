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

/// The editor's buttons and list as the host offers them from the keyboard:
/// an Editor menu whose shortcuts act on the editor that has the focus,
/// the list loading the definition its keys move to, and a word in the
/// status bar after each Save.
class EditorCommands : public QObject {
  Q_OBJECT

 public:
  /// Adds the Editor menu to pWindow's menu bar. pReport shows a status
  /// bar message.
  EditorCommands(QMainWindow* pWindow, std::function<void(const QString&)> report);

  /// Hooks the list keys and the Save report to an editor just opened.
  void Attach(ctlEditTWK* pEditor);
  /// The editor the commands act on: the one holding the focus, or none.
  ctlEditTWK* Editor() const;
  /// What the status bar says after a Save of pEditor's form.
  static QString SaveReport(const ctlEditTWK& editor);

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void AddCommand(const QString& sText, const QList<QKeySequence>& keys,
                  std::function<void(ctlEditTWK&)> command);
  void FollowFocus(QWidget* pNow);
  void ListCurrentChanged(ctlEditTWK* pEditor);

  QMainWindow* window_;
  std::function<void(const QString&)> report_;
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
