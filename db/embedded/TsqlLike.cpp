// SPDX-License-Identifier: MIT
#include "TsqlLike.h"

#include "FunctionArguments.h"
#include "TsqlCollation.h"

namespace twk::embedded {

namespace {

bool AllBlanks(QStringView sText) {
  for (const QChar c : sText) {
    if (c != u' ') return false;
  }
  return true;
}

// Order of two characters under the collation, for the bounds of a range.
int CompareCharacters(QChar a, QChar b) {
  if (a.unicode() < 0x80 && b.unicode() < 0x80) {
    return int(TsqlCollation::Folded(a.unicode())) - int(TsqlCollation::Folded(b.unicode()));
  }
  return TsqlCollation::Compare(QStringView(&a, 1), QStringView(&b, 1));
}

}  // namespace

TsqlLike::TsqlLike(QStringView sPattern, QStringView sEscape) {
  if (sEscape.size() > 1) {
    FailTsql(506, QStringLiteral("The invalid escape character \"%1\" was specified in a LIKE "
                                 "predicate.")
                      .arg(sEscape.toString()));
  }
  for (qsizetype i = 0; i < sPattern.size(); ++i) {
    const QChar c = sPattern[i];
    if (!sEscape.isEmpty() && c == sEscape[0] && i + 1 < sPattern.size()) {
      elements_.push_back({Kind::Literal, sPattern[++i], false, {}});
    } else if (c == u'%') {
      if (elements_.empty() || elements_.back().kind != Kind::Any)
        elements_.push_back({Kind::Any, c, false, {}});
    } else if (c == u'_') {
      elements_.push_back({Kind::One, c, false, {}});
    } else if (c == u'[' && sPattern.indexOf(u']', i + 1) > i) {
      i = ReadSet(sPattern, i + 1);
    } else {
      elements_.push_back({Kind::Literal, c, false, {}});
    }
  }
}

// Reads the set after "[" up to its "]"; returns the index of the "]".
qsizetype TsqlLike::ReadSet(QStringView sPattern, qsizetype i) {
  Element set{Kind::Set, {}, false, {}};
  if (sPattern[i] == u'^') {
    set.bNegated = true;
    ++i;
  }
  for (; sPattern[i] != u']'; ++i) {
    const QChar first = sPattern[i];
    if (i + 2 < sPattern.size() && sPattern[i + 1] == u'-' && sPattern[i + 2] != u']') {
      set.ranges.emplace_back(first, sPattern[i + 2]);
      i += 2;
    } else {
      set.ranges.emplace_back(first, first);
    }
  }
  elements_.push_back(std::move(set));
  return i;
}

bool TsqlLike::MatchesOne(const Element& element, QChar c) const {
  switch (element.kind) {
    case Kind::One:
      return true;
    case Kind::Literal:
      return TsqlCollation::SameCharacter(element.character.unicode(), c.unicode());
    case Kind::Set:
      for (const auto& [low, high] : element.ranges) {
        if (CompareCharacters(low, c) <= 0 && CompareCharacters(c, high) <= 0)
          return !element.bNegated;
      }
      return element.bNegated;
    case Kind::Any:
      break;
  }
  return false;
}

// Backtracks only to the last %, which keeps matching linear in practice.
bool TsqlLike::MatchFrom(std::size_t iElement, QStringView sValue) const {
  qsizetype v = 0;
  std::size_t e = iElement;
  std::size_t iStar = elements_.size();
  qsizetype iStarValue = 0;
  while (true) {
    if (e == elements_.size()) {
      if (AllBlanks(sValue.sliced(v))) return true;
    } else if (elements_[e].kind == Kind::Any) {
      iStar = e++;
      iStarValue = v;
      continue;
    } else if (v < sValue.size() && MatchesOne(elements_[e], sValue[v])) {
      ++e;
      ++v;
      continue;
    }
    if (iStar == elements_.size() || iStarValue >= sValue.size()) return false;
    e = iStar + 1;
    v = ++iStarValue;
  }
}

bool TsqlLike::Matches(QStringView sValue) const {
  return MatchFrom(0, sValue);
}

qsizetype TsqlLike::Find(QStringView sValue) const {
  if (elements_.empty() || elements_.front().kind != Kind::Any) return Matches(sValue) ? 1 : 0;
  for (qsizetype i = 0; i < sValue.size(); ++i) {
    if (MatchFrom(1, sValue.sliced(i))) return i + 1;
  }
  return 0;
}

}  // namespace twk::embedded
