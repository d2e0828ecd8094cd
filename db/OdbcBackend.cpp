#include "OdbcBackend.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <utility>

#include "OdbcConnection.h"
#include "OdbcDiagnostics.h"
#include "OdbcHandles.h"
#include "OdbcText.h"
#include "TwkError.h"

namespace twk {

namespace {

// ODBC's own quoting: a value that would end the keyword early or lose its
// outer spaces goes in braces, a closing brace inside doubled.
QString KeywordValue(const QString& sValue) {
  const bool bNeedsBraces =
      sValue.contains(QLatin1Char(';')) || sValue.contains(QLatin1Char('{')) ||
      sValue.contains(QLatin1Char('}')) ||
      (!sValue.isEmpty() && (sValue.front().isSpace() || sValue.back().isSpace()));
  if (!bNeedsBraces) return sValue;
  QString sQuoted = sValue;
  sQuoted.replace(QLatin1Char('}'), QStringLiteral("}}"));
  return QLatin1Char('{') + sQuoted + QLatin1Char('}');
}

void AppendKeyword(QString& sText, const QString& sKeyword, const QString& sValue) {
  if (sValue.isEmpty()) return;
  sText += QLatin1Char(';') + sKeyword + QLatin1Char('=') + KeywordValue(sValue);
}

// Drivers may echo what they were handed; the password must not reach a
// message in either its plain or its quoted form.
QString WithoutPassword(const ConnectionSettings& settings, QString sText) {
  const QString sQuoted = KeywordValue(settings.sPassword);
  if (sQuoted != settings.sPassword && sQuoted.size() >= 2) {
    sText.replace(sQuoted, QStringLiteral("********"));
  }
  return settings.Scrub(std::move(sText));
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

OdbcConnectionHandle AllocateConnection(SQLHENV environment, int iLoginTimeoutSeconds) {
  SQLHANDLE connection = SQL_NULL_HANDLE;
  OdbcDiagnostics::Check(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection), SQL_HANDLE_ENV,
                         environment);
  OdbcConnectionHandle owner(connection);
  const auto lTimeout = SQLULEN(std::max(iLoginTimeoutSeconds, 0));
  OdbcDiagnostics::Check(
      SQLSetConnectAttrW(connection, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(lTimeout),
                         SQL_IS_UINTEGER),
      SQL_HANDLE_DBC, connection);
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

}  // namespace

QString OdbcBackend::DriverConnectionText(const ConnectionSettings& settings) {
  QString sText = QStringLiteral("DSN=") + KeywordValue(settings.sDataSource);
  AppendKeyword(sText, QStringLiteral("DATABASE"), settings.sInitialCatalog);
  AppendKeyword(sText, QStringLiteral("UID"), settings.sUserId);
  AppendKeyword(sText, QStringLiteral("PWD"), settings.sPassword);
  AppendKeyword(sText, QStringLiteral("APP"), settings.sApplicationName);
  return sText;
}

std::unique_ptr<Backend> OdbcBackend::Open(const ConnectionSettings& settings,
                                           std::vector<Diagnostic>& diagnostics) {
  OdbcEnvironmentHandle environment;
  OdbcConnectionHandle connection;
  try {
    environment = AllocateEnvironment();
    connection = AllocateConnection(environment.get(), settings.iLoginTimeoutSeconds);
  } catch (const TwkError& error) {
    diagnostics.push_back({error.Number(), error.Description(), QString()});
    throw;
  }

  const QString sText = DriverConnectionText(settings);
  const SQLRETURN iReturn =
      SQLDriverConnectW(connection.get(), nullptr, OdbcInputText(sText), SQLSMALLINT(sText.size()),
                        nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);

  // Informational records after a good connect are as much part of the
  // list as the errors of a failed one.
  std::vector<Diagnostic> records = OdbcDiagnostics::Read(SQL_HANDLE_DBC, connection.get());
  for (Diagnostic& record : records) {
    record.sDescription = WithoutPassword(settings, record.sDescription);
  }
  if (SQL_SUCCEEDED(iReturn)) {
    diagnostics.insert(diagnostics.end(), records.begin(), records.end());
    return std::make_unique<OdbcConnection>(std::move(environment), std::move(connection));
  }

  TwkError error = ConnectError(records);
  if (std::none_of(records.begin(), records.end(),
                   [](const Diagnostic& record) { return record.lNumber > 0; })) {
    // Every failed open leaves an error in the list for the caller to show.
    records.push_back({error.Number(), error.Description(), QString()});
  }
  diagnostics.insert(diagnostics.end(), records.begin(), records.end());
  throw error;
}

}  // namespace twk
