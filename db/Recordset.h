// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace twk {

/// Rows that a backend reads as they come, behind a record set.
class RowSource {
 public:
  virtual ~RowSource() = default;
  /// Fills the next row; false at the end. Throws TwkError when reading fails.
  virtual bool Next(std::vector<QVariant>& row) = 0;
};

/// A read-only, forward-moving result: fully fetched, or read from a
/// RowSource as it is walked, so that memory stays flat however many rows a
/// query returns (the rows passed are dropped once more come from the
/// source; RecordCount reads the rest in to count it). Open with columns and
/// rows, or closed (a batch whose first result was not a set of rows).
///
/// Field values are null (an invalid QVariant), numbers (qint64 or double),
/// text, dates (QDateTime) or bytes.
class Recordset {
 public:
  using Row = std::vector<QVariant>;

  /// A closed record set.
  Recordset() = default;
  Recordset(QStringList columnNames, std::vector<Row> rows);
  /// Rows first, then the rows of more as MoveNext reaches them.
  Recordset(QStringList columnNames, std::vector<Row> rows, std::shared_ptr<RowSource> more);

  /// A closed record set that knows how many rows its statement changed.
  static Recordset Closed(long lRowsAffected);

  /// The rows still to come are read through what wrap makes of their
  /// source; nothing happens when they have all been read.
  void WrapSource(
      const std::function<std::shared_ptr<RowSource>(std::shared_ptr<RowSource>)>& wrap);

  bool IsOpen() const noexcept { return bOpen_; }
  /// True before the first row, past the last, and when closed.
  bool IsEof() const noexcept;
  /// Fails once rows read from a source have been passed.
  void MoveFirst();
  void MoveNext();

  /// Reads what the source still holds, to count it.
  long RecordCount() const;
  int FieldCount() const noexcept { return bOpen_ ? int(columnNames_.size()) : 0; }
  QString FieldName(int iIndex) const;

  /// The value of a field of the current row, by position from 0.
  QVariant Field(int iIndex) const;
  /// The value of a field of the current row, the name matched without
  /// regard to case.
  QVariant Field(const QString& sName) const;
  /// Position of a column, the name matched without regard to case; -1 when absent.
  int FieldIndex(const QString& sName) const;

  /// Rows changed by the statement behind a closed result; -1 when unknown.
  long RowsAffected() const noexcept { return lRowsAffected_; }

  void Close() noexcept;

 private:
  void RequireOpen() const;
  void RequireRow() const;
  bool ReadMore() const;

  bool bOpen_ = false;
  QStringList columnNames_;
  mutable std::vector<Row> rows_;
  mutable std::shared_ptr<RowSource> more_;
  std::size_t iPassed_ = 0;
  std::size_t iCurrent_ = 0;
  long lRowsAffected_ = -1;
};

}  // namespace twk
