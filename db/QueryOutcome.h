// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk::modSubroutines {

/// Runs a statement on the shared connection exactly as Exec_SQL_No_Return
/// does, with the same error report on failure, and tells the caller whether
/// it succeeded, so that a command can keep the user's form after a failure.
bool Exec_SQL_Succeeded(const QString& sSql);

}  // namespace twk::modSubroutines
