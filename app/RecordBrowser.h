#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace twk {

struct ConnectionSettings;

/// The contact records of the Name table, searchable by id or name; picking
/// one makes it the current record.
class RecordBrowser : public QWidget {
  Q_OBJECT

 public:
  explicit RecordBrowser(QWidget* pParent = nullptr);

  /// Reads the records over a connection of its own. Returns an error text,
  /// empty on success.
  QString Load(const ConnectionSettings& settings);
  int RecordCount() const;
  /// Selects the record with that id, if it is listed.
  bool Select(const QString& sId);

 signals:
  /// A record was picked; an empty id means "no current record".
  void CurrentIdChanged(const QString& sId);

 private:
  void EmitSelection();

  QLineEdit* pSearch_;
  QTableView* pTable_;
  QLabel* pStatus_;
  QStandardItemModel* pModel_;
  QSortFilterProxyModel* pFilter_;
};

}  // namespace twk
