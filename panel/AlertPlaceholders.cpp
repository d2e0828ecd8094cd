// SPDX-License-Identifier: MIT
#include "AlertPlaceholders.h"

#include <array>
#include <optional>

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

// The placeholder's characters are letters, braces and an at-sign, none of
// which opens or closes anything, so its first character tells its context.
std::optional<QString> ValueFor(SqlContext context, const QString& sValue) {
  switch (context) {
    case SqlContext::Code:
      return QLatin1Char('\'') + Conversions::QuoteApostrophes(sValue) + QLatin1Char('\'');
    case SqlContext::Literal:
      return Conversions::QuoteApostrophes(sValue);
    case SqlContext::QuotedName: {
      QString sDoubled = sValue;
      return sDoubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    }
    case SqlContext::Bracketed:
    case SqlContext::Comment:
      break;
  }
  return std::nullopt;
}

}  // namespace

ReplacedCriteria ReplacePlaceholdersTraced(const QString& sCriteria, const QString& sId,
                                           const QString& sAuthID) {
  const std::vector<SqlContext> contexts = ReadSqlContexts(sCriteria);
  ReplacedCriteria replaced;
  QString& sResult = replaced.sSql;
  sResult.reserve(sCriteria.size() + 32);
  qsizetype iPos = 0;
  while (iPos < sCriteria.size()) {
    const Placeholder* pPlaceholder = PlaceholderAt(sCriteria, iPos);
    const std::optional<QString> sValue =
        pPlaceholder ? ValueFor(contexts[size_t(iPos)], pPlaceholder->bUser ? sAuthID : sId)
                     : std::nullopt;
    if (!sValue) {
      sResult += sCriteria.at(iPos);
      ++iPos;
      continue;
    }
    const qsizetype iNameLength = pPlaceholder->sName.size();
    replaced.edits.push_back({iPos, iNameLength, sResult.size(), sValue->size()});
    sResult += *sValue;
    iPos += iNameLength;
  }
  return replaced;
}

QString ReplacePlaceholders(const QString& sCriteria, const QString& sId, const QString& sAuthID) {
  return ReplacePlaceholdersTraced(sCriteria, sId, sAuthID).sSql;
}

}  // namespace twk
