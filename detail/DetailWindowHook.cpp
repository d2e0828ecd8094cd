// SPDX-License-Identifier: MIT
#include "DetailWindowHook.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

#include "ctlAlertDetail.h"

namespace twk {

DetailWindowHook::DetailWindowHook(ctlAlertDetail& item) : QObject(&item), item_(item) {}

bool DetailWindowHook::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pEvent->type() == QEvent::MouseButtonRelease) {
    const auto* pMouse = static_cast<QMouseEvent*>(pEvent);
    if (pMouse->button() != Qt::RightButton) return QObject::eventFilter(pWatched, pEvent);
    item_.ShowPopupMenu();
    return true;
  }
  // The toolkit's own request for a context menu would reach the container
  // as a second menu; the release above already opened the item's.
  if (pEvent->type() == QEvent::ContextMenu) {
    return static_cast<QContextMenuEvent*>(pEvent)->reason() == QContextMenuEvent::Mouse;
  }
  return QObject::eventFilter(pWatched, pEvent);
}

}  // namespace twk
