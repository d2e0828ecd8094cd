// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "ModuleFixture.h"
#include "ScriptedHost.h"
#include "ctlEditTWK.h"

namespace twk::testing {

/// A database whose iMIS version was reviewed, users with and without the
/// editor's keyword, a scripted host that logs in as EDITOR, and editors
/// started on it.
class EditorFixture : public ModuleFixture {
 protected:
  void SetUp() override;

  /// Adds a definition through SQLite itself; returns its number.
  QString AddDefinition(const QString& sName, const QString& sDescription, const QString& sCriteria,
                        bool bEnabled = true, const QString& sType = QStringLiteral("SQL"));
  /// Remakes the definitions table, rows kept, without its refusal of nulls,
  /// as a table written by other tools may be.
  void LetDefinitionsHoldNulls();
  /// Gives the login (as the host passes it) a Users row with these keywords.
  void AddUser(const QString& sUserId, const QString& sKeywords);
  void LogInAs(const QString& sLogin);

  /// An editor created and started with XtenderInit on the host.
  std::unique_ptr<ctlEditTWK> StartEditor();
  /// Makes a row of the list current and clicks it, as the mouse does.
  void ClickRow(ctlEditTWK& editor, int iRow);
  /// One column of the definitions table, in SEQN order, joined by "|".
  QString Column(const QString& sColumn) const;
  int Definitions() const;

  ScriptedHost host;
};

}  // namespace twk::testing
