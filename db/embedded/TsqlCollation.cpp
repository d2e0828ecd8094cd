// SPDX-License-Identifier: MIT
#include "TsqlCollation.h"

#include <QChar>
#include <QList>

#include "FunctionArguments.h"

namespace twk::embedded {

namespace {

int Sign(int i) {
  return (i > 0) - (i < 0);
}

int CompareAscii(const unsigned char* pA, int iA, const unsigned char* pB, int iB) {
  while (iA > 0 && pA[iA - 1] == ' ') --iA;
  while (iB > 0 && pB[iB - 1] == ' ') --iB;
  const int iCommon = iA < iB ? iA : iB;
  for (int i = 0; i < iCommon; ++i) {
    const int a = pA[i] >= 'A' && pA[i] <= 'Z' ? pA[i] + 32 : pA[i];
    const int b = pB[i] >= 'A' && pB[i] <= 'Z' ? pB[i] + 32 : pB[i];
    if (a != b) return a - b;
  }
  return iA - iB;
}

bool IsAscii(const char* p, int i) {
  for (int k = 0; k < i; ++k) {
    if (static_cast<unsigned char>(p[k]) >= 0x80) return false;
  }
  return true;
}

// The folded, decomposed text; with bBaseOnly the combining marks are left
// out, which is what puts an accented letter beside its base letter.
QString Key(QStringView sText, bool bBaseOnly) {
  const QString sDecomposed = TsqlCollation::WithoutTrailingBlanks(sText).toString().normalized(
      QString::NormalizationForm_D);
  QString sKey;
  sKey.reserve(sDecomposed.size());
  for (const uint c : sDecomposed.toUcs4()) {
    if (bBaseOnly && QChar::category(c) == QChar::Mark_NonSpacing) continue;
    const char32_t folded = TsqlCollation::Folded(c);
    sKey += QString::fromUcs4(&folded, 1);
  }
  return sKey;
}

int CollationCallback(void*, int iA, const void* pA, int iB, const void* pB) {
  return TsqlCollation::CompareUtf8(static_cast<const char*>(pA), iA, static_cast<const char*>(pB),
                                    iB);
}

}  // namespace

char32_t TsqlCollation::Folded(char32_t c) noexcept {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  return QChar::toCaseFolded(c);
}

bool TsqlCollation::SameCharacter(char32_t a, char32_t b) noexcept {
  return a == b || Folded(a) == Folded(b);
}

QStringView TsqlCollation::WithoutTrailingBlanks(QStringView sText) noexcept {
  qsizetype iLength = sText.size();
  while (iLength > 0 && sText[iLength - 1] == u' ') --iLength;
  return sText.first(iLength);
}

int TsqlCollation::Compare(QStringView a, QStringView b) {
  const int iBase = Key(a, true).compare(Key(b, true));
  if (iBase != 0) return Sign(iBase);
  return Sign(Key(a, false).compare(Key(b, false)));
}

int TsqlCollation::CompareUtf8(const char* pA, int iA, const char* pB, int iB) {
  if (IsAscii(pA, iA) && IsAscii(pB, iB)) {
    return Sign(CompareAscii(reinterpret_cast<const unsigned char*>(pA), iA,
                             reinterpret_cast<const unsigned char*>(pB), iB));
  }
  return Compare(QString::fromUtf8(pA, iA), QString::fromUtf8(pB, iB));
}

void TsqlCollation::Register(sqlite3* pDb) {
  CheckRegistration(pDb, sqlite3_create_collation_v2(pDb, "TSQL", SQLITE_UTF8, nullptr,
                                                     CollationCallback, nullptr));
}

}  // namespace twk::embedded
