// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "Ast.h"

namespace twk::tsql {

/// Reads a whole T-SQL batch into its tree, or throws the TsqlError the
/// server would give (its number, wording and line); valid T-SQL the engine
/// does not run is refused with a TsqlError numbered NotRunByEngine. A batch
/// holding a NUL character is refused (102) wherever the NUL stands.
Batch Parse(const QString& sBatch);

}  // namespace twk::tsql
