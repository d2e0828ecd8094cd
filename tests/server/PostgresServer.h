// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTemporaryDir>

#include "ConnectionSettings.h"
#include "OdbcTestEnvironment.h"

namespace twk::testing {

/// A PostgreSQL cluster of Debian's packages, created in a temporary folder
/// and listening on a free loopback port for as long as this object lives.
/// As root (CI) the server runs as the postgres account, since initdb and
/// the server refuse to run as root.
class PostgresServer {
 public:
  PostgresServer();
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  /// The one server of the test program, started at its first use.
  static PostgresServer& Shared();

  /// Why the server cannot run here (package missing); empty when it runs.
  QString MissingPackage() const { return sMissing_; }
  QString StartFailure() const { return sFailure_; }
  bool IsRunning() const { return sMissing_.isEmpty() && sFailure_.isEmpty(); }

  /// Settings that reach the server through psqlODBC's Unicode driver, by
  /// a data source defined in sScratchDir with the extra entries added.
  ConnectionSettings Settings(const QString& sScratchDir, const IniEntries& extra = {}) const;

  /// Runs SQL with psql, past every backend; returns the first value of the
  /// output (unaligned, no headers), or a failure text starting "ERROR".
  QString Psql(const QString& sSql) const;

 private:
  QString Run(const QStringList& command, bool bAsServerUser) const;

  QTemporaryDir folder_;
  QString sMissing_;
  QString sFailure_;
  QString sServerUser_;
  quint16 iPort_ = 0;
};

}  // namespace twk::testing
