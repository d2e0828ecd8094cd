// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include "ConnectionSettings.h"

namespace twk::testing {

using IniEntries = QList<QPair<QString, QString>>;

/// Where Debian's SQLite ODBC driver (libsqliteodbc) lives; empty when it
/// is not installed.
QString SqliteOdbcDriverPath();
/// Where FreeTDS's ODBC driver (tdsodbc) lives; empty when it is not installed.
QString FreeTdsDriverPath();

/// Writes an odbcinst.ini naming the driver and an odbc.ini defining one data
/// source into sDirectory, and points unixODBC at them. Returns the name the
/// source got: sBaseName made unique within the process, because unixODBC
/// keeps what it read of a source for 20 seconds whatever file it came from.
QString DefineDataSource(const QString& sDirectory, const QString& sBaseName,
                         const QString& sDriverPath, const IniEntries& entries);

/// Settings that reach a SQLite database file through the SQLite ODBC
/// driver, by a data source defined in sScratchDir and named after
/// sDataSourceName. Records a test failure
/// when the driver is missing, since every machine that runs the tests has it.
ConnectionSettings SqliteOdbcSettings(const QString& sDatabaseFile, const QString& sScratchDir,
                                      const QString& sDataSourceName = QStringLiteral("TwkSqlite"));

/// A TCP port on 127.0.0.1 on which nothing listens.
quint16 UnusedLoopbackPort();

/// Runs SQL on a SQLite file through SQLite's own API, past every backend.
void RunDirectly(const QString& sDatabaseFile, const QString& sSql);
/// The first column of the first row of a query, run through SQLite's own
/// API, as text.
QString QueryTextDirectly(const QString& sDatabaseFile, const QString& sSql);

}  // namespace twk::testing
