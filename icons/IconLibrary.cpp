// SPDX-License-Identifier: MIT
#include "IconLibrary.h"

#include <QGuiApplication>
#include <QString>
#include <limits>

// Q_INIT_RESOURCE must be expanded outside any namespace. The object
// library's resources are registered by a static initialiser as well, but
// that one is only guaranteed to run when the linker keeps the unit.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace twk {

IconLibrary::IconLibrary()
    : iCount_(kShippedCount),
      bShipped_(true),
      images_(std::size_t(kShippedCount)),
      largeImages_(std::size_t(kShippedCount)) {
  InitIconResources();
}

IconLibrary::IconLibrary(std::vector<QImage> images) : iCount_(0), bShipped_(false) {
  // Numbers are 16-bit: a longer list could not be addressed past 32767.
  constexpr std::size_t iMaximum = std::numeric_limits<qint16>::max();
  if (images.size() > iMaximum) images.resize(iMaximum);
  iCount_ = static_cast<qint16>(images.size());
  images_.reserve(images.size());
  for (QImage& image : images) images_.emplace_back(std::move(image));
}

QImage IconLibrary::Image(qint16 iNumber) const {
  if (!InRange(iNumber)) return QImage();
  std::optional<QImage>& slot = images_[std::size_t(iNumber - 1)];
  if (!slot) {
    slot = QImage(QStringLiteral(":/icons/images/%1.png").arg(iNumber, 3, 10, QLatin1Char('0')));
  }
  return *slot;
}

QImage IconLibrary::LargeImage(qint16 iNumber) const {
  std::optional<QImage>& slot = largeImages_[std::size_t(iNumber - 1)];
  if (!slot) {
    // The files are stored with a palette; shrinking one of those goes
    // through a painter, a 32-bit image takes Qt's direct smooth scaling.
    slot = QImage(QStringLiteral(":/icons/images/%1@2x.png").arg(iNumber, 3, 10, QLatin1Char('0')))
               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  return *slot;
}

QPixmap IconLibrary::Picture(qint16 iNumber) const {
  return Picture(iNumber, qApp ? qApp->devicePixelRatio() : 1.0);
}

QPixmap IconLibrary::Picture(qint16 iNumber, qreal dDevicePixelRatio) const {
  const QImage image = Image(iNumber);
  if (image.isNull()) return QPixmap();
  if (dDevicePixelRatio <= 1.0 || !bShipped_) return QPixmap::fromImage(image);
  const QImage large = LargeImage(iNumber);
  if (large.isNull()) return QPixmap::fromImage(image);
  // The screen's own pixels for the logical size; a painter left to scale a
  // pixmap of another ratio would sample it without smoothing.
  const int iPixels = qRound(image.width() * dDevicePixelRatio);
  QPixmap picture = QPixmap::fromImage(
      iPixels == large.width()
          ? large
          : large.scaled(iPixels, iPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  picture.setDevicePixelRatio(dDevicePixelRatio);
  return picture;
}

}  // namespace twk
