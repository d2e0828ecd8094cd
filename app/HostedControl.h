// SPDX-License-Identifier: MIT
#pragma once

#include "XtenderHost.h"

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

  QDockWidget* Dock() const { return dock_; }
  bool IsClosing() const noexcept { return bClosing_; }

 private:
  HostSession& session_;
  QPointer<QDockWidget> dock_;
  QPointer<QWidget> control_;
  bool bClosing_ = false;
};

}  // namespace twk
