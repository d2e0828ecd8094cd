// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace twk {

/// The T-SQL with which the record browser reads the contact table a page at
/// a time (offset/fetch), the same on the server and the embedded database.
/// Search texts are quoted here, so that any character a person types
/// (apostrophes, % and _ included) is searched for as itself.
class RecordQueries {
 public:
  /// The browser's column sets, fullest first; the list falls back to the
  /// next when the table lacks one of them. The first two columns of each
  /// are the record id and the name.
  static QList<QStringList> ColumnSets();

  explicit RecordQueries(QStringList columns) : columns_(std::move(columns)) {}

  /// A statement that fails exactly when the table lacks a column.
  QString Probe() const;
  /// Rows iOffset .. iOffset + iCount - 1 of the list in name order,
  /// limited to the search: an id equal to it, or a name that starts with
  /// it (case-insensitively where the database compares so).
  QString Page(const QString& sSearch, int iOffset, int iCount) const;
  /// How many records the search finds.
  QString Count(const QString& sSearch) const;
  /// One row when a record with exactly this id exists.
  QString Exists(const QString& sId) const;

  const QStringList& Columns() const noexcept { return columns_; }

 private:
  QString Where(const QString& sSearch) const;

  QStringList columns_;
};

}  // namespace twk
