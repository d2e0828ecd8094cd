// SPDX-License-Identifier: MIT
#include "SqlScanner.h"

#include <algorithm>

namespace twk {

namespace {

// A quoted run closed by cClose, where a doubled closer stands for itself.
qsizetype SkipQuoted(const QString& sText, qsizetype iPos, QChar cClose, bool bDoubledEscapes) {
  for (qsizetype i = iPos + 1; i < sText.size(); ++i) {
    if (sText[i] != cClose) continue;
    if (bDoubledEscapes && i + 1 < sText.size() && sText[i + 1] == cClose) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return sText.size();
}

}  // namespace

bool SqlScanner::IsSpace(QChar c) noexcept {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool SqlScanner::IsWordStart(QChar c) noexcept {
  return (c.unicode() < 0x80 && c.isLetter()) || c == u'_' || c.unicode() >= 0x80;
}

bool SqlScanner::IsWordChar(QChar c) noexcept {
  return IsWordStart(c) || (c >= u'0' && c <= u'9') || c == u'$';
}

bool SqlScanner::IsCommentStart(const QString& sText, qsizetype iPos) noexcept {
  if (iPos + 1 >= sText.size()) return false;
  const QChar c = sText[iPos];
  const QChar cNext = sText[iPos + 1];
  return (c == u'-' && cNext == u'-') || (c == u'/' && cNext == u'*');
}

qsizetype SqlScanner::SkipOpaque(const QString& sText, qsizetype iPos) noexcept {
  if (iPos >= sText.size()) return iPos;
  switch (sText[iPos].unicode()) {
    case u'\'':
    case u'"':
    case u'`':
      return SkipQuoted(sText, iPos, sText[iPos], true);
    case u'[':
      // SQLite ends a bracketed name at the first ']', without escapes.
      return SkipQuoted(sText, iPos, u']', false);
    default:
      break;
  }
  if (!IsCommentStart(sText, iPos)) return iPos;
  if (sText[iPos] == u'-') {
    const qsizetype iEnd = sText.indexOf(u'\n', iPos);
    return iEnd < 0 ? sText.size() : iEnd;
  }
  // Block comments do not nest in SQLite.
  const qsizetype iClose = sText.indexOf(QStringLiteral("*/"), iPos + 2);
  return iClose < 0 ? sText.size() : iClose + 2;
}

qsizetype SqlScanner::SkipSpaceAndComments(const QString& sText, qsizetype iPos) noexcept {
  while (iPos < sText.size()) {
    if (IsSpace(sText[iPos])) {
      ++iPos;
    } else if (IsCommentStart(sText, iPos)) {
      iPos = SkipOpaque(sText, iPos);
    } else {
      break;
    }
  }
  return iPos;
}

qsizetype SqlScanner::WordEnd(const QString& sText, qsizetype iPos) noexcept {
  while (iPos < sText.size() && IsWordChar(sText[iPos])) ++iPos;
  return iPos;
}

QString SqlScanner::LowerWordAt(const QString& sText, qsizetype iPos) {
  if (iPos >= sText.size() || !IsWordStart(sText[iPos])) return {};
  return sText.mid(iPos, WordEnd(sText, iPos) - iPos).toLower();
}

bool SqlScanner::StringLiterals(const QString& sText, qsizetype iStart, qsizetype iEnd,
                                std::vector<Span>& spans, QStringView sRefused) {
  qsizetype i = iStart;
  while (i < iEnd) {
    const QChar c = sText[i];
    if (c == u'\'' || c == u'"' || c == u'`' || c == u'[' || IsCommentStart(sText, i)) {
      const qsizetype iClose = std::min(SkipOpaque(sText, i), iEnd);
      if (c == u'\'') {
        // Inside a closed literal quotes come in pairs, so the count is even.
        if (QStringView(sText).mid(i, iClose - i).count(u'\'') % 2 != 0) return false;
        spans.push_back({i, iClose});
      }
      i = iClose;
      continue;
    }
    for (const QChar cRefused : sRefused) {
      if (c == cRefused) return false;
    }
    ++i;
  }
  return true;
}

QString SqlScanner::LiteralValue(QStringView sLiteral) {
  QString sValue = sLiteral.mid(1, sLiteral.size() - 2).toString();
  sValue.replace(QStringLiteral("''"), QStringLiteral("'"));
  return sValue;
}

}  // namespace twk
