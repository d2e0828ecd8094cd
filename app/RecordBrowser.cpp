#include "RecordBrowser.h"

#include "Connection.h"
#include "Conversions.h"
#include "TwkError.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace twk {

namespace {

// The fuller list where the table has those columns, the plainest otherwise.
const char* const sQueries[] = {
    "select ID, FULL_NAME, COMPANY, MEMBER_TYPE, STATUS from Name order by FULL_NAME",
    "select ID, FULL_NAME from Name order by FULL_NAME",
};

}  // namespace

RecordBrowser::RecordBrowser(QWidget* pParent)
    : QWidget(pParent),
      pSearch_(new QLineEdit(this)),
      pTable_(new QTableView(this)),
      pStatus_(new QLabel(this)),
      pModel_(new QStandardItemModel(this)),
      pFilter_(new QSortFilterProxyModel(this)) {
  pSearch_->setPlaceholderText(QStringLiteral("Search by id or name"));
  pSearch_->setClearButtonEnabled(true);
  auto* pNoRecord = new QPushButton(QStringLiteral("No record"), this);
  pNoRecord->setToolTip(QStringLiteral("Close the current record"));
  pFilter_->setSourceModel(pModel_);
  pFilter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
  pFilter_->setFilterKeyColumn(-1);
  pTable_->setModel(pFilter_);
  pTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  pTable_->setSelectionMode(QAbstractItemView::SingleSelection);
  pTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  pTable_->verticalHeader()->hide();
  pTable_->horizontalHeader()->setStretchLastSection(true);

  auto* pSearchRow = new QHBoxLayout;
  pSearchRow->addWidget(pSearch_, 1);
  pSearchRow->addWidget(pNoRecord);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pSearchRow);
  pLayout->addWidget(pTable_, 1);
  pLayout->addWidget(pStatus_);

  connect(pSearch_, &QLineEdit::textChanged, pFilter_,
          &QSortFilterProxyModel::setFilterFixedString);
  connect(pTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &RecordBrowser::EmitSelection);
  connect(pNoRecord, &QPushButton::clicked, this, [this] {
    pTable_->clearSelection();
    emit CurrentIdChanged(QString());
  });
}

QString RecordBrowser::Load(const ConnectionSettings& settings) {
  Connection connection;
  connection.SetSettings(settings);
  QString sError;
  try {
    connection.Open();
    for (const char* sQuery : sQueries) {
      try {
        Recordset records = connection.Execute(QString::fromLatin1(sQuery));
        pModel_->clear();
        QStringList headers;
        for (int i = 0; i < records.FieldCount(); ++i) headers << records.FieldName(i);
        pModel_->setHorizontalHeaderLabels(headers);
        for (; !records.IsEof(); records.MoveNext()) {
          QList<QStandardItem*> row;
          for (int i = 0; i < records.FieldCount(); ++i) {
            row << new QStandardItem(Conversions::ToTextLenient(records.Field(i)));
          }
          pModel_->appendRow(row);
        }
        pStatus_->setText(QStringLiteral("%1 records").arg(pModel_->rowCount()));
        pTable_->resizeColumnsToContents();
        return QString();
      } catch (const TwkError& error) {
        sError = error.Description();
      }
    }
  } catch (const TwkError& error) {
    sError = error.Description();
  }
  pStatus_->setText(QStringLiteral("The records could not be read: ") + sError);
  return sError.isEmpty() ? QStringLiteral("unknown error") : sError;
}

int RecordBrowser::RecordCount() const { return pModel_->rowCount(); }

bool RecordBrowser::Select(const QString& sId) {
  for (int iRow = 0; iRow < pFilter_->rowCount(); ++iRow) {
    const QModelIndex index = pFilter_->index(iRow, 0);
    if (index.data().toString() == sId) {
      pTable_->selectRow(iRow);
      pTable_->scrollTo(index);
      return true;
    }
  }
  return false;
}

void RecordBrowser::EmitSelection() {
  const QModelIndexList rows = pTable_->selectionModel()->selectedRows(0);
  if (rows.isEmpty()) return;
  emit CurrentIdChanged(rows.first().data().toString());
}

}  // namespace twk
