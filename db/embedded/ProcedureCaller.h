// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

#include "Ast.h"
#include "BatchResult.h"
#include "EngineSession.h"

namespace twk::embedded {

class QueryRunner;

/// Runs exec statements: the built-in sp_server_info, exec of a text
/// (dynamic SQL, a batch of its own), and the procedures kept in the
/// database file in
///   twk_procedures (name text primary key collate nocase,
///                   parameters text not null default '', body text not null)
/// whose parameters list "@name [type]" in call order (nvarchar(4000) when
/// no type is written) and whose body is T-SQL that uses them. Arguments are
/// values, never pasted into the body.
class ProcedureCaller {
 public:
  ProcedureCaller(EngineSession& session, QueryRunner& queries)
      : session_(session), queries_(queries) {}

  /// Runs the call at nesting level iDepth; its result is the first result
  /// of what it ran, its return value goes to returned.
  BatchResult Call(tsql::Statement& exec, int iDepth, QVariant& returned);

 private:
  struct Procedure {
    QString sName;
    std::vector<std::pair<QString, QString>> parameters;  // name, type
    QString sBody;
  };

  Procedure Load(const QString& sName, int iLine) const;
  BatchResult Run(const Procedure& procedure, tsql::Statement& exec, int iDepth,
                  QVariant& returned);
  BatchResult ServerInfo(tsql::Statement& exec);
  BatchResult ExecuteSql(tsql::Statement& exec, int iDepth, QVariant& returned);

  EngineSession& session_;
  QueryRunner& queries_;
};

}  // namespace twk::embedded
