// SPDX-License-Identifier: MIT
#pragma once

#include "Recordset.h"

#include <QString>

#include <vector>

namespace twk {

/// One record of a connection's diagnostics list. A number above zero is an
/// error; zero or less is informational.
struct Diagnostic {
  long lNumber = 0;
  QString sDescription;
  QString sSqlState;
};

/// What a database backend does once it is open. Backends throw TwkError.
class Backend {
 public:
  virtual ~Backend() = default;

  /// Runs a whole batch and returns its first result: the rows of the first
  /// statement that yields rows, or a closed record set when the first
  /// result is a count of changed rows. A batch that yields nothing returns
  /// a closed record set. Rows may come from the database as the record set
  /// walks them; they stay whole when another batch runs or the connection
  /// closes before they are read.
  virtual Recordset Execute(const QString& sSql) = 0;

  /// The source named in errors ("SQLite", "ODBC").
  virtual QString SourceName() const = 0;
};

}  // namespace twk
