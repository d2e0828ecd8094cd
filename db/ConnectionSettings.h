// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "TwkError.h"

namespace twk {

/// The values a connection is opened with.
struct ConnectionSettings {
  QString sApplicationName = QStringLiteral("TWK");
  QString sDataSource;
  QString sInitialCatalog;
  QString sUserId;
  QString sPassword;
  int iLoginTimeoutSeconds = 30;

  /// The connection as the system describes it: "Provider=MSDASQL;
  /// Application Name=TWK;Data Source=...;..." with nothing escaped. A
  /// description only; it is never handed to a driver.
  QString ConnectionString() const;

  /// Whether the data source names an embedded database file (a path with
  /// a '/' or a name ending in ".db") rather than an ODBC data source.
  bool IsEmbedded() const;

  /// The text with every occurrence of the password (also in its quoted
  /// form) masked out, so that no message shows it; the password inside a
  /// longer user, database or data source name stays, so those read whole.
  QString Scrub(QString sText) const;
  /// The error with its description scrubbed; source and number stay.
  TwkError Scrub(const TwkError& error) const;
};

}  // namespace twk
