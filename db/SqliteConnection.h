#pragma once

#include "Backend.h"
#include "BatchExecutor.h"
#include "SqliteHandles.h"

namespace twk {

/// An open embedded database: the Backend that SqliteBackend::Open returns.
/// Owns the SQLite handle, the connection's @@spid and its batch executor.
class SqliteConnection : public Backend {
 public:
  /// Takes over a handle that is open, checked and has its functions.
  explicit SqliteConnection(SqliteHandle db);
  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  Recordset Execute(const QString& sSql) override;
  QString SourceName() const override { return QStringLiteral("SQLite"); }

 private:
  long Spid();
  long AllocateSpid();
  void ReleaseSpid() noexcept;
  void RollBackLeftover(bool bWasAutocommit) noexcept;

  SqliteHandle db_;
  long lSpid_ = 0;
  BatchExecutor executor_;
};

}  // namespace twk
