// SPDX-License-Identifier: MIT
#include "DockCommands.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "ctlEditTWK.h"

namespace twk {

namespace {

QDockWidget* DockOf(QWidget* pWidget, const QMainWindow* pWindow) {
  for (; pWidget; pWidget = pWidget->parentWidget()) {
    auto* pDock = qobject_cast<QDockWidget*>(pWidget);
    if (pDock && pDock->parentWidget() == pWindow) return pDock;
  }
  return nullptr;
}

}  // namespace

DockCommands::DockCommands(QMainWindow* pWindow, QMenu* pMenu)
    : QObject(pWindow), window_(pWindow) {
  close_ = pMenu->addAction(QStringLiteral("&Close pane"), this, &DockCommands::CloseFocusedDock);
  close_->setShortcuts(
      {QKeySequence(QStringLiteral("Ctrl+W")), QKeySequence(QStringLiteral("Ctrl+F4"))});
  // A separate action, so that it can stand aside in the editor, whose own
  // Escape would otherwise make the key ambiguous and do nothing.
  escape_ = new QAction(this);
  escape_->setShortcut(QKeySequence(Qt::Key_Escape));
  pWindow->addAction(escape_);
  connect(escape_, &QAction::triggered, this, &DockCommands::CloseFocusedDock);
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* pNow) { FollowFocus(pNow); });
  FollowFocus(QApplication::focusWidget());
}

QDockWidget* DockCommands::FocusedDock() const {
  return dock_;
}

void DockCommands::FollowFocus(QWidget* pNow) {
  if (pNow && (qobject_cast<QMenuBar*>(pNow) || qobject_cast<QMenu*>(pNow))) return;
  dock_ = pNow && pNow->window() == window_ ? DockOf(pNow, window_) : nullptr;
  close_->setEnabled(dock_ != nullptr);
  escape_->setEnabled(dock_ && !dock_->findChild<ctlEditTWK*>());
}

void DockCommands::CloseFocusedDock() {
  if (!dock_) return;
  QPointer<QDockWidget> dock = dock_;
  // The focus would otherwise go nowhere with the dock: it goes back to
  // the first widget of the records that takes it.
  if (QWidget* pCentre = window_->centralWidget()) {
    for (QWidget* pWidget = pCentre->nextInFocusChain(); pWidget && pWidget != pCentre;
         pWidget = pWidget->nextInFocusChain()) {
      if (pCentre->isAncestorOf(pWidget) && (pWidget->focusPolicy() & Qt::TabFocus)) {
        pWidget->setFocus(Qt::OtherFocusReason);
        break;
      }
    }
  }
  // The dock deletes itself on close; its control goes with it.
  if (dock) dock->close();
}

}  // namespace twk
