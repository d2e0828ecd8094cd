// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "Token.h"

namespace twk::tsql {

/// Cuts T-SQL text into the tokens the server reads, in one pass: the tokens
/// cover the text end to end (blanks and comments included) and the last is
/// always an End token at the text's end.
class Tokenizer {
 public:
  static std::vector<Token> Tokenize(const QString& sBatch);

  /// The tokens without blanks and comments, End last: what a parser reads.
  static std::vector<Token> Significant(const QString& sBatch);

  /// The text a token stands for: strings without quotes and with doubled
  /// quotes made single, names without brackets; other tokens as written.
  static QString Unquoted(const Token& token, const QString& sBatch);

  /// True for a character that may start a name ("as the server allows":
  /// letters of any script, _, # and @).
  static bool IsNameStart(char32_t c);
  static bool IsNamePart(char32_t c);
};

}  // namespace twk::tsql
