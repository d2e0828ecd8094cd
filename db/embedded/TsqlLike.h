// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace twk::embedded {

/// A LIKE pattern read once and matched under the collation TSQL: % any run,
/// _ one character, [abc], [a-f] and [^a-f] one of (or none of) a set, and an
/// optional escape character that makes the next character literal.
class TsqlLike {
 public:
  /// Throws TwkError 506 when the escape is longer than one character.
  TsqlLike(QStringView sPattern, QStringView sEscape = {});

  /// Whether the whole value matches; blanks trailing the value are ignored,
  /// blanks in the pattern count.
  bool Matches(QStringView sValue) const;
  /// The 1-based position where the pattern, taken as PATINDEX takes it,
  /// first matches; 0 when nowhere.
  qsizetype Find(QStringView sValue) const;

 private:
  enum class Kind { Literal, One, Any, Set };
  struct Element {
    Kind kind = Kind::Literal;
    QChar character;
    bool bNegated = false;
    std::vector<std::pair<QChar, QChar>> ranges;  // single characters are ranges of one
  };

  bool MatchFrom(std::size_t iElement, QStringView sValue) const;
  bool MatchesOne(const Element& element, QChar c) const;
  qsizetype ReadSet(QStringView sPattern, qsizetype i);

  std::vector<Element> elements_;
};

}  // namespace twk::embedded
