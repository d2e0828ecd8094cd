// SPDX-License-Identifier: MIT
#pragma once

#include "AnswerCheck.h"

namespace twk::bench {

/// An alert definition as a site writes it, in T-SQL that runs unchanged on
/// SQL Server, beside what a SQLite developer would write by hand for the
/// same answer: SQLite's own date functions for the server's, || for +,
/// printf for a decimal's digits, one statement where the batch needs
/// variables, the record id, user name and the connection's output rows
/// bound as :id, :user and :spid.
struct RealisticDefinition {
  const char* sAlertId;
  const char* sType;  ///< "SQL" or "SQLSilent"
  const char* sCriteria;
  const char* sSqlite;
  /// For a definition that writes the output table: the keyword its rows
  /// carry, so that those rows can be told apart from the others'.
  const char* sTableKeyword = nullptr;

  DefinitionPair Pair() const { return {sCriteria, sSqlite, sTableKeyword != nullptr}; }
};

}  // namespace twk::bench
