// SPDX-License-Identifier: MIT
#include "PostgresServer.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "OdbcTestEnvironment.h"

namespace twk::testing {

namespace {

// Debian's own place for the server programs; /usr/local may hold others
// on a developer's machine but not on a fresh one.
const QString sBin = QStringLiteral("/usr/lib/postgresql/15/bin/");

QString UnicodeDriverPath() {
  for (const QString& sPath : {QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so"),
                               QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc/psqlodbcw.so")}) {
    if (QFileInfo(sPath).isFile()) return sPath;
  }
  return {};
}

}  // namespace

PostgresServer::PostgresServer() {
  if (!QFileInfo(sBin + QStringLiteral("initdb")).isExecutable()) {
    sMissing_ = QStringLiteral("PostgreSQL 15 (Debian package postgresql) is not installed");
    return;
  }
  if (UnicodeDriverPath().isEmpty()) {
    sMissing_ = QStringLiteral("psqlODBC (Debian package odbc-postgresql) is not installed");
    return;
  }
  if (geteuid() == 0) {
    const passwd* account = getpwnam("postgres");
    if (!account) account = getpwnam("nobody");
    if (!account) {
      sFailure_ = QStringLiteral("no unprivileged account to run PostgreSQL as");
      return;
    }
    sServerUser_ = QString::fromLocal8Bit(account->pw_name);
    // The server user must reach and own its folder.
    chmod(QFile::encodeName(folder_.path()).constData(), 0755);
    if (chown(QFile::encodeName(folder_.path()).constData(), account->pw_uid, account->pw_gid) !=
        0) {
      sFailure_ = QStringLiteral("cannot hand the data folder to ") + sServerUser_;
      return;
    }
  }
  const QString sData = folder_.filePath(QStringLiteral("data"));
  QString sOutput = Run(
      {sBin + QStringLiteral("initdb"), QStringLiteral("-D"), sData, QStringLiteral("-U"),
       QStringLiteral("twk"), QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
       QStringLiteral("UTF8"), QStringLiteral("--no-sync"), QStringLiteral("--locale=C.UTF-8")},
      true);
  if (!QFileInfo(sData + QStringLiteral("/PG_VERSION")).isFile()) {
    sFailure_ = QStringLiteral("initdb failed: ") + sOutput;
    return;
  }
  iPort_ = UnusedLoopbackPort();
  const QString sOptions = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                               .arg(iPort_)
                               .arg(folder_.path());
  sOutput = Run({sBin + QStringLiteral("pg_ctl"), QStringLiteral("-D"), sData, QStringLiteral("-o"),
                 sOptions, QStringLiteral("-l"), folder_.filePath(QStringLiteral("server.log")),
                 QStringLiteral("-w"), QStringLiteral("start")},
                true);
  if (Psql(QStringLiteral("select 1")) != QStringLiteral("1")) {
    sFailure_ = QStringLiteral("the PostgreSQL server did not start: ") + sOutput;
  }
}

PostgresServer::~PostgresServer() {
  if (iPort_ == 0) return;
  Run({sBin + QStringLiteral("pg_ctl"), QStringLiteral("-D"),
       folder_.filePath(QStringLiteral("data")), QStringLiteral("-m"), QStringLiteral("immediate"),
       QStringLiteral("-w"), QStringLiteral("stop")},
      true);
}

PostgresServer& PostgresServer::Shared() {
  static PostgresServer server;
  return server;
}

QString PostgresServer::Run(const QStringList& command, bool bAsServerUser) const {
  QStringList arguments = command;
  QString sProgram = arguments.takeFirst();
  if (bAsServerUser && !sServerUser_.isEmpty()) {
    arguments =
        QStringList{QStringLiteral("-u"), sServerUser_, QStringLiteral("--"), sProgram} + arguments;
    sProgram = QStringLiteral("runuser");
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(folder_.path());
  process.start(sProgram, arguments);
  if (!process.waitForFinished(60000)) return QStringLiteral("ERROR: ") + process.errorString();
  return QString::fromUtf8(process.readAll()).trimmed();
}

QString PostgresServer::Psql(const QString& sSql) const {
  return Run(
      {sBin + QStringLiteral("psql"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
       QStringLiteral("-p"), QString::number(iPort_), QStringLiteral("-U"), QStringLiteral("twk"),
       QStringLiteral("-d"), QStringLiteral("postgres"), QStringLiteral("-X"), QStringLiteral("-q"),
       QStringLiteral("-A"), QStringLiteral("-t"), QStringLiteral("-v"),
       QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-c"), sSql},
      false);
}

ConnectionSettings PostgresServer::Settings(const QString& sScratchDir,
                                            const IniEntries& extra) const {
  ConnectionSettings settings;
  // BoolsAsChar = 0: booleans come back as numbers, as SQL Server's bit does.
  settings.sDataSource =
      DefineDataSource(sScratchDir, QStringLiteral("TwkPostgres"), UnicodeDriverPath(),
                       IniEntries{{QStringLiteral("Servername"), QStringLiteral("127.0.0.1")},
                                  {QStringLiteral("Port"), QString::number(iPort_)},
                                  {QStringLiteral("Database"), QStringLiteral("postgres")},
                                  {QStringLiteral("Username"), QStringLiteral("twk")},
                                  {QStringLiteral("BoolsAsChar"), QStringLiteral("0")}} +
                           extra);
  settings.sUserId = QStringLiteral("twk");
  return settings;
}

}  // namespace twk::testing
