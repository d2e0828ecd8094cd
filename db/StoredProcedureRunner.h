// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "ProcedureCall.h"
#include "Recordset.h"

struct sqlite3;

namespace twk {

class BatchExecutor;
struct BatchResult;

/// Runs exec statements: the built-in sp_server_info, and the procedures
/// kept in the database file in
///   twk_procedures (name text primary key collate nocase,
///                   parameters text not null default '', body text not null)
/// whose parameters list their @names in call order and whose body is a
/// batch that uses them. Arguments are bound, never pasted into the body.
class StoredProcedureRunner {
 public:
  StoredProcedureRunner(sqlite3* pDb, BatchExecutor& executor);

  /// Runs the call at nesting level iDepth; its result is the first result
  /// of the procedure's body.
  BatchResult Run(const ProcedureCall& call, int iDepth);

 private:
  struct Procedure {
    QString sName;
    QStringList parameterNames;
    QString sBody;
  };

  Procedure Load(const QString& sName) const;
  static ParameterBindings Bind(const Procedure& procedure, const ProcedureCall& call);
  static Recordset ServerInfo(const ProcedureCall& call);

  sqlite3* pDb_;
  BatchExecutor& executor_;
};

}  // namespace twk
