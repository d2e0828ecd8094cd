// SPDX-License-Identifier: MIT
#include "ctlTWK.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "ControlRegistry.h"
#include "DataPaths.h"
#include "DetailRegistration.h"
#include "FramedButton.h"
#include "ModuleState.h"
#include "PanelRules.h"
#include "PlatformServices.h"
#include "Steps.h"
#include "Twips.h"
#include "UpDownScroller.h"
#include "ctlAlertDetail.h"

namespace twk {

namespace {

const QString sControl = QStringLiteral("ctlTWK");
constexpr int iItemHeight = 615;
constexpr int iDesignWidth = 2220;
constexpr int iDesignHeight = 4560;

QFont PanelFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(8.25);
  return font;
}

QLabel* MakeLabel(QWidget* pParent) {
  auto* pLabel = new QLabel(pParent);
  pLabel->setFont(PanelFont());
  pLabel->setAutoFillBackground(true);
  pLabel->setBackgroundRole(QPalette::Base);
  pLabel->setForegroundRole(QPalette::Text);
  // The fixed text comes from the database: shown as written, never as markup.
  pLabel->setTextFormat(Qt::PlainText);
  return pLabel;
}

}  // namespace

/// Hands automated alerts to the hidden sixth item.
class ctlTWK::HiddenItemAutomation : public AutomationTarget {
 public:
  explicit HiddenItemAutomation(ctlAlertDetail* pItem) : pItem_(pItem) {}
  void SetAll(const AlertOutput& alert) override { pItem_->SetAll(alert); }
  void PerformAutomation() override { pItem_->PerformAutomation(); }

 private:
  ctlAlertDetail* pItem_;
};

QString ctlTWK::ProductWebPage() {
  // The page is installed with the programs (share/doc/tellwick/).
  return QUrl::fromLocalFile(DataPaths::Find(QStringLiteral("doc/tellwick/index.html"))).toString();
}

ctlTWK::ctlTWK(QWidget* pParent) : ControlFrame(sControl, TabRule::VisibleEnabledInputs, pParent) {
  setFont(PanelFont());
  setAutoFillBackground(true);
  CreateWidgets();
  PlaceWidgets();
  resize(Twips::ToPixels(iDesignWidth), Twips::ToPixels(iDesignHeight));
  evaluation_.SetAutomationTarget(automation_.get());
  evaluation_.SetSlotClearedHook([this](int iSlot) {
    if (iSlot >= 0 && iSlot <= 4) picAlertIcon_[std::size_t(iSlot)]->hide();
  });
}

ctlTWK::~ctlTWK() {
  UserControl_Terminate();
}

QSize ctlTWK::sizeHint() const {
  return {Twips::ToPixels(iDesignWidth), Twips::ToPixels(iDesignHeight)};
}

void ctlTWK::CreateWidgets() {
  RegisterDetailControls();
  for (int k = 0; k <= 5; ++k) {
    QWidget* pCreated =
        ControlRegistry::Instance().Create(QStringLiteral("TWKDetail.ctlAlertDetail"), this);
    auto* pItem = qobject_cast<ctlAlertDetail*>(pCreated);
    if (!pItem) {
      delete pCreated;
      pItem = new ctlAlertDetail(this);
    }
    detDetail_[std::size_t(k)] = pItem;
    SetTabIndex(pItem, QStringLiteral("UserControl"), qint16(k == 5 ? 14 : 4 + k));
  }
  detDetail_[5]->hide();
  automation_ = std::make_unique<HiddenItemAutomation>(detDetail_[5]);
  for (int k = 0; k <= 4; ++k) {
    QLabel* pIcon = MakeLabel(this);
    pIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pIcon->raise();
    picAlertIcon_[std::size_t(k)] = pIcon;
    SetTabIndex(pIcon, QStringLiteral("PictureBox"), qint16(9 + k));
  }
  udScrollAlerts_ = new UpDownScroller(this);
  udScrollAlerts_->setEnabled(false);
  connect(udScrollAlerts_, &UpDownScroller::UpClick, this, &ctlTWK::udScrollAlerts_UpClick);
  connect(udScrollAlerts_, &UpDownScroller::DownClick, this, &ctlTWK::udScrollAlerts_DownClick);
  cmdRefresh_ = new FramedButton(QStringLiteral("Refresh"), this);
  cmdRefresh_->setFont(PanelFont());
  cmdRefresh_->installEventFilter(this);
  lblMore_ = MakeLabel(this);
  lblMore_->setAccessibleDescription(QStringLiteral("Alerts on view"));
  lblFixedText_ = MakeLabel(this);
  lblFixedText_->setWordWrap(true);
  lblFixedText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblFixedText_->installEventFilter(this);
  SetTabIndex(udScrollAlerts_, QStringLiteral("UpDown"), 1);
  SetTabIndex(cmdRefresh_, QStringLiteral("CommandButton"), 0);
  SetTabIndex(lblMore_, QStringLiteral("Label"), 2);
  SetTabIndex(lblFixedText_, QStringLiteral("Label"), 3);
}

void ctlTWK::PlaceWidgets() {
  for (int k = 0; k <= 4; ++k) {
    detDetail_[std::size_t(k)]->setGeometry(
        Twips::ToPixels(0, iItemHeight * k, iDesignWidth, iItemHeight));
    picAlertIcon_[std::size_t(k)]->setGeometry(
        Twips::ToPixels(300, 60 + iItemHeight * k, 480, 480));
  }
  detDetail_[5]->setGeometry(Twips::ToPixels(0, 0, iDesignWidth, 3495));
  udScrollAlerts_->setGeometry(Twips::ToPixels(780, 3180, 300, 375));
  cmdRefresh_->setGeometry(Twips::ToPixels(0, 3180, 735, 375));
  lblMore_->setGeometry(Twips::ToPixels(1140, 3240, 795, 255));
  lblFixedText_->setGeometry(Twips::ToPixels(30, 3600, 2160, 915));
}

void ctlTWK::resizeEvent(QResizeEvent* pEvent) {
  ControlFrame::resizeEvent(pEvent);
  UserControl_Resize();
}

void ctlTWK::UserControl_Resize() {
  Steps steps(sControl, QStringLiteral("UserControl_Resize"), OnError::SkipSilently);
  steps.Run(100, [&] {
    constexpr int iTwipsPerPixel = 15;
    const PanelLayout layout =
        ComputePanelLayout(width() * iTwipsPerPixel, height() * iTwipsPerPixel);
    lblFixedText_->resize(Twips::ToPixels(layout.iFixedTextWidth),
                          Twips::ToPixels(layout.iFixedTextHeight));
    for (ctlAlertDetail* pItem : detDetail_) {
      pItem->resize(Twips::ToPixels(layout.iItemWidth), pItem->height());
    }
  });
}

bool ctlTWK::eventFilter(QObject* pWatched, QEvent* pEvent) {
  // The second press of a quick double press arrives as a double click; it
  // is a press all the same.
  if (pWatched == cmdRefresh_ && (pEvent->type() == QEvent::MouseButtonPress ||
                                  pEvent->type() == QEvent::MouseButtonDblClick)) {
    cmdRefresh_MouseDown(static_cast<QMouseEvent*>(pEvent)->button());
    return true;
  }
  if (pWatched == cmdRefresh_ && pEvent->type() == QEvent::KeyPress &&
      RefreshArrowKey(static_cast<QKeyEvent*>(pEvent)->key())) {
    return true;
  }
  if (pWatched == lblFixedText_ && pEvent->type() == QEvent::MouseButtonDblClick) {
    lblFixedText_DblClick();
    return true;
  }
  return ControlFrame::eventFilter(pWatched, pEvent);
}

bool ctlTWK::RefreshArrowKey(int iKey) {
  // A button hands arrow keys on to the next widget of the window, which
  // leaves the panel for the records' search field; here they stay, and up
  // and down move the view as the scroller's arrows do.
  switch (iKey) {
    case Qt::Key_Up:
      if (udScrollAlerts_->isEnabled()) udScrollAlerts_UpClick();
      return true;
    case Qt::Key_Down:
      if (udScrollAlerts_->isEnabled()) udScrollAlerts_DownClick();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
      return true;
    default:
      return false;
  }
}

void ctlTWK::cmdRefresh_MouseDown(Qt::MouseButton button) {
  Steps steps(sControl, QStringLiteral("cmdRefresh_MouseDown"));
  steps.Run(100, [&] {
    if (button == Qt::RightButton) {
      Platform::Services().OpenWebAddress(ProductWebPage());
    } else {
      RefreshAlerts(true);
    }
  });
}

void ctlTWK::lblFixedText_DblClick() {
  Steps steps(sControl, QStringLiteral("lblFixedText_DblClick"), OnError::SkipSilently);
  steps.Run(100, [&] {
    Platform::Services().ShowMessage(lblFixedText_->text(), QStringLiteral("Overview text"),
                                     MessageButtons::Ok, MessageIcon::Information);
  });
}

void ctlTWK::SetVisualMode() {
  Steps steps(sControl, QStringLiteral("SetVisualMode"));
  QString sVersion;
  VisualMode mode;
  steps.Run(100, [&] { sVersion = HostValue(QStringLiteral("lvSession.MasterVersion")); });
  steps.Run(110, [&] {
    mode = ChooseVisualMode(sVersion);
    if (mode.bWarnUnknown) {
      Platform::Services().ShowMessage(
          QStringLiteral("This version of TWK has not been\r\ntested on iMIS versions prior to "
                         "4.41.\r\nThe application may not perform correctly."),
          QStringLiteral("Unknown iMIS version"), MessageButtons::Ok, MessageIcon::Information);
    }
    if (mode.bAllowManyPanels) ModuleState::ForThisThread().bPanelActive = false;
    sVisualMode_ = mode.sMode;
  });
  steps.Run(120, [&] { ApplyVisualMode(mode.sMode); });
}

void ctlTWK::ApplyVisualMode(const QString& sMode) {
  const bool bThreeD = sMode == QStringLiteral("4");
  const QColor colour = bThreeD ? palette().color(QPalette::Button) : QColor(255, 255, 248);
  QPalette panelPalette = palette();
  panelPalette.setColor(QPalette::Window, colour);
  setPalette(panelPalette);
  QPalette buttonPalette = cmdRefresh_->palette();
  buttonPalette.setColor(QPalette::Button, colour);
  cmdRefresh_->setPalette(buttonPalette);
  const int iFrame = bThreeD ? int(QFrame::Panel | QFrame::Sunken) : int(QFrame::NoFrame);
  lblMore_->setFrameStyle(iFrame);
  lblFixedText_->setFrameStyle(iFrame);
  // Every button of the panel reads as a button in either look.
  const FramedButton::Look look = bThreeD ? FramedButton::Look::ThreeD : FramedButton::Look::Flat;
  cmdRefresh_->SetLook(look);
  for (ctlAlertDetail* pItem : detDetail_) {
    for (QPushButton* pButton : {pItem->cmdAction(), pItem->cmdClip()}) {
      if (auto* pFramed = qobject_cast<FramedButton*>(pButton)) pFramed->SetLook(look);
    }
  }
}

void ctlTWK::UserControl_Terminate() {
  if (bTerminated_) return;
  bTerminated_ = true;
  Steps steps(sControl, QStringLiteral("UserControl_Terminate"), OnError::SkipSilently);
  steps.Run(100, [&] {
    ModuleState& state = ModuleState::ForThisThread();
    if (state.bPanelDuplicate) {
      state.bPanelDuplicate = false;
    } else {
      state.bPanelActive = false;
      state.bPanelDuplicate = false;
    }
  });
  steps.Run(110, [&] { RaiseCloseSelf(); });
}

void RegisterPanelControls() {
  ControlRegistry::Instance().Register(QStringLiteral("TWK.ctlTWK"),
                                       [](QWidget* pParent) { return new ctlTWK(pParent); });
}

}  // namespace twk

namespace {

// The library registers its controls when it is loaded, so a host only
// needs the class name.
const bool bPanelRegistered = [] {
  twk::RegisterPanelControls();
  return true;
}();

}  // namespace
