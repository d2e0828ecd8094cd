// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

namespace twk {

class XtenderHost;

/// What every hosted control offers the host.
class XtenderControl {
 public:
  virtual ~XtenderControl() = default;

  /// The host the control raises its events on; set right after creation,
  /// before XtenderInit. Not owned.
  virtual void SetHost(XtenderHost* pHost) = 0;
  /// Called once after creation; starts the control's initialisation.
  virtual void XtenderInit() = 0;
  /// Always 1.
  virtual qint16 Test() = 0;
};

/// Controls that subscribe to the host's notices.
class NoticeListener {
 public:
  virtual ~NoticeListener() = default;
  virtual void NotifyListener(const QString& sNoticeName, const QString& sArg1,
                              const QString& sArg2, const QString& sArg3,
                              const QString& sArg4) = 0;
};

/// The alert panel's extra method: disable a definition by its number.
class AlertDisabler {
 public:
  virtual ~AlertDisabler() = default;
  virtual void DisableAlert(QVariant& pvSEQN) = 0;
};

}  // namespace twk
