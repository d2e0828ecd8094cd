// SPDX-License-Identifier: MIT
#include "TextRules.h"

namespace twk {

namespace {

// Characters that reorder text, and the two separators that some terminals
// and most editors break a line at although they are no line feed.
bool ReordersText(char16_t c) {
  return (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0x200e ||
         c == 0x200f || c == 0x061c || c == 0x2028 || c == 0x2029;
}

bool ShownRaw(char16_t c) {
  return !(c < 0x20 || (c >= 0x7f && c < 0xa0) || ReordersText(c));
}

QString Escape(char16_t c) {
  switch (c) {
    case u'\t':
      return QStringLiteral("\\t");
    case u'\n':
      return QStringLiteral("\\n");
    case u'\r':
      return QStringLiteral("\\r");
    case 0x1b:
      return QStringLiteral("\\e");
    default:
      break;
  }
  if (c < 0x100) return QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
  return QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
}

}  // namespace

QString TrimSpaces(const QString& sText) {
  qsizetype iStart = 0;
  qsizetype iEnd = sText.size();
  while (iStart < iEnd && sText.at(iStart) == QLatin1Char(' ')) ++iStart;
  while (iEnd > iStart && sText.at(iEnd - 1) == QLatin1Char(' ')) --iEnd;
  return sText.mid(iStart, iEnd - iStart);
}

QString TerminalText(const QString& sText, bool bKeepLineBreaks) {
  QString sShown;
  sShown.reserve(sText.size());
  for (qsizetype i = 0; i < sText.size(); ++i) {
    const char16_t c = sText.at(i).unicode();
    const bool bLineBreak =
        c == u'\n' || (c == u'\r' && i + 1 < sText.size() && sText.at(i + 1) == u'\n');
    if (ShownRaw(c) || (bKeepLineBreaks && bLineBreak)) {
      sShown += QChar(c);
    } else {
      sShown += Escape(c);
    }
  }
  return sShown;
}

QString JsonForTerminal(const QString& sJson) {
  QString sShown;
  sShown.reserve(sJson.size());
  // Outside its strings serialised JSON is ASCII without controls, and a
  // string may spell any character as \u: every escape lands in a string.
  for (const QChar character : sJson) {
    const char16_t c = character.unicode();
    if (c >= 0x20 && !ShownRaw(c)) {
      sShown += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    } else {
      sShown += character;
    }
  }
  return sShown;
}

}  // namespace twk
