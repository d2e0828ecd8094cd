// SPDX-License-Identifier: MIT
#include "AboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ProductNotices.h"
#include "modSubroutines.h"

namespace twk {

namespace {

QString Heading() {
  return QStringLiteral("Tellwick ") + ProductNotices::ProductVersion() +
         QStringLiteral("\nAlert libraries ") + modSubroutines::TwkVersionText() +
         QStringLiteral("\nService alerts beside the contact record in view.");
}

QString Notices() {
  return QStringLiteral("Tellwick\n\n") + ProductNotices::LicenceText() +
         QStringLiteral("\n\nIcons\n\n") + ProductNotices::IconsNotice();
}

}  // namespace

AboutBox::AboutBox(QWidget* pParent) : QDialog(pParent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About Tellwick"));
  auto* pLayout = new QVBoxLayout(this);
  auto* pHeading = new QLabel(Heading(), this);
  pHeading->setTextFormat(Qt::PlainText);
  pLayout->addWidget(pHeading);
  // The licences are long; a read-only text keeps the box a sensible size.
  auto* pNotices = new QPlainTextEdit(Notices(), this);
  pNotices->setObjectName(QStringLiteral("txtNotices"));
  pNotices->setReadOnly(true);
  pNotices->setMinimumSize(620, 360);
  pLayout->addWidget(pNotices);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  pLayout->addWidget(pButtons);
}

QString AboutBox::Text() {
  return Heading() + QStringLiteral("\n\n") + Notices();
}

void AboutBox::AddHelpMenu(QMenuBar* pMenuBar) {
  QMenu* pHelp = pMenuBar->addMenu(QStringLiteral("&Help"));
  QWidget* pWindow = pMenuBar->window();
  pHelp->addAction(QStringLiteral("&About Tellwick"), pWindow, [pWindow] {
    auto* pBox = new AboutBox(pWindow);
    pBox->setAttribute(Qt::WA_DeleteOnClose);
    pBox->open();
  });
}

}  // namespace twk
