// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "Ast.h"
#include "Refusals.h"
#include "Token.h"

namespace twk::tsql {

/// The reading position of the parser over a batch's significant tokens, with
/// the checks every part of the grammar shares and the server's syntax errors.
class ParserCursor {
 public:
  /// Deeper nesting than this is refused with the server's error 191 long
  /// before the C++ stack is in danger.
  static constexpr int MaxDepth = 400;

 protected:
  explicit ParserCursor(const QString& sBatch);

  const QString& BatchText() const { return sBatch_; }
  const Token& Peek(int iAhead = 0) const;
  const Token& Current() const { return Peek(0); }
  const Token& Advance();
  bool AtEnd() const { return Current().kind == Token::Kind::End; }
  size_t Position() const { return iPos_; }

  /// The text of a token as written, and unquoted (strings and names).
  QString TextOf(const Token& token) const { return token.Text(sBatch_).toString(); }
  QString Unquoted(const Token& token) const;

  /// A plain word (case-insensitive), never a quoted name.
  bool IsWord(QStringView sWord, int iAhead = 0) const;
  bool AcceptWord(QStringView sWord);
  void ExpectWord(QStringView sWord);
  /// An operator or punctuation token with exactly this text.
  bool IsSymbol(QStringView sSymbol, int iAhead = 0) const;
  bool AcceptSymbol(QStringView sSymbol);
  void ExpectSymbol(QStringView sSymbol);

  /// A name: a word that is no reserved keyword, or a quoted name.
  bool IsName(int iAhead = 0) const;
  QString ExpectName();
  /// A name of one to four parts; db..Name leaves the middle part empty.
  ObjectName ExpectObjectName();
  /// A plain word, lower case, or empty when the current token is none.
  QString WordLower(int iAhead = 0) const;

  /// The span from the token at iStartPosition to the last token read.
  SourceSpan SpanFrom(size_t iStartPosition) const;

  /// The server's syntax error at the current token (102, or 156 at a reserved
  /// keyword; at the batch's end the last token), or the error of an
  /// unterminated literal, name or comment.
  [[noreturn]] void Fail() const;
  [[noreturn]] void FailAt(const Token& token) const;
  [[noreturn]] void Refuse(Refusals::Construct construct) const;
  [[noreturn]] void Raise(long lNumber, const QString& sMessage) const;

  /// Counts one level of nesting for its lifetime; past MaxDepth, error 191.
  class Nesting {
   public:
    explicit Nesting(ParserCursor& cursor);
    ~Nesting() noexcept { --cursor_.iDepth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    ParserCursor& cursor_;
  };

 private:
  bool IsReservedWord(const Token& token) const;

  const QString& sBatch_;
  std::vector<Token> tokens_;
  // Whether each token is a reserved word, once asked (-1 until then): the
  // grammar asks it of the same token many times.
  mutable std::vector<signed char> reserved_;
  size_t iPos_ = 0;
  int iDepth_ = 0;
};

}  // namespace twk::tsql
