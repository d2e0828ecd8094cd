// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "BatchCache.h"
#include "BatchKey.h"
#include "EngineCatalog.h"
#include "SqliteStatementCache.h"

namespace twk::embedded {

/// The error a catch block handles, for error_number() and its kin.
struct CaughtError {
  long lNumber = 0;
  QString sMessage;
  int iLine = 0;
};

/// What one connection of the engine keeps between statements and batches,
/// as a server keeps it for a session: its options, its @@ values, its kept
/// statements and its catalogue.
struct EngineSession {
  EngineSession(sqlite3* pDatabase, std::function<long()> spid)
      : pDb(pDatabase),
        statements(std::make_shared<SqliteStatementCache>(pDatabase)),
        catalog(pDatabase),
        spidSource(std::move(spid)) {}

  /// @@trancount: the count of begin tran not yet committed, 0 once SQLite
  /// itself left the transaction. The catalogue's check is not one.
  int TranCount() {
    catalog.EndCheck();
    if (sqlite3_get_autocommit(pDb)) iTranCount = 0;
    return iTranCount;
  }

  sqlite3* pDb;
  // Shared with results still being read, which give their statement back.
  std::shared_ptr<SqliteStatementCache> statements;
  EngineCatalog catalog;
  // After the catalogue, which its batches' bindings read.
  BatchCache batches;
  std::function<long()> spidSource;
  bool bNoCount = false;
  /// "set noexec on": statements are compiled and not run, as on the server,
  /// until "set noexec off"; an author's check of a batch relies on it.
  bool bNoExec = false;
  long long lRowCount = 0;
  long lError = 0;
  int iTranCount = 0;
  int iNestLevel = 0;
  // @@identity: the last row this connection inserted into a table with an
  // identity column; inserts_ are those of the statement running.
  std::optional<qint64> identity;
  std::vector<std::pair<QByteArray, std::pair<QByteArray, qint64>>> inserts;
  // The innermost catch block's error; empty outside one.
  std::vector<CaughtError> caught;
  // Each procedure's text as last run, with its key: a procedure runs the
  // same text at every call, and reading its key cost a tenth of a call.
  QHash<QString, std::pair<QString, BatchKey>> procedureKeys;
};

}  // namespace twk::embedded
