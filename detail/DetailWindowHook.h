// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

namespace twk {

class ctlAlertDetail;

/// Sees every event of the item's surface and keyword label before their
/// own handling and turns a right-button release into the item's context
/// menu, which it consumes. Holds the item without owning it.
class DetailWindowHook : public QObject {
  Q_OBJECT

 public:
  explicit DetailWindowHook(ctlAlertDetail& item);

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  ctlAlertDetail& item_;
};

}  // namespace twk
