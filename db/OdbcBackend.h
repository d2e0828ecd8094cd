#pragma once

#include "Backend.h"
#include "ConnectionSettings.h"

#include <memory>
#include <vector>

namespace twk {

/// SQL Server (or any ODBC data source) through unixODBC.
class OdbcBackend {
 public:
  /// Connects to the data source. Every diagnostic record of the connect is
  /// added to the list, informational ones (SQLSTATE class 01) numbered zero
  /// or less and errors above zero. Throws TwkError when the connect fails.
  static std::unique_ptr<Backend> Open(const ConnectionSettings& settings,
                                       std::vector<Diagnostic>& diagnostics);

  /// The connection text handed to the driver; values holding ';', '{' or
  /// '}' are brace-quoted.
  static QString DriverConnectionText(const ConnectionSettings& settings);
};

}  // namespace twk
