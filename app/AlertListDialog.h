// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "AlertOutput.h"
#include "DetailRules.h"

class QTreeWidget;

namespace twk {

class ctlAlertDetail;

/// Every alert of the open record in one list worked from the keyboard:
/// Enter starts an alert's action, Ctrl+C copies its clipboard text, Space
/// or F1 shows its details, Shift+F10 or the menu key opens its menu. Each
/// runs through a detail item, as the panel's buttons do, so the same
/// command lines, clipboard texts and boxes result.
class AlertListDialog : public QDialog {
  Q_OBJECT

 public:
  using StatusReporter = std::function<void(const QString&)>;

  AlertListDialog(const QString& sId, std::vector<AlertOutput> alerts, StatusReporter report,
                  QWidget* pParent = nullptr);

  QTreeWidget* List() const noexcept { return pList_; }
  /// What a key asks for on the current row; Nothing for other keys.
  static DetailCommand CommandForKey(int iKey, Qt::KeyboardModifiers modifiers);
  /// Runs a command on the alert of a row, as its item would.
  void RunOnRow(int iRow, DetailCommand command);

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void FillList();

  std::vector<AlertOutput> alerts_;
  StatusReporter report_;
  QTreeWidget* pList_;
  ctlAlertDetail* pItem_;
};

}  // namespace twk
