// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

namespace twk {

/// Draws the list's cells as the Fusion style does, pixel for pixel, with a
/// one-line text elided once: the style lays each cell's text out three
/// times (for its size, its elision and its drawing), which was most of the
/// time the list took to appear. Other styles draw the cells themselves.
class GridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* pPainter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace twk
