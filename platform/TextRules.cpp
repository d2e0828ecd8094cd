#include "TextRules.h"

namespace twk {

QString TrimSpaces(const QString& sText) {
  qsizetype iStart = 0;
  qsizetype iEnd = sText.size();
  while (iStart < iEnd && sText.at(iStart) == QLatin1Char(' ')) ++iStart;
  while (iEnd > iStart && sText.at(iEnd - 1) == QLatin1Char(' ')) --iEnd;
  return sText.mid(iStart, iEnd - iStart);
}

}  // namespace twk
