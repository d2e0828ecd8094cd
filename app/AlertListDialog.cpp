// SPDX-License-Identifier: MIT
#include "AlertListDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "PanelAccessibility.h"
#include "PanelIcons.h"
#include "ctlAlertDetail.h"

namespace twk {

namespace {

enum Column { AlertColumn, DescriptionColumn, OffersColumn };

QString OneLine(const QString& sText) {
  return sText.simplified();
}

QString Offers(const AlertOutput& alert) {
  QStringList offers;
  if (!alert.sActionText.trimmed().isEmpty()) offers << QStringLiteral("action (Enter)");
  if (!alert.sClipboardText.trimmed().isEmpty()) offers << QStringLiteral("copy (Ctrl+C)");
  return offers.join(QStringLiteral(", "));
}

}  // namespace

AlertListDialog::AlertListDialog(const QString& sId, std::vector<AlertOutput> alerts,
                                 StatusReporter report, QWidget* pParent)
    : QDialog(pParent),
      alerts_(std::move(alerts)),
      report_(std::move(report)),
      pList_(new QTreeWidget(this)),
      pItem_(new ctlAlertDetail(this)) {
  setWindowTitle(QStringLiteral("Alerts of record %1").arg(sId));
  setAttribute(Qt::WA_DeleteOnClose);
  // The item is never shown: it lends the list its actions.
  pItem_->hide();
  auto* pHint =
      new QLabel(QStringLiteral("%1 alerts. Enter: action, Ctrl+C: copy, Space or F1: details, "
                                "Shift+F10: menu.")
                     .arg(alerts_.size()),
                 this);
  pHint->setWordWrap(true);
  pList_->setHeaderLabels(
      {QStringLiteral("Alert"), QStringLiteral("Description"), QStringLiteral("Offers")});
  pList_->setRootIsDecorated(false);
  pList_->setAllColumnsShowFocus(true);
  pList_->setIconSize(QSize(32, 32));
  pList_->setAccessibleName(windowTitle());
  pList_->installEventFilter(this);
  pHint->setBuddy(pList_);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pHint);
  pLayout->addWidget(pList_);
  pLayout->addWidget(pButtons);
  FillList();
  resize(720, 420);
}

void AlertListDialog::FillList() {
  for (const AlertOutput& alert : alerts_) {
    auto* pRow = new QTreeWidgetItem(pList_);
    QPixmap picture = PanelIcons::Picture(alert.iIcon);
    // An icon number the set does not have shows the item's own picture.
    if (picture.isNull()) picture = pItem_->picAlert()->pixmap();
    pRow->setIcon(AlertColumn, QIcon(picture));
    pRow->setText(AlertColumn, alert.sKeyword);
    const QString sName = PanelAccessibility::IconName(alert.sKeyword, alert.iIcon);
    pRow->setData(AlertColumn, Qt::AccessibleTextRole, sName);
    pRow->setToolTip(AlertColumn, alert.sTooltipText.isEmpty() ? sName : alert.sTooltipText);
    pRow->setText(DescriptionColumn, OneLine(alert.sDescription));
    pRow->setToolTip(DescriptionColumn, alert.sDescription);
    pRow->setText(OffersColumn, Offers(alert));
  }
  pList_->header()->setSectionResizeMode(AlertColumn, QHeaderView::ResizeToContents);
  pList_->header()->setSectionResizeMode(DescriptionColumn, QHeaderView::Stretch);
  pList_->header()->setStretchLastSection(false);
  if (!alerts_.empty()) pList_->setCurrentItem(pList_->topLevelItem(0));
}

DetailCommand AlertListDialog::CommandForKey(int iKey, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
  if ((iKey == Qt::Key_Return || iKey == Qt::Key_Enter) && mods == Qt::NoModifier) {
    return DetailCommand::PerformAction;
  }
  if (iKey == Qt::Key_C && mods == Qt::ControlModifier) return DetailCommand::CopyToClipboard;
  if ((iKey == Qt::Key_Space || iKey == Qt::Key_F1) && mods == Qt::NoModifier) {
    return DetailCommand::ZoomDetails;
  }
  if (iKey == Qt::Key_Menu || (iKey == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
    return DetailCommand::ShowPopupMenu;
  }
  return DetailCommand::Nothing;
}

bool AlertListDialog::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pWatched == pList_ && pEvent->type() == QEvent::KeyPress) {
    const auto* pKey = static_cast<QKeyEvent*>(pEvent);
    const DetailCommand command = CommandForKey(pKey->key(), pKey->modifiers());
    const int iRow = pList_->currentIndex().row();
    if (command != DetailCommand::Nothing && iRow >= 0) {
      RunOnRow(iRow, command);
      return true;
    }
  }
  return QDialog::eventFilter(pWatched, pEvent);
}

void AlertListDialog::RunOnRow(int iRow, DetailCommand command) {
  if (iRow < 0 || std::size_t(iRow) >= alerts_.size()) return;
  pItem_->SetAll(alerts_[std::size_t(iRow)]);
  // The panel's buttons are disabled for an empty text; the list says so
  // where a button would only have been greyed out.
  const auto say = [this](const QString& sMessage) {
    if (report_) report_(sMessage);
  };
  switch (command) {
    case DetailCommand::PerformAction:
      if (pItem_->ActionText().isEmpty()) return say(QStringLiteral("This alert has no action."));
      pItem_->PerformAction();
      break;
    case DetailCommand::CopyToClipboard:
      if (pItem_->ClipboardText().isEmpty()) {
        return say(QStringLiteral("This alert has no text to copy."));
      }
      pItem_->CopyToClipboard();
      break;
    case DetailCommand::ZoomDetails:
      pItem_->ZoomDetails();
      break;
    case DetailCommand::ShowPopupMenu:
      pItem_->ShowPopupMenu();
      break;
    case DetailCommand::Nothing:
      break;
  }
}

}  // namespace twk
