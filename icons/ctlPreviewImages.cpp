// SPDX-License-Identifier: MIT
#include "ctlPreviewImages.h"

#include <QFrame>
#include <QLabel>
#include <QSlider>

#include "IconLibrary.h"
#include "Steps.h"
#include "Twips.h"
#include "frmResources.h"

namespace twk {

namespace {

const QString sControlName = QStringLiteral("ctlPreviewImages");

// Designed layout, in twips.
constexpr int lControlWidth = 8385;
constexpr int lControlHeight = 1890;
constexpr int lSlotPitch = 540;
constexpr int lPictureLeft = 60;
constexpr int lPictureTop = 180;
constexpr int lLabelLeft = 120;
constexpr int lLabelTop = 780;
constexpr int lLabelWidth = 435;
constexpr int lLabelHeight = 255;

}  // namespace

ctlPreviewImages::ctlPreviewImages(QWidget* pParent)
    : ctlPreviewImages(frmResources::ilstIcons(), pParent) {}

ctlPreviewImages::ctlPreviewImages(const IconLibrary& icons, QWidget* pParent)
    : ControlFrame(sControlName, TabRule::VisibleEnabledInputs, pParent), icons_(icons) {
  CreateWidgets();
  PlaceWidgets();
  UserControl_Initialize();
}

void ctlPreviewImages::CreateWidgets() {
  sldPictureNum_ = new QSlider(Qt::Horizontal, this);
  sldPictureNum_->setObjectName(QStringLiteral("sldPictureNum"));
  sldPictureNum_->setTickPosition(QSlider::TicksBelow);
  sldPictureNum_->setPageStep(5);
  // With tracking off, valueChanged comes only when the value has settled:
  // at once for keys and clicks beside the thumb, at the release for a drag.
  // That is the change notification; the scroll notification during a drag
  // (sliderMoved) is deliberately not connected.
  sldPictureNum_->setTracking(false);
  connect(sldPictureNum_, &QSlider::valueChanged, this, [this] { sldPictureNum_Change(); });

  Frame1_ = new QFrame(this);
  Frame1_->setObjectName(QStringLiteral("Frame1"));
  Frame1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  for (int i = 0; i < kSlotCount; ++i) {
    auto* pPicture = new QLabel(Frame1_);
    pPicture->setObjectName(QStringLiteral("picThis%1").arg(i));
    // The picture is shown as stored: no scaling, drawn from the top left.
    pPicture->setScaledContents(false);
    pPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pPicture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picThis_[std::size_t(i)] = pPicture;

    auto* pNumber = new QLabel(Frame1_);
    pNumber->setObjectName(QStringLiteral("lblNum%1").arg(i));
    pNumber->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblNum_[std::size_t(i)] = pNumber;
  }
  RegisterTabIndexes();
}

void ctlPreviewImages::RegisterTabIndexes() {
  // Every widget has a tab index, but none is of a kind that Tab visits: a
  // Tab released on the focused slider must find the slider (no error) and
  // then no target, so the focus stays where it is.
  SetTabIndex(sldPictureNum_, QStringLiteral("Slider"), 0);
  SetTabIndex(Frame1_, QStringLiteral("Frame"), 1);
  for (int i = 0; i < kSlotCount; ++i) {
    SetTabIndex(picThis_[std::size_t(i)], QStringLiteral("PictureBox"), qint16(2 + 2 * i));
    SetTabIndex(lblNum_[std::size_t(i)], QStringLiteral("Label"), qint16(3 + 2 * i));
  }
}

void ctlPreviewImages::PlaceWidgets() {
  // The control keeps the designed layout whatever size the host gives it.
  const int iDpi = logicalDpiX();
  sldPictureNum_->setGeometry(Twips::ToPixels(120, 60, 8175, 510, iDpi));
  Frame1_->setGeometry(Twips::ToPixels(60, 660, 8235, 1155, iDpi));
  for (int i = 0; i < kSlotCount; ++i) {
    picThis_[std::size_t(i)]->setGeometry(
        Twips::ToPixels(lPictureLeft + lSlotPitch * i, lPictureTop, lSlotPitch, lSlotPitch, iDpi));
    lblNum_[std::size_t(i)]->setGeometry(
        Twips::ToPixels(lLabelLeft + lSlotPitch * i, lLabelTop, lLabelWidth, lLabelHeight, iDpi));
  }
  resize(sizeHint());
}

QSize ctlPreviewImages::sizeHint() const {
  return QSize(Twips::ToPixels(lControlWidth, logicalDpiX()),
               Twips::ToPixels(lControlHeight, logicalDpiY()));
}

void ctlPreviewImages::UserControl_Initialize() {
  // Key preview is switched on by the frame, which every control shares.
  Steps steps(sControlName, QStringLiteral("UserControl_Initialize"));
  // Moving the range drags the value along and would draw pages on the way;
  // the page is drawn once, explicitly, when the slider is set up.
  QSignalBlocker blocker(sldPictureNum_);
  steps.Run(100, [&] { sldPictureNum_->setMinimum(1); });
  steps.Run(110, [&] { sldPictureNum_->setMaximum((int(icons_.Count()) + 14) / 15); });
  steps.Run(120, [&] { sldPictureNum_->setValue(1); });
  blocker.unblock();
  steps.Run(130, [&] { sldPictureNum_Change(); });
}

void ctlPreviewImages::sldPictureNum_Change() {
  Steps steps(sControlName, QStringLiteral("sldPictureNum_Change"));
  int lFirst = 1;
  steps.Run(100, [&] { lFirst = (sldPictureNum_->value() - 1) * kSlotCount + 1; });
  steps.Run(110, [&] {
    for (int i = 0; i < kSlotCount; ++i) {
      const int lNumber = lFirst + i;
      QLabel* pPicture = picThis_[std::size_t(i)];
      QLabel* pNumber = lblNum_[std::size_t(i)];
      if (lNumber >= 1 && lNumber <= icons_.Count()) {
        pPicture->setPixmap(icons_.Picture(static_cast<qint16>(lNumber)));
        pNumber->setText(QString::number(lNumber));
      } else {
        pPicture->clear();
        pNumber->setText(QStringLiteral("-"));
      }
    }
  });
}

void ctlPreviewImages::XtenderInit() {
  Steps steps(sControlName, QStringLiteral("XtenderInit"));
  steps.Run(100, [&] { Shared_Initialize(); });
}

void ctlPreviewImages::Shared_Initialize() {
  // The preview uses neither the host's values nor the database connection,
  // so the library's shared start-up has nothing to do for it.
}

}  // namespace twk
