// SPDX-License-Identifier: MIT
#include "IconLibrary.h"

#include <QString>
#include <limits>

// Q_INIT_RESOURCE must be expanded outside any namespace. The object
// library's resources are registered by a static initialiser as well, but
// that one is only guaranteed to run when the linker keeps the unit.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace twk {

IconLibrary::IconLibrary() : iCount_(kShippedCount), images_(std::size_t(kShippedCount)) {
  InitIconResources();
}

IconLibrary::IconLibrary(std::vector<QImage> images) : iCount_(0) {
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

QPixmap IconLibrary::Picture(qint16 iNumber) const {
  const QImage image = Image(iNumber);
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

}  // namespace twk
