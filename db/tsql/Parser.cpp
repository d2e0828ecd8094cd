// SPDX-License-Identifier: MIT
#include "Parser.h"

#include "StatementParser.h"
#include "TsqlError.h"

namespace twk::tsql {

Batch Parse(const QString& sBatch) {
  // SQLite reads a NUL as the end of the text, so a NUL kept in a literal or
  // comment would cut short whatever is emitted from it: no part of such a
  // batch is read, wherever the NUL stands.
  const qsizetype iNul = sBatch.indexOf(QChar(u'\0'));
  if (iNul >= 0) {
    throw TsqlError(102, QStringLiteral("Incorrect syntax: the batch contains a NUL character."),
                    static_cast<int>(QStringView(sBatch).left(iNul).count(u'\n')) + 1);
  }
  return StatementParser(sBatch).ParseBatch();
}

}  // namespace twk::tsql
