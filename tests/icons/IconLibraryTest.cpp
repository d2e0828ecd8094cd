// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "IconLibrary.h"
#include "frmResources.h"

namespace twk {
namespace {

QImage Solid(const QColor& colour, int iSize = 32) {
  QImage image(iSize, iSize, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

TEST(ShippedIcons, HoldSixHundredSeventyNineNonEmptyImagesOf32Pixels) {
  const IconLibrary& icons = frmResources::ilstIcons();
  ASSERT_EQ(icons.Count(), 679);
  for (qint16 iNumber = 1; iNumber <= icons.Count(); ++iNumber) {
    const QImage image = icons.Image(iNumber);
    ASSERT_FALSE(image.isNull()) << "icon " << iNumber;
    EXPECT_EQ(image.size(), QSize(32, 32)) << "icon " << iNumber;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int iOpaquePixels = 0;
    for (int y = 0; y < argb.height(); ++y) {
      for (int x = 0; x < argb.width(); ++x) iOpaquePixels += qAlpha(argb.pixel(x, y)) > 128;
    }
    // A blank render (missing shape, lost colour) would leave nothing drawn.
    EXPECT_GT(iOpaquePixels, 20) << "icon " << iNumber;
  }
}

TEST(ShippedIcons, KeepTheirTransparentBackground) {
  const QImage warning = frmResources::ilstIcons().Image(1).convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(warning.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(warning.pixel(31, 0)), 0);
}

TEST(ShippedIcons, NeighbouringNumbersNeverShareAPicture) {
  // Catches a numbering that repeats or skips a file of the set.
  const IconLibrary& icons = frmResources::ilstIcons();
  QImage previous = icons.Image(1).convertToFormat(QImage::Format_ARGB32);
  for (qint16 iNumber = 2; iNumber <= icons.Count(); ++iNumber) {
    const QImage current = icons.Image(iNumber).convertToFormat(QImage::Format_ARGB32);
    EXPECT_NE(current, previous) << "icons " << iNumber - 1 << " and " << iNumber;
    previous = current;
  }
}

TEST(ShippedIcons, ScaledScreensGetTheLargerRenderingOfTheSameIcon) {
  const IconLibrary& icons = frmResources::ilstIcons();
  // Shrunk to 32 pixels, each larger rendering must match its own number
  // closely: a rendering filed under a neighbour's number differs a lot.
  for (qint16 iNumber = 1; iNumber <= icons.Count(); ++iNumber) {
    const QImage large =
        icons.Picture(iNumber, 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(large.size(), QSize(64, 64)) << "icon " << iNumber;
    const QImage shrunk = large.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QImage small = icons.Image(iNumber).convertToFormat(QImage::Format_ARGB32);
    long lDifference = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x)
        lDifference += std::abs(qAlpha(shrunk.pixel(x, y)) - qAlpha(small.pixel(x, y)));
    }
    EXPECT_LT(lDifference / (32 * 32), 24) << "icon " << iNumber;
  }
  struct Case {
    qreal dRatio;
    int iPixels;
  };
  for (const Case& c :
       {Case{1.0, 32}, Case{1.25, 40}, Case{1.5, 48}, Case{2.0, 64}, Case{3.0, 96}}) {
    const QPixmap picture = icons.Picture(3, c.dRatio);
    EXPECT_EQ(picture.size(), QSize(c.iPixels, c.iPixels)) << c.dRatio;
    // A picture box lays it out at the set's logical size on every screen.
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(32, 32)) << c.dRatio;
  }
  // Not the 32-pixel image blown up: that has 2 x 2 blocks of one colour.
  EXPECT_NE(icons.Picture(1, 2.0).toImage().convertToFormat(QImage::Format_ARGB32),
            icons.Image(1).scaled(64, 64).convertToFormat(QImage::Format_ARGB32));
}

TEST(ShippedIcons, FlagsFifteenToTwentyRunRedToPurple) {
  const IconLibrary& icons = frmResources::ilstIcons();
  // Hue of the most saturated opaque pixel of each flag.
  auto HueOf = [&](qint16 iNumber) {
    const QImage image = icons.Image(iNumber).convertToFormat(QImage::Format_ARGB32);
    int iBestHue = -1;
    int iBestSaturation = -1;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QColor colour = QColor::fromRgba(image.pixel(x, y));
        if (colour.alpha() == 255 && colour.hsvSaturation() > iBestSaturation) {
          iBestSaturation = colour.hsvSaturation();
          iBestHue = colour.hsvHue();
        }
      }
    }
    return iBestHue;
  };
  EXPECT_TRUE(HueOf(15) < 10 || HueOf(15) > 345) << HueOf(15);  // red
  EXPECT_GT(HueOf(16), 15);                                     // orange
  EXPECT_LT(HueOf(16), 40);
  EXPECT_GT(HueOf(17), 38);  // yellow
  EXPECT_LT(HueOf(17), 60);
  EXPECT_GT(HueOf(18), 120);  // green
  EXPECT_LT(HueOf(18), 170);
  EXPECT_GT(HueOf(19), 200);  // blue
  EXPECT_LT(HueOf(19), 230);
  EXPECT_GT(HueOf(20), 250);  // purple
  EXPECT_LT(HueOf(20), 290);
}

TEST(IconNumbers, OnlyOneToTheCountSelectAPicture) {
  const IconLibrary& icons = frmResources::ilstIcons();
  EXPECT_FALSE(icons.Picture(1).isNull());
  EXPECT_FALSE(icons.Picture(49).isNull());
  EXPECT_FALSE(icons.Picture(679).isNull());
  for (qint16 iNumber : {qint16(0), qint16(-1), qint16(680), qint16(32767), qint16(-32768)}) {
    EXPECT_TRUE(icons.Picture(iNumber).isNull()) << iNumber;
    EXPECT_TRUE(icons.Image(iNumber).isNull()) << iNumber;
  }
}

TEST(IconNumbers, PictureIsTheStoredImageUnscaled) {
  const IconLibrary& icons = frmResources::ilstIcons();
  const QPixmap picture = icons.Picture(679);
  EXPECT_EQ(picture.size(), QSize(32, 32));
  EXPECT_EQ(picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
            icons.Image(679).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(IconResources, FormIsCreatedOnceAndShared) {
  EXPECT_EQ(&frmResources::ilstIcons(), &frmResources::ilstIcons());
}

TEST(IconLibraryOfGivenImages, NumbersThemFromOneInOrder) {
  const IconLibrary icons({Solid(Qt::red), Solid(Qt::green), Solid(Qt::blue, 48)});
  ASSERT_EQ(icons.Count(), 3);
  EXPECT_EQ(icons.Image(1).pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(icons.Image(2).pixelColor(5, 5), QColor(Qt::green));
  // Shown as stored: a larger image keeps its own size.
  EXPECT_EQ(icons.Picture(3).size(), QSize(48, 48));
  EXPECT_TRUE(icons.Image(4).isNull());
  EXPECT_TRUE(icons.Image(0).isNull());
}

TEST(IconLibraryOfGivenImages, EmptySetSelectsNothing) {
  const IconLibrary icons(std::vector<QImage>{});
  EXPECT_EQ(icons.Count(), 0);
  EXPECT_TRUE(icons.Picture(1).isNull());
}

}  // namespace
}  // namespace twk
