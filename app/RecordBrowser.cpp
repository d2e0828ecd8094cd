// SPDX-License-Identifier: MIT
#include "RecordBrowser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "Connection.h"
#include "RecordListModel.h"
#include "TwkError.h"

namespace twk {

RecordBrowser::RecordBrowser(QWidget* pParent)
    : QWidget(pParent),
      pSearch_(new QLineEdit(this)),
      pTable_(new QTableView(this)),
      pNoRecord_(new QPushButton(QStringLiteral("No record"), this)),
      pStatus_(new QLabel(this)),
      pModel_(new RecordListModel(this)) {
  pSearch_->setPlaceholderText(QStringLiteral("Search by id or name"));
  pSearch_->setClearButtonEnabled(true);
  pSearch_->installEventFilter(this);
  pNoRecord_->setToolTip(QStringLiteral("Close the current record"));
  pNoRecord_->setAutoDefault(false);
  pTable_->setModel(pModel_);
  pTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  pTable_->setSelectionMode(QAbstractItemView::SingleSelection);
  pTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the list; arrows move in it; Enter or a click opens.
  pTable_->setTabKeyNavigation(false);
  pTable_->verticalHeader()->hide();
  // Rows all of one height need not be measured one by one.
  pTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  pTable_->horizontalHeader()->setStretchLastSection(true);

  auto* pSearchRow = new QHBoxLayout;
  pSearchRow->addWidget(pSearch_, 1);
  pSearchRow->addWidget(pNoRecord_);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pSearchRow);
  pLayout->addWidget(pTable_, 1);
  pLayout->addWidget(pStatus_);
  setTabOrder(pSearch_, pTable_);
  setTabOrder(pTable_, pNoRecord_);

  connect(pSearch_, &QLineEdit::textChanged, this, &RecordBrowser::Search);
  connect(pTable_, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& index) { OpenRow(index.row()); });
  connect(pTable_, &QAbstractItemView::activated, this,
          [this](const QModelIndex& index) { OpenRow(index.row()); });
  connect(pNoRecord_, &QPushButton::clicked, this, [this] {
    pTable_->clearSelection();
    emit CurrentIdChanged(QString());
  });
}

QString RecordBrowser::Load(const ConnectionSettings& settings) {
  auto connection = std::make_unique<Connection>();
  connection->SetSettings(settings);
  QString sError;
  try {
    connection->Open();
    sError = pModel_->Attach(std::move(connection));
  } catch (const TwkError& error) {
    sError = error.Description().isEmpty() ? QStringLiteral("unknown error") : error.Description();
  }
  ShowCount(sError);
  if (sError.isEmpty()) pTable_->resizeColumnsToContents();
  return sError;
}

void RecordBrowser::Search(const QString& sText) {
  if (pSearch_->text() != sText) {
    pSearch_->setText(sText);  // searches through textChanged
    return;
  }
  ShowCount(pModel_->Search(sText));
}

void RecordBrowser::ShowCount(const QString& sError) {
  if (!sError.isEmpty()) {
    pStatus_->setText(QStringLiteral("The records could not be read: ") + sError);
  } else {
    const qint64 lFound = pModel_->FoundCount();
    const QString sRecords =
        lFound == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(lFound);
    pStatus_->setText(pSearch_->text().trimmed().isEmpty() ? sRecords
                                                           : sRecords + QStringLiteral(" found"));
  }
}

qint64 RecordBrowser::RecordCount() const {
  return pModel_->FoundCount();
}

int RecordBrowser::LoadedCount() const {
  return pModel_->rowCount();
}

bool RecordBrowser::Select(const QString& sId) {
  for (int iRow = 0; iRow < pModel_->rowCount(); ++iRow) {
    if (pModel_->IdAt(iRow) == sId) {
      pTable_->selectRow(iRow);
      pTable_->scrollTo(pModel_->index(iRow, 0));
      OpenRow(iRow);
      return true;
    }
  }
  // Not among the rows read so far: looked up in the table itself.
  if (!pModel_->Exists(sId)) return false;
  pTable_->clearSelection();
  emit CurrentIdChanged(sId);
  return true;
}

void RecordBrowser::OpenRow(int iRow) {
  const QString sId = pModel_->IdAt(iRow);
  if (sId.isEmpty()) return;
  pTable_->selectRow(iRow);
  emit CurrentIdChanged(sId);
}

bool RecordBrowser::eventFilter(QObject* pWatched, QEvent* pEvent) {
  // From the search field, Down or Enter goes on to the list found.
  if (pWatched == pSearch_ && pEvent->type() == QEvent::KeyPress) {
    const int iKey = static_cast<QKeyEvent*>(pEvent)->key();
    if ((iKey == Qt::Key_Down || iKey == Qt::Key_Return || iKey == Qt::Key_Enter) &&
        pModel_->rowCount() > 0) {
      pTable_->setFocus(Qt::OtherFocusReason);
      if (!pTable_->currentIndex().isValid()) pTable_->setCurrentIndex(pModel_->index(0, 0));
      return true;
    }
  }
  return QWidget::eventFilter(pWatched, pEvent);
}

}  // namespace twk
