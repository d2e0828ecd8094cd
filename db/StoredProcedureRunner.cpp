// SPDX-License-Identifier: MIT
#include "StoredProcedureRunner.h"

#include <algorithm>

#include "BatchExecutor.h"
#include "SqliteHandles.h"
#include "TwkError.h"

namespace twk {

namespace {

// The server's own limit; it also stops a procedure that calls itself.
constexpr int iMaximumNesting = 32;

[[noreturn]] void Fail(const QString& sDescription) {
  throw TwkError(sDescription, QStringLiteral("SQLite"), SQLITE_ERROR);
}

// Puts the caller's "set nocount" back when a procedure ends, as the server does.
class NoCountScope {
 public:
  explicit NoCountScope(BatchExecutor& executor) noexcept
      : executor_(executor), bSaved_(executor.NoCount()) {}
  ~NoCountScope() { executor_.SetNoCount(bSaved_); }
  NoCountScope(const NoCountScope&) = delete;
  NoCountScope& operator=(const NoCountScope&) = delete;

 private:
  BatchExecutor& executor_;
  bool bSaved_;
};

QStringList ParameterNames(const QString& sParameters) {
  QStringList names;
  for (const QString& sEntry : sParameters.split(u',', Qt::SkipEmptyParts)) {
    // Only the name counts; a type written after it is ignored.
    QString sName = sEntry.trimmed().section(u' ', 0, 0).trimmed();
    if (sName.isEmpty()) continue;
    if (!sName.startsWith(u'@')) sName.prepend(u'@');
    names.append(sName);
  }
  return names;
}

}  // namespace

StoredProcedureRunner::StoredProcedureRunner(sqlite3* pDb, BatchExecutor& executor)
    : pDb_(pDb), executor_(executor) {}

BatchResult StoredProcedureRunner::Run(const ProcedureCall& call, int iDepth) {
  if (iDepth > iMaximumNesting) {
    Fail(QStringLiteral("Maximum stored procedure nesting level exceeded (limit %1).")
             .arg(iMaximumNesting));
  }
  if (call.sName.compare(u"sp_server_info", Qt::CaseInsensitive) == 0) {
    return BatchResult{ServerInfo(call), false};
  }
  const Procedure procedure = Load(call.sName);
  const ParameterBindings bindings = Bind(procedure, call);
  NoCountScope noCountScope(executor_);
  return executor_.Run(procedure.sBody, bindings, iDepth);
}

StoredProcedureRunner::Procedure StoredProcedureRunner::Load(const QString& sName) const {
  const QString sNotFound = QStringLiteral("Could not find stored procedure '%1'.").arg(sName);
  if (!MainObjectExists(pDb_, "twk_procedures")) Fail(sNotFound);
  StatementHandle statement =
      PrepareFixed(pDb_, "select name, parameters, body from main.twk_procedures where name = ?1");
  BindValue(pDb_, statement.get(), 1, sName);
  if (CheckSqlite(pDb_, sqlite3_step(statement.get())) != SQLITE_ROW) Fail(sNotFound);
  return Procedure{ColumnValue(statement.get(), 0).toString(),
                   ParameterNames(ColumnValue(statement.get(), 1).toString()),
                   ColumnValue(statement.get(), 2).toString()};
}

ParameterBindings StoredProcedureRunner::Bind(const Procedure& procedure,
                                              const ProcedureCall& call) {
  ParameterBindings bindings;
  for (const QString& sName : procedure.parameterNames) bindings.emplace_back(sName, QVariant());
  bool bNamedSeen = false;
  for (std::size_t i = 0; i < call.arguments.size(); ++i) {
    const ProcedureArgument& argument = call.arguments[i];
    if (argument.sName.isEmpty()) {
      if (bNamedSeen) {
        Fail(QStringLiteral("Must pass parameter number %1 and subsequent parameters as "
                            "'@name = value'. After the form '@name = value' has been used, all "
                            "subsequent parameters must be passed in the form '@name = value'.")
                 .arg(i + 1));
      }
      if (i >= bindings.size()) {
        Fail(QStringLiteral("Procedure or function %1 has too many arguments specified.")
                 .arg(procedure.sName));
      }
      bindings[i].second = argument.value;
      continue;
    }
    bNamedSeen = true;
    auto found = std::find_if(bindings.begin(), bindings.end(), [&](const auto& binding) {
      return binding.first.compare(argument.sName, Qt::CaseInsensitive) == 0;
    });
    if (found == bindings.end()) {
      Fail(QStringLiteral("%1 is not a parameter for procedure %2.")
               .arg(argument.sName, procedure.sName));
    }
    found->second = argument.value;
  }
  return bindings;
}

Recordset StoredProcedureRunner::ServerInfo(const ProcedureCall& call) {
  if (call.arguments.size() > 1) {
    Fail(QStringLiteral("Procedure or function sp_server_info has too many arguments specified."));
  }
  const std::vector<Recordset::Row> attributes = {
      {QVariant(qint64(1)), QVariant(QStringLiteral("DBMS_NAME")),
       QVariant(QStringLiteral("Microsoft SQL Server"))},
      {QVariant(qint64(2)), QVariant(QStringLiteral("DBMS_VER")),
       QVariant(QStringLiteral("SQLite ") + QString::fromUtf8(sqlite3_libversion()))},
  };
  const bool bAll = call.arguments.empty() || call.arguments.front().value.isNull();
  std::vector<Recordset::Row> rows;
  for (const Recordset::Row& row : attributes) {
    if (bAll || row.front().toLongLong() == call.arguments.front().value.toLongLong()) {
      rows.push_back(row);
    }
  }
  return Recordset({QStringLiteral("attribute_id"), QStringLiteral("attribute_name"),
                    QStringLiteral("attribute_value")},
                   std::move(rows));
}

}  // namespace twk
