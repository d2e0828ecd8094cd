// SPDX-License-Identifier: MIT
// The editor's start-up, its list and form, and the four commands.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <limits>

#include "Conversions.h"
#include "DefinitionGrid.h"
#include "LimitedTextBox.h"
#include "ModuleState.h"
#include "PlatformServices.h"
#include "QueryOutcome.h"
#include "Steps.h"
#include "TwkError.h"
#include "ctlEditTWK.h"
#include "modSubroutines.h"

namespace twk {

namespace {

const QString sControl = QStringLiteral("ctlEditTWK");
const Qt::Alignment leftCentred = Qt::AlignLeft | Qt::AlignVCenter;
const Qt::Alignment rightCentred = Qt::AlignRight | Qt::AlignVCenter;

// What a missing record set gives when it is used anyway.
Recordset& Require(std::optional<Recordset>& rows) {
  if (!rows) {
    throw TwkError(QStringLiteral("Object variable or With block variable not set"), sControl, 91);
  }
  return *rows;
}

QString Trimmed(const QVariant& value) {
  return Conversions::TrimSpaces(Conversions::ToTextStrict(value));
}

void Tell(const QString& sText, const QString& sTitle, MessageIcon icon) {
  Platform::Services().ShowMessage(sText, sTitle, MessageButtons::Ok, icon);
}

}  // namespace

void ctlEditTWK::XtenderInit() {
  Steps steps(sControl, QStringLiteral("XtenderInit"));
  steps.Run(100, [&] { SharedInitialize(); });
}

void ctlEditTWK::NotifyListener(const QString&, const QString&, const QString&, const QString&,
                                const QString&) {
  // The editor follows no record: every notice is accepted and changes nothing.
  Steps steps(sControl, QStringLiteral("NotifyListener"));
  steps.Run(100, [] {});
}

void ctlEditTWK::SharedInitialize() {
  Steps steps(sControl, QStringLiteral("SharedInitialize"));
  QString sHost, sDatabase, sUser, sPassword;
  steps.Run(100, [&] {
    sHost = HostValue(QStringLiteral("lvSession.SQLHostName"));
    sDatabase = HostValue(QStringLiteral("lvSession.SQLDatabase"));
    sUser = HostValue(QStringLiteral("lvSession.SQLUserId"));
    sPassword = HostValue(QStringLiteral("lvSession.SQLUserPassword"));
    HostValue(QStringLiteral("lvSession.LevelMembership"));
  });
  steps.Run(110, [&] { RaiseSetWindowTitle(QStringLiteral("TWK Editor")); });
  bool bConnected = false;
  steps.Run(120, [&] {
    bConnected = modSubroutines::InitializeConnection(sHost, sDatabase, sUser, sPassword, 1);
  });
  if (!bConnected) {
    steps.Run(130, [&] {
      Tell(QStringLiteral("TWK Editor is unable to connect to SQL."), QStringLiteral("Error"),
           MessageIcon::None);
      RaiseCloseSelf();
    });
    return;
  }
  steps.Run(140, [&] { modSubroutines::CalculateAuthID(sUser, sDatabase); });
  bool bAdmitted = false;
  steps.Run(150, [&] { bAdmitted = HasEditorAccess(); });
  if (!bAdmitted) {
    steps.Run(160, [&] {
      Tell(QStringLiteral("You must have the access keyword TWKEdit to use the TWK Alert Editor."),
           QStringLiteral("Access Denied"), MessageIcon::None);
      RaiseCloseSelf();
    });
    return;
  }
  steps.Run(170, [&] { PopulateGrid(); });
  steps.Run(180, [&] { OfferTypes(); });
}

void ctlEditTWK::OfferTypes() {
  ComType_->addItem(QStringLiteral("SQL"));
  ComType_->addItem(QStringLiteral("SQLSilent"));
  // The form starts empty: the list offers the types, the box shows none.
  ComType_->setCurrentIndex(-1);
  ComType_->setEditText(QString());
}

bool ctlEditTWK::HasEditorAccess() {
  const QString& sAuthId = ModuleState::ForThisThread().AuthID;
  // The database owner is always admitted, without a look at Users.
  if (sAuthId == QStringLiteral("dbo")) return true;
  return DefinitionStatements::HoldsEditorKeyword(
      modSubroutines::Exec_SQL_SP_String(DefinitionStatements::AccessKeywordQuery(sAuthId)));
}

void ctlEditTWK::PopulateGrid() {
  Steps steps(sControl, QStringLiteral("PopulateGrid"));
  DefinitionGrid& grid = *grdTWKResults_;
  std::optional<Recordset> rows;
  steps.Run(100, [&] {
    grid.BeginFill();
    grid.Clear();
  });
  steps.Run(110, [&] {
    grid.SetRow(0);
    const int aWidths[5] = {150, 550, 1700, 2500, 900};
    for (int iCol = 0; iCol < 5; ++iCol) grid.SetColWidth(iCol, aWidths[iCol]);
  });
  steps.Run(120, [&] {
    const QString aHeadings[4] = {QStringLiteral("SEQN"), QStringLiteral("ALERT NAME"),
                                  QStringLiteral("DESCRIPTION"), QStringLiteral("ENABLED")};
    for (int iCol = 1; iCol <= 4; ++iCol) {
      grid.SetCol(iCol);
      grid.SetText(aHeadings[iCol - 1]);
    }
  });
  steps.Run(130, [&] { rows = modSubroutines::OpenRecordset(DefinitionStatements::ListQuery()); });
  if (steps.Run(140, [&] { Require(rows); }) && rows->IsOpen()) {
    // The row counter is a 16-bit number: the list ends at 32,766 rows.
    qint16 iNumber = 0;
    while (!rows->IsEof()) {
      if (iNumber == std::numeric_limits<qint16>::max() - 1) {
        steps.Run(140, [] { throw TwkError(QStringLiteral("Overflow"), sControl, 6); });
        break;
      }
      FillGridRow(*rows, ++iNumber, steps);
      rows->MoveNext();
    }
    rows->Close();
  }
  steps.Run(190, [&] { grid.Refresh(); });
}

void ctlEditTWK::FillGridRow(Recordset& rows, int iNumber, Steps& steps) {
  DefinitionGrid& grid = *grdTWKResults_;
  steps.Run(140, [&] {
    grid.SetRows(iNumber + 1);
    grid.SetRow(iNumber);
  });
  // Each cell is its own step: a null fails only its own cell.
  steps.Run(150, [&] {
    grid.SetCol(1);
    grid.SetText(Trimmed(rows.Field(0)));
    grid.SetColAlignment(rightCentred);
  });
  steps.Run(160, [&] {
    grid.SetCol(2);
    grid.SetText(Trimmed(rows.Field(1)));
    grid.SetColAlignment(leftCentred);
  });
  steps.Run(170, [&] {
    grid.SetCol(3);
    const QString sDescription = Conversions::ToTextStrict(rows.Field(4));
    grid.SetText(sDescription.isEmpty()
                     ? DefinitionStatements::ListDescription(
                           sDescription, Conversions::ToTextStrict(rows.Field(2)))
                     : Conversions::TrimSpaces(sDescription));
    grid.SetColAlignment(leftCentred);
  });
  steps.Run(180, [&] {
    grid.SetCol(4);
    if (Conversions::ToBoolean(rows.Field(3)) == 0) {
      grid.SetText(QStringLiteral("Disabled"));
      grid.SetColAlignment(leftCentred);
    } else {
      grid.SetText(QString());
    }
  });
}

void ctlEditTWK::PopulateData() {
  Steps steps(sControl, QStringLiteral("PopulateData"));
  QString sSeqn;
  bool bDataRow = false;
  steps.Run(100, [&] { grdTWKResults_->SetCol(1); });
  steps.Run(110, [&] {
    sSeqn = grdTWKResults_->Text();
    bDataRow = grdTWKResults_->Row() > 0 && !sSeqn.isEmpty();
  });
  if (!bDataRow) {
    steps.Run(120, [&] { ClearForm(QString()); });
    return;
  }
  std::optional<Recordset> rows;
  steps.Run(130,
            [&] { rows = modSubroutines::OpenRecordset(DefinitionStatements::LoadQuery(sSeqn)); });
  // Without a record set nothing is known about the row: the form stays.
  if (!steps.Run(140, [&] { Require(rows); })) return;
  if (rows->IsEof()) {
    // Deleted by someone else since the list was filled.
    steps.Run(140, [&] { ClearForm(QString()); });
    return;
  }
  while (!rows->IsEof()) {
    LoadDefinition(*rows, steps);
    rows->MoveNext();
  }
  rows->Close();
}

void ctlEditTWK::LoadDefinition(Recordset& rows, Steps& steps) {
  // A field whose value cannot be read is left empty rather than showing
  // what an earlier definition put there, which a Save would copy over.
  steps.Run(150, [&] { lblSeqn_->setText(Conversions::ToTextLenient(rows.Field(0))); });
  steps.Run(160, [&] {
    txtCriteria_->SetText(QString());
    txtCriteria_->SetText(Conversions::ToTextStrict(rows.Field(1)));
  });
  steps.Run(170, [&] {
    const bool bEnabled = Conversions::ToBoolean(rows.Field(2)) != 0;
    (bEnabled ? optEnable_ : optDisable_)->setChecked(true);
  });
  steps.Run(180, [&] {
    txtDescription_->SetText(QString());
    txtDescription_->SetText(Conversions::ToTextStrict(rows.Field(3)));
  });
  steps.Run(190, [&] {
    ComType_->setEditText(QString());
    ComType_->setEditText(Conversions::ToTextStrict(rows.Field(4)));
  });
  steps.Run(200, [&] {
    SetName(QString());
    SetName(Conversions::ToTextStrict(rows.Field(5)));
  });
}

void ctlEditTWK::ClearForm(const QString& sType) {
  lblSeqn_->setText(QString());
  txtCriteria_->SetText(QString());
  optEnable_->setChecked(true);
  txtDescription_->SetText(QString());
  ComType_->setEditText(sType);
  SetName(QString());
}

void ctlEditTWK::grdTWKResults_Click() {
  PopulateData();
}

void ctlEditTWK::cmdNew_Click() {
  Steps steps(sControl, QStringLiteral("cmdNew_Click"));
  steps.Run(100, [&] { ClearForm(QStringLiteral("SQL")); });
}

void ctlEditTWK::cmdSave_Click() {
  Steps steps(sControl, QStringLiteral("cmdSave_Click"));
  DefinitionForm form;
  std::optional<QString> refusal;
  if (!steps.Run(100, [&] {
        form = Form();
        refusal = DefinitionStatements::SaveRefusal(form);
      })) {
    return;
  }
  if (refusal) {
    steps.Run(110, [&] {
      Tell(*refusal, QStringLiteral("Missing Information"), MessageIcon::Information);
    });
    return;
  }
  if (!form.sSeqn.isEmpty()) {
    // Failed or not, the form keeps what the user typed.
    steps.Run(120, [&] {
      modSubroutines::Exec_SQL_Succeeded(DefinitionStatements::UpdateStatement(form));
    });
    steps.Run(130, [&] { PopulateGrid(); });
    return;
  }
  SaveNew(form, steps);
}

void ctlEditTWK::SaveNew(const DefinitionForm& form, Steps& steps) {
  bool bInserted = false;
  steps.Run(140, [&] {
    bInserted = modSubroutines::Exec_SQL_Succeeded(DefinitionStatements::InsertStatement(form));
  });
  // After a failed insert the identity belongs to some earlier insert (or
  // is null): the form stays a new, unsaved definition.
  if (bInserted) {
    std::optional<Recordset> rows;
    steps.Run(
        150, [&] { rows = modSubroutines::OpenRecordset(DefinitionStatements::NewNumberQuery()); });
    steps.Run(160, [&] {
      Recordset& identity = Require(rows);
      while (!identity.IsEof()) {
        lblSeqn_->setText(Conversions::ToTextLenient(identity.Field(0)));
        identity.MoveNext();
      }
      identity.Close();
    });
  }
  steps.Run(170, [&] { PopulateGrid(); });
}

void ctlEditTWK::cmdDelete_Click() {
  Steps steps(sControl, QStringLiteral("cmdDelete_Click"));
  QString sSeqn;
  steps.Run(100, [&] { sSeqn = lblSeqn_->text(); });
  if (sSeqn.isEmpty()) return;
  MessageAnswer answer = MessageAnswer::No;
  steps.Run(110, [&] {
    answer = Platform::Services().ShowMessage(DefinitionStatements::DeleteQuestion(sSeqn),
                                              QStringLiteral("Delete?"), MessageButtons::YesNo,
                                              MessageIcon::Question);
  });
  if (answer != MessageAnswer::Yes) return;
  bool bDeleted = false;
  steps.Run(120, [&] {
    bDeleted = modSubroutines::Exec_SQL_Succeeded(DefinitionStatements::DeleteStatement(sSeqn));
  });
  steps.Run(130, [&] { PopulateGrid(); });
  // A delete that failed leaves the definition, and the form, as they were.
  if (bDeleted) steps.Run(140, [&] { ClearForm(QString()); });
}

void ctlEditTWK::cmdCancel_Click() {
  PopulateData();
}

}  // namespace twk
