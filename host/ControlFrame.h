// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "TabNavigation.h"
#include "XtenderControl.h"

namespace twk {

class XtenderHost;

/// What the three hosted controls share: the host they raise events on,
/// key preview with Tab swallowed, Tab and Shift+Tab moving the focus in
/// tab-index order, and Test.
class ControlFrame : public QWidget, public XtenderControl {
  Q_OBJECT

 public:
  ControlFrame(const QString& sControlName, TabRule rule, QWidget* pParent = nullptr);
  ~ControlFrame() override;

  void SetHost(XtenderHost* pHost) override { pHost_ = pHost; }
  qint16 Test() override { return 1; }

  /// The control's name in error reports ("ctlTWK").
  const QString& ControlName() const noexcept { return sControlName_; }

  /// Gives a widget its kind ("TextBox", "CommandButton", "Label"...) and
  /// tab index for Tab navigation. Widgets not given one are not visited.
  void SetTabIndex(QWidget* pWidget, const QString& sKind, qint16 iTabIndex);

  /// Moves the focus as a released Tab key does; iShift is the modifier
  /// state (Shift 1, Ctrl 2, Alt 4 added). pKeyTarget is the widget that
  /// received the key; without one the application's focus widget stands
  /// in, which is null while no window is active (no window manager).
  void UserControl_KeyUp(int iKeyCode, int iShift, QWidget* pKeyTarget = nullptr);

 protected:
  XtenderHost* Host() const noexcept { return pHost_; }
  /// The host's named value; empty without a host.
  QString HostValue(const QString& sFieldName) const;
  void RaiseRegisterForNotice(const QString& sNoticeName) const;
  void RaiseSetWindowTitle(const QString& sWindowTitle) const;
  void RaiseCloseSelf() const;

  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  struct TabEntry {
    QPointer<QWidget> widget;
    QString sKind;
    qint16 iTabIndex = 0;
  };

  bool IsOwn(QObject* pObject) const;
  const TabEntry* EntryOf(const QWidget* pWidget) const;
  void FocusTabIndex(int iTarget);

  QString sControlName_;
  TabRule rule_;
  XtenderHost* pHost_ = nullptr;
  std::vector<TabEntry> tabWidgets_;
};

}  // namespace twk
