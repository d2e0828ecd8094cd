// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "ConnectionSettings.h"

#include <memory>
#include <utility>
#include <vector>

namespace twk {

/// The database connection object: settings, open state, the diagnostics
/// list of the last open, and the backend chosen by the data source.
class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void SetSettings(const ConnectionSettings& settings) { settings_ = settings; }
  const ConnectionSettings& Settings() const noexcept { return settings_; }

  /// Opens with the settings: the embedded engine for a database file, ODBC
  /// otherwise. Fills the diagnostics list; throws TwkError when the open fails.
  void Open();
  bool IsOpen() const noexcept { return backend_ != nullptr; }
  void Close() noexcept;

  std::vector<Diagnostic>& Diagnostics() noexcept { return diagnostics_; }

  /// Records that every later successful open adds after the backend's own.
  /// For tests only: SQL Server sends its login messages ("Changed database
  /// context", 5701, 5703) as such records, but FreeTDS answers a login with
  /// plain success and psqlODBC drops the server's notices, so no driver
  /// here can deliver them.
  void AddToEveryOpen(std::vector<Diagnostic> records) { addedRecords_ = std::move(records); }

  /// Runs a batch (see Backend::Execute). Throws TwkError when closed or
  /// failed. Every error of the batch, also one met while its rows are read
  /// later, shows the password masked.
  Recordset Execute(const QString& sSql);

 private:
  ConnectionSettings settings_;
  std::unique_ptr<Backend> backend_;
  std::vector<Diagnostic> diagnostics_;
  std::vector<Diagnostic> addedRecords_;
};

}  // namespace twk
