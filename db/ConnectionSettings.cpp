#include "ConnectionSettings.h"

namespace twk {

QString ConnectionSettings::ConnectionString() const {
  return QStringLiteral("Provider=MSDASQL") + QStringLiteral(";Application Name=") +
         sApplicationName + QStringLiteral(";Data Source=") + sDataSource +
         QStringLiteral(";Initial Catalog=") + sInitialCatalog + QStringLiteral(";User ID=") +
         sUserId + QStringLiteral(";Password=") + sPassword;
}

bool ConnectionSettings::IsEmbedded() const {
  return sDataSource.contains(QLatin1Char('/')) ||
         sDataSource.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive);
}

QString ConnectionSettings::Scrub(QString sText) const {
  // A one-character password would blank out ordinary letters everywhere.
  if (sPassword.size() >= 2) sText.replace(sPassword, QStringLiteral("********"));
  return sText;
}

}  // namespace twk
