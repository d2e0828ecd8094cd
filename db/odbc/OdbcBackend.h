// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include "Backend.h"
#include "ConnectionSettings.h"

namespace twk {

/// How a driver reads a braced value in a connection text.
enum class OdbcQuoting { Standard, FreeTds };

/// SQL Server (or any ODBC data source) through unixODBC.
class OdbcBackend {
 public:
  /// Connects to the data source. Every diagnostic record of the connect is
  /// added to the list, informational ones (SQLSTATE class 01) numbered zero
  /// or less and errors above zero. Throws TwkError when the connect fails.
  static std::unique_ptr<Backend> Open(const ConnectionSettings& settings,
                                       std::vector<Diagnostic>& diagnostics);

  /// The connection text handed to the driver: data source, login and
  /// application name (the database goes as an attribute). Values holding
  /// ';', '{', '}' or outer spaces are brace-quoted as the driver reads them.
  static QString DriverConnectionText(const ConnectionSettings& settings,
                                      OdbcQuoting quoting = OdbcQuoting::Standard);

  /// Whether the login survives the connection text for that driver; when
  /// not, it goes to the driver as separate arguments.
  static bool CanCarryLogin(const ConnectionSettings& settings, OdbcQuoting quoting);
};

}  // namespace twk
