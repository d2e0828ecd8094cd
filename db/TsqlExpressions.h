// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// Rewrites of T-SQL expressions that need to see whole operands.
class TsqlExpressions {
 public:
  /// Puts twk_plus(a, b) in place of every binary a + b outside literals and
  /// comments, so that texts are joined and numbers added as on the server.
  /// Precedence is kept: * / % bind tighter, + and - go left to right.
  static QString RewritePlus(const QString& sSql);
};

}  // namespace twk
