// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

namespace twk {

/// What a character of SQL text is part of, as one dialect reads it.
enum class SqlContext : unsigned char {
  Code,
  Literal,     // between apostrophes
  QuotedName,  // between double quotes (a string under QUOTED_IDENTIFIER OFF)
  Bracketed,   // between [ and ]
  Backticked,  // between backticks; SQLite only
  Comment,
};

/// The two readers a definition's text may meet: the server's T-SQL and the
/// embedded engine's SQLite. They differ in block comments (T-SQL nests
/// them), bracketed names (T-SQL doubles "]]" for one, SQLite ends at the
/// first "]"), backticks (SQLite only) and, to be safe, line comments (a
/// lone carriage return is taken to end one for T-SQL).
enum class SqlDialect { Tsql, Sqlite };

/// The context of every character of sText; the delimiters that open and
/// close a literal, name or comment belong to it.
std::vector<SqlContext> ReadSqlContexts(const QString& sText, SqlDialect dialect);

}  // namespace twk
