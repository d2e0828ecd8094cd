// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace twk {

/// Shows the explanation of one record's evaluation: which definitions ran,
/// their errors, rows and the reasons rows were dropped.
class ExplainWindow : public QDialog {
  Q_OBJECT

 public:
  ExplainWindow(const QString& sId, const QString& sReport, QWidget* pParent = nullptr);

  QString Report() const;

 private:
  QPlainTextEdit* pText_;
};

}  // namespace twk
