// SPDX-License-Identifier: MIT
#include "ctlEditTWK.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ControlRegistry.h"
#include "DefinitionGrid.h"
#include "LimitedTextBox.h"
#include "Steps.h"
#include "Twips.h"

namespace twk {

namespace {

const QString sControl = QStringLiteral("ctlEditTWK");
constexpr int iDesignWidth = 10470;
constexpr int iDesignHeight = 5145;

QFont EditorFont(bool bBold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8.25);
  font.setBold(bBold);
  return font;
}

void Place(QWidget* pWidget, int lLeft, int lTop, int lWidth, int lHeight) {
  pWidget->setGeometry(Twips::ToPixels(lLeft, lTop, lWidth, lHeight));
}

QLabel* MakeCaption(QWidget* pParent, const QString& sCaption) {
  auto* pLabel = new QLabel(sCaption, pParent);
  pLabel->setFont(EditorFont(true));
  pLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
  pLabel->setForegroundRole(QPalette::WindowText);
  pLabel->setBackgroundRole(QPalette::Window);
  return pLabel;
}

QPushButton* MakeButton(QWidget* pParent, const QString& sCaption) {
  auto* pButton = new QPushButton(sCaption, pParent);
  pButton->setFont(EditorFont(false));
  pButton->setAutoDefault(false);
  return pButton;
}

}  // namespace

ctlEditTWK::ctlEditTWK(QWidget* pParent)
    : ControlFrame(sControl, TabRule::EnabledTextBoxes, pParent) {
  setFont(EditorFont(false));
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  CreateForm();
  CreateButtons();
  CreateHints();
  resize(sizeHint());
  UserControl_Initialize();
}

ctlEditTWK::~ctlEditTWK() = default;

QSize ctlEditTWK::sizeHint() const {
  return {Twips::ToPixels(iDesignWidth), Twips::ToPixels(iDesignHeight)};
}

void ctlEditTWK::UserControl_Initialize() {
  // Key preview is the frame's: it sees every key before the widgets do.
  Steps steps(sControl, QStringLiteral("UserControl_Initialize"));
  steps.Run(100, [&] { setFocusPolicy(Qt::NoFocus); });
}

void ctlEditTWK::CreateForm() {
  grdTWKResults_ = new DefinitionGrid(this);
  grdTWKResults_->setFont(EditorFont(false));
  Place(grdTWKResults_, 60, 60, 6195, 4455);
  SetTabIndex(grdTWKResults_, QStringLiteral("MSFlexGrid"), 0);
  connect(grdTWKResults_, &DefinitionGrid::Click, this, &ctlEditTWK::grdTWKResults_Click);

  const struct {
    const char* pCaption;
    int lLeft, lTop, lWidth, lHeight;
  } aCaptions[6] = {{"Seqn:", 6720, 120, 795, 255},         {"Alert Name:", 6360, 540, 1155, 255},
                    {"Description:", 6420, 960, 1095, 255}, {"Enabled:", 6480, 1800, 1035, 255},
                    {"Type:", 6480, 2160, 1035, 255},       {"Criteria:", 6420, 2700, 1095, 195}};
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    captions_[i] = MakeCaption(this, QString::fromLatin1(aCaptions[i].pCaption));
    Place(captions_[i], aCaptions[i].lLeft, aCaptions[i].lTop, aCaptions[i].lWidth,
          aCaptions[i].lHeight);
    // Where the designed font is missing a wider one stands in: the caption
    // grows to the left so that it stays whole and still ends at its place.
    QRect area = captions_[i]->geometry();
    const int iNeeded = captions_[i]->sizeHint().width();
    if (iNeeded > area.width()) area.setLeft(area.right() + 1 - iNeeded);
    captions_[i]->setGeometry(area);
  }

  lblSeqn_ = new QLabel(this);
  lblSeqn_->setForegroundRole(QPalette::WindowText);
  Place(lblSeqn_, 7620, 120, 495, 255);

  txtName_ = new QLineEdit(this);
  txtName_->setMaxLength(kNameLength);
  Place(txtName_, 7620, 540, 2655, 315);
  SetTabIndex(txtName_, QStringLiteral("TextBox"), 1);

  txtDescription_ = new LimitedTextBox(kDescriptionLength, this);
  Place(txtDescription_, 7620, 960, 2655, 675);
  SetTabIndex(txtDescription_, QStringLiteral("TextBox"), 2);

  // One parent makes the two buttons one exclusive group.
  optEnable_ = new QRadioButton(QStringLiteral("Enable"), this);
  optDisable_ = new QRadioButton(QStringLiteral("Disable"), this);
  optEnable_->setChecked(true);
  Place(optEnable_, 7620, 1800, 855, 195);
  Place(optDisable_, 8580, 1800, 915, 195);
  SetTabIndex(optEnable_, QStringLiteral("OptionButton"), 3);
  SetTabIndex(optDisable_, QStringLiteral("OptionButton"), 4);

  ComType_ = new QComboBox(this);
  ComType_->setEditable(true);
  ComType_->setInsertPolicy(QComboBox::NoInsert);
  // A typed type is stored as typed: completion would turn a typed "S"
  // into "SQL", or "sql" into "SQL" when Enter is pressed.
  ComType_->setCompleter(nullptr);
  Place(ComType_, 7620, 2160, 1935, 315);
  SetTabIndex(ComType_, QStringLiteral("ComboBox"), 5);

  txtCriteria_ = new LimitedTextBox(kCriteriaLength, this);
  Place(txtCriteria_, 7620, 2640, 2655, 1815);
  SetTabIndex(txtCriteria_, QStringLiteral("TextBox"), 6);
}

void ctlEditTWK::CreateButtons() {
  cmdSave_ = MakeButton(this, QStringLiteral("Save"));
  cmdNew_ = MakeButton(this, QStringLiteral("New"));
  cmdDelete_ = MakeButton(this, QStringLiteral("Delete"));
  cmdCancel_ = MakeButton(this, QStringLiteral("Cancel"));
  Place(cmdSave_, 6840, 4620, 795, 375);
  Place(cmdNew_, 7740, 4620, 795, 375);
  Place(cmdDelete_, 8640, 4620, 795, 375);
  Place(cmdCancel_, 9540, 4620, 795, 375);
  SetTabIndex(cmdSave_, QStringLiteral("CommandButton"), 7);
  SetTabIndex(cmdNew_, QStringLiteral("CommandButton"), 8);
  SetTabIndex(cmdDelete_, QStringLiteral("CommandButton"), 9);
  SetTabIndex(cmdCancel_, QStringLiteral("CommandButton"), 10);
  connect(cmdSave_, &QPushButton::clicked, this, &ctlEditTWK::cmdSave_Click);
  connect(cmdNew_, &QPushButton::clicked, this, &ctlEditTWK::cmdNew_Click);
  connect(cmdDelete_, &QPushButton::clicked, this, &ctlEditTWK::cmdDelete_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &ctlEditTWK::cmdCancel_Click);
}

void ctlEditTWK::CreateHints() {
  auto* pId = new QLabel(QStringLiteral("{ID} will be replaced with the current iMIS ID."), this);
  auto* pUser = new QLabel(
      QStringLiteral("{USER} will be replaced with the login of the current iMIS user"), this);
  for (QLabel* pHint : {pId, pUser}) pHint->setForegroundRole(QPalette::WindowText);
  Place(pId, 60, 4620, 5175, 195);
  Place(pUser, 60, 4860, 5175, 195);
}

QRadioButton* ctlEditTWK::OptEnabled(int iIndex) const {
  if (iIndex == 1) return optEnable_;
  if (iIndex == 2) return optDisable_;
  return nullptr;
}

DefinitionForm ctlEditTWK::Form() const {
  DefinitionForm form;
  form.sSeqn = lblSeqn_->text();
  form.sName = txtName_->text();
  form.sDescription = txtDescription_->Text();
  form.sCriteria = txtCriteria_->Text();
  form.sType = ComType_->currentText();
  form.bEnabled = optEnable_->isChecked();
  return form;
}

void ctlEditTWK::SetName(const QString& sName) {
  // A stored name longer than the box's limit is shown whole, not cut.
  txtName_->setMaxLength(qMax(int(kNameLength), int(sName.size())));
  txtName_->setText(sName);
}

void RegisterEditorControls() {
  ControlRegistry::Instance().Register(QStringLiteral("TWK.ctlEditTWK"),
                                       [](QWidget* pParent) { return new ctlEditTWK(pParent); });
}

}  // namespace twk

namespace {

// The library registers its controls when it is loaded, so a host only
// needs the class name.
const bool bEditorRegistered = [] {
  twk::RegisterEditorControls();
  return true;
}();

}  // namespace
