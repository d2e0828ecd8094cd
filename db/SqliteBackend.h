// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "ConnectionSettings.h"

#include <memory>
#include <vector>

namespace twk {

/// The embedded engine: a SQLite database file that understands the T-SQL
/// the libraries send.
class SqliteBackend {
 public:
  /// Opens an existing database file named by the data source; never
  /// creates one. Adds a diagnostic and throws TwkError on failure.
  static std::unique_ptr<Backend> Open(const ConnectionSettings& settings,
                                       std::vector<Diagnostic>& diagnostics);
};

}  // namespace twk
