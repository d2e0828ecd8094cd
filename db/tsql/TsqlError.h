// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "TwkError.h"

namespace twk::tsql {

/// The number of every refusal of valid T-SQL that the embedded engine does not
/// run (merge, cursors, ...). The server has no message of this number: it
/// sits below the range of user-defined messages (50000 and up) and above the
/// server's own, so that it is told apart from both.
constexpr long NotRunByEngine = 49990;

/// An error the server would raise for a batch, with its message number and
/// the line of the author's text it concerns. Its description reads
/// "Line 3: Incorrect syntax near 'x'.", so that the author finds the place.
class TsqlError : public TwkError {
 public:
  TsqlError(long lNumber, const QString& sMessage, int iLine);

  const QString& Message() const noexcept { return sMessage_; }
  int Line() const noexcept { return iLine_; }

  /// The source every error of the language carries.
  static QString SourceName() { return QStringLiteral("T-SQL"); }

 private:
  QString sMessage_;
  int iLine_;
};

}  // namespace twk::tsql
