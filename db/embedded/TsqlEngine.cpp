// SPDX-License-Identifier: MIT
#include "TsqlEngine.h"

#include "BatchRun.h"
#include "EngineSession.h"
#include "RegisterTsqlFunctions.h"
#include "SqliteHandles.h"
#include "SqliteStatementRows.h"

namespace twk::embedded {

namespace {

// error_number() and its kin: the error of the innermost catch block, NULL
// outside one.
template <typename Field>
void ErrorField(sqlite3_context* pContext, Field field) {
  const auto* pSession = static_cast<const EngineSession*>(sqlite3_user_data(pContext));
  if (pSession->caught.empty()) return sqlite3_result_null(pContext);
  ResultValue(pContext, field(pSession->caught.back()));
}

void ErrorNumber(sqlite3_context* pContext, int, sqlite3_value**) {
  ErrorField(pContext, [](const CaughtError& error) { return QVariant(qint64(error.lNumber)); });
}

void ErrorMessage(sqlite3_context* pContext, int, sqlite3_value**) {
  ErrorField(pContext, [](const CaughtError& error) { return QVariant(error.sMessage); });
}

void ErrorLine(sqlite3_context* pContext, int, sqlite3_value**) {
  ErrorField(pContext, [](const CaughtError& error) { return QVariant(qint64(error.iLine)); });
}

void ErrorSeverity(sqlite3_context* pContext, int, sqlite3_value**) {
  ErrorField(pContext, [](const CaughtError&) { return QVariant(qint64(16)); });
}

void ErrorState(sqlite3_context* pContext, int, sqlite3_value**) {
  ErrorField(pContext, [](const CaughtError&) { return QVariant(qint64(1)); });
}

// The last identity this connection inserted: the engine runs no triggers,
// so the scope's is the session's.
void ScopeIdentity(sqlite3_context* pContext, int, sqlite3_value**) {
  const auto* pSession = static_cast<const EngineSession*>(sqlite3_user_data(pContext));
  if (!pSession->identity) return sqlite3_result_null(pContext);
  sqlite3_result_double(pContext, double(*pSession->identity));
}

}  // namespace

// What is left of a batch whose first result is still being read.
struct TsqlEngine::Rest : Remainder {
  Rest(TsqlEngine* pOwner, std::unique_ptr<BatchRun> left, bool bAutocommit)
      : pEngine(pOwner), run(std::move(left)), bStartedInAutocommit(bAutocommit) {}
  void Run() noexcept override {
    TsqlEngine* pOwner = std::exchange(pEngine, nullptr);
    if (pOwner && run->Resume()) RollBackLeftover(pOwner->pDb_, bStartedInAutocommit);
    run.reset();
    if (pOwner) pOwner->session_->catalog.BatchDone();
  }
  void Drop() noexcept {
    pEngine = nullptr;
    run.reset();
  }
  TsqlEngine* pEngine;  // null once run, or when the connection closed first
  std::unique_ptr<BatchRun> run;
  bool bStartedInAutocommit;
  SqliteStatementRows* pRows = nullptr;  // alive as long as this is: it owns it
};

TsqlEngine::TsqlEngine(sqlite3* pDb, SpidSource spidSource)
    : pDb_(pDb), session_(std::make_unique<EngineSession>(pDb, std::move(spidSource))) {
  sqlite3_update_hook(pDb_, &TsqlEngine::OnUpdate, session_.get());
  RegisterSessionFunctions();
}

TsqlEngine::~TsqlEngine() {
  // A result still being read outlives the connection; the rest of its
  // batch is dropped with it, as a server drops it when a session ends.
  if (const std::shared_ptr<Rest> rest = pending_.lock()) rest->Drop();
  sqlite3_update_hook(pDb_, nullptr, nullptr);
}

void TsqlEngine::PrepareConnection(sqlite3* pDb) {
  RegisterTsqlFunctions(pDb);
  if (!sqlite3_db_filename(pDb, "twk_temp"))
    RunFixed(pDb, "attach database ':memory:' as twk_temp");
}

BatchResult TsqlEngine::Run(const QString& sBatch) {
  FinishPending();
  // Another connection may have changed the file's tables since the last batch.
  session_->catalog.CheckMainAgain();
  const bool bWasAutocommit = sqlite3_get_autocommit(pDb_) != 0;
  try {
    auto run = std::make_unique<BatchRun>(*session_, sBatch, 0);
    BatchResult result = run->Start();
    session_->catalog.EndCheck();
    if (run->HasRest()) {
      SqliteStatementRows* pRows = run->Streaming();
      auto rest = std::make_shared<Rest>(this, std::move(run), bWasAutocommit);
      rest->pRows = pRows;
      pRows->SetRemainder(rest);
      pending_ = rest;
      return result;
    }
    session_->catalog.BatchDone();
    if (result.bStopped) RollBackLeftover(pDb_, bWasAutocommit);
    return result;
  } catch (...) {
    session_->catalog.EndCheck();
    session_->catalog.BatchDone();
    RollBackLeftover(pDb_, bWasAutocommit);
    throw;
  }
}

void TsqlEngine::EndSchemaCheck() noexcept {
  session_->catalog.EndCheck();
}

bool TsqlEngine::NoCount() const noexcept {
  return session_->bNoCount;
}

// A batch sent while the last one's first result is still being read
// waits for the rest of that one, as on a server.
void TsqlEngine::FinishPending() noexcept {
  if (const std::shared_ptr<Rest> rest = pending_.lock()) {
    if (rest->pEngine) rest->pRows->Drain();
  }
  pending_.reset();
}

void TsqlEngine::RegisterSessionFunctions() {
  const std::pair<const char*, void (*)(sqlite3_context*, int, sqlite3_value**)> functions[] = {
      {"tsql_error_number", &ErrorNumber}, {"tsql_error_message", &ErrorMessage},
      {"tsql_error_line", &ErrorLine},     {"tsql_error_severity", &ErrorSeverity},
      {"tsql_error_state", &ErrorState},   {"tsql_scope_identity", &ScopeIdentity},
  };
  for (const auto& [sName, pFunction] : functions) {
    CheckSqlite(pDb_, sqlite3_create_function_v2(pDb_, sName, 0, SQLITE_UTF8, session_.get(),
                                                 pFunction, nullptr, nullptr, nullptr));
  }
}

void TsqlEngine::OnUpdate(void* pSession, int iOperation, const char* sDatabase, const char* sTable,
                          long long lRowId) {
  if (iOperation != SQLITE_INSERT) return;
  auto* pState = static_cast<EngineSession*>(pSession);
  if (pState->inserts.size() > 64) pState->inserts.erase(pState->inserts.begin());
  pState->inserts.push_back({QByteArray(sDatabase), {QByteArray(sTable), qint64(lRowId)}});
}

}  // namespace twk::embedded
