// SPDX-License-Identifier: MIT
#pragma once

#include <QStringView>

namespace twk::tsql {

/// The server's reserved keywords: a word of this list is never a name unless
/// bracketed, and a syntax error at one reads "near the keyword 'x'".
class Keywords {
 public:
  static bool IsReserved(QStringView sWord);
};

}  // namespace twk::tsql
