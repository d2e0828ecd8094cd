// SPDX-License-Identifier: MIT
#include "ExplainWindow.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace twk {

ExplainWindow::ExplainWindow(const QString& sId, const QString& sReport, QWidget* pParent)
    : QDialog(pParent), pText_(new QPlainTextEdit(this)) {
  setWindowTitle(QStringLiteral("Explain alerts of record ") + sId);
  setAttribute(Qt::WA_DeleteOnClose);
  pText_->setReadOnly(true);
  pText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  pText_->setPlainText(sReport);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pText_, 1);
  pLayout->addWidget(pButtons);
  resize(720, 480);
}

QString ExplainWindow::Report() const {
  return pText_->toPlainText();
}

}  // namespace twk
