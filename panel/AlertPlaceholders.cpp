// SPDX-License-Identifier: MIT
#include "AlertPlaceholders.h"

#include <QHash>
#include <array>
#include <vector>

#include "Conversions.h"
#include "SqlContexts.h"

namespace twk {

namespace {

struct Placeholder {
  QLatin1StringView sName;
  bool bWholeName;  // an @-name: replaced only where it stands alone
  bool bUser;       // takes the user name rather than the record id
};

// The order in which authors were promised the names are tried. No two of
// them can match at the same position, so a single scan keeps that promise.
constexpr std::array<Placeholder, 5> placeholders{{
    {QLatin1StringView("{id}"), false, false},
    {QLatin1StringView("{user}"), false, true},
    {QLatin1StringView("@psId"), true, false},
    {QLatin1StringView("@id"), true, false},
    {QLatin1StringView("@sUserName"), true, true},
}};

bool ContinuesName(QChar character) {
  return character.isLetterOrNumber() || character == QLatin1Char('_');
}

bool MatchesAt(const QString& sText, qsizetype iPos, const Placeholder& placeholder) {
  const qsizetype iLength = placeholder.sName.size();
  if (QStringView(sText).mid(iPos, iLength).compare(placeholder.sName, Qt::CaseInsensitive) != 0) {
    return false;
  }
  if (!placeholder.bWholeName) return true;
  // "@@IDENTITY" is a server variable, not our "@id" followed by "ENTITY".
  if (iPos > 0 && sText.at(iPos - 1) == QLatin1Char('@')) return false;
  const qsizetype iAfter = iPos + iLength;
  return iAfter >= sText.size() || !ContinuesName(sText.at(iAfter));
}

const Placeholder* PlaceholderAt(const QString& sText, qsizetype iPos) {
  const QChar character = sText.at(iPos);
  if (character != QLatin1Char('{') && character != QLatin1Char('@')) return nullptr;
  for (const Placeholder& placeholder : placeholders) {
    if (MatchesAt(sText, iPos, placeholder)) return &placeholder;
  }
  return nullptr;
}

// Where a placeholder takes a value: code, literals and quoted names; in a
// bracketed name or a comment it stays as written.
bool TakesValue(SqlContext context) {
  return context == SqlContext::Code || context == SqlContext::Literal ||
         context == SqlContext::QuotedName;
}

// The placeholder's characters are letters, braces and an at-sign, none of
// which opens or closes anything, so its first character tells its context.
QString ValueFor(SqlContext context, const QString& sValue) {
  switch (context) {
    case SqlContext::Code:
      return QLatin1Char('\'') + Conversions::QuoteApostrophes(sValue) + QLatin1Char('\'');
    case SqlContext::Literal:
      return Conversions::QuoteApostrophes(sValue);
    default: {
      QString sDoubled = sValue;
      return sDoubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    }
  }
}

struct Occurrence {
  qsizetype iPos;
  const Placeholder* pPlaceholder;
  SqlContext context;
};

// The placeholders of a text that take a value, in order; a text without
// any is not tokenized.
std::vector<Occurrence> Occurrences(const QString& sCriteria) {
  std::vector<Occurrence> found;
  std::vector<SqlContext> contexts;
  qsizetype iPos = 0;
  while (iPos < sCriteria.size()) {
    const Placeholder* pPlaceholder = PlaceholderAt(sCriteria, iPos);
    if (pPlaceholder && contexts.empty()) contexts = ReadSqlContexts(sCriteria);
    if (!pPlaceholder || !TakesValue(contexts[size_t(iPos)])) {
      ++iPos;
      continue;
    }
    found.push_back({iPos, pPlaceholder, contexts[size_t(iPos)]});
    iPos += pPlaceholder->sName.size();
  }
  return found;
}

// A panel runs the same definitions for every record it is opened on, so
// where their placeholders stand is read once a text.
const std::vector<Occurrence>& OccurrencesOf(const QString& sCriteria) {
  constexpr qsizetype iKeptTexts = 1024;
  thread_local QHash<QString, std::vector<Occurrence>> kept;
  const auto found = kept.constFind(sCriteria);
  if (found != kept.constEnd()) return *found;
  if (kept.size() >= iKeptTexts) kept.clear();
  return *kept.insert(sCriteria, Occurrences(sCriteria));
}

}  // namespace

ReplacedCriteria ReplacePlaceholdersTraced(const QString& sCriteria, const QString& sId,
                                           const QString& sAuthID) {
  ReplacedCriteria replaced;
  QString& sResult = replaced.sSql;
  sResult.reserve(sCriteria.size() + 32);
  qsizetype iCopied = 0;
  for (const Occurrence& occurrence : OccurrencesOf(sCriteria)) {
    sResult += QStringView(sCriteria).mid(iCopied, occurrence.iPos - iCopied);
    const QString sValue =
        ValueFor(occurrence.context, occurrence.pPlaceholder->bUser ? sAuthID : sId);
    const qsizetype iNameLength = occurrence.pPlaceholder->sName.size();
    replaced.edits.push_back({occurrence.iPos, iNameLength, sResult.size(), sValue.size()});
    sResult += sValue;
    iCopied = occurrence.iPos + iNameLength;
  }
  sResult += QStringView(sCriteria).mid(iCopied);
  return replaced;
}

QString ReplacePlaceholders(const QString& sCriteria, const QString& sId, const QString& sAuthID) {
  return ReplacePlaceholdersTraced(sCriteria, sId, sAuthID).sSql;
}

}  // namespace twk
