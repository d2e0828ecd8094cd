// SPDX-License-Identifier: MIT
#include "GridDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace twk {

void GridDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const QWidget* pWidget = cell.widget;
  const QStyle* pStyle = pWidget ? pWidget->style() : QApplication::style();
  const QString sText = cell.text;
  // A text on more than one line is the style's to lay out (the delegate
  // has made its line breaks line separators); so is every cell under a
  // style other than the one this drawing was checked against.
  if (sText.contains(QChar::LineSeparator) || sText.contains(u'\n') ||
      (cell.features & QStyleOptionViewItem::WrapText) ||
      pStyle->name().compare(u"fusion", Qt::CaseInsensitive) != 0) {
    QStyledItemDelegate::paint(pPainter, option, index);
    return;
  }
  // The style's order: the cell without its text or focus, the text, the focus.
  cell.text.clear();
  const bool bFocus = cell.state & QStyle::State_HasFocus;
  cell.state &= ~QStyle::State_HasFocus;
  pStyle->drawControl(QStyle::CE_ItemViewItem, &cell, pPainter, pWidget);
  const QPalette::ColorGroup group =
      cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  if (!sText.isEmpty()) {
    QRect textRect = pStyle->subElementRect(QStyle::SE_ItemViewItemText, &cell, pWidget);
    const int iMargin = pStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pWidget) + 1;
    textRect.adjust(iMargin, 0, -iMargin, 0);
    QPalette::ColorGroup textGroup = group;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active)) {
      textGroup = QPalette::Inactive;
    }
    pPainter->save();
    pPainter->setFont(cell.font);
    pPainter->setPen(cell.palette.color(textGroup, cell.state & QStyle::State_Selected
                                                       ? QPalette::HighlightedText
                                                       : QPalette::Text));
    const Qt::Alignment alignment = QStyle::visualAlignment(cell.direction, cell.displayAlignment);
    pPainter->drawText(textRect, int(alignment) | Qt::TextSingleLine,
                       cell.fontMetrics.elidedText(sText, cell.textElideMode, textRect.width()));
    pPainter->restore();
  }
  if (!bFocus) return;
  QStyleOptionFocusRect focus;
  focus.QStyleOption::operator=(cell);
  focus.rect = pStyle->subElementRect(QStyle::SE_ItemViewItemFocusRect, &cell, pWidget);
  focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item | QStyle::State_HasFocus;
  focus.backgroundColor = cell.palette.color(
      group, cell.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
  pStyle->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, pPainter, pWidget);
}

}  // namespace twk
