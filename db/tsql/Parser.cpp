// SPDX-License-Identifier: MIT
#include "Parser.h"

#include "StatementParser.h"

namespace twk::tsql {

Batch Parse(const QString& sBatch) {
  return StatementParser(sBatch).ParseBatch();
}

}  // namespace twk::tsql
