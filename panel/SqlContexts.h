// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

namespace twk {

/// What a character of a definition's T-SQL text is part of. The server and
/// the embedded engine read the text with the same tokens, so one reading
/// serves both.
enum class SqlContext : unsigned char {
  Code,
  Literal,     // between apostrophes, N'' included
  QuotedName,  // between double quotes (a string under QUOTED_IDENTIFIER OFF)
  Bracketed,   // between [ and ]
  Comment,
};

/// The context of every character of sText, read by the T-SQL tokenizer;
/// the delimiters that open and close a literal, name or comment belong to
/// it, and one left open runs to the text's end.
std::vector<SqlContext> ReadSqlContexts(const QString& sText);

}  // namespace twk
