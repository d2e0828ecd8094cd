// SPDX-License-Identifier: MIT
#include "ProcedureCaller.h"

#include "BatchRun.h"
#include "QueryRunner.h"
#include "SqlBuilder.h"
#include "SqliteHandles.h"
#include "SqliteStatementCache.h"
#include "TsqlError.h"

namespace twk::embedded {

namespace {

// The server's own limit; it also stops a procedure that calls itself.
constexpr int iMaximumNesting = 32;

// Puts the caller's "set nocount" and nesting level back when a call ends,
// as the server does.
class CallScope {
 public:
  CallScope(EngineSession& session, int iDepth)
      : session_(session), bNoCount_(session.bNoCount), iNestLevel_(session.iNestLevel) {
    session.iNestLevel = iDepth;
  }
  ~CallScope() {
    session_.bNoCount = bNoCount_;
    session_.iNestLevel = iNestLevel_;
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  EngineSession& session_;
  bool bNoCount_;
  int iNestLevel_;
};

// The list split at its commas outside parentheses: decimal(10, 2) is one type.
QStringList Entries(const QString& sList) {
  QStringList entries(QString{});
  int iDepth = 0;
  for (const QChar c : sList) {
    if (c == u'(') ++iDepth;
    if (c == u')') --iDepth;
    if (c == u',' && iDepth == 0) {
      entries.append(QString());
    } else {
      entries.last().append(c);
    }
  }
  return entries;
}

std::vector<std::pair<QString, QString>> Parameters(const QString& sList) {
  std::vector<std::pair<QString, QString>> parameters;
  for (const QString& sEntry : Entries(sList)) {
    const QString sTrimmed = sEntry.trimmed();
    QString sName = sTrimmed.section(u' ', 0, 0);
    if (sName.isEmpty()) continue;
    if (!sName.startsWith(u'@')) sName.prepend(u'@');
    const QString sType = sTrimmed.section(u' ', 1).trimmed();
    parameters.emplace_back(sName, sType.isEmpty() ? QStringLiteral("nvarchar(4000)") : sType);
  }
  return parameters;
}

[[noreturn]] void TooManyArguments(const QString& sName, int iLine) {
  throw tsql::TsqlError(8144,
                        QStringLiteral("Procedure or function ") + sName +
                            QStringLiteral(" has too many arguments specified."),
                        iLine);
}

// A named argument must name one of the procedure's parameters; names
// compare as the server's default collation does, without case.
void CheckIsParameter(const QString& sArgument,
                      const std::vector<std::pair<QString, QString>>& parameters,
                      const QString& sProcedure, int iLine) {
  for (const auto& parameter : parameters) {
    if (parameter.first.compare(sArgument, Qt::CaseInsensitive) == 0) return;
  }
  throw tsql::TsqlError(
      8145, sArgument + QStringLiteral(" is not a parameter for procedure ") + sProcedure + u'.',
      iLine);
}

}  // namespace

BatchResult ProcedureCaller::Call(tsql::Statement& exec, int iDepth, QVariant& returned) {
  const int iLine = exec.span.iLine;
  if (iDepth > iMaximumNesting) {
    throw tsql::TsqlError(217,
                          QStringLiteral("Maximum stored procedure, function, trigger, or view "
                                         "nesting level exceeded (limit 32)."),
                          iLine);
  }
  const CallScope scope(session_, iDepth);
  if (exec.value) {  // exec (@sql): a batch of its own, with its own variables
    BatchRun run(session_, queries_.Evaluate(*exec.value, iLine).toString(), iDepth);
    return run.Start();
  }
  if (exec.procedure.Last().compare(u"sp_server_info", Qt::CaseInsensitive) == 0) {
    return ServerInfo(exec);
  }
  if (exec.procedure.Last().compare(u"sp_executesql", Qt::CaseInsensitive) == 0) {
    return ExecuteSql(exec, iDepth, returned);
  }
  return Run(Load(exec.procedure.Last(), iLine), exec, iDepth, returned);
}

ProcedureCaller::Procedure ProcedureCaller::Load(const QString& sName, int iLine) const {
  const auto notFound = [&] {
    return tsql::TsqlError(
        2812, QStringLiteral("Could not find stored procedure '") + sName + QStringLiteral("'."),
        iLine);
  };
  // Looked up at every call (the panel calls one for each record): the
  // statement is kept with the batches' own, and it reads in the schema
  // check's transaction, which the body's first statement then shares, so
  // that the call takes the file's lock once.
  static const QString sLookup =
      QStringLiteral("select name, parameters, body from main.twk_procedures where name = ?1");
  session_.catalog.Versions(false);
  SqliteStatementCache& cache = *session_.statements;
  StatementHandle statement = cache.Take(sLookup);
  if (!statement) {
    int iResult = SQLITE_OK;
    statement = cache.Prepare(sLookup, iResult);
    if (!statement && !MainObjectExists(session_.pDb, "twk_procedures")) throw notFound();
    if (!statement) CheckSqlite(session_.pDb, iResult == SQLITE_OK ? SQLITE_ERROR : iResult);
  }
  struct GiveBack {
    SqliteStatementCache& cache;
    StatementHandle& statement;
    ~GiveBack() { cache.Give(sLookup, std::move(statement)); }
  } giveBack{cache, statement};
  BindValue(session_.pDb, statement.get(), 1, sName);
  if (CheckSqlite(session_.pDb, sqlite3_step(statement.get())) != SQLITE_ROW) throw notFound();
  return Procedure{ColumnValue(statement.get(), 0).toString(),
                   Parameters(ColumnValue(statement.get(), 1).toString()),
                   ColumnValue(statement.get(), 2).toString()};
}

// The parameters are declared ahead of the body on its first line, so that
// the body's lines keep their numbers.
BatchResult ProcedureCaller::Run(const Procedure& procedure, tsql::Statement& exec, int iDepth,
                                 QVariant& returned) {
  const int iLine = exec.span.iLine;
  std::vector<BatchRun::Argument> arguments;
  QStringList declarations;
  for (const auto& [sName, sType] : procedure.parameters) declarations << sName + u' ' + sType;
  for (size_t i = 0; i < exec.arguments.size(); ++i) {
    const tsql::ExecArgument& argument = exec.arguments[i];
    if (argument.sParameter.isEmpty() && i >= procedure.parameters.size()) {
      TooManyArguments(procedure.sName, iLine);
    }
    if (!argument.sParameter.isEmpty()) {
      CheckIsParameter(argument.sParameter, procedure.parameters, procedure.sName, iLine);
    }
    const QString sName =
        argument.sParameter.isEmpty() ? procedure.parameters[i].first : argument.sParameter;
    if (!argument.value) continue;
    arguments.push_back({sName, queries_.Evaluate(*argument.value, iLine), argument.value->type});
  }
  const QString sPrefix = declarations.isEmpty()
                              ? QString()
                              : QStringLiteral("declare ") + declarations.join(u", ") + u';';
  const QString sText = sPrefix + procedure.sBody;
  auto& [sKnown, key] = session_.procedureKeys[procedure.sName];
  if (sKnown != sText) {
    key = BatchKey::Of(sText);
    sKnown = sText;
  }
  BatchRun run(session_, sText, key, iDepth, std::move(arguments));
  BatchResult result = run.Start();
  returned = run.ReturnValue();
  return result;
}

// sp_executesql @statement, @parameters, @p1 = v1, ...: the statement runs
// as a procedure whose parameters the second argument declares.
BatchResult ProcedureCaller::ExecuteSql(tsql::Statement& exec, int iDepth, QVariant& returned) {
  const int iLine = exec.span.iLine;
  std::vector<QString> texts;
  for (size_t i = 0; i < exec.arguments.size() && i < 2; ++i) {
    const tsql::ExecArgument& argument = exec.arguments[i];
    texts.push_back(argument.value ? queries_.Evaluate(*argument.value, iLine).toString()
                                   : QString());
  }
  if (texts.empty()) {
    throw tsql::TsqlError(
        201,
        QStringLiteral("Procedure or function 'sp_executesql' expects parameter '@statement', "
                       "which was not supplied."),
        iLine);
  }
  Procedure procedure{QStringLiteral("sp_executesql"),
                      Parameters(texts.size() > 1 ? texts[1] : QString()), texts[0]};
  tsql::Statement call;
  call.span = exec.span;
  for (size_t i = 2; i < exec.arguments.size(); ++i) {
    if (exec.arguments[i].bOutput) {
      RefuseConstruct(tsql::Refusals::Construct::ExecuteSqlOutput, exec.arguments[i].span);
    }
    call.arguments.push_back(std::move(exec.arguments[i]));
  }
  BatchResult result = Run(procedure, call, iDepth, returned);
  for (size_t i = 2; i < exec.arguments.size(); ++i) {
    exec.arguments[i] = std::move(call.arguments[i - 2]);
  }
  return result;
}

BatchResult ProcedureCaller::ServerInfo(tsql::Statement& exec) {
  const int iLine = exec.span.iLine;
  if (exec.arguments.size() > 1) TooManyArguments(QStringLiteral("sp_server_info"), iLine);
  const std::vector<Recordset::Row> attributes = {
      {QVariant(qint64(1)), QVariant(QStringLiteral("DBMS_NAME")),
       QVariant(QStringLiteral("Microsoft SQL Server"))},
      {QVariant(qint64(2)), QVariant(QStringLiteral("DBMS_VER")),
       QVariant(QStringLiteral("SQLite ") + QString::fromUtf8(sqlite3_libversion()))},
  };
  QVariant wanted;
  if (!exec.arguments.empty() && exec.arguments.front().value) {
    wanted = queries_.Evaluate(*exec.arguments.front().value, iLine);
  }
  std::vector<Recordset::Row> rows;
  for (const Recordset::Row& row : attributes) {
    if (wanted.isNull() || row.front().toLongLong() == wanted.toLongLong()) rows.push_back(row);
  }
  return BatchResult{Recordset({QStringLiteral("attribute_id"), QStringLiteral("attribute_name"),
                                QStringLiteral("attribute_value")},
                               std::move(rows)),
                     false};
}

}  // namespace twk::embedded
