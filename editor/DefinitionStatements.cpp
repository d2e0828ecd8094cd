// SPDX-License-Identifier: MIT
#include "DefinitionStatements.h"

#include "Conversions.h"

namespace twk::DefinitionStatements {

namespace {

QString Quoted(const QString& sText) {
  return Conversions::QuoteApostrophes(sText);
}

QString Flag(const DefinitionForm& form) {
  return form.bEnabled ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

QString ListQuery() {
  return QStringLiteral(
      "select SEQN, ALERT_ID, CRITERIA, ENABLED, DESCRIPTION from ttwk_AlertDefinitions "
      "order by SEQN");
}

QString LoadQuery(const QString& sSeqn) {
  return QStringLiteral("select * from ttwk_AlertDefinitions where SEQN = ") + sSeqn;
}

QString AccessKeywordQuery(const QString& sAuthId) {
  // A login holding an apostrophe must be looked up, not break the query.
  return QStringLiteral("select AccessKeywords from Users where UserId = '") + Quoted(sAuthId) +
         QStringLiteral("'");
}

bool HoldsEditorKeyword(const QString& sAccessKeywords) {
  return sAccessKeywords.contains(QStringLiteral("TWKEdit"), Qt::CaseInsensitive);
}

QString UpdateStatement(const DefinitionForm& form) {
  // The type is doubled like every other text: an apostrophe typed into it
  // must not break the statement.
  return QStringLiteral("update ttwk_AlertDefinitions ") + QStringLiteral("set CRITERIA = '") +
         Quoted(form.sCriteria) + QStringLiteral("', ") + QStringLiteral("DESCRIPTION = '") +
         Quoted(form.sDescription) + QStringLiteral("', ") + QStringLiteral("ALERT_ID = '") +
         Quoted(form.sName) + QStringLiteral("', ") + QStringLiteral("ALERT_TYPE = '") +
         Quoted(form.sType) + QStringLiteral("', ") + QStringLiteral("ENABLED = ") + Flag(form) +
         QStringLiteral(" ") + QStringLiteral("where SEQN = ") + form.sSeqn;
}

QString InsertStatement(const DefinitionForm& form) {
  return QStringLiteral(
             "insert ttwk_AlertDefinitions(CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, "
             "ALERT_ID) ") +
         QStringLiteral("values('") + Quoted(form.sCriteria) + QStringLiteral("', ") + Flag(form) +
         QStringLiteral(", '") + Quoted(form.sDescription) + QStringLiteral("', '") +
         Quoted(form.sType) + QStringLiteral("', '") + Quoted(form.sName) + QStringLiteral("')");
}

QString DeleteStatement(const QString& sSeqn) {
  return QStringLiteral("delete ttwk_AlertDefinitions ") + QStringLiteral("where SEQN = ") + sSeqn;
}

QString NewNumberQuery() {
  return QStringLiteral("select @@identity");
}

QString ListDescription(const QString& sDescription, const QString& sCriteria) {
  const QString sTrimmed = Conversions::TrimSpaces(sDescription);
  if (!sDescription.isEmpty()) return sTrimmed;
  return QLatin1Char('"') + Conversions::TrimSpaces(sCriteria) + QLatin1Char('"');
}

std::optional<QString> SaveRefusal(const DefinitionForm& form) {
  if (form.sName.isEmpty()) return QStringLiteral("Alert Name cannot be blank.");
  if (form.sCriteria.isEmpty()) return QStringLiteral("Criteria cannot be blank.");
  return std::nullopt;
}

QString DeleteQuestion(const QString& sSeqn) {
  return QStringLiteral("Are you sure you want to delete Alert SEQN ") + sSeqn +
         QStringLiteral("?");
}

}  // namespace twk::DefinitionStatements
