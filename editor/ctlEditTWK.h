// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "ControlFrame.h"
#include "DefinitionStatements.h"
#include "XtenderControl.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace twk {

class DefinitionGrid;
class LimitedTextBox;
class Recordset;
class Steps;

/// The alert definition editor: for users holding the access keyword, lists
/// every definition and lets them create, change, enable, disable and delete
/// them in a form. Created by the class name "TWK.ctlEditTWK".
class ctlEditTWK : public ControlFrame, public NoticeListener {
  Q_OBJECT

 public:
  static constexpr int kNameLength = 20;
  static constexpr int kDescriptionLength = 255;
  static constexpr int kCriteriaLength = 3072;

  explicit ctlEditTWK(QWidget* pParent = nullptr);
  ~ctlEditTWK() override;

  void XtenderInit() override;
  /// Every notice is accepted and ignored.
  void NotifyListener(const QString& sNoticeName, const QString& sArg1, const QString& sArg2,
                      const QString& sArg3, const QString& sArg4) override;

  void SharedInitialize();
  /// Rebuilds the list from the table; leaves column 4 of the last row current.
  void PopulateGrid();
  /// Loads the definition of the list's current row, or clears the form.
  void PopulateData();
  void grdTWKResults_Click();
  void cmdNew_Click();
  void cmdSave_Click();
  void cmdDelete_Click();
  void cmdCancel_Click();

  /// The form as the commands read it.
  DefinitionForm Form() const;

  DefinitionGrid* grdTWKResults() const noexcept { return grdTWKResults_; }
  QLabel* lblSeqn() const noexcept { return lblSeqn_; }
  QLineEdit* txtName() const noexcept { return txtName_; }
  LimitedTextBox* txtDescription() const noexcept { return txtDescription_; }
  LimitedTextBox* txtCriteria() const noexcept { return txtCriteria_; }
  /// Index 1 "Enable", index 2 "Disable".
  QRadioButton* OptEnabled(int iIndex) const;
  QComboBox* ComType() const noexcept { return ComType_; }
  QPushButton* cmdSave() const noexcept { return cmdSave_; }
  QPushButton* cmdNew() const noexcept { return cmdNew_; }
  QPushButton* cmdDelete() const noexcept { return cmdDelete_; }
  QPushButton* cmdCancel() const noexcept { return cmdCancel_; }
  /// The six caption labels, "Seqn:" to "Criteria:".
  const std::array<QLabel*, 6>& CaptionLabels() const noexcept { return captions_; }

  QSize sizeHint() const override;

 private:
  void UserControl_Initialize();
  void CreateForm();
  void CreateButtons();
  void CreateHints();
  void SetName(const QString& sName);
  void ClearForm(const QString& sType);
  bool HasEditorAccess();
  void OfferTypes();
  void FillGridRow(Recordset& rows, int iNumber, Steps& steps);
  void LoadDefinition(Recordset& rows, Steps& steps);
  void SaveNew(const DefinitionForm& form, Steps& steps);

  DefinitionGrid* grdTWKResults_ = nullptr;
  QLabel* lblSeqn_ = nullptr;
  QLineEdit* txtName_ = nullptr;
  LimitedTextBox* txtDescription_ = nullptr;
  LimitedTextBox* txtCriteria_ = nullptr;
  QRadioButton* optEnable_ = nullptr;
  QRadioButton* optDisable_ = nullptr;
  QComboBox* ComType_ = nullptr;
  QPushButton* cmdSave_ = nullptr;
  QPushButton* cmdNew_ = nullptr;
  QPushButton* cmdDelete_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  std::array<QLabel*, 6> captions_{};
};

/// Registers "TWK.ctlEditTWK" with the control registry.
void RegisterEditorControls();

}  // namespace twk
