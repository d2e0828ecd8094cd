// SPDX-License-Identifier: MIT
#include "TsqlExpressions.h"

#include <vector>

#include "SqlScanner.h"

namespace twk {

namespace {

enum class Kind { Space, Operand, Keyword, Plus, Minus, Boundary, Other, Open, Close };

struct Token {
  Kind kind;
  qsizetype iStart;
  qsizetype iEnd;
};

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

// Words that end an operand: anything that is not part of an arithmetic
// expression at its level.
bool IsKeyword(QStringView sWord) {
  static const QStringView keywords[] = {
      u"select", u"from",    u"where",  u"as",     u"and",      u"or",     u"not",   u"on",
      u"join",   u"inner",   u"left",   u"right",  u"outer",    u"cross",  u"group", u"order",
      u"by",     u"having",  u"when",   u"then",   u"else",     u"end",    u"case",  u"is",
      u"in",     u"like",    u"between", u"exists", u"union",   u"all",    u"distinct",
      u"limit",  u"values",  u"set",    u"into",   u"insert",   u"update", u"delete", u"with",
      u"desc",   u"asc",     u"escape", u"glob",   u"offset",   u"over",   u"partition",
      u"if",     u"begin",   u"declare", u"exec",  u"execute",  u"return", u"print", u"except",
      u"intersect", u"collate", u"using", u"natural", u"full", u"default"};
  for (QStringView sKeyword : keywords) {
    if (sWord.compare(sKeyword, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

std::vector<Token> Tokenize(const QString& sSql) {
  std::vector<Token> tokens;
  qsizetype i = 0;
  while (i < sSql.size()) {
    const QChar c = sSql[i];
    const qsizetype iOpaque = SqlScanner::SkipOpaque(sSql, i);
    if (iOpaque > i) {
      tokens.push_back({SqlScanner::IsCommentStart(sSql, i) ? Kind::Space : Kind::Operand, i,
                        iOpaque});
      i = iOpaque;
    } else if (SqlScanner::IsSpace(c)) {
      tokens.push_back({Kind::Space, i, i + 1});
      ++i;
    } else if (IsDigit(c) || (c == u'.' && i + 1 < sSql.size() && IsDigit(sSql[i + 1]))) {
      qsizetype j = i;
      while (j < sSql.size() && (IsDigit(sSql[j]) || sSql[j] == u'.' || SqlScanner::IsWordChar(sSql[j]) ||
                                 ((sSql[j] == u'+' || sSql[j] == u'-') &&
                                  (sSql[j - 1] == u'e' || sSql[j - 1] == u'E')))) {
        ++j;
      }
      tokens.push_back({Kind::Operand, i, j});
      i = j;
    } else if (SqlScanner::IsWordStart(c) || c == u'@' || c == u'$' || c == u':') {
      const qsizetype j = SqlScanner::WordEnd(sSql, i + 1);
      const QStringView sWord = QStringView(sSql).mid(i, j - i);
      tokens.push_back({IsKeyword(sWord) ? Kind::Keyword : Kind::Operand, i, j});
      i = j;
    } else if (c == u'(') {
      tokens.push_back({Kind::Open, i, i + 1});
      ++i;
    } else if (c == u')') {
      tokens.push_back({Kind::Close, i, i + 1});
      ++i;
    } else if (c == u'+') {
      tokens.push_back({Kind::Plus, i, i + 1});
      ++i;
    } else if (c == u'-') {
      tokens.push_back({Kind::Minus, i, i + 1});
      ++i;
    } else if (c == u',' || c == u';' || c == u'=' || c == u'<' || c == u'>' || c == u'!') {
      tokens.push_back({Kind::Boundary, i, i + 1});
      ++i;
    } else {
      tokens.push_back({Kind::Other, i, i + 1});  // . * / % | and the like stay inside a term
      ++i;
    }
  }
  return tokens;
}

class PlusRewriter {
 public:
  PlusRewriter(const QString& sSql) : sSql_(sSql), tokens_(Tokenize(sSql)) {}

  QString Run() {
    std::size_t i = 0;
    QString sOut = Level(i);
    while (i < tokens_.size()) {  // a ')' that closes nothing
      sOut += u')';
      ++i;
      sOut += Level(i);
    }
    return sOut;
  }

 private:
  // Rewrites tokens from i up to the Close of this level (left unread).
  QString Level(std::size_t& i) {
    QString sOut;
    std::vector<QString> terms;  // of the running segment
    std::vector<bool> plusBefore;
    QString sTerm;
    bool bOperandEnded = false;
    bool bHasPlus = false;
    // Where the running term's last token that is neither space nor a
    // comment ends: a line comment after it must stay outside the call, or
    // it would swallow the closing parenthesis.
    qsizetype iContentEnd = 0;
    auto flushSegment = [&] {
      terms.push_back(sTerm);
      if (!bHasPlus) {
        for (std::size_t t = 0; t < terms.size(); ++t) {
          if (t > 0) sOut += u'-';
          sOut += terms[t];
        }
      } else {
        // White space around the expression stays outside the call.
        QString& sFirst = terms.front();
        qsizetype iLead = 0;
        while (iLead < sFirst.size() && sFirst[iLead].isSpace()) ++iLead;
        sOut += sFirst.left(iLead);
        sFirst.remove(0, iLead);
        QString& sLast = terms.back();
        const QString sTrailing = sLast.mid(iContentEnd);
        sLast.truncate(iContentEnd);
        QString sExpression = terms[0];
        for (std::size_t t = 1; t < terms.size(); ++t) {
          if (plusBefore[t - 1]) {
            sExpression = QStringLiteral("twk_plus(%1,%2)").arg(sExpression, terms[t]);
          } else {
            sExpression += u'-' + terms[t];
          }
        }
        sOut += sExpression + sTrailing;
      }
      terms.clear();
      plusBefore.clear();
      sTerm.clear();
      iContentEnd = 0;
      bOperandEnded = false;
      bHasPlus = false;
    };
    while (i < tokens_.size() && tokens_[i].kind != Kind::Close) {
      const Token& token = tokens_[i];
      const QStringView sText = QStringView(sSql_).mid(token.iStart, token.iEnd - token.iStart);
      switch (token.kind) {
        case Kind::Space:
          sTerm += sText;
          break;
        case Kind::Operand:
          sTerm += sText;
          iContentEnd = sTerm.size();
          bOperandEnded = true;
          break;
        case Kind::Other:
          sTerm += sText;
          iContentEnd = sTerm.size();
          bOperandEnded = false;
          break;
        case Kind::Open: {
          ++i;
          const QString sInner = Level(i);
          sTerm += u'(' + sInner;
          if (i < tokens_.size()) {
            sTerm += u')';
            ++i;
          }
          iContentEnd = sTerm.size();
          bOperandEnded = true;
          continue;
        }
        case Kind::Plus:
        case Kind::Minus:
          if (bOperandEnded) {
            terms.push_back(sTerm);
            plusBefore.push_back(token.kind == Kind::Plus);
            bHasPlus = bHasPlus || token.kind == Kind::Plus;
            sTerm.clear();
            iContentEnd = 0;
            bOperandEnded = false;
          } else {
            sTerm += sText;  // a sign
            iContentEnd = sTerm.size();
          }
          break;
        case Kind::Keyword:
        case Kind::Boundary:
          flushSegment();
          sOut += sText;
          break;
        case Kind::Close:
          break;
      }
      ++i;
    }
    flushSegment();
    return sOut;
  }

  const QString& sSql_;
  std::vector<Token> tokens_;
};

}  // namespace

QString TsqlExpressions::RewritePlus(const QString& sSql) {
  // Each level of parentheses is a level of recursion in the rewriter.
  // SQLite refuses expressions nested deeper than 1000 levels, so such a
  // text is left for it to refuse rather than allowed to overflow the stack.
  int iDepth = 0;
  for (qsizetype i = 0; i < sSql.size();) {
    const qsizetype iOpaque = SqlScanner::SkipOpaque(sSql, i);
    if (iOpaque > i) {
      i = iOpaque;
      continue;
    }
    if (sSql[i] == u'(' && ++iDepth > 1000) return sSql;
    if (sSql[i] == u')' && iDepth > 0) --iDepth;
    ++i;
  }
  return PlusRewriter(sSql).Run();
}

}  // namespace twk
