// SPDX-License-Identifier: MIT
#pragma once

#include "XtenderHost.h"

#include <QDockWidget>
#include <QPointer>
#include <QString>

class QDockWidget;
class QWidget;

namespace twk {

class HostSession;

/// The host's answer to one hosted control: its named values come from the
/// session, its title goes to its dock, and CloseSelf removes the dock.
class HostedControl : public XtenderHost {
 public:
  HostedControl(HostSession& session, QDockWidget* pDock, QWidget* pControl);

  void GetValue(const QString& sFieldName, QString& sValue) override;
  void SetValue(const QString& sFieldName, const QString& sValue) override;
  void Notify(const QString& sNoticeName, const QString& sArg1, const QString& sArg2,
              const QString& sArg3, const QString& sArg4) override;
  void RegisterForNotice(const QString& sNoticeName) override;
  void SetWindowTitle(const QString& sWindowTitle) override;
  void CloseSelf() override;

  /// Null once the dock is gone or being destroyed.
  QDockWidget* Dock() const { return qobject_cast<QDockWidget*>(dock_.data()); }
  bool IsClosing() const noexcept { return bClosing_; }

 private:
  HostSession& session_;
  // Kept as a QObject: the control is destroyed from inside the dock's
  // destruction, when the dock is no longer a QDockWidget to cast to.
  QPointer<QObject> dock_;
  QPointer<QWidget> control_;
  bool bClosing_ = false;
};

}  // namespace twk
