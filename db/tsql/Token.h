// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

namespace twk::tsql {

/// Where a piece of the author's text stands: offsets in UTF-16 code units
/// from the start of the batch, and the 1-based line the piece starts on, so
/// that every message can point at what the author wrote.
struct SourceSpan {
  qsizetype iStart = 0;
  qsizetype iEnd = 0;
  int iLine = 1;
};

/// One token of T-SQL text as the server reads it.
struct Token {
  enum class Kind {
    End,             // after the last token
    Word,            // keyword or plain name, #temp and ##global names included
    QuotedName,      // [name] or "name" (QUOTED_IDENTIFIER ON)
    String,          // 'text'
    UnicodeString,   // N'text'
    Integer,         // 123
    Decimal,         // 1.5, .5, 1.
    Float,           // 1e3, 1.5E-2
    Binary,          // 0x1F
    Money,           // $12.50
    Variable,        // @name
    SystemVariable,  // @@name
    Operator,        // + - * / % = <> != < > <= >= !< !> & | ^ ~ and compound assignments
    Punctuation,     // ( ) , . ; :
    Comment,         // -- to the line's end, or /* */ nested as the server nests them
    Blank,           // white space
    Unterminated,    // a literal, quoted name or comment without its end
    Unknown,         // a character T-SQL has no token for
  };

  Kind kind = Kind::End;
  SourceSpan span;

  /// The token's text in the batch, quotes and brackets included.
  QStringView Text(const QString& sBatch) const {
    return QStringView(sBatch).mid(span.iStart, span.iEnd - span.iStart);
  }
};

}  // namespace twk::tsql
