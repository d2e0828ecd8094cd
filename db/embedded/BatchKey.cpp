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
  sKey += QString::number(iNumber);
  sKey += u':';
}

// What the type of the literal depends on: a string's length once unquoted,
// a number's digits before and after its point, and whether it fits an int.
// Appended piece by piece: the key is made for every batch run.
void AppendSignature(QString& sKey, const tsql::Token& token, QStringView sText,
                     const QString& sBatch) {
  sKey += u'\x01';
  AppendNumber(sKey, int(token.kind));
  AppendNumber(sKey, sText.size());
  if (token.kind == Kind::String || token.kind == Kind::UnicodeString) {
    AppendNumber(sKey, tsql::Tokenizer::Unquoted(token, sBatch).size());
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
  QHash<QString, qsizetype> first;  // the first literal written so
  for (const tsql::Token& token : tokens) {
    if (token.kind == Kind::Unterminated) return {};
    const QStringView sText = token.Text(sBatch);
    if (!MayVary(token, sText)) continue;
    key.sKey += QStringView(sBatch).mid(iCopied, token.span.iStart - iCopied);
    AppendSignature(key.sKey, token, sText, sBatch);
    // Literals written alike stay alike: the binder may compare them.
    QString sLiteral = sText.toString();
    const qsizetype iSame = first.value(sLiteral, -1);
    if (iSame < 0) first.insert(sLiteral, qsizetype(key.literals.size()));
    key.sKey += QString::number(iSame);
    key.sKey += u'\x01';
    key.literals.push_back({token.span.iStart, std::move(sLiteral)});
    iCopied = token.span.iEnd;
  }
  key.sKey += QStringView(sBatch).mid(iCopied);
  key.bCacheable = true;
  return key;
}

}  // namespace twk::embedded
