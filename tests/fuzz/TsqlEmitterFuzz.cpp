// SPDX-License-Identifier: MIT
// The embedded engine's front end on any text, against the demo database's
// schema: parse, bind and emit end (the run's -timeout turns a hang into a
// failure) and fail only with TwkError; a batch that holds a NUL character
// is refused as such by the parser; the same text gives the same SQLite SQL
// every time, and every statement emitted for a statement that bound at
// compile time is one statement that SQLite prepares.
#include <sqlite3.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

#include "Binder.h"
#include "EmbeddedDatabase.h"
#include "Emitter.h"
#include "FuzzInput.h"
#include "Parser.h"
#include "SqliteCatalog.h"
#include "TsqlEngine.h"
#include "TsqlError.h"

namespace {

using twk::tsql::Statement;
using Kind = Statement::Kind;

// Opened once, read only: nothing here writes, so every input sees the
// same schema.
struct DemoSchema {
  QTemporaryDir folder;
  sqlite3* pDb = nullptr;
  DemoSchema() {
    if (!folder.isValid()) std::abort();
    const QString sPath = folder.filePath(QStringLiteral("demo.db"));
    twk::EmbeddedDatabase::Create(sPath, true);
    if (sqlite3_open_v2(QFile::encodeName(sPath).constData(), &pDb, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
      std::abort();
    }
    twk::embedded::TsqlEngine::PrepareConnection(pDb);
  }
};

sqlite3* Database() {
  static DemoSchema schema;
  return schema.pDb;
}

bool IsEmitted(Kind kind) {
  return kind == Kind::Select || kind == Kind::Insert || kind == Kind::Update ||
         kind == Kind::Delete || kind == Kind::Truncate || kind == Kind::CreateTable ||
         kind == Kind::DropTable;
}

void CheckPrepares(const QString& sSql) {
  sqlite3_stmt* pStatement = nullptr;
  const char* pTail = nullptr;
  const QByteArray sql = sSql.toUtf8();
  const int iResult =
      sqlite3_prepare_v2(Database(), sql.constData(), int(sql.size()), &pStatement, &pTail);
  if (iResult != SQLITE_OK) {
    std::fprintf(stderr, "SQLite refused %s: %s\n", sql.constData(), sqlite3_errmsg(Database()));
  }
  sqlite3_finalize(pStatement);
  TWK_FUZZ_REQUIRE(iResult == SQLITE_OK);
  TWK_FUZZ_REQUIRE(QByteArray(pTail).trimmed().isEmpty());
}

void EmitStatement(const twk::tsql::Binder& binder, const Statement& statement,
                   QStringList& emitted);

void EmitAll(const twk::tsql::Binder& binder, const std::vector<twk::tsql::StatementPtr>& list,
             QStringList& emitted) {
  for (const twk::tsql::StatementPtr& statement : list) {
    if (statement) EmitStatement(binder, *statement, emitted);
  }
}

// Emits the statement and those nested in it; appends the SQL in order.
void EmitStatement(const twk::tsql::Binder& binder, const Statement& statement,
                   QStringList& emitted) {
  EmitAll(binder, statement.statements, emitted);
  EmitAll(binder, statement.catchStatements, emitted);
  for (const Statement* pBody : {statement.body.get(), statement.elseBody.get()}) {
    if (pBody) EmitStatement(binder, *pBody, emitted);
  }
  if (!IsEmitted(statement.kind)) return;
  const twk::tsql::StatementBinding* pBinding = binder.Find(statement);
  // A deferred statement is bound when it runs, after the ones before it.
  if (!pBinding || pBinding->bDeferred) return;
  for (const twk::embedded::EmittedSql& sql : twk::embedded::Emitter::Emit(statement, *pBinding)) {
    // Tables made by the batch do not exist here: only statements on the
    // main schema's tables are prepared.
    if (statement.kind != Kind::CreateTable && statement.kind != Kind::DropTable &&
        !statement.target.IsTemporary()) {
      CheckPrepares(sql.sSql);
    }
    emitted.append(sql.sSql);
  }
}

/// The SQL emitted for the text, or the number and message of its error.
QStringList FrontEnd(const QString& sText) {
  QStringList emitted;
  try {
    twk::tsql::Batch batch = twk::tsql::Parse(sText);
    TWK_FUZZ_REQUIRE(!sText.contains(QChar(u'\0')));
    twk::embedded::SqliteCatalog catalog(Database());
    twk::tsql::Binder binder(catalog);
    binder.BindBatch(batch);
    EmitAll(binder, batch.statements, emitted);
  } catch (const twk::TwkError& error) {
    TWK_FUZZ_REQUIRE(!error.Description().isEmpty());
    if (sText.contains(QChar(u'\0'))) {
      TWK_FUZZ_REQUIRE(error.Description().contains(QLatin1StringView("NUL character")));
    }
    emitted = QStringList{QString::number(error.Number()), error.Description()};
  } catch (...) {
    TWK_FUZZ_REQUIRE(false && "the front end threw something other than TwkError");
  }
  return emitted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const QString sText =
      QString::fromUtf8(QByteArray(reinterpret_cast<const char*>(pData), qsizetype(iSize)));
  TWK_FUZZ_REQUIRE(FrontEnd(sText) == FrontEnd(sText));
  return 0;
}
