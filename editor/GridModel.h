// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace twk {

/// The cells of the definition list: a heading row and data rows of five
/// columns. The view shows row 0 as its column headings and column 0 as its
/// row headings, so model rows are grid rows 1 to n and model columns grid
/// columns 1 to 4.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 5;

  explicit GridModel(QObject* pParent = nullptr);

  /// Heading row included.
  int Rows() const noexcept { return int(cells_.size()); }
  void SetRows(int iRows);
  QString Text(int iRow, int iCol) const;
  void SetText(int iRow, int iCol, const QString& sText);
  /// Empties every cell; the row count stays.
  void ClearCells();
  void SetColAlignment(int iCol, Qt::Alignment alignment);
  Qt::Alignment ColAlignment(int iCol) const;

  /// While a batch is open, changes send no signals; closing it resets the
  /// views once. This keeps a fill of tens of thousands of rows linear.
  void BeginBatch();
  void EndBatch();
  bool InBatch() const noexcept { return bBatch_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int iRole) const override;
  QVariant headerData(int iSection, Qt::Orientation orientation, int iRole) const override;

 private:
  using Row = std::array<QString, kColumns>;
  bool ValidCell(int iRow, int iCol) const;

  std::vector<Row> cells_;
  std::array<Qt::Alignment, kColumns> alignments_;
  bool bBatch_ = false;
};

}  // namespace twk
