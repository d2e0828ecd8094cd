// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace twk {

struct ConnectionSettings;
class RecordListModel;

/// The contact records of the Name table, searched in the database by id
/// or name and read a page at a time; opening one (Enter or a click) makes
/// it the current record.
class RecordBrowser : public QWidget {
  Q_OBJECT

 public:
  explicit RecordBrowser(QWidget* pParent = nullptr);

  /// Reads the records over a connection of its own. Returns an error text,
  /// empty on success.
  QString Load(const ConnectionSettings& settings);
  /// Records the current search finds in the database.
  qint64 RecordCount() const;
  /// Rows read into the list so far.
  int LoadedCount() const;
  /// Opens the record with that id: selects its row when it is listed,
  /// otherwise opens it when the table holds it. Returns whether it did.
  bool Select(const QString& sId);
  /// Lists what the search text finds, as typing it does.
  void Search(const QString& sText);

  QLineEdit* SearchField() const noexcept { return pSearch_; }
  QTableView* List() const noexcept { return pTable_; }
  QPushButton* NoRecordButton() const noexcept { return pNoRecord_; }

 signals:
  /// A record was opened; an empty id means "no current record".
  void CurrentIdChanged(const QString& sId);

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void OpenRow(int iRow);
  void ShowCount(const QString& sError);

  QLineEdit* pSearch_;
  QTableView* pTable_;
  QPushButton* pNoRecord_;
  QLabel* pStatus_;
  RecordListModel* pModel_;
};

}  // namespace twk
