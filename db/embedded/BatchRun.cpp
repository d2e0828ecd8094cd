// SPDX-License-Identifier: MIT
#include "BatchRun.h"

#include <QRegularExpression>

#include "EmittedStatement.h"
#include "Parser.h"
#include "ProcedureCaller.h"
#include "SqlBuilder.h"
#include "SqliteHandles.h"
#include "SteppedAssignment.h"
#include "TableDefinitionEmitter.h"
#include "TsqlError.h"
#include "TypeRules.h"

namespace twk::embedded {

using tsql::Statement;
using Kind = tsql::Statement::Kind;

namespace {

// Takes a catch block's error off the session however the block ends.
class CatchScope {
 public:
  CatchScope(EngineSession& session, const TwkError& error) : session_(session) {
    const auto* pTsql = dynamic_cast<const tsql::TsqlError*>(&error);
    session.caught.push_back({error.Number(), pTsql ? pTsql->Message() : error.Description(),
                              pTsql ? pTsql->Line() : 0});
  }
  ~CatchScope() { session_.caught.pop_back(); }
  CatchScope(const CatchScope&) = delete;
  CatchScope& operator=(const CatchScope&) = delete;

 private:
  EngineSession& session_;
};

// Statements after which @@error is 0 when they succeed; those holding
// other statements leave what their last one set.
bool ClearsError(Kind kind) {
  return kind != Kind::If && kind != Kind::While && kind != Kind::Block && kind != Kind::TryCatch &&
         kind != Kind::Return;
}

// The one statement that still runs under "set noexec on".
bool SetsNoExec(const Statement& statement) {
  if (statement.kind != Kind::SetOption) return false;
  for (const QString& sOption : statement.options) {
    if (sOption == u"noexec") return true;
  }
  return false;
}

}  // namespace

BatchRun::BatchRun(EngineSession& session, const QString& sBatch, int iDepth,
                   std::vector<Argument> arguments)
    : BatchRun(session, sBatch, BatchKey::Of(sBatch), iDepth, std::move(arguments)) {}

BatchRun::BatchRun(EngineSession& session, const QString& sBatch, BatchKey key, int iDepth,
                   std::vector<Argument> arguments)
    : session_(session),
      compiled_(Compiled(session, sBatch, std::move(key))),
      batch_(compiled_->Batch()),
      iDepth_(iDepth),
      arguments_(std::move(arguments)),
      binder_(compiled_->Binder()),
      queries_(session, variables_, *compiled_, result_) {}

BatchRun::~BatchRun() {
  DropTableVariables();
  session_.batches.Give(std::move(compiled_));
}

// The batch compiled for an earlier run of the same text (but for the
// values of its literals), while the tables it named are unchanged. A
// procedure's body and dynamic SQL are kept too: the panel calls one for
// each record.
std::unique_ptr<CompiledBatch> BatchRun::Compiled(EngineSession& session, const QString& sBatch,
                                                  BatchKey key) {
  if (key.bCacheable) {
    std::unique_ptr<CompiledBatch> kept = session.batches.Take(key.sKey);
    if (kept && kept->StillValid() && kept->Adopt(key)) return kept;
  }
  return std::make_unique<CompiledBatch>(session.catalog, sBatch, std::move(key));
}

BatchResult BatchRun::Start() {
  if (!compiled_->IsBound()) compiled_->Bind();
  RunTop(0);
  // The moved-from first result stays engaged, so that the statements of
  // a rest still know the batch has its first result.
  return std::move(result_);
}

bool BatchRun::Resume() noexcept {
  const size_t iFrom = std::exchange(iResume_, 0);
  try {
    RunTop(iFrom);
  } catch (...) {
    result_.bStopped = true;
  }
  return result_.bStopped;
}

void BatchRun::RunTop(size_t iFrom) {
  std::vector<tsql::StatementPtr>& top = batch_.statements;
  for (size_t i = iFrom; i < top.size() && !result_.bStopped; ++i) {
    pTopStatement_ = top[i].get();
    bLastTop_ = i + 1 == top.size();
    try {
      if (Run(*top[i]) == Flow::Return) return;
    } catch (const TwkError&) {
      // A client sees only the first result; once it exists, an error ends
      // the batch instead of replacing it.
      if (!result_.first) throw;
      result_.bStopped = true;
      return;
    }
    if (std::exchange(bSuspended_, false)) {
      iResume_ = i + 1;  // past the end when none follows: the run lives on till the rows are read
      return;
    }
  }
}

BatchRun::Flow BatchRun::RunList(std::vector<tsql::StatementPtr>& statements) {
  for (tsql::StatementPtr& statement : statements) {
    if (result_.bStopped) return Flow::Return;  // by a procedure it called
    const Flow flow = Run(*statement);
    if (flow != Flow::Next) return flow;
  }
  return Flow::Next;
}

BatchRun::Flow BatchRun::Run(Statement& statement) {
  // Compiled with the batch, run for nothing: a table the batch would have
  // created is not there to bind, as the server defers such names too.
  if (session_.bNoExec && !SetsNoExec(statement)) return Flow::Next;
  try {
    // Named a table that did not exist when the batch was compiled: bound
    // now that the statements before it ran, as the server compiles it.
    if (compiled_->IsLate(statement)) compiled_->BindWhenReached(statement);
    const Flow flow = Dispatch(statement);
    if (ClearsError(statement.kind)) session_.lError = 0;
    return flow;
  } catch (const TwkError& error) {
    session_.lError = error.Number();
    throw;
  }
}

BatchRun::Flow BatchRun::Dispatch(Statement& statement) {
  switch (statement.kind) {
    case Kind::If:
      if (queries_.Holds(*statement.condition, statement.span.iLine)) return Run(*statement.body);
      return statement.elseBody ? Run(*statement.elseBody) : Flow::Next;
    case Kind::While:
      return While(statement);
    case Kind::Break:
      return Flow::Break;
    case Kind::Continue:
      return Flow::Continue;
    case Kind::Block:
      return RunList(statement.statements);
    case Kind::TryCatch:
      return TryCatch(statement);
    case Kind::Return:
      return Return(statement);
    default:
      RunSimple(statement);
      return Flow::Next;
  }
}

// The statements that hold no others.
void BatchRun::RunSimple(Statement& statement) {
  switch (statement.kind) {
    case Kind::Declare:
      return Declare(statement);
    case Kind::SetVariable:
      return SetVariable(statement);
    case Kind::Print:
      queries_.Evaluate(*statement.value, statement.span.iLine);  // a message, not a result
      session_.lRowCount = 0;
      return;
    case Kind::SetOption:
      return SetOption(statement);
    case Kind::BeginTransaction:
    case Kind::Commit:
    case Kind::Rollback:
    case Kind::SaveTransaction:
      return Transaction(statement);
    case Kind::Raiserror:
    case Kind::Throw:
      return Raise(statement);
    case Kind::Exec:
      return Exec(statement);
    case Kind::Empty:
      return;
    default:
      return Query(statement);
  }
}

BatchRun::Flow BatchRun::While(Statement& statement) {
  while (queries_.Holds(*statement.condition, statement.span.iLine)) {
    const Flow flow = Run(*statement.body);
    if (flow == Flow::Break) break;
    if (flow == Flow::Return) return flow;
  }
  return Flow::Next;
}

BatchRun::Flow BatchRun::TryCatch(Statement& statement) {
  try {
    return RunList(statement.statements);
  } catch (const TwkError& error) {
    const CatchScope scope(session_, error);
    return RunList(statement.catchStatements);
  }
}

BatchRun::Flow BatchRun::Return(Statement& statement) {
  if (statement.value) returnValue_ = queries_.Evaluate(*statement.value, statement.span.iLine);
  return Flow::Return;
}

void BatchRun::Query(Statement& statement) {
  const bool bMayStream = iDepth_ == 0 && &statement == pTopStatement_;
  bSuspended_ = queries_.Run(statement, bMayStream, bLastTop_);
}

void BatchRun::Declare(Statement& statement) {
  const int iLine = statement.span.iLine;
  for (const tsql::VariableDeclaration& declaration : statement.variables) {
    if (declaration.bTable) {
      // Dropped when the batch ends, however it ends.
      tableVariables_.push_back(declaration.sName);
      queries_.Execute(TableDefinitionEmitter::CreateTableVariable(declaration), iLine);
      continue;
    }
    variables_.Declare(declaration.sName, declaration.type);
    for (const Argument& argument : arguments_) {
      if (argument.sName.compare(declaration.sName, Qt::CaseInsensitive) != 0) continue;
      variables_.Assign(declaration.sName, argument.value, argument.type, iLine);
    }
    if (!declaration.initial) continue;
    variables_.Assign(declaration.sName, queries_.Evaluate(*declaration.initial, iLine),
                      declaration.initial->type, iLine);
    session_.lRowCount = 1;
  }
}

void BatchRun::SetVariable(Statement& statement) {
  if (statement.sOperator.size() > 1) {
    SteppedAssignment::MakePlain(statement.sOperator, statement.value, statement.sVariable,
                                 variables_.Type(statement.sVariable));
  }
  const int iLine = statement.span.iLine;
  variables_.Assign(statement.sVariable, queries_.Evaluate(*statement.value, iLine),
                    statement.value->type, iLine);
  session_.lRowCount = 1;
}

// Session options of the server other than nocount have no meaning here and
// are accepted, as server scripts set them; rowcount would change results.
void BatchRun::SetOption(const Statement& statement) {
  const bool bOn = statement.sValue.compare(u"on", Qt::CaseInsensitive) == 0;
  for (const QString& sOption : statement.options) {
    if (sOption == u"nocount") session_.bNoCount = bOn;
    if (sOption == u"noexec") session_.bNoExec = bOn;
    if (sOption == u"rowcount" && statement.sValue != u"0") {
      RefuseConstruct(tsql::Refusals::Construct::SetRowcount, statement.span);
    }
  }
  session_.lRowCount = 0;
}

// A transaction takes the write lock when it begins, so that concurrent
// definitions wait for each other instead of failing halfway.
void BatchRun::Transaction(const Statement& statement) {
  const int iLine = statement.span.iLine;
  const int iCount = session_.TranCount();
  if (statement.kind == Kind::SaveTransaction) {
    RefuseConstruct(tsql::Refusals::Construct::SaveTransaction, statement.span);
  } else if (statement.kind == Kind::BeginTransaction) {
    if (iCount == 0) {
      const int iResult = sqlite3_exec(session_.pDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
      if (iResult != SQLITE_OK) EmittedStatement::Fail(session_.pDb, iResult, iLine);
    }
    session_.iTranCount = iCount + 1;
  } else if (iCount == 0) {
    const bool bCommit = statement.kind == Kind::Commit;
    throw tsql::TsqlError(bCommit ? 3902 : 3903,
                          QStringLiteral("The %1 TRANSACTION request has no corresponding BEGIN "
                                         "TRANSACTION.")
                              .arg(bCommit ? u"COMMIT" : u"ROLLBACK"),
                          iLine);
  } else if (statement.kind == Kind::Commit && iCount > 1) {
    session_.iTranCount = iCount - 1;
  } else {
    const char* sSql = statement.kind == Kind::Commit ? "COMMIT" : "ROLLBACK";
    if (sqlite3_exec(session_.pDb, sSql, nullptr, nullptr, nullptr) != SQLITE_OK) {
      EmittedStatement::Fail(session_.pDb, sqlite3_errcode(session_.pDb), iLine);
    }
    session_.iTranCount = 0;
  }
  session_.lRowCount = 0;
}

// raiserror with a severity of 10 or less is a message, as print is.
void BatchRun::Raise(const Statement& statement) {
  const int iLine = statement.span.iLine;
  const std::vector<tsql::ExprPtr>& args = statement.args;
  if (statement.kind == Kind::Throw && args.empty()) {
    if (session_.caught.empty()) {
      throw tsql::TsqlError(
          10704,
          QStringLiteral("To rethrow an error, a THROW statement must be used inside a "
                         "CATCH block."),
          iLine);
    }
    const CaughtError error = session_.caught.back();
    throw tsql::TsqlError(error.lNumber, error.sMessage, error.iLine);
  }
  if (statement.kind == Kind::Throw) {
    const long lNumber = queries_.Evaluate(*args[0], iLine).toLongLong();
    throw tsql::TsqlError(lNumber, queries_.Evaluate(*args[1], iLine).toString(), iLine);
  }
  QString sMessage = queries_.Evaluate(*args[0], iLine).toString();
  const int iSeverity = args.size() > 1 ? queries_.Evaluate(*args[1], iLine).toInt() : 16;
  for (size_t i = 3; i < args.size(); ++i) {
    static const QRegularExpression placeholder(QStringLiteral("%[-+ 0#]*\\d*[sdiu]"));
    const QRegularExpressionMatch match = placeholder.match(sMessage);
    if (!match.hasMatch()) break;
    sMessage.replace(match.capturedStart(), match.capturedLength(),
                     queries_.Evaluate(*args[i], iLine).toString());
  }
  if (iSeverity > 10) throw tsql::TsqlError(50000, sMessage, iLine);
  session_.lRowCount = 0;
}

void BatchRun::Exec(Statement& statement) {
  QVariant returned;
  BatchResult called = ProcedureCaller(session_, queries_).Call(statement, iDepth_ + 1, returned);
  if (called.first && !result_.first) result_.first = std::move(*called.first);
  result_.bStopped = result_.bStopped || called.bStopped;
  if (!statement.sVariable.isEmpty()) {
    variables_.Assign(statement.sVariable, returned.isNull() ? QVariant(qint64(0)) : returned,
                      tsql::SqlType::Of(tsql::SqlType::Kind::Int), statement.span.iLine);
  }
}

// Table variables live for the batch that declares them.
void BatchRun::DropTableVariables() noexcept {
  for (const QString& sName : std::exchange(tableVariables_, {})) {
    const QByteArray sDrop = QStringLiteral("DROP TABLE IF EXISTS \"%1\".\"%2\"")
                                 .arg(QStringView(SqlBuilder::kTemporarySchema), sName)
                                 .toUtf8();
    RunFixedQuietly(session_.pDb, sDrop.constData());
  }
}

}  // namespace twk::embedded
