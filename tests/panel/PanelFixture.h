// SPDX-License-Identifier: MIT
#pragma once

#include "ModuleFixture.h"
#include "ScriptedHost.h"
#include "ctlTWK.h"

#include <memory>

namespace twk::testing {

/// A database whose iMIS version was reviewed, a scripted host that logs in
/// to it as MANAGER on record 1001, and panels created on it.
class PanelFixture : public ModuleFixture {
 protected:
  void SetUp() override;

  /// One definition that returns iCount direct rows ranked 1..iCount, each
  /// with icon iIcon, and logs every run into the table runlog.
  void AddAlerts(int iCount, int iIcon = 3);
  /// A definition whose number of rows is read from the table howmany.
  void AddVariableAlerts(int iCount);
  void SetVariableCount(int iCount);
  /// How often the definitions have run.
  int Evaluations() const;

  /// A panel started with XtenderInit on the given host.
  std::unique_ptr<ctlTWK> StartPanel(ScriptedHost& onHost);

  ScriptedHost host;
};

}  // namespace twk::testing
