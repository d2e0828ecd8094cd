// SPDX-License-Identifier: MIT
#include "HostedControl.h"

#include "HostSession.h"
#include "XtenderControl.h"

#include <QDockWidget>

namespace twk {

HostedControl::HostedControl(HostSession& session, QDockWidget* pDock, QWidget* pControl)
    : session_(session), dock_(pDock), control_(pControl) {}

void HostedControl::GetValue(const QString& sFieldName, QString& sValue) {
  sValue = session_.Value(sFieldName);
}

void HostedControl::SetValue(const QString&, const QString&) {}

void HostedControl::Notify(const QString&, const QString&, const QString&, const QString&,
                           const QString&) {}

void HostedControl::RegisterForNotice(const QString& sNoticeName) {
  if (auto* pListener = dynamic_cast<NoticeListener*>(control_.data())) {
    session_.Subscribe(sNoticeName, control_, pListener);
  }
}

void HostedControl::SetWindowTitle(const QString& sWindowTitle) {
  if (QDockWidget* pDock = Dock()) pDock->setWindowTitle(sWindowTitle);
}

void HostedControl::CloseSelf() {
  // Raised from inside the control's own calls (and from its destruction),
  // so the dock goes once control has returned to the event loop.
  QDockWidget* pDock = Dock();
  if (bClosing_ || !pDock) return;
  bClosing_ = true;
  pDock->deleteLater();
}

}  // namespace twk
