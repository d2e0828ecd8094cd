// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

namespace twk {

/// Lexical steps over SQL text that both the T-SQL translator and the batch
/// executor take, so that they agree on what is a literal, a comment or a
/// quoted identifier. The rules follow SQLite's tokenizer, which reads the
/// text in the end.
class SqlScanner {
 public:
  /// White space as SQLite reads it (ASCII only).
  static bool IsSpace(QChar c) noexcept;
  static bool IsWordStart(QChar c) noexcept;
  static bool IsWordChar(QChar c) noexcept;

  /// Whether a comment ("--" or "/*") starts at iPos.
  static bool IsCommentStart(const QString& sText, qsizetype iPos) noexcept;

  /// The end of the string literal, quoted identifier or comment that starts
  /// at iPos; iPos itself when none starts there. An unterminated one runs
  /// to the end of the text.
  static qsizetype SkipOpaque(const QString& sText, qsizetype iPos) noexcept;

  /// The first position at or after iPos that is neither white space nor
  /// part of a comment.
  static qsizetype SkipSpaceAndComments(const QString& sText, qsizetype iPos) noexcept;

  /// The end of the word (letters, digits, '_', '$') that starts at iPos.
  static qsizetype WordEnd(const QString& sText, qsizetype iPos) noexcept;

  /// The word at iPos in lower case, or empty when no word starts there.
  static QString LowerWordAt(const QString& sText, qsizetype iPos);

  /// Where one string literal stands, its quotes included.
  struct Span {
    qsizetype iStart = 0;
    qsizetype iEnd = 0;
  };

  /// The string literals ('...') between iStart and iEnd, in order, outside
  /// comments and quoted names. False when one of them has no closing quote
  /// or text outside them holds one of sRefused (spans then incomplete).
  static bool StringLiterals(const QString& sText, qsizetype iStart, qsizetype iEnd,
                             std::vector<Span>& spans, QStringView sRefused = {});

  /// The text a literal stands for: its quotes gone, doubled quotes single.
  static QString LiteralValue(QStringView sLiteral);
};

}  // namespace twk
