// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QWidget;

namespace twk {

/// Closes the docked control that has the focus from the keyboard:
/// Ctrl+W and Ctrl+F4 everywhere, Escape in every control but the editor,
/// where Escape discards what was typed instead.
class DockCommands : public QObject {
  Q_OBJECT

 public:
  /// Adds "Close pane" to pMenu; acts on pWindow's docks.
  DockCommands(QMainWindow* pWindow, QMenu* pMenu);

  /// The dock the focus is in, or none.
  QDockWidget* FocusedDock() const;
  /// Closes the focused dock and gives the focus back to the window's
  /// central widget.
  void CloseFocusedDock();

 private:
  void FollowFocus(QWidget* pNow);

  QMainWindow* window_;
  QAction* close_;
  QAction* escape_;
  QPointer<QDockWidget> dock_;
};

}  // namespace twk
