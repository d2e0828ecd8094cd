#include "SqliteConnection.h"

#include <QCoreApplication>
#include <utility>

#include "TwkError.h"

namespace twk {

namespace {

// Connection numbers come from an AUTOINCREMENT key in the file itself, so
// that every process sharing the file draws from one sequence that never
// hands a number out twice. They start above 50, where a server's user
// sessions start.
constexpr const char* sCreateConnections =
    "create table if not exists twk_connections (spid integer primary key autoincrement, "
    "process_id integer, opened text)";
constexpr const char* sSeedSequence =
    "insert into sqlite_sequence (name, seq) select 'twk_connections', 50 "
    "where not exists (select 1 from sqlite_sequence where name = 'twk_connections')";
constexpr const char* sInsertConnection =
    "insert into twk_connections (process_id, opened) values (?1, datetime('now', 'localtime'))";

}  // namespace

SqliteConnection::SqliteConnection(SqliteHandle db)
    : db_(std::move(db)), executor_(db_.get(), [this] { return Spid(); }) {}

SqliteConnection::~SqliteConnection() {
  ReleaseSpid();
}

Recordset SqliteConnection::Execute(const QString& sSql) {
  const bool bWasAutocommit = sqlite3_get_autocommit(db_.get()) != 0;
  try {
    BatchResult result = executor_.Run(sSql);
    if (result.bStopped) RollBackLeftover(bWasAutocommit);
    return result.first ? std::move(*result.first) : Recordset::Closed(-1);
  } catch (const TwkError&) {
    RollBackLeftover(bWasAutocommit);
    throw;
  }
}

long SqliteConnection::Spid() {
  if (lSpid_ == 0) lSpid_ = AllocateSpid();
  return lSpid_;
}

long SqliteConnection::AllocateSpid() {
  // Inside a transaction the caller opened, a savepoint keeps the number's
  // row within it; otherwise an immediate transaction takes the write lock
  // first, so that two processes cannot both read the same next number.
  const bool bOwnTransaction = sqlite3_get_autocommit(db_.get()) != 0;
  sqlite3* pDb = db_.get();
  RunFixed(pDb, bOwnTransaction ? "begin immediate" : "savepoint twk_spid");
  try {
    RunFixed(pDb, sCreateConnections);
    RunFixed(pDb, sSeedSequence);
    StatementHandle insert = PrepareFixed(pDb, sInsertConnection);
    BindValue(pDb, insert.get(), 1, QVariant(qint64(QCoreApplication::applicationPid())));
    CheckSqlite(pDb, sqlite3_step(insert.get()));
    const long lSpid = long(sqlite3_last_insert_rowid(pDb));
    RunFixed(pDb, bOwnTransaction ? "commit" : "release twk_spid");
    return lSpid;
  } catch (const TwkError&) {
    RunFixedQuietly(pDb, bOwnTransaction ? "rollback" : "rollback to twk_spid");
    if (!bOwnTransaction) RunFixedQuietly(pDb, "release twk_spid");
    throw;
  }
}

void SqliteConnection::ReleaseSpid() noexcept {
  if (lSpid_ == 0) return;
  try {
    // A transaction left open would take the delete with it when the
    // handle closes and rolls back.
    if (!sqlite3_get_autocommit(db_.get())) RunFixed(db_.get(), "rollback");
    StatementHandle remove = PrepareFixed(db_.get(), "delete from twk_connections where spid = ?1");
    BindValue(db_.get(), remove.get(), 1, QVariant(qint64(lSpid_)));
    CheckSqlite(db_.get(), sqlite3_step(remove.get()));
  } catch (...) {
    // Closing must not fail; a row left behind only marks a number as used.
  }
}

void SqliteConnection::RollBackLeftover(bool bWasAutocommit) noexcept {
  // A batch that fails halfway must not leave a transaction (and its write
  // lock on the shared file) open behind the caller's back.
  if (bWasAutocommit && !sqlite3_get_autocommit(db_.get())) {
    RunFixedQuietly(db_.get(), "rollback");
  }
}

}  // namespace twk
