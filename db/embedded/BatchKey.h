// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

namespace twk::embedded {

/// A literal of a batch's text that may take another value when the same
/// batch is run again: a string or a plain number.
struct BatchLiteral {
  qsizetype iStart = 0;  // where its token starts in the text
  QString sText;         // as written, quotes included
};

/// What a compiled batch is found by: the text with each string and plain
/// number replaced by what the binder reads of it (its kind, its length,
/// the digits that make a number int or decimal(p,s), and which earlier
/// literal it repeats), so that texts of one key differ only in values
/// that reach SQLite as parameters, and their tokens stand at the same
/// places. Everything else, spaces and comments included, stays as written,
/// so that every line number is the same too.
struct BatchKey {
  QString sKey;
  std::vector<BatchLiteral> literals;
  bool bCacheable = false;  // false for a text the tokenizer cannot finish

  static BatchKey Of(const QString& sBatch);
};

}  // namespace twk::embedded
