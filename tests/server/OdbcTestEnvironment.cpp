// SPDX-License-Identifier: MIT
#include "OdbcTestEnvironment.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace twk::testing {

namespace {

// The directories Debian and other distributions install ODBC drivers into.
QStringList DriverDirectories() {
  QStringList directories;
  const QStringList multiarch =
      QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs);
  for (const QString& sArch : multiarch)
    directories << QStringLiteral("/usr/lib/%1/odbc").arg(sArch);
  for (const QString& sArch : multiarch) directories << QStringLiteral("/usr/lib/%1").arg(sArch);
  directories << QStringLiteral("/usr/lib/odbc") << QStringLiteral("/usr/lib64")
              << QStringLiteral("/usr/local/lib") << QStringLiteral("/usr/lib");
  return directories;
}

// The driver file by its name, else as the machine's odbcinst.ini registers it.
QString FindDriver(const QString& sFileName, const QString& sRegisteredName) {
  for (const QString& sDirectory : DriverDirectories()) {
    const QFileInfo candidate(QDir(sDirectory).filePath(sFileName));
    if (candidate.isFile()) return candidate.absoluteFilePath();
  }
  QSettings registered(QStringLiteral("/etc/odbcinst.ini"), QSettings::IniFormat);
  const QString sDriver = registered.value(sRegisteredName + QStringLiteral("/Driver")).toString();
  if (QFileInfo(sDriver).isAbsolute() && QFileInfo(sDriver).isFile()) return sDriver;
  return {};
}

void WriteFile(const QString& sPath, const QString& sText) {
  QFile file(sPath);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(sText.toUtf8()) < 0) {
    throw std::runtime_error("cannot write " + sPath.toStdString());
  }
}

struct SqliteCloser {
  void operator()(sqlite3* database) const noexcept { sqlite3_close_v2(database); }
};
using SqliteDatabase = std::unique_ptr<sqlite3, SqliteCloser>;

SqliteDatabase OpenDirectly(const QString& sDatabaseFile) {
  sqlite3* database = nullptr;
  const int iResult = sqlite3_open_v2(sDatabaseFile.toUtf8().constData(), &database,
                                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteDatabase owner(database);
  if (iResult != SQLITE_OK) throw std::runtime_error("cannot open " + sDatabaseFile.toStdString());
  return owner;
}

}  // namespace

QString SqliteOdbcDriverPath() {
  return FindDriver(QStringLiteral("libsqlite3odbc.so"), QStringLiteral("SQLite3"));
}

QString FreeTdsDriverPath() {
  return FindDriver(QStringLiteral("libtdsodbc.so"), QStringLiteral("FreeTDS"));
}

QString DefineDataSource(const QString& sDirectory, const QString& sBaseName,
                         const QString& sDriverPath, const IniEntries& entries) {
  static int iDefined = 0;
  const QString sName = QStringLiteral("%1_%2").arg(sBaseName).arg(++iDefined);
  const QDir directory(sDirectory);
  WriteFile(directory.filePath(QStringLiteral("odbcinst.ini")),
            QStringLiteral("[TwkTestDriver]\nDescription = driver under test\nDriver = %1\n")
                .arg(sDriverPath));
  // The source names the driver by its file: unixODBC settles on the
  // directory of odbcinst.ini at its first use in the process, while it
  // looks for odbc.ini afresh on every connect.
  QString sSource = QStringLiteral("[%1]\nDriver = %2\n").arg(sName, sDriverPath);
  for (const auto& [sKey, sValue] : entries)
    sSource += sKey + QStringLiteral(" = ") + sValue + '\n';
  WriteFile(directory.filePath(QStringLiteral("odbc.ini")), sSource);
  setenv("ODBCSYSINI", QFile::encodeName(sDirectory).constData(), 1);
  setenv("ODBCINI", QFile::encodeName(directory.filePath(QStringLiteral("odbc.ini"))).constData(),
         1);
  return sName;
}

ConnectionSettings SqliteOdbcSettings(const QString& sDatabaseFile, const QString& sScratchDir,
                                      const QString& sDataSourceName) {
  const QString sDriver = SqliteOdbcDriverPath();
  if (sDriver.isEmpty()) {
    ADD_FAILURE() << "The SQLite ODBC driver (Debian package libsqliteodbc) is not installed.";
  }
  // Timeout is the driver's busy timeout in milliseconds.
  ConnectionSettings settings;
  settings.sDataSource = DefineDataSource(sScratchDir, sDataSourceName, sDriver,
                                          {{QStringLiteral("Database"), sDatabaseFile},
                                           {QStringLiteral("Timeout"), QStringLiteral("5000")}});
  return settings;
}

quint16 UnusedLoopbackPort() {
  const int iSocket = socket(AF_INET, SOCK_STREAM, 0);
  if (iSocket < 0) throw std::runtime_error("cannot create a socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  const bool bBound = bind(iSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                      getsockname(iSocket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  close(iSocket);
  if (!bBound) throw std::runtime_error("cannot bind a loopback socket");
  return ntohs(address.sin_port);
}

void RunDirectly(const QString& sDatabaseFile, const QString& sSql) {
  SqliteDatabase database = OpenDirectly(sDatabaseFile);
  char* pError = nullptr;
  if (sqlite3_exec(database.get(), sSql.toUtf8().constData(), nullptr, nullptr, &pError) !=
      SQLITE_OK) {
    const std::string sError = pError ? pError : "unknown error";
    sqlite3_free(pError);
    throw std::runtime_error(sError);
  }
}

QString QueryTextDirectly(const QString& sDatabaseFile, const QString& sSql) {
  SqliteDatabase database = OpenDirectly(sDatabaseFile);
  sqlite3_stmt* pStatement = nullptr;
  if (sqlite3_prepare_v2(database.get(), sSql.toUtf8().constData(), -1, &pStatement, nullptr) !=
      SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(database.get()));
  }
  QString sText;
  if (sqlite3_step(pStatement) == SQLITE_ROW) {
    sText = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)));
  }
  sqlite3_finalize(pStatement);
  return sText;
}

}  // namespace twk::testing
