// SPDX-License-Identifier: MIT
#include "OdbcBackend.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <utility>

#include "OdbcConnection.h"
#include "OdbcDataSource.h"
#include "OdbcDiagnostics.h"
#include "OdbcHandles.h"
#include "OdbcText.h"
#include "TwkError.h"

namespace twk {

namespace {

// ODBC's own quoting: a value that would end the keyword early or lose its
// outer spaces goes in braces, with a closing brace inside doubled.
// FreeTDS (1.3 and older) undoubles nothing and reads a braced value up to
// the first "};", so for it the value goes in braces as it is.
bool NeedsBraces(const QString& sValue) {
  return sValue.contains(QLatin1Char(';')) || sValue.contains(QLatin1Char('{')) ||
         sValue.contains(QLatin1Char('}')) ||
         (!sValue.isEmpty() && (sValue.front().isSpace() || sValue.back().isSpace()));
}

QString KeywordValue(const QString& sValue, OdbcQuoting quoting) {
  if (!NeedsBraces(sValue)) return sValue;
  QString sQuoted = sValue;
  if (quoting == OdbcQuoting::Standard) sQuoted.replace(QLatin1Char('}'), QStringLiteral("}}"));
  return QLatin1Char('{') + sQuoted + QLatin1Char('}');
}

// Whether the driver reads the value back exactly as it was quoted.
bool Expressible(const QString& sValue, OdbcQuoting quoting) {
  return quoting == OdbcQuoting::Standard || !sValue.contains(QStringLiteral("};"));
}

void AppendKeyword(QString& sText, const QString& sKeyword, const QString& sValue,
                   OdbcQuoting quoting) {
  if (sValue.isEmpty()) return;
  // Every pair ends in ';': FreeTDS ends a braced value only at "};".
  sText += sKeyword + QLatin1Char('=') + KeywordValue(sValue, quoting) + QLatin1Char(';');
}

// The driver manager's "data source name not found" becomes a message that
// says what is missing and how to add it.
void ExplainUndefinedSource(const ConnectionSettings& settings, std::vector<Diagnostic>& records) {
  for (Diagnostic& record : records) {
    if (record.sSqlState != QStringLiteral("IM002")) continue;
    record.sDescription =
        QStringLiteral(
            "The ODBC data source \"%1\" is not defined. Define it in odbc.ini (\"odbcinst -j\" "
            "shows where that file is), for example:\r\n[%1]\r\nDriver = FreeTDS\r\n"
            "Server = sqlserver.example.org\r\nPort = 1433\r\nTDS_Version = 7.4\r\n"
            "and FreeTDS in odbcinst.ini. (%2)")
            .arg(settings.sDataSource, record.sDescription);
  }
}

OdbcEnvironmentHandle AllocateEnvironment() {
  SQLHANDLE environment = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) {
    // A failed environment allocation leaves no handle to ask why.
    throw TwkError(QStringLiteral("The ODBC driver manager could not allocate an environment."),
                   OdbcDiagnostics::Source(), 1);
  }
  OdbcEnvironmentHandle owner(environment);
  OdbcDiagnostics::Check(SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION,
                                       reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
                         SQL_HANDLE_ENV, environment);
  return owner;
}

OdbcConnectionHandle AllocateConnection(SQLHENV environment, int iLoginTimeoutSeconds,
                                        const QString& sCatalog) {
  SQLHANDLE connection = SQL_NULL_HANDLE;
  OdbcDiagnostics::Check(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection), SQL_HANDLE_ENV,
                         environment);
  OdbcConnectionHandle owner(connection);
  const auto lTimeout = SQLULEN(std::max(iLoginTimeoutSeconds, 0));
  OdbcDiagnostics::Check(
      SQLSetConnectAttrW(connection, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(lTimeout),
                         SQL_IS_UINTEGER),
      SQL_HANDLE_DBC, connection);
  // Only for a database that the connection text cannot carry: unixODBC
  // hands an attribute set before the connect to the driver through the
  // narrow call, so wide text would arrive as bytes.
  if (!sCatalog.isEmpty()) {
    QByteArray catalog = sCatalog.toUtf8();
    OdbcDiagnostics::Check(SQLSetConnectAttr(connection, SQL_ATTR_CURRENT_CATALOG, catalog.data(),
                                             SQLINTEGER(catalog.size())),
                           SQL_HANDLE_DBC, connection);
  }
  return owner;
}

// The error a failed connect raises: the first error record speaks for it.
TwkError ConnectError(const std::vector<Diagnostic>& records) {
  auto firstError = std::find_if(records.begin(), records.end(),
                                 [](const Diagnostic& record) { return record.lNumber > 0; });
  if (firstError == records.end()) {
    return TwkError(QStringLiteral("The ODBC data source could not be reached."),
                    OdbcDiagnostics::Source(), 1);
  }
  return TwkError(firstError->sDescription, OdbcDiagnostics::Source(), firstError->lNumber);
}

// Connects with the connection text, or with the login as separate
// arguments when the text cannot carry it; the application name is then the
// data source's.
SQLRETURN Connect(SQLHDBC connection, const ConnectionSettings& settings, OdbcQuoting quoting) {
  if (OdbcBackend::CanCarryLogin(settings, quoting)) {
    const QString sText = OdbcBackend::DriverConnectionText(settings, quoting);
    return SQLDriverConnectW(connection, nullptr, OdbcInputText(sText), SQLSMALLINT(sText.size()),
                             nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  }
  return SQLConnectW(connection, OdbcInputText(settings.sDataSource),
                     SQLSMALLINT(settings.sDataSource.size()), OdbcInputText(settings.sUserId),
                     SQLSMALLINT(settings.sUserId.size()), OdbcInputText(settings.sPassword),
                     SQLSMALLINT(settings.sPassword.size()));
}

}  // namespace

QString OdbcBackend::DriverConnectionText(const ConnectionSettings& settings, OdbcQuoting quoting) {
  QString sText =
      QStringLiteral("DSN=") + KeywordValue(settings.sDataSource, quoting) + QLatin1Char(';');
  if (Expressible(settings.sInitialCatalog, quoting)) {
    AppendKeyword(sText, QStringLiteral("DATABASE"), settings.sInitialCatalog, quoting);
  }
  AppendKeyword(sText, QStringLiteral("UID"), settings.sUserId, quoting);
  AppendKeyword(sText, QStringLiteral("PWD"), settings.sPassword, quoting);
  AppendKeyword(sText, QStringLiteral("APP"), settings.sApplicationName, quoting);
  return sText;
}

bool OdbcBackend::CanCarryLogin(const ConnectionSettings& settings, OdbcQuoting quoting) {
  return Expressible(settings.sUserId, quoting) && Expressible(settings.sPassword, quoting);
}

std::unique_ptr<Backend> OdbcBackend::Open(const ConnectionSettings& settings,
                                           std::vector<Diagnostic>& diagnostics) {
  OdbcEnvironmentHandle environment;
  OdbcConnectionHandle connection;
  OdbcQuoting quoting = OdbcQuoting::Standard;
  try {
    environment = AllocateEnvironment();
    if (OdbcDataSource::Find(environment.get(), settings.sDataSource).IsFreeTds()) {
      quoting = OdbcQuoting::FreeTds;
    }
    const bool bCatalogInText =
        CanCarryLogin(settings, quoting) && Expressible(settings.sInitialCatalog, quoting);
    connection = AllocateConnection(environment.get(), settings.iLoginTimeoutSeconds,
                                    bCatalogInText ? QString() : settings.sInitialCatalog);
  } catch (const TwkError& error) {
    diagnostics.push_back({error.Number(), error.Description(), QString()});
    throw;
  }
  const SQLRETURN iReturn = Connect(connection.get(), settings, quoting);

  // Informational records after a good connect are as much part of the
  // list as the errors of a failed one.
  std::vector<Diagnostic> records = OdbcDiagnostics::Read(SQL_HANDLE_DBC, connection.get());
  for (Diagnostic& record : records) {
    record.sDescription = settings.Scrub(record.sDescription);
  }
  if (SQL_SUCCEEDED(iReturn)) {
    diagnostics.insert(diagnostics.end(), records.begin(), records.end());
    return std::make_unique<OdbcConnection>(std::move(environment), std::move(connection));
  }

  ExplainUndefinedSource(settings, records);
  if (std::none_of(records.begin(), records.end(),
                   [](const Diagnostic& record) { return record.lNumber > 0; })) {
    // Every failed open leaves an error first in the list for the caller to
    // show. unixODBC files "Can't open lib" under the informational 01000,
    // but the connect failed on it.
    if (records.empty()) {
      records.push_back({1, ConnectError(records).Description(), QString()});
    } else {
      records.front().lNumber = 1;
    }
  }
  TwkError error = ConnectError(records);
  diagnostics.insert(diagnostics.end(), records.begin(), records.end());
  throw error;
}

}  // namespace twk
