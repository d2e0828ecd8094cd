// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// What the host answers: the events a hosted control raises, delivered
/// synchronously on the user-interface thread.
class XtenderHost {
 public:
  virtual ~XtenderHost() = default;

  /// Writes the named value's text into sValue; an unanswered name leaves it empty.
  virtual void GetValue(const QString& sFieldName, QString& sValue) = 0;
  virtual void SetValue(const QString& sFieldName, const QString& sValue) = 0;
  virtual void Notify(const QString& sNoticeName, const QString& sArg1, const QString& sArg2,
                      const QString& sArg3, const QString& sArg4) = 0;
  /// The host then calls NotifyListener with that name whenever the notice occurs.
  virtual void RegisterForNotice(const QString& sNoticeName) = 0;
  virtual void SetWindowTitle(const QString& sWindowTitle) = 0;
  /// Asks the host to close and destroy the control; nothing is awaited.
  virtual void CloseSelf() = 0;
};

}  // namespace twk
