// SPDX-License-Identifier: MIT
#include "Tokenizer.h"

namespace twk::tsql {

namespace {

using Kind = Token::Kind;

/// One pass over the text; each Read* function starts at iPos_ and returns
/// the kind of the token it consumed.
class Scanner {
 public:
  explicit Scanner(const QString& sBatch) : sText_(sBatch), iSize_(sBatch.size()) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    tokens.reserve(static_cast<size_t>(iSize_ / 3 + 1));
    int iLine = 1;
    while (iPos_ < iSize_) {
      Token token;
      token.span.iStart = iPos_;
      token.span.iLine = iLine;
      token.kind = ReadOne();
      token.span.iEnd = iPos_;
      for (qsizetype i = token.span.iStart; i < iPos_; ++i) {
        if (sText_[i] == u'\n') ++iLine;
      }
      tokens.push_back(token);
    }
    Token end;
    end.span = SourceSpan{iSize_, iSize_, iLine};
    tokens.push_back(end);
    return tokens;
  }

 private:
  char16_t At(qsizetype i) const { return i < iSize_ ? sText_[i].unicode() : u'\0'; }

  // The code point at i and its width in UTF-16 units (2 for a surrogate pair).
  char32_t CodePointAt(qsizetype i, int& iWidth) const {
    const char16_t c = At(i);
    iWidth = 1;
    if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(At(i + 1))) {
      iWidth = 2;
      return QChar::surrogateToUcs4(c, At(i + 1));
    }
    return c;
  }

  bool NameStartAt(qsizetype i) const {
    int iWidth = 0;
    return i < iSize_ && Tokenizer::IsNameStart(CodePointAt(i, iWidth));
  }

  void SkipNameParts() {
    int iWidth = 0;
    while (iPos_ < iSize_ && Tokenizer::IsNamePart(CodePointAt(iPos_, iWidth))) iPos_ += iWidth;
  }

  static bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
  static bool IsHexDigit(char16_t c) {
    return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
  }
  void SkipDigits() {
    while (IsDigit(At(iPos_))) ++iPos_;
  }

  Kind ReadOne() {
    const char16_t c = At(iPos_);
    const char16_t next = At(iPos_ + 1);
    if (QChar::isSpace(c) && c != u'\0') return ReadBlank();
    if (c == u'-' && next == u'-') return ReadLineComment();
    if (c == u'/' && next == u'*') return ReadBlockComment();
    if (c == u'\'') return ReadQuoted(u'\'', Kind::String);
    if ((c == u'N' || c == u'n') && next == u'\'') {
      ++iPos_;
      return ReadQuoted(u'\'', Kind::UnicodeString);
    }
    if (c == u'[') return ReadQuoted(u']', Kind::QuotedName);
    if (c == u'"') return ReadQuoted(u'"', Kind::QuotedName);
    if (c == u'@') return ReadVariable();
    if (c == u'0' && (next == u'x' || next == u'X')) return ReadBinary();
    if (IsDigit(c) || (c == u'.' && IsDigit(next))) return ReadNumber();
    if (c == u'$' && !NameStartAt(iPos_ + 1)) return ReadMoney();
    if (NameStartAt(iPos_) || c == u'$') {
      int iWidth = 0;
      CodePointAt(iPos_, iWidth);
      iPos_ += iWidth;
      SkipNameParts();
      return Kind::Word;
    }
    return ReadSymbol();
  }

  Kind ReadBlank() {
    while (iPos_ < iSize_ && QChar::isSpace(At(iPos_))) ++iPos_;
    return Kind::Blank;
  }

  Kind ReadLineComment() {
    while (iPos_ < iSize_ && At(iPos_) != u'\n' && At(iPos_) != u'\r') ++iPos_;
    return Kind::Comment;
  }

  // The server nests block comments: each /* inside opens one more level, and
  // quotes inside a comment mean nothing.
  Kind ReadBlockComment() {
    int iDepth = 0;
    while (iPos_ < iSize_) {
      if (At(iPos_) == u'/' && At(iPos_ + 1) == u'*') {
        ++iDepth;
        iPos_ += 2;
      } else if (At(iPos_) == u'*' && At(iPos_ + 1) == u'/') {
        iPos_ += 2;
        if (--iDepth == 0) return Kind::Comment;
      } else {
        ++iPos_;
      }
    }
    return Kind::Unterminated;
  }

  // 'text', [name] and "name": the closing character doubled stands for itself.
  Kind ReadQuoted(char16_t close, Kind kind) {
    ++iPos_;
    while (iPos_ < iSize_) {
      if (At(iPos_) == close) {
        if (At(iPos_ + 1) != close) {
          ++iPos_;
          return kind;
        }
        ++iPos_;
      }
      ++iPos_;
    }
    return Kind::Unterminated;
  }

  Kind ReadVariable() {
    const bool bSystem = At(iPos_ + 1) == u'@';
    iPos_ += bSystem ? 2 : 1;
    SkipNameParts();
    return bSystem ? Kind::SystemVariable : Kind::Variable;
  }

  Kind ReadBinary() {
    iPos_ += 2;
    while (IsHexDigit(At(iPos_))) ++iPos_;
    return Kind::Binary;
  }

  Kind ReadNumber() {
    Kind kind = Kind::Integer;
    SkipDigits();
    if (At(iPos_) == u'.') {
      kind = Kind::Decimal;
      ++iPos_;
      SkipDigits();
    }
    if (At(iPos_) == u'e' || At(iPos_) == u'E') {
      kind = Kind::Float;
      ++iPos_;
      if ((At(iPos_) == u'+' || At(iPos_) == u'-') && IsDigit(At(iPos_ + 1))) ++iPos_;
      SkipDigits();
    }
    return kind;
  }

  // $12.50, and a lone $ that the server reads as 0.00 money.
  Kind ReadMoney() {
    ++iPos_;
    SkipDigits();
    if (At(iPos_) == u'.') {
      ++iPos_;
      SkipDigits();
    }
    return Kind::Money;
  }

  Kind ReadSymbol() {
    const char16_t c = At(iPos_);
    const char16_t next = At(iPos_ + 1);
    ++iPos_;
    switch (c) {
      case u'(':
      case u')':
      case u',':
      case u'.':
      case u';':
      case u':':
        return Kind::Punctuation;
      case u'<':
        if (next == u'=' || next == u'>') ++iPos_;
        return Kind::Operator;
      case u'>':
        if (next == u'=') ++iPos_;
        return Kind::Operator;
      case u'!':
        if (next != u'=' && next != u'<' && next != u'>') return Kind::Unknown;
        ++iPos_;
        return Kind::Operator;
      case u'+':
      case u'-':
      case u'*':
      case u'/':
      case u'%':
      case u'&':
      case u'|':
      case u'^':
        if (next == u'=') ++iPos_;
        return Kind::Operator;
      case u'=':
      case u'~':
        return Kind::Operator;
      default:
        if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(next)) ++iPos_;
        return Kind::Unknown;
    }
  }

  const QString& sText_;
  const qsizetype iSize_;
  qsizetype iPos_ = 0;
};

}  // namespace

std::vector<Token> Tokenizer::Tokenize(const QString& sBatch) {
  return Scanner(sBatch).Run();
}

std::vector<Token> Tokenizer::Significant(const QString& sBatch) {
  std::vector<Token> tokens = Tokenize(sBatch);
  std::erase_if(tokens, [](const Token& token) {
    return token.kind == Kind::Blank || token.kind == Kind::Comment;
  });
  return tokens;
}

QString Tokenizer::Unquoted(const Token& token, const QString& sBatch) {
  QStringView sText = token.Text(sBatch);
  char16_t cClose = u'\'';
  switch (token.kind) {
    case Kind::UnicodeString:
      sText = sText.mid(1);
      break;
    case Kind::String:
      break;
    case Kind::QuotedName:
      cClose = sText.startsWith(u'[') ? u']' : u'"';
      break;
    default:
      return sText.toString();
  }
  QString sInner = sText.mid(1, sText.size() - 2).toString();
  const QChar doubled[2] = {cClose, cClose};
  if (sInner.indexOf(QStringView(doubled, 2)) >= 0) sInner.replace(doubled, 2, doubled, 1);
  return sInner;
}

// The server's rule for regular identifiers: a Unicode letter, _, @ or # first;
// then letters, decimal digits, @, $, # and _.
bool Tokenizer::IsNameStart(char32_t c) {
  return c == U'_' || c == U'#' || QChar::isLetter(c);
}

bool Tokenizer::IsNamePart(char32_t c) {
  return c == U'_' || c == U'#' || c == U'@' || c == U'$' || QChar::isLetterOrNumber(c);
}

}  // namespace twk::tsql
