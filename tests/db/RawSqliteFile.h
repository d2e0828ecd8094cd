// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

#include "Connection.h"

namespace twk::testing {

/// A database file reached with SQLite's own API, bypassing the backends, so
/// that tests can seed it and look at what really reached the disk.
class RawSqliteFile {
 public:
  explicit RawSqliteFile(QString sPath) : sPath_(std::move(sPath)) {}

  /// Creates the file (an empty database) when it does not exist yet.
  void Create() const;
  /// Runs SQL (one or more statements); a failure fails the test.
  void Exec(const char* sSql) const;
  /// The first column of the first row as text; empty when there is no row.
  QString Text(const char* sSql) const;
  /// The first column of the first row as a number; -1 when there is no row.
  qint64 Number(const char* sSql) const;
  /// The same file opened through the product's own connection, as the
  /// programs open it.
  std::unique_ptr<Connection> OpenConnection() const;

 private:
  QString sPath_;
};

}  // namespace twk::testing
