// SPDX-License-Identifier: MIT
#pragma once

#include <QTableView>

namespace twk {

class GridModel;

/// The editor's list: a grid with a fixed heading row and a fixed narrow
/// first column, addressed through a current cell as the editor's
/// procedures expect, over a model so that large fills stay fast.
class DefinitionGrid : public QTableView {
  Q_OBJECT

 public:
  explicit DefinitionGrid(QWidget* pParent = nullptr);

  int Rows() const;
  /// Sets the number of rows, heading row included (at least 1).
  void SetRows(int iRows);
  int Cols() const;

  int Row() const noexcept { return iRow_; }
  int Col() const noexcept { return iCol_; }
  /// Setting the current row or column reduces the selection to that cell.
  void SetRow(int iRow);
  void SetCol(int iCol);

  /// The current cell's text.
  QString Text() const;
  void SetText(const QString& sText);
  QString TextMatrix(int iRow, int iCol) const;

  void SetColWidth(int iCol, int lTwips);
  int ColWidth(int iCol) const;
  /// The alignment of the current column's data cells.
  void SetColAlignment(Qt::Alignment alignment);
  Qt::Alignment ColAlignment(int iCol) const;

  /// Empties every cell; the row count stays.
  void Clear();
  /// Holds back drawing until Refresh, for a fill of the whole list.
  void BeginFill();
  /// Shows the cells as they now are.
  void Refresh();

 signals:
  /// A data cell was clicked and is now the current cell.
  void Click();

 private:
  void CellPressed(const QModelIndex& index);
  void RowHeadingPressed(int iSection);
  void ViewCurrentChanged(const QModelIndex& current);
  void ShowCurrentCell();

  GridModel* model_;
  int iRow_ = 0;
  int iCol_ = 0;
  int aColWidths_[5] = {0, 0, 0, 0, 0};
};

}  // namespace twk
