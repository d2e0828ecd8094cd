// SPDX-License-Identifier: MIT
#include "QueryOutcome.h"

#include "ModuleState.h"
#include "Steps.h"

namespace twk::modSubroutines {

bool Exec_SQL_Succeeded(const QString& sSql) {
  // Reported under the helper's own name: to the user this is the same
  // statement runner, only the caller learns more.
  Steps steps(QStringLiteral("modSubroutines"), QStringLiteral("Exec_SQL_No_Return"));
  return steps.Run(100, [&] { ModuleState::ForThisThread().SharedConnection().Execute(sSql); });
}

}  // namespace twk::modSubroutines
