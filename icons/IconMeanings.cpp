// SPDX-License-Identifier: MIT
#include "IconMeanings.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

static void InitManifestResource() {
  Q_INIT_RESOURCE(icons);
}

namespace twk::IconMeanings {

namespace {

// Columns of the manifest: number, image name, colour, hex, meaning.
QHash<qint16, QString> ReadManifest() {
  InitManifestResource();
  QHash<qint16, QString> meanings;
  QFile manifest(QStringLiteral(":/icons/MANIFEST.tsv"));
  if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) return meanings;
  QTextStream stream(&manifest);
  while (!stream.atEnd()) {
    const QStringList columns = stream.readLine().split(QLatin1Char('\t'));
    bool bNumber = false;
    const int iNumber = columns.value(0).toInt(&bNumber);
    // The header and the comment line have no number.
    if (!bNumber || columns.size() < 5) continue;
    meanings.insert(qint16(iNumber), columns[4] + QStringLiteral(", ") + columns[2]);
  }
  return meanings;
}

}  // namespace

QString Meaning(qint16 iNumber) {
  static const QHash<qint16, QString> meanings = ReadManifest();
  return meanings.value(iNumber);
}

}  // namespace twk::IconMeanings
