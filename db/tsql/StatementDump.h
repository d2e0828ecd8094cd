// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "Ast.h"

namespace twk::tsql {

/// The statement half of AstDump: one S-expression per statement.
class StatementDump {
 public:
  static QString Of(const Statement& statement);
};

}  // namespace twk::tsql
