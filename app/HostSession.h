// SPDX-License-Identifier: MIT
#pragma once

#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

namespace twk {

class NoticeListener;

/// The host program's side of the session: the named values it answers,
/// the current record, and the controls that asked for notices.
class HostSession {
 public:
  /// Values for the connection and the user, by their host names
  /// ("lvSession.SQLHostName" ...).
  void SetValue(const QString& sName, const QString& sValue) { values_[sName] = sValue; }
  /// The named value; "lvSession.CurrentId" is the current record.
  QString Value(const QString& sName) const;

  const QString& CurrentId() const noexcept { return sCurrentId_; }
  /// Makes a record current and sends "nNewId" to every subscriber when it
  /// changed. Returns whether it did.
  bool SetCurrentId(const QString& sId);

  /// The control will get the notice from now on, while it exists.
  void Subscribe(const QString& sNoticeName, QWidget* pControl, NoticeListener* pListener);
  /// Sends a notice to its subscribers that still exist.
  void Send(const QString& sNoticeName);
  int SubscriberCount() const;

 private:
  struct Subscription {
    QString sNoticeName;
    QPointer<QWidget> control;
    NoticeListener* pListener;
  };

  QMap<QString, QString> values_;
  QString sCurrentId_;
  std::vector<Subscription> subscriptions_;
};

}  // namespace twk
