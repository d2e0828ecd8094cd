// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace twk {

/// What the editor's form holds, as the commands read it.
struct DefinitionForm {
  QString sSeqn;  ///< empty when no stored definition is loaded
  QString sName;
  QString sDescription;
  QString sCriteria;
  QString sType;
  bool bEnabled = true;
};

/// The SQL texts and the messages of the alert definition editor, built
/// without any widget so that they can be checked text for text.
namespace DefinitionStatements {

/// The list's query, rows in ascending SEQN.
QString ListQuery();
/// One definition with all its columns, by its number as the list shows it.
QString LoadQuery(const QString& sSeqn);
/// The login's access keywords; the login is quoted, apostrophes doubled.
QString AccessKeywordQuery(const QString& sAuthId);
/// Whether the keyword text admits the editor: "TWKEdit" anywhere in it,
/// letter case ignored.
bool HoldsEditorKeyword(const QString& sAccessKeywords);

QString UpdateStatement(const DefinitionForm& form);
QString InsertStatement(const DefinitionForm& form);
QString DeleteStatement(const QString& sSeqn);
/// The query that reads back the number the last insert assigned.
QString NewNumberQuery();

/// What the DESCRIPTION column of the list shows for a row.
QString ListDescription(const QString& sDescription, const QString& sCriteria);
/// The message a Save refuses with, or nothing when the form may be stored.
std::optional<QString> SaveRefusal(const DefinitionForm& form);
/// The question Delete asks before it deletes.
QString DeleteQuestion(const QString& sSeqn);

}  // namespace DefinitionStatements

}  // namespace twk
