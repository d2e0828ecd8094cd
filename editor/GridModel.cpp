// SPDX-License-Identifier: MIT
#include "GridModel.h"

namespace twk {

GridModel::GridModel(QObject* pParent) : QAbstractTableModel(pParent) {
  alignments_.fill(Qt::AlignLeft | Qt::AlignVCenter);
}

bool GridModel::ValidCell(int iRow, int iCol) const {
  return iRow >= 0 && iRow < Rows() && iCol >= 0 && iCol < kColumns;
}

void GridModel::SetRows(int iRows) {
  iRows = qMax(1, iRows);
  if (iRows == Rows()) return;
  if (bBatch_) {
    cells_.resize(std::size_t(iRows));
    return;
  }
  const int iOldData = Rows() - 1;
  const int iNewData = iRows - 1;
  if (iNewData > iOldData) {
    beginInsertRows(QModelIndex(), iOldData, iNewData - 1);
    cells_.resize(std::size_t(iRows));
    endInsertRows();
  } else {
    beginRemoveRows(QModelIndex(), iNewData, iOldData - 1);
    cells_.resize(std::size_t(iRows));
    endRemoveRows();
  }
}

QString GridModel::Text(int iRow, int iCol) const {
  return ValidCell(iRow, iCol) ? cells_[std::size_t(iRow)][std::size_t(iCol)] : QString();
}

void GridModel::SetText(int iRow, int iCol, const QString& sText) {
  if (!ValidCell(iRow, iCol)) return;
  cells_[std::size_t(iRow)][std::size_t(iCol)] = sText;
  if (bBatch_) return;
  if (iRow == 0) {
    if (iCol > 0) emit headerDataChanged(Qt::Horizontal, iCol - 1, iCol - 1);
  } else if (iCol > 0) {
    const QModelIndex cell = index(iRow - 1, iCol - 1);
    emit dataChanged(cell, cell);
  }
}

void GridModel::ClearCells() {
  for (Row& row : cells_) row.fill(QString());
  if (bBatch_) return;
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 2);
  if (Rows() > 1) emit dataChanged(index(0, 0), index(Rows() - 2, kColumns - 2));
}

void GridModel::SetColAlignment(int iCol, Qt::Alignment alignment) {
  if (iCol < 0 || iCol >= kColumns) return;
  alignments_[std::size_t(iCol)] = alignment;
  if (!bBatch_ && iCol > 0 && Rows() > 1) {
    emit dataChanged(index(0, iCol - 1), index(Rows() - 2, iCol - 1));
  }
}

Qt::Alignment GridModel::ColAlignment(int iCol) const {
  return iCol >= 0 && iCol < kColumns ? alignments_[std::size_t(iCol)] : Qt::Alignment();
}

void GridModel::BeginBatch() {
  if (bBatch_) return;
  beginResetModel();
  bBatch_ = true;
}

void GridModel::EndBatch() {
  if (!bBatch_) return;
  bBatch_ = false;
  endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Rows() - 1;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns - 1;
}

QVariant GridModel::data(const QModelIndex& index, int iRole) const {
  if (!index.isValid()) return {};
  const int iRow = index.row() + 1;
  const int iCol = index.column() + 1;
  if (iRole == Qt::DisplayRole) return Text(iRow, iCol);
  if (iRole == Qt::TextAlignmentRole) return QVariant::fromValue(ColAlignment(iCol));
  return {};
}

QVariant GridModel::headerData(int iSection, Qt::Orientation orientation, int iRole) const {
  if (orientation == Qt::Horizontal) {
    if (iRole == Qt::DisplayRole) return Text(0, iSection + 1);
    if (iRole == Qt::TextAlignmentRole)
      return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
  }
  // The narrow fixed first column carries no text.
  if (iRole == Qt::DisplayRole) return QString();
  return {};
}

}  // namespace twk
