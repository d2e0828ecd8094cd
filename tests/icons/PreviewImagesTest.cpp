// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <cstdlib>
#include <memory>

#include "ControlRegistry.h"
#include "IconLibrary.h"
#include "IconRegistration.h"
#include "RecordingPlatform.h"
#include "ctlPreviewImages.h"
#include "frmResources.h"

namespace twk {
namespace {

// A pixmap keeps premultiplied colour, so a picture read back from a label
// can differ from the stored image by rounding in semi-transparent pixels.
bool SamePicture(const QImage& shown, const QImage& stored) {
  if (shown.size() != stored.size()) return false;
  const QImage a = shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage b = stored.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      for (int iShift : {0, 8, 16, 24}) {
        if (std::abs(int((p >> iShift) & 0xff) - int((q >> iShift) & 0xff)) > 2) return false;
      }
    }
  }
  return true;
}

// A set of n distinct images: image k is filled with grey level k.
IconLibrary NumberedSet(int iCount) {
  std::vector<QImage> images;
  for (int k = 1; k <= iCount; ++k) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(k, k, k));
    images.push_back(image);
  }
  return IconLibrary(std::move(images));
}

class PreviewImages : public ::testing::Test {
 protected:
  void ExpectSlotShows(int iSlot, qint16 iNumber) const {
    const QPixmap picture = preview.picThis(iSlot)->pixmap();
    ASSERT_FALSE(picture.isNull()) << "slot " << iSlot;
    EXPECT_TRUE(SamePicture(picture.toImage(), frmResources::ilstIcons().Image(iNumber)))
        << "slot " << iSlot << " should show icon " << iNumber;
    EXPECT_EQ(preview.lblNum(iSlot)->text(), QString::number(iNumber)) << "slot " << iSlot;
  }
  void ExpectSlotEmpty(int iSlot) const {
    EXPECT_TRUE(preview.picThis(iSlot)->pixmap().isNull()) << "slot " << iSlot;
    EXPECT_EQ(preview.lblNum(iSlot)->text(), QStringLiteral("-")) << "slot " << iSlot;
  }

  testing::RecordingPlatform platform;
  ctlPreviewImages preview;
};

TEST_F(PreviewImages, StartsOnPageOneOfFortySix) {
  EXPECT_EQ(preview.sldPictureNum()->minimum(), 1);
  EXPECT_EQ(preview.sldPictureNum()->maximum(), 46);
  EXPECT_EQ(preview.sldPictureNum()->value(), 1);
  for (int i = 0; i < 15; ++i) ExpectSlotShows(i, qint16(i + 1));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PreviewImages, LastPageShowsTheFourLastImagesThenDashes) {
  preview.sldPictureNum()->setValue(46);
  for (int i = 0; i < 4; ++i) ExpectSlotShows(i, qint16(676 + i));
  for (int i = 4; i < 15; ++i) ExpectSlotEmpty(i);
}

TEST_F(PreviewImages, BackFromTheLastPageFillsEverySlotAgain) {
  preview.sldPictureNum()->setValue(46);
  preview.sldPictureNum()->setValue(45);
  for (int i = 0; i < 15; ++i) ExpectSlotShows(i, qint16(661 + i));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PreviewImages, DraggingRedrawsOnlyWhenTheThumbIsReleased) {
  QSlider* pSlider = preview.sldPictureNum();
  pSlider->setSliderDown(true);
  pSlider->setSliderPosition(3);
  EXPECT_EQ(preview.lblNum(0)->text(), QStringLiteral("1"));
  pSlider->setSliderPosition(5);
  EXPECT_EQ(preview.lblNum(0)->text(), QStringLiteral("1"));
  pSlider->setSliderDown(false);
  EXPECT_EQ(pSlider->value(), 5);
  ExpectSlotShows(0, 61);
}

TEST_F(PreviewImages, ArrowKeyStepsShowTheNextPageAtOnce) {
  preview.sldPictureNum()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  ExpectSlotShows(0, 16);
  ExpectSlotShows(14, 30);
  preview.sldPictureNum()->triggerAction(QAbstractSlider::SliderToMaximum);
  ExpectSlotShows(3, 679);
  ExpectSlotEmpty(4);
}

TEST_F(PreviewImages, TestAnswersOneBeforeAndAfterXtenderInit) {
  EXPECT_EQ(preview.Test(), 1);
  preview.sldPictureNum()->setValue(7);
  preview.XtenderInit();
  EXPECT_EQ(preview.Test(), 1);
  // Initialisation by the host changes nothing that can be seen.
  EXPECT_EQ(preview.sldPictureNum()->value(), 7);
  ExpectSlotShows(0, 91);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PreviewImages, TabMovesNothingAndReportsNothing) {
  preview.show();
  QApplication::setActiveWindow(&preview);
  preview.sldPictureNum()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), preview.sldPictureNum());
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(preview.sldPictureNum(), &press);
  QApplication::sendEvent(preview.sldPictureNum(), &release);
  EXPECT_EQ(QApplication::focusWidget(), preview.sldPictureNum());
  EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().sText.toStdString();
  EXPECT_EQ(preview.sldPictureNum()->value(), 1);
}

TEST_F(PreviewImages, WidgetsArePlacedFromTwips) {
  EXPECT_EQ(preview.size(), QSize(559, 126));
  EXPECT_EQ(preview.sldPictureNum()->geometry(), QRect(8, 4, 545, 34));
  EXPECT_EQ(preview.Frame1()->geometry(), QRect(4, 44, 549, 77));
  EXPECT_EQ(preview.picThis(0)->parentWidget(), preview.Frame1());
  EXPECT_EQ(preview.picThis(0)->geometry(), QRect(4, 12, 36, 36));
  EXPECT_EQ(preview.picThis(14)->geometry(), QRect(508, 12, 36, 36));
  EXPECT_EQ(preview.lblNum(0)->geometry(), QRect(8, 52, 29, 17));
  EXPECT_EQ(preview.lblNum(14)->geometry(), QRect(512, 52, 29, 17));
  for (int i = 0; i + 1 < 15; ++i) {
    // One row of boxes touching edge to edge, each label under its box.
    EXPECT_EQ(preview.picThis(i)->geometry().right() + 1,
              preview.picThis(i + 1)->geometry().left());
    EXPECT_GT(preview.lblNum(i)->geometry().top(), preview.picThis(i)->geometry().bottom());
  }
}

struct PageCountCase {
  int iImages;
  int iPages;
};

class PreviewPageCount : public ::testing::TestWithParam<PageCountCase> {};

TEST_P(PreviewPageCount, SliderMaximumIsTheNumberOfPages) {
  testing::RecordingPlatform platform;
  const IconLibrary icons = NumberedSet(GetParam().iImages);
  ctlPreviewImages preview(icons);
  EXPECT_EQ(preview.sldPictureNum()->maximum(), GetParam().iPages);
  EXPECT_EQ(preview.sldPictureNum()->value(), 1);
}

INSTANTIATE_TEST_SUITE_P(Sets, PreviewPageCount,
                         ::testing::Values(PageCountCase{15, 1}, PageCountCase{16, 2},
                                           PageCountCase{30, 2}, PageCountCase{31, 3},
                                           PageCountCase{1, 1}));

TEST(PreviewOfSixteenImages, SecondPageShowsTheSixteenthAlone) {
  testing::RecordingPlatform platform;
  const IconLibrary icons = NumberedSet(16);
  ctlPreviewImages preview(icons);
  preview.sldPictureNum()->setValue(2);
  EXPECT_EQ(preview.lblNum(0)->text(), QStringLiteral("16"));
  EXPECT_EQ(preview.picThis(0)->pixmap().toImage().pixelColor(3, 3), QColor(16, 16, 16));
  for (int i = 1; i < 15; ++i) {
    EXPECT_TRUE(preview.picThis(i)->pixmap().isNull()) << i;
    EXPECT_EQ(preview.lblNum(i)->text(), QStringLiteral("-")) << i;
  }
}

TEST(PreviewOfNoImages, ShowsOnlyDashes) {
  testing::RecordingPlatform platform;
  const IconLibrary icons(std::vector<QImage>{});
  ctlPreviewImages preview(icons);
  for (int i = 0; i < 15; ++i) {
    EXPECT_TRUE(preview.picThis(i)->pixmap().isNull()) << i;
    EXPECT_EQ(preview.lblNum(i)->text(), QStringLiteral("-")) << i;
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST(PreviewRegistry, ClassNameIsKnownOnceTheLibraryIsLoaded) {
  testing::RecordingPlatform platform;
  EXPECT_TRUE(ControlRegistry::Instance().IsRegistered(QStringLiteral("TWK.ctlPreviewImages")));
  RegisterIconControls();
  std::unique_ptr<QWidget> pWidget(
      ControlRegistry::Instance().Create(QStringLiteral("TWK.ctlPreviewImages")));
  ASSERT_NE(pWidget, nullptr);
  auto* pPreview = qobject_cast<ctlPreviewImages*>(pWidget.get());
  ASSERT_NE(pPreview, nullptr);
  EXPECT_EQ(pPreview->sldPictureNum()->maximum(), 46);
  EXPECT_EQ(pPreview->Test(), 1);
}

}  // namespace
}  // namespace twk
