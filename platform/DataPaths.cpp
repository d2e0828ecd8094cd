// SPDX-License-Identifier: MIT
#include "DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace twk {

QString DataPaths::Find(const QString& sRelative) {
  return Find(sRelative, QCoreApplication::applicationDirPath(),
              QStringLiteral(TWK_BUILD_SHARE_DIR));
}

QString DataPaths::Find(const QString& sRelative, const QString& sProgramDir,
                        const QString& sBuildShareDir) {
  const QString sInstalled =
      QDir::cleanPath(sProgramDir + QStringLiteral("/../share/") + sRelative);
  if (QFileInfo::exists(sInstalled)) return sInstalled;
  // Test programs live deeper in the build tree than bin/, so the build's
  // own share/ is named outright rather than found relative to them.
  const QString sBuilt = QDir::cleanPath(sBuildShareDir + QLatin1Char('/') + sRelative);
  if (!sBuildShareDir.isEmpty() && QFileInfo::exists(sBuilt)) return sBuilt;
  return sInstalled;
}

}  // namespace twk
