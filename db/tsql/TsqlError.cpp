// SPDX-License-Identifier: MIT
#include "TsqlError.h"

namespace twk::tsql {

// Concatenated rather than built with arg(): the message quotes the author's
// text, which may itself hold "%1".
TsqlError::TsqlError(long lNumber, const QString& sMessage, int iLine)
    : TwkError(QStringLiteral("Line ") + QString::number(iLine) + QStringLiteral(": ") + sMessage,
               SourceName(), lNumber),
      sMessage_(sMessage),
      iLine_(iLine) {}

}  // namespace twk::tsql
