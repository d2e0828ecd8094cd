// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <ostream>
#include <string>

#include "Connection.h"
#include "ConnectionSettings.h"

namespace twk::testing {

/// A backend the connection contract runs on: how to reach a given SQLite
/// database file through it.
struct BackendUnderTest {
  std::string sName;
  /// Settings that reach sDatabaseFile; sScratchDir is a directory the
  /// fixture owns (for an odbc.ini, say).
  std::function<ConnectionSettings(const QString& sDatabaseFile, const QString& sScratchDir)>
      settingsFor;
  /// Whether the backend runs several statements in one call.
  bool bRunsBatches = true;
  /// Whether non-ASCII text inside SQL text reaches the database intact (an
  /// ANSI-only ODBC driver gets it narrowed by the driver manager).
  bool bPassesNonAsciiSqlText = true;
  /// Whether a batch keeps its first result when a later statement fails.
  bool bKeepsFirstResultPastAnError = true;
  /// For a server: why it cannot run here (empty when it runs), how to
  /// empty it before a case, and how to run SQL on it past the backend.
  /// Unset, the database is the SQLite file itself.
  std::function<QString()> whyNotHere;
  std::function<void()> reset;
  std::function<QString(const char* sSql)> direct;
};

/// Names the backend in failure messages instead of dumping its bytes.
inline void PrintTo(const BackendUnderTest& backend, std::ostream* pStream) {
  *pStream << backend.sName;
}

inline std::string BackendName(const ::testing::TestParamInfo<BackendUnderTest>& info) {
  return info.param.sName;
}

/// Every case gets a fresh database file seeded through SQLite's own API
/// with the table below, and a connection object that is not yet open.
///
///   create table contacts (ID text primary key, FULL_NAME text,
///                          BALANCE real, VISITS integer, NOTE text)
///   ('101', 'Ann Émile ☃', 12.5, 3, NULL), ('102', 'Bob', -2.5, 0, 'note')
class ConnectionContract : public ::testing::TestWithParam<BackendUnderTest> {
 protected:
  void SetUp() override;

  /// Runs SQL on the database directly, bypassing the backend under test.
  void Seed(const char* sSql) const;
  /// The first value of a query run directly, as text.
  QString DirectText(const char* sSql) const;
  /// Opens the connection on the seeded file through the backend under test.
  void OpenConnection();

  QTemporaryDir scratch;
  QString sDatabaseFile;
  Connection connection;
};

}  // namespace twk::testing
