// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>
#include <cstdio>
#include <ctime>

#include "QStringPrinter.h"
#include "Tokenizer.h"

using twk::tsql::Token;
using twk::tsql::Tokenizer;

namespace {

QString KindName(Token::Kind kind) {
  static const char* const names[] = {
      "End",   "Word", "QName",  "Str", "NStr",  "Int",     "Dec",   "Float",        "Bin",
      "Money", "Var",  "SysVar", "Op",  "Punct", "Comment", "Blank", "Unterminated", "Unknown"};
  return QString::fromLatin1(names[static_cast<int>(kind)]);
}

// "Kind:text" for each significant token, or every token with blanks shown.
QString Describe(const QString& sText, bool bAll) {
  QStringList parts;
  for (const Token& token : bAll ? Tokenizer::Tokenize(sText) : Tokenizer::Significant(sText)) {
    if (token.kind == Token::Kind::End) break;
    parts << KindName(token.kind) + u':' + token.Text(sText).toString();
  }
  return parts.join(u' ');
}

struct TokenCase {
  const char* sText;
  const char* sExpected;
};

const std::vector<TokenCase> kSignificant = {
    {"select 'it''s', N'ü'", "Word:select Str:'it''s' Punct:, NStr:N'ü'"},
    {"[a]]b] \"c\"\"d\" [x y]", "QName:[a]]b] QName:\"c\"\"d\" QName:[x y]"},
    {"@v @@rowcount @ #t ##g", "Var:@v SysVar:@@rowcount Var:@ Word:#t Word:##g"},
    {"1 1.5 .5 1. 1e3 1.5E-2 2e+ 0x1F 0x $12.50 $",
     "Int:1 Dec:1.5 Dec:.5 Dec:1. Float:1e3 "
     "Float:1.5E-2 Float:2e Op:+ Bin:0x1F Bin:0x Money:$12.50 Money:$"},
    {"1abc", "Int:1 Word:abc"},
    {"a+=1 b-=2 c*=3 d/=4 e%=5 f&=6 g|=7 h^=8",
     "Word:a Op:+= Int:1 Word:b Op:-= Int:2 Word:c "
     "Op:*= Int:3 Word:d Op:/= Int:4 Word:e Op:%= Int:5 Word:f Op:&= Int:6 Word:g Op:|= Int:7 "
     "Word:h Op:^= Int:8"},
    {"<> != !< !> <= >= < > = ~ ==",
     "Op:<> Op:!= Op:!< Op:!> Op:<= Op:>= Op:< Op:> Op:= Op:~ "
     "Op:= Op:="},
    {"a||b ! {", "Word:a Op:| Op:| Word:b Unknown:! Unknown:{"},
    {"(a.b,c);x:", "Punct:( Word:a Punct:. Word:b Punct:, Word:c Punct:) Punct:; Word:x Punct::"},
    {"Straße_1 名前 x$y a#b@c", "Word:Straße_1 Word:名前 Word:x$y Word:a#b@c"},
    {"a/*x/*y*/z*/b", "Word:a Word:b"},
    {"a -- to the end\nb", "Word:a Word:b"},
    {"/* it's */ 'no /* comment'", "Str:'no /* comment'"},
    {"'open", "Unterminated:'open"},
    {"[open", "Unterminated:[open"},
    {"\"open", "Unterminated:\"open"},
    {"a /* /* */ b", "Word:a Unterminated:/* /* */ b"},
};

TEST(Tokenizer, ReadsEachKindOfTokenAsTheServerDoes) {
  for (const TokenCase& row : kSignificant) {
    EXPECT_EQ(Describe(QString::fromUtf8(row.sText), false), QString::fromUtf8(row.sExpected))
        << row.sText;
  }
  const QString sNul = QStringLiteral("x") + QChar(u'\0') + QStringLiteral("y");
  EXPECT_EQ(Describe(sNul, false),
            QStringLiteral("Word:x Unknown:") + QChar(u'\0') + QStringLiteral(" Word:y"));
}

TEST(Tokenizer, TokensCoverTheTextAndCountLines) {
  const QString sText = QStringLiteral("select 1 -- one\r\n/* two\nlines */ 'a\nb' x\n");
  const std::vector<Token> tokens = Tokenizer::Tokenize(sText);
  qsizetype iAt = 0;
  QStringList lines;
  for (const Token& token : tokens) {
    EXPECT_EQ(token.span.iStart, iAt);
    iAt = token.span.iEnd;
    if (token.kind != Token::Kind::Blank) lines << QString::number(token.span.iLine);
  }
  EXPECT_EQ(iAt, sText.size());
  EXPECT_EQ(tokens.back().kind, Token::Kind::End);
  // select 1 --one /*..*/ 'a b' x End
  EXPECT_EQ(lines.join(u' '), QStringLiteral("1 1 1 2 3 4 5"));
}

TEST(Tokenizer, UnquotesStringsAndNames) {
  const QString sText = QStringLiteral("'it''s' N'x''' [a]]b] \"c\"\"d\" plain");
  QStringList parts;
  for (const Token& token : Tokenizer::Significant(sText)) {
    if (token.kind != Token::Kind::End) parts << Tokenizer::Unquoted(token, sText);
  }
  EXPECT_EQ(parts.join(u'|'), QStringLiteral("it's|x'|a]b|c\"d|plain"));
}

TEST(Tokenizer, ReadsALargeBatchInLinearTime) {
  QString sBatch;
  for (int i = 0; i < 12000; ++i) {
    sBatch += QStringLiteral("select [a], 'b''c', 1.5 /* x */ from t where a <> 2 -- z\n");
  }
  ASSERT_GT(sBatch.size(), 600000);
  // CPU time of this thread, not wall time: the machine may be busy.
  const auto cpuMilliseconds = [] {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  };
  const long long lStart = cpuMilliseconds();
  const std::vector<Token> tokens = Tokenizer::Tokenize(sBatch);
  const long long lElapsed = cpuMilliseconds() - lStart;
  std::printf("tokenized %lld characters in %lld ms\n", static_cast<long long>(sBatch.size()),
              lElapsed);
  EXPECT_LT(lElapsed, 250);  // a quadratic scan takes minutes here
  EXPECT_EQ(tokens.back().span.iLine, 12001);
}

}  // namespace
