// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "RecordQueries.h"

namespace twk {

class Connection;

/// The contact records as the browser's list shows them, read from the
/// database a page at a time as the list scrolls towards its end, so that
/// a table of a million contacts costs no more to open than a small one.
class RecordListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kPageSize = 200;

  explicit RecordListModel(QObject* pParent = nullptr);
  ~RecordListModel() override;

  /// Starts reading over the connection, with the fullest column set the
  /// table has. Returns an error text, empty on success.
  QString Attach(std::unique_ptr<Connection> connection);
  /// Lists the records the search finds (all for an empty text), from the
  /// first page. Returns an error text, empty on success.
  QString Search(const QString& sSearch);

  /// Records the current search finds in the database (the list holds
  /// only those read so far).
  qint64 FoundCount() const noexcept { return lFound_; }
  QString IdAt(int iRow) const;
  /// Whether a record with exactly this id is in the table.
  bool Exists(const QString& sId);
  /// The last error of a page read, empty when none.
  const QString& LastError() const noexcept { return sLastError_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int iRole = Qt::DisplayRole) const override;
  QVariant headerData(int iSection, Qt::Orientation orientation,
                      int iRole = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  /// Reads the page after the rows held; empty (and LastError) when the
  /// read failed.
  std::vector<QStringList> ReadPage();

  std::unique_ptr<Connection> connection_;
  std::optional<RecordQueries> queries_;
  QString sSearch_;
  std::vector<QStringList> rows_;
  qint64 lFound_ = 0;
  bool bAtEnd_ = true;
  QString sLastError_;
};

}  // namespace twk
