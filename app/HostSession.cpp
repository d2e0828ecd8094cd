// SPDX-License-Identifier: MIT
#include "HostSession.h"

#include "XtenderControl.h"

namespace twk {

QString HostSession::Value(const QString& sName) const {
  if (sName == QStringLiteral("lvSession.CurrentId")) return sCurrentId_;
  return values_.value(sName);
}

bool HostSession::SetCurrentId(const QString& sId) {
  if (sId == sCurrentId_) return false;
  sCurrentId_ = sId;
  Send(QStringLiteral("nNewId"));
  return true;
}

void HostSession::Subscribe(const QString& sNoticeName, QWidget* pControl,
                            NoticeListener* pListener) {
  subscriptions_.push_back({sNoticeName, pControl, pListener});
}

void HostSession::Send(const QString& sNoticeName) {
  // A listener may open or close controls; work on a copy of the list.
  const std::vector<Subscription> subscriptions = subscriptions_;
  for (const Subscription& subscription : subscriptions) {
    if (subscription.sNoticeName != sNoticeName || !subscription.control) continue;
    subscription.pListener->NotifyListener(sNoticeName, QString(), QString(), QString(), QString());
  }
}

int HostSession::SubscriberCount() const {
  int iCount = 0;
  for (const Subscription& subscription : subscriptions_) {
    if (subscription.control) ++iCount;
  }
  return iCount;
}

}  // namespace twk
