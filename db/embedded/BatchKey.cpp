// SPDX-License-Identifier: MIT
#include "BatchKey.h"

#include <QHash>

#include "Tokenizer.h"

namespace twk::embedded {

namespace {

using Kind = tsql::Token::Kind;

bool MayVary(const tsql::Token& token, QStringView sText) {
  switch (token.kind) {
    case Kind::String:
    case Kind::UnicodeString:
      return !sText.contains(u'\n');  // lines after it would move
    case Kind::Integer:
    case Kind::Decimal:
      return true;
    default:
      return false;
  }
}

void AppendNumber(QString& sKey, qsizetype iNumber) {
  char16_t digits[24];
  qsizetype iAt = 24;
  const bool bNegative = iNumber < 0;
  quint64 lLeft = bNegative ? quint64(-(iNumber + 1)) + 1 : quint64(iNumber);
  do {
    digits[--iAt] = char16_t(u'0' + lLeft % 10);
    lLeft /= 10;
  } while (lLeft != 0);
  if (bNegative) digits[--iAt] = u'-';
  sKey.append(QStringView(digits + iAt, 24 - iAt));
  sKey += u':';
}

// The length of a string literal once unquoted, without unquoting it.
qsizetype UnquotedLength(const tsql::Token& token, QStringView sText) {
  const qsizetype iOpen = token.kind == Kind::UnicodeString ? 2 : 1;
  const QStringView sInner = sText.mid(iOpen, sText.size() - iOpen - 1);
  return sInner.size() - sInner.count(u"''");
}

// What the type of the literal depends on: a string's length once unquoted,
// a number's digits before and after its point, and whether it fits an int.
// Appended piece by piece: the key is made for every batch run.
void AppendSignature(QString& sKey, const tsql::Token& token, QStringView sText) {
  sKey += u'\x01';
  AppendNumber(sKey, int(token.kind));
  AppendNumber(sKey, sText.size());
  if (token.kind == Kind::String || token.kind == Kind::UnicodeString) {
    AppendNumber(sKey, UnquotedLength(token, sText));
    return;
  }
  qsizetype iZeros = 0;
  while (iZeros < sText.size() && sText[iZeros] == u'0') ++iZeros;
  bool bFits = false;
  sText.toInt(&bFits);
  AppendNumber(sKey, sText.indexOf(u'.'));
  AppendNumber(sKey, iZeros);
  AppendNumber(sKey, bFits ? 1 : 0);
}

}  // namespace

BatchKey BatchKey::Of(const QString& sBatch) {
  BatchKey key;
  const std::vector<tsql::Token> tokens = tsql::Tokenizer::Tokenize(sBatch);
  key.sKey.reserve(sBatch.size() + 16);
  qsizetype iCopied = 0;
  QHash<QStringView, qsizetype> first;  // the first literal written so
  for (const tsql::Token& token : tokens) {
    if (token.kind == Kind::Unterminated) return {};
    const QStringView sText = token.Text(sBatch);
    if (!MayVary(token, sText)) continue;
    key.sKey += QStringView(sBatch).mid(iCopied, token.span.iStart - iCopied);
    AppendSignature(key.sKey, token, sText);
    // Literals written alike stay alike: the binder may compare them.
    const qsizetype iSame = first.value(sText, -1);
    if (iSame < 0) first.insert(sText, qsizetype(key.literals.size()));
    AppendNumber(key.sKey, iSame);
    key.sKey += u'\x01';
    key.literals.push_back({token.span.iStart, sText.toString()});
    iCopied = token.span.iEnd;
  }
  key.sKey += QStringView(sBatch).mid(iCopied);
  key.bCacheable = true;
  return key;
}

}  // namespace twk::embedded
