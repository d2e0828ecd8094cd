// SPDX-License-Identifier: MIT
#include "ConnectionSettings.h"

#include <QStringList>
#include <algorithm>
#include <vector>

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
  if (sPassword.size() < 2) return sText;
  // The password as typed, and as a connection text quotes it with closing
  // braces doubled, in case a driver echoes what it was handed.
  QStringList forms = {sPassword};
  QString sDoubled = sPassword;
  sDoubled.replace(QLatin1Char('}'), QStringLiteral("}}"));
  if (sDoubled != sPassword) forms.prepend(sDoubled);

  // Where a value that is no secret holds the password (the user
  // STAFF1_ASSOC_i beside the password ASSOC), that value stays readable.
  std::vector<bool> readable(std::size_t(sText.size()), false);
  for (const QString& sOpen : {sUserId, sInitialCatalog, sDataSource, sApplicationName}) {
    if (sOpen.size() <= sPassword.size() || !sOpen.contains(sPassword)) continue;
    for (qsizetype i = sText.indexOf(sOpen); i >= 0; i = sText.indexOf(sOpen, i + 1)) {
      std::fill_n(readable.begin() + i, sOpen.size(), true);
    }
  }
  const auto isReadable = [&](qsizetype iFrom, qsizetype iLength) {
    return std::all_of(readable.begin() + iFrom, readable.begin() + iFrom + iLength,
                       [](bool bReadable) { return bReadable; });
  };

  QString sScrubbed;
  for (qsizetype i = 0; i < sText.size();) {
    const auto form = std::find_if(forms.cbegin(), forms.cend(), [&](const QString& sForm) {
      return QStringView(sText).mid(i).startsWith(sForm) && !isReadable(i, sForm.size());
    });
    if (form == forms.cend()) {
      sScrubbed += sText.at(i++);
    } else {
      sScrubbed += QStringLiteral("********");
      i += form->size();
    }
  }
  return sScrubbed;
}

TwkError ConnectionSettings::Scrub(const TwkError& error) const {
  return TwkError(Scrub(error.Description()), error.Source(), error.Number());
}

}  // namespace twk
