// SPDX-License-Identifier: MIT
#include "Recordset.h"

#include <utility>

#include "TwkError.h"

namespace twk {

namespace {

const QString sRecordsetSource = QStringLiteral("TWK.Recordset");

}  // namespace

Recordset::Recordset(QStringList columnNames, std::vector<Row> rows)
    : bOpen_(true), columnNames_(std::move(columnNames)), rows_(std::move(rows)) {}

Recordset::Recordset(QStringList columnNames, std::vector<Row> rows,
                     std::shared_ptr<RowSource> more)
    : bOpen_(true),
      columnNames_(std::move(columnNames)),
      rows_(std::move(rows)),
      more_(std::move(more)) {
  if (rows_.empty()) ReadMore();
}

Recordset Recordset::Closed(long lRowsAffected) {
  Recordset closed;
  closed.lRowsAffected_ = lRowsAffected;
  return closed;
}

void Recordset::WrapSource(
    const std::function<std::shared_ptr<RowSource>(std::shared_ptr<RowSource>)>& wrap) {
  if (more_) more_ = wrap(std::move(more_));
}

bool Recordset::IsEof() const noexcept {
  return !bOpen_ || iCurrent_ >= rows_.size();
}

void Recordset::MoveFirst() {
  RequireOpen();
  if (iPassed_ > 0) {
    throw TwkError(QStringLiteral("Rowset does not support fetching backward."), sRecordsetSource,
                   3219);
  }
  iCurrent_ = 0;
}

void Recordset::MoveNext() {
  RequireRow();
  ++iCurrent_;
  if (iCurrent_ < rows_.size() || !more_) return;
  iPassed_ += rows_.size();
  rows_.clear();
  iCurrent_ = 0;
  ReadMore();
}

long Recordset::RecordCount() const {
  RequireOpen();
  while (more_ && ReadMore()) {
  }
  return long(iPassed_ + rows_.size());
}

bool Recordset::ReadMore() const {
  if (!more_) return false;
  Row row;
  bool bRead = false;
  try {
    bRead = more_->Next(row);
  } catch (...) {
    more_.reset();
    throw;
  }
  if (!bRead) {
    more_.reset();
    return false;
  }
  rows_.push_back(std::move(row));
  return true;
}

QString Recordset::FieldName(int iIndex) const {
  RequireOpen();
  if (iIndex < 0 || iIndex >= columnNames_.size()) {
    throw TwkError(QStringLiteral("Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal."),
                   sRecordsetSource, 3265);
  }
  return columnNames_.at(iIndex);
}

QVariant Recordset::Field(int iIndex) const {
  RequireRow();
  if (iIndex < 0 || iIndex >= columnNames_.size()) {
    throw TwkError(QStringLiteral("Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal."),
                   sRecordsetSource, 3265);
  }
  return rows_[iCurrent_][std::size_t(iIndex)];
}

QVariant Recordset::Field(const QString& sName) const {
  RequireRow();
  const int iIndex = FieldIndex(sName);
  if (iIndex < 0) {
    throw TwkError(QStringLiteral("Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal."),
                   sRecordsetSource, 3265);
  }
  return rows_[iCurrent_][std::size_t(iIndex)];
}

int Recordset::FieldIndex(const QString& sName) const {
  // Folding case keeps the length, and callers mostly spell a name as the
  // query did: both are tried before the comparison that folds.
  for (int i = 0; i < columnNames_.size(); ++i) {
    const QString& sColumn = columnNames_.at(i);
    if (sColumn.size() != sName.size()) continue;
    if (sColumn == sName || sColumn.compare(sName, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

void Recordset::Close() noexcept {
  bOpen_ = false;
  columnNames_.clear();
  rows_.clear();
  more_.reset();
  iPassed_ = 0;
  iCurrent_ = 0;
}

void Recordset::RequireOpen() const {
  if (!bOpen_) {
    throw TwkError(QStringLiteral("Operation is not allowed when the object is closed."),
                   sRecordsetSource, 3704);
  }
}

void Recordset::RequireRow() const {
  RequireOpen();
  if (iCurrent_ >= rows_.size()) {
    throw TwkError(QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                  "deleted. Requested operation requires a current record."),
                   sRecordsetSource, 3021);
  }
}

}  // namespace twk
