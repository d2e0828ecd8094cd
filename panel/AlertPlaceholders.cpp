#include "AlertPlaceholders.h"

#include <array>

#include "Conversions.h"

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

QString Quoted(const QString& sValue) {
  return QLatin1Char('\'') + Conversions::QuoteApostrophes(sValue) + QLatin1Char('\'');
}

}  // namespace

QString ReplacePlaceholders(const QString& sCriteria, const QString& sId, const QString& sAuthID) {
  const QString sQuotedId = Quoted(sId);
  const QString sQuotedUser = Quoted(sAuthID);
  QString sResult;
  sResult.reserve(sCriteria.size() + 32);
  qsizetype iPos = 0;
  while (iPos < sCriteria.size()) {
    const QChar character = sCriteria.at(iPos);
    bool bReplaced = false;
    if (character == QLatin1Char('{') || character == QLatin1Char('@')) {
      for (const Placeholder& placeholder : placeholders) {
        if (!MatchesAt(sCriteria, iPos, placeholder)) continue;
        sResult += placeholder.bUser ? sQuotedUser : sQuotedId;
        iPos += placeholder.sName.size();
        bReplaced = true;
        break;
      }
    }
    if (!bReplaced) {
      sResult += character;
      ++iPos;
    }
  }
  return sResult;
}

}  // namespace twk
