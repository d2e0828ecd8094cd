// SPDX-License-Identifier: MIT
#include "SqlContexts.h"

#include "Tokenizer.h"

namespace twk {

namespace {

using Kind = tsql::Token::Kind;

// What a quote, bracket or comment opens; an unterminated token is told by
// its first characters.
SqlContext OpenedBy(QStringView sToken) {
  if (sToken.startsWith(u'\'') || sToken.startsWith(u"N'", Qt::CaseInsensitive))
    return SqlContext::Literal;
  if (sToken.startsWith(u'[')) return SqlContext::Bracketed;
  if (sToken.startsWith(u'"')) return SqlContext::QuotedName;
  if (sToken.startsWith(u"--") || sToken.startsWith(u"/*")) return SqlContext::Comment;
  return SqlContext::Code;
}

SqlContext ContextOf(const tsql::Token& token, const QString& sText) {
  switch (token.kind) {
    case Kind::String:
    case Kind::UnicodeString:
    case Kind::QuotedName:
    case Kind::Comment:
    case Kind::Unterminated:
      return OpenedBy(token.Text(sText));
    default:
      return SqlContext::Code;
  }
}

}  // namespace

std::vector<SqlContext> ReadSqlContexts(const QString& sText) {
  std::vector<SqlContext> contexts(size_t(sText.size()), SqlContext::Code);
  for (const tsql::Token& token : tsql::Tokenizer::Tokenize(sText)) {
    const SqlContext context = ContextOf(token, sText);
    qsizetype iFrom = token.span.iStart;
    // The N of N'' is code: a value put in right after an N in code must
    // not turn the N into part of a literal.
    if (context == SqlContext::Literal && sText[iFrom] != u'\'') ++iFrom;
    for (qsizetype i = iFrom; i < token.span.iEnd; ++i) contexts[size_t(i)] = context;
  }
  return contexts;
}

}  // namespace twk
