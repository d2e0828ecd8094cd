// SPDX-License-Identifier: MIT
#include "DefinitionGrid.h"

#include <QHeaderView>

#include "GridDelegate.h"
#include "GridModel.h"
#include "Twips.h"

namespace twk {

DefinitionGrid::DefinitionGrid(QWidget* pParent)
    : QTableView(pParent), model_(new GridModel(this)) {
  setModel(model_);
  setItemDelegate(new GridDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setHighlightSections(false);
  // Fixed row heights let the view lay out tens of thousands of rows
  // without measuring each one.
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // As designed: the heading row and one blank row, five columns.
  model_->SetRows(2);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          &DefinitionGrid::ViewCurrentChanged);
  connect(this, &QTableView::pressed, this, &DefinitionGrid::CellPressed);
  connect(this, &QTableView::clicked, this, [this](const QModelIndex&) { emit Click(); });
  connect(verticalHeader(), &QHeaderView::sectionPressed, this, &DefinitionGrid::RowHeadingPressed);
  connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int) { emit Click(); });
}

int DefinitionGrid::Rows() const {
  return model_->Rows();
}

void DefinitionGrid::SetRows(int iRows) {
  model_->SetRows(iRows);
  if (iRow_ >= model_->Rows()) iRow_ = model_->Rows() - 1;
}

int DefinitionGrid::Cols() const {
  return GridModel::kColumns;
}

void DefinitionGrid::SetRow(int iRow) {
  if (iRow < 0 || iRow >= Rows()) return;
  iRow_ = iRow;
  ShowCurrentCell();
}

void DefinitionGrid::SetCol(int iCol) {
  if (iCol < 0 || iCol >= Cols()) return;
  iCol_ = iCol;
  ShowCurrentCell();
}

QString DefinitionGrid::Text() const {
  return model_->Text(iRow_, iCol_);
}

void DefinitionGrid::SetText(const QString& sText) {
  model_->SetText(iRow_, iCol_, sText);
}

QString DefinitionGrid::TextMatrix(int iRow, int iCol) const {
  return model_->Text(iRow, iCol);
}

void DefinitionGrid::SetColWidth(int iCol, int lTwips) {
  if (iCol < 0 || iCol >= Cols()) return;
  aColWidths_[iCol] = lTwips;
  if (iCol == 0) {
    verticalHeader()->setFixedWidth(Twips::ToPixels(lTwips));
  } else {
    setColumnWidth(iCol - 1, Twips::ToPixels(lTwips));
  }
}

int DefinitionGrid::ColWidth(int iCol) const {
  return iCol >= 0 && iCol < Cols() ? aColWidths_[iCol] : 0;
}

void DefinitionGrid::SetColAlignment(Qt::Alignment alignment) {
  model_->SetColAlignment(iCol_, alignment);
}

Qt::Alignment DefinitionGrid::ColAlignment(int iCol) const {
  return model_->ColAlignment(iCol);
}

void DefinitionGrid::Clear() {
  model_->ClearCells();
}

void DefinitionGrid::BeginFill() {
  model_->BeginBatch();
}

void DefinitionGrid::Refresh() {
  model_->EndBatch();
  ShowCurrentCell();
  viewport()->update();
}

void DefinitionGrid::ShowCurrentCell() {
  // During a fill the view is detached; the selection follows at Refresh.
  if (!selectionModel() || model_->InBatch()) return;
  // Moving the current cell from code leaves the scroll position alone.
  const bool bAutoScroll = hasAutoScroll();
  setAutoScroll(false);
  if (iRow_ < 1 || iCol_ < 1) {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  } else {
    const QModelIndex cell = model_->index(iRow_ - 1, iCol_ - 1);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
  }
  setAutoScroll(bAutoScroll);
}

void DefinitionGrid::CellPressed(const QModelIndex& index) {
  if (!index.isValid()) return;
  iRow_ = index.row() + 1;
  iCol_ = index.column() + 1;
}

void DefinitionGrid::RowHeadingPressed(int iSection) {
  selectionModel()->setCurrentIndex(model_->index(iSection, 0),
                                    QItemSelectionModel::ClearAndSelect);
  iRow_ = iSection + 1;
  iCol_ = 0;
}

void DefinitionGrid::ViewCurrentChanged(const QModelIndex& current) {
  // The arrow and page keys move the view's current cell; the grid's
  // current cell, which Cancel reloads, goes with it.
  if (!current.isValid() || model_->InBatch()) return;
  iRow_ = current.row() + 1;
  iCol_ = current.column() + 1;
}

}  // namespace twk
