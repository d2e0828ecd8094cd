// SPDX-License-Identifier: MIT
#pragma once

#include "ModuleState.h"
#include "RecordingPlatform.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

namespace twk::testing {

/// A fresh module state, recorded platform services and a new embedded
/// database with the Tellwick objects (no demo data) for every case.
class ModuleFixture : public ::testing::Test {
 protected:
  void SetUp() override;

  /// Opens the shared connection on the database without the start-up checks.
  void OpenShared();
  /// InitializeConnection on the database with the demo login.
  bool Start(qint32 lLevel = 1);

  /// Runs SQL on the file through SQLite itself, bypassing the libraries.
  void Raw(const QString& sSql) const;
  /// The first column of the first row through SQLite itself; "<none>" when
  /// there is no row, "<null>" for a null.
  QString RawValue(const QString& sSql) const;

  /// The recorded messages joined, for checks that something is absent.
  QString AllMessageText() const;

  RecordingPlatform platform;
  ScopedModuleState moduleState;
  QTemporaryDir scratch;
  QString sDatabaseFile;
};

}  // namespace twk::testing
