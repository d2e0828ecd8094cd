// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "SqliteHandles.h"

namespace twk::bench {

/// A scratch folder on RAM-backed storage when the machine has it, so that
/// the figures measure the code and not the disk's syncs.
inline QString ScratchTemplate() {
  if (QDir(QStringLiteral("/dev/shm")).exists()) return QStringLiteral("/dev/shm/twk-bench-XXXXXX");
  return QDir::temp().filePath(QStringLiteral("twk-bench-XXXXXX"));
}

/// The benchmark's database file opened on SQLite's own API with its
/// definitions removed, for a benchmark to write the ones it measures.
inline twk::SqliteHandle OpenWithoutDefinitions(const QString& sFile) {
  sqlite3* pRaw = nullptr;
  const int iResult =
      sqlite3_open_v2(QFile::encodeName(sFile).constData(), &pRaw, SQLITE_OPEN_READWRITE, nullptr);
  twk::SqliteHandle db(pRaw);
  twk::CheckSqlite(db.get(), iResult);
  twk::RunFixed(db.get(), "delete from ttwk_AlertDefinitions");
  return db;
}

}  // namespace twk::bench
