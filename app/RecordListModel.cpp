// SPDX-License-Identifier: MIT
#include "RecordListModel.h"

#include "Connection.h"
#include "Conversions.h"
#include "TwkError.h"

namespace twk {

RecordListModel::RecordListModel(QObject* pParent) : QAbstractTableModel(pParent) {}

RecordListModel::~RecordListModel() = default;

QString RecordListModel::Attach(std::unique_ptr<Connection> connection) {
  connection_ = std::move(connection);
  QString sError;
  for (const QStringList& columns : RecordQueries::ColumnSets()) {
    RecordQueries queries(columns);
    try {
      connection_->Execute(queries.Probe());
      queries_ = std::move(queries);
      return Search(QString());
    } catch (const TwkError& error) {
      sError = error.Description();
    }
  }
  return QStringLiteral("The contact table Name has no columns ID and FULL_NAME to list (") +
         sError + QStringLiteral(")");
}

QString RecordListModel::Search(const QString& sSearch) {
  beginResetModel();
  sSearch_ = sSearch;
  rows_.clear();
  lFound_ = 0;
  bAtEnd_ = !queries_;
  sLastError_.clear();
  if (queries_) {
    try {
      Recordset count = connection_->Execute(queries_->Count(sSearch_));
      if (!count.IsEof()) lFound_ = Conversions::ToLong(count.Field(0));
    } catch (const TwkError& error) {
      sLastError_ = error.Description();
    }
    if (sLastError_.isEmpty()) rows_ = ReadPage();
  }
  endResetModel();
  return sLastError_;
}

std::vector<QStringList> RecordListModel::ReadPage() {
  std::vector<QStringList> page;
  try {
    Recordset records =
        connection_->Execute(queries_->Page(sSearch_, int(rows_.size()), kPageSize));
    for (; !records.IsEof(); records.MoveNext()) {
      QStringList row;
      for (int i = 0; i < records.FieldCount(); ++i) {
        row << Conversions::ToTextLenient(records.Field(i));
      }
      page.push_back(std::move(row));
    }
    bAtEnd_ = int(page.size()) < kPageSize;
  } catch (const TwkError& error) {
    // A table that cannot be read further is listed as far as it went.
    sLastError_ = error.Description();
    bAtEnd_ = true;
  }
  return page;
}

QString RecordListModel::IdAt(int iRow) const {
  if (iRow < 0 || iRow >= int(rows_.size())) return QString();
  return rows_[std::size_t(iRow)].value(0);
}

bool RecordListModel::Exists(const QString& sId) {
  if (!queries_) return false;
  try {
    return !connection_->Execute(queries_->Exists(sId)).IsEof();
  } catch (const TwkError& error) {
    sLastError_ = error.Description();
    return false;
  }
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !queries_ ? 0 : int(queries_->Columns().size());
}

QVariant RecordListModel::data(const QModelIndex& index, int iRole) const {
  if (!index.isValid() || (iRole != Qt::DisplayRole && iRole != Qt::ToolTipRole)) return {};
  return rows_[std::size_t(index.row())].value(index.column());
}

QVariant RecordListModel::headerData(int iSection, Qt::Orientation orientation, int iRole) const {
  if (orientation != Qt::Horizontal || iRole != Qt::DisplayRole || !queries_) return {};
  return queries_->Columns().value(iSection);
}

bool RecordListModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !bAtEnd_;
}

void RecordListModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  // Rows are announced once read, so the view never sees a half page.
  std::vector<QStringList> page = ReadPage();
  if (page.empty()) return;
  const int iFirst = int(rows_.size());
  beginInsertRows(QModelIndex(), iFirst, iFirst + int(page.size()) - 1);
  rows_.insert(rows_.end(), std::make_move_iterator(page.begin()),
               std::make_move_iterator(page.end()));
  endInsertRows();
}

}  // namespace twk
