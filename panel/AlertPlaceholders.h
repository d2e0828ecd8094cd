#pragma once

#include <QString>

namespace twk {

/// The SQL that an alert definition runs: its CRITERIA with "{id}", "{user}",
/// "@psId", "@id" and "@sUserName" (tried in that order, letter case
/// ignored) each replaced by the quoted record id or user name.
///
/// Every apostrophe of an inserted value is doubled, so a value can neither
/// break nor change the definition's SQL. The three @-names are replaced only
/// as whole names: not after another at-sign (@@IDENTITY, @@spid stay) and
/// not when a letter, digit or underscore follows (@idx stays). The braced
/// names are replaced wherever they stand. The text is scanned once, so an
/// inserted value is never searched for placeholders itself.
QString ReplacePlaceholders(const QString& sCriteria, const QString& sId, const QString& sAuthID);

}  // namespace twk
