// SPDX-License-Identifier: MIT
#include "ParserCursor.h"

#include <functional>

#include "Keywords.h"
#include "Tokenizer.h"
#include "TsqlError.h"

namespace twk::tsql {

ParserCursor::ParserCursor(const QString& sBatch)
    : sBatch_(sBatch), tokens_(Tokenizer::Significant(sBatch)), reserved_(tokens_.size(), -1) {}

bool ParserCursor::IsReservedWord(const Token& token) const {
  if (token.kind != Token::Kind::Word) return false;
  const std::less<const Token*> before;
  if (before(&token, tokens_.data()) || !before(&token, tokens_.data() + tokens_.size())) {
    return Keywords::IsReserved(token.Text(sBatch_));
  }
  signed char& known = reserved_[std::size_t(&token - tokens_.data())];
  if (known < 0) known = Keywords::IsReserved(token.Text(sBatch_)) ? 1 : 0;
  return known == 1;
}

const Token& ParserCursor::Peek(int iAhead) const {
  const size_t iAt = iPos_ + static_cast<size_t>(iAhead);
  return iAt < tokens_.size() ? tokens_[iAt] : tokens_.back();
}

const Token& ParserCursor::Advance() {
  const Token& token = Current();
  if (iPos_ + 1 < tokens_.size()) ++iPos_;
  return token;
}

QString ParserCursor::Unquoted(const Token& token) const {
  return Tokenizer::Unquoted(token, sBatch_);
}

bool ParserCursor::IsWord(QStringView sWord, int iAhead) const {
  const Token& token = Peek(iAhead);
  return token.kind == Token::Kind::Word &&
         token.Text(sBatch_).compare(sWord, Qt::CaseInsensitive) == 0;
}

bool ParserCursor::AcceptWord(QStringView sWord) {
  if (!IsWord(sWord)) return false;
  Advance();
  return true;
}

void ParserCursor::ExpectWord(QStringView sWord) {
  if (!AcceptWord(sWord)) Fail();
}

bool ParserCursor::IsSymbol(QStringView sSymbol, int iAhead) const {
  const Token& token = Peek(iAhead);
  return (token.kind == Token::Kind::Operator || token.kind == Token::Kind::Punctuation) &&
         token.Text(sBatch_) == sSymbol;
}

bool ParserCursor::AcceptSymbol(QStringView sSymbol) {
  if (!IsSymbol(sSymbol)) return false;
  Advance();
  return true;
}

void ParserCursor::ExpectSymbol(QStringView sSymbol) {
  if (!AcceptSymbol(sSymbol)) Fail();
}

bool ParserCursor::IsName(int iAhead) const {
  const Token& token = Peek(iAhead);
  if (token.kind == Token::Kind::QuotedName) return true;
  return token.kind == Token::Kind::Word && !IsReservedWord(token);
}

QString ParserCursor::ExpectName() {
  if (!IsName()) Fail();
  return Unquoted(Advance());
}

ObjectName ParserCursor::ExpectObjectName() {
  const size_t iStart = iPos_;
  ObjectName name;
  name.parts.push_back(ExpectName());
  while (IsSymbol(u".") && name.parts.size() < 4) {
    Advance();
    if (IsSymbol(u".")) {
      name.parts.emplace_back();  // db..Name: the default schema
      continue;
    }
    name.parts.push_back(ExpectName());
  }
  if (name.parts.back().isEmpty()) Fail();
  name.span = SpanFrom(iStart);
  return name;
}

QString ParserCursor::WordLower(int iAhead) const {
  const Token& token = Peek(iAhead);
  return token.kind == Token::Kind::Word ? TextOf(token).toLower() : QString();
}

SourceSpan ParserCursor::SpanFrom(size_t iStartPosition) const {
  const Token& first = tokens_[std::min(iStartPosition, tokens_.size() - 1)];
  const Token& last = tokens_[iPos_ > iStartPosition ? iPos_ - 1 : iStartPosition];
  return SourceSpan{first.span.iStart, std::max(first.span.iEnd, last.span.iEnd), first.span.iLine};
}

void ParserCursor::Fail() const {
  FailAt(Current());
}

void ParserCursor::FailAt(const Token& token) const {
  const Token* pToken = &token;
  if (token.kind == Token::Kind::End && tokens_.size() > 1) pToken = &tokens_[tokens_.size() - 2];
  const QString sText = TextOf(*pToken);
  const int iLine = pToken->span.iLine;
  if (pToken->kind == Token::Kind::Unterminated) {
    if (sText.startsWith(QStringLiteral("/*"))) {
      throw TsqlError(113, QStringLiteral("Missing end comment mark '*/'."), iLine);
    }
    const qsizetype iOpen = sText.startsWith(u'N') || sText.startsWith(u'n') ? 2 : 1;
    throw TsqlError(105,
                    QStringLiteral("Unclosed quotation mark after the character string '") +
                        sText.mid(iOpen) + QStringLiteral("'."),
                    iLine);
  }
  if (IsReservedWord(*pToken)) {
    throw TsqlError(
        156, QStringLiteral("Incorrect syntax near the keyword '") + sText + QStringLiteral("'."),
        iLine);
  }
  const QString sNear = pToken->kind == Token::Kind::End ? QString() : Unquoted(*pToken);
  throw TsqlError(102, QStringLiteral("Incorrect syntax near '") + sNear + QStringLiteral("'."),
                  iLine);
}

void ParserCursor::Refuse(Refusals::Construct construct) const {
  Refusals::Refuse(construct, Current().span.iLine);
}

void ParserCursor::Raise(long lNumber, const QString& sMessage) const {
  throw TsqlError(lNumber, sMessage, Current().span.iLine);
}

ParserCursor::Nesting::Nesting(ParserCursor& cursor) : cursor_(cursor) {
  if (++cursor_.iDepth_ > MaxDepth) {
    --cursor_.iDepth_;
    cursor_.Raise(191, QStringLiteral("Some part of your SQL statement is nested too deeply. "
                                      "Rewrite the query or break it up into smaller queries."));
  }
}

}  // namespace twk::tsql
