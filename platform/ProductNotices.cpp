// SPDX-License-Identifier: MIT
#include "ProductNotices.h"

#include <QFile>
#include <QRegularExpression>

#include "DataPaths.h"

namespace twk {

namespace {

QString Resource(const QString& sName) {
  QFile file(QStringLiteral(":/notices/") + sName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// The copyright line is read from the notice itself, so that the two never
// disagree.
QString CopyrightLine(const QString& sNotice) {
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("^Copyright .*$"), QRegularExpression::MultilineOption)
          .match(sNotice);
  return match.hasMatch() ? match.captured(0) : QString();
}

}  // namespace

QString ProductNotices::ProductVersion() {
  return QStringLiteral(TWK_PRODUCT_VERSION);
}

QString ProductNotices::LicenceText() {
  return Resource(QStringLiteral("LICENSE"));
}

QString ProductNotices::IconsNotice() {
  return Resource(QStringLiteral("icons-LICENSE"));
}

QString ProductNotices::VersionText(const QString& sProgram, const QString& sLibraryVersion) {
  return sProgram + QLatin1Char(' ') + ProductVersion() + QStringLiteral(" (alert libraries ") +
         sLibraryVersion + QStringLiteral(")\n") + CopyrightLine(LicenceText()) +
         QStringLiteral("\nLicence: MIT.\n") + QStringLiteral("Icons: Bootstrap Icons, ") +
         CopyrightLine(IconsNotice()) + QStringLiteral("; licence: MIT.\nFull texts: ") +
         DataPaths::Find(QStringLiteral("doc/tellwick/copyright")) + QLatin1Char('\n');
}

}  // namespace twk
