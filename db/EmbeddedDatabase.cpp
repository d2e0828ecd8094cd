// SPDX-License-Identifier: MIT
#include "EmbeddedDatabase.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include "RegisterTsqlFunctions.h"
#include "SqliteHandles.h"
#include "TwkError.h"

// The generated resource initialiser lives in the global namespace. The
// library registers the scripts when it loads; this covers a static link.
static void InitEmbeddedScripts() {
  static const bool bRegistered = [] {
    Q_INIT_RESOURCE(EmbeddedScripts);
    return true;
  }();
  (void)bRegistered;
}

namespace twk {

namespace {

const QString sSource = QStringLiteral("TWK");

// The number the runtime has always used for "File already exists".
constexpr long lFileExists = 58;

QString Native(const QString& sPath) {
  return QDir::toNativeSeparators(sPath);
}

QByteArray ReadScript(const QString& sName) {
  QFile script(QStringLiteral(":/sql/embedded/") + sName);
  if (!script.open(QIODevice::ReadOnly)) {
    throw TwkError(QStringLiteral("The database script %1 is missing from the library.").arg(sName),
                   sSource);
  }
  return script.readAll();
}

// Runs one script on the open handle; a failing statement names the script.
void RunScript(sqlite3* pDb, const QString& sName) {
  const QByteArray script = ReadScript(sName);
  char* pMessage = nullptr;
  const int iResult = sqlite3_exec(pDb, script.constData(), nullptr, nullptr, &pMessage);
  if (iResult == SQLITE_OK) return;
  const QString sMessage = QString::fromUtf8(pMessage ? pMessage : sqlite3_errstr(iResult));
  sqlite3_free(pMessage);
  throw TwkError(QStringLiteral("The database script %1 failed: %2").arg(sName, sMessage), sSource,
                 iResult);
}

// Builds the whole database in sTempPath inside one transaction, so that a
// failing script leaves no objects behind in it either.
void BuildDatabase(const QString& sTempPath, const QStringList& scripts) {
  sqlite3* pRaw = nullptr;
  const QByteArray path = QFile::encodeName(sTempPath);
  const int iOpen =
      sqlite3_open_v2(path.constData(), &pRaw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteHandle db(pRaw);
  if (iOpen != SQLITE_OK) {
    const QString sMessage = QString::fromUtf8(pRaw ? sqlite3_errmsg(pRaw) : sqlite3_errstr(iOpen));
    throw TwkError(QStringLiteral("Cannot create the database file \"%1\": %2")
                       .arg(Native(sTempPath), sMessage),
                   sSource, iOpen);
  }
  sqlite3_extended_result_codes(db.get(), 1);
  // The tables' text columns name the engine's collation.
  embedded::RegisterTsqlFunctions(db.get());
  RunFixed(db.get(), "begin");
  for (const QString& sName : scripts) RunScript(db.get(), sName);
  RunFixed(db.get(), "commit");
  const int iClose = sqlite3_close(db.release());
  if (iClose != SQLITE_OK) {
    throw TwkError(QStringLiteral("Cannot close the new database file \"%1\": %2")
                       .arg(Native(sTempPath), QString::fromUtf8(sqlite3_errstr(iClose))),
                   sSource, iClose);
  }
}

// The bodies of the procedures the version before T-SQL shipped, which are
// SQLite SQL, by their SHA-256. Only a body still equal to one of these is
// replaced: any other is the site's own.
constexpr const char* sEarlierWriteSystemParams =
    "1ab0126adbb99ec45efd8ba969ad2ada1ad1e8511ae7d61b39b7440453e7b97c";
constexpr const char* sEarlierFixedText =
    "8b5e1fbdcb32cf1d4181a7a70fedc7ecfa5e6d963b8b76c038ebd47de198aff6";

int UserVersion(sqlite3* pDb) {
  StatementHandle statement = PrepareFixed(pDb, "pragma user_version");
  CheckSqlite(pDb, sqlite3_step(statement.get()));
  return sqlite3_column_int(statement.get(), 0);
}

bool IsEarlierBody(sqlite3* pDb, const char* sProcedure, const char* sHash) {
  StatementHandle statement =
      PrepareFixed(pDb, "select body from main.twk_procedures where name = ?1");
  CheckSqlite(pDb, sqlite3_bind_text(statement.get(), 1, sProcedure, -1, SQLITE_STATIC));
  if (CheckSqlite(pDb, sqlite3_step(statement.get())) != SQLITE_ROW) return false;
  const QByteArray body(static_cast<const char*>(sqlite3_column_blob(statement.get(), 0)),
                        sqlite3_column_bytes(statement.get(), 0));
  return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() == sHash;
}

void RemoveLeftovers(const QString& sTempPath) noexcept {
  QFile::remove(sTempPath);
  QFile::remove(sTempPath + QStringLiteral("-journal"));
}

TwkError FileExists(const QString& sPath) {
  return TwkError(QStringLiteral("Cannot create the database \"%1\": a file of that name already "
                                 "exists. Choose a new name or remove the file first.")
                      .arg(Native(sPath)),
                  sSource, lFileExists);
}

bool SomethingAt(const QString& sPath) {
  const QFileInfo info(sPath);
  return info.exists() || info.isSymLink();
}

}  // namespace

QStringList EmbeddedDatabase::ScriptNames(bool bDemo) {
  QStringList scripts = {QStringLiteral("imis_tables.sql"), QStringLiteral("TWK_Tables.sql"),
                         QStringLiteral("TWK_fixed_text.sql")};
  if (bDemo) scripts << QStringLiteral("demo_data.sql");
  return scripts;
}

void EmbeddedDatabase::Create(const QString& sPath, bool bDemo) {
  InitEmbeddedScripts();
  if (sPath.isEmpty()) {
    throw TwkError(QStringLiteral("Cannot create a database without a file name."), sSource);
  }
  if (SomethingAt(sPath)) throw FileExists(sPath);

  // The path goes in by concatenation: an arg() after it would replace a %N
  // that the path itself holds.
  const QString sTempPath =
      sPath + QStringLiteral(".%1-%2.part")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
  try {
    BuildDatabase(sTempPath, ScriptNames(bDemo));
  } catch (...) {
    RemoveLeftovers(sTempPath);
    throw;
  }
  // Qt's rename never replaces an existing file, so a file that appeared at
  // sPath meanwhile stays as it was.
  if (!QFile::rename(sTempPath, sPath)) {
    RemoveLeftovers(sTempPath);
    if (SomethingAt(sPath)) throw FileExists(sPath);
    throw TwkError(QStringLiteral("Cannot create the database \"%1\": the new file could not be "
                                  "moved into place.")
                       .arg(Native(sPath)),
                   sSource);
  }
}

void EmbeddedDatabase::Upgrade(sqlite3* pDb) noexcept {
  try {
    if (UserVersion(pDb) >= iObjectsVersion || !MainObjectExists(pDb, "twk_procedures")) return;
    const bool bParams = IsEarlierBody(pDb, "ptwk_WriteSystemParams", sEarlierWriteSystemParams);
    const bool bFixedText = IsEarlierBody(pDb, "ptwk_calculate_fixed_text", sEarlierFixedText);
    if (!bParams && !bFixedText) return;
    InitEmbeddedScripts();
    RunFixed(pDb, "begin immediate");
    try {
      // Every statement of the TWK script keeps what exists; its procedure
      // and the version it sets are written anew.
      if (bParams) RunScript(pDb, QStringLiteral("TWK_Tables.sql"));
      if (bFixedText) RunScript(pDb, QStringLiteral("TWK_fixed_text.sql"));
      RunFixed(
          pDb,
          QByteArray("pragma user_version = " + QByteArray::number(iObjectsVersion)).constData());
      RunFixed(pDb, "commit");
    } catch (...) {
      RunFixedQuietly(pDb, "rollback");
    }
  } catch (...) {
    // A file that cannot be written now is tried again at the next opening.
  }
}

QString EmbeddedDatabase::DefaultDemoPath() {
  const QString sDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (sDirectory.isEmpty()) return QString();
  return sDirectory + QStringLiteral("/demo.db");
}

QString EmbeddedDatabase::EnsureDemoDatabase() {
  const QString sPath = DefaultDemoPath();
  if (sPath.isEmpty()) {
    throw TwkError(QStringLiteral("Cannot create the demo database: there is no writable data "
                                  "directory."),
                   sSource);
  }
  if (SomethingAt(sPath)) return sPath;
  const QString sDirectory = QFileInfo(sPath).absolutePath();
  if (!QDir().mkpath(sDirectory)) {
    throw TwkError(QStringLiteral("Cannot create the directory \"%1\" for the demo database.")
                       .arg(Native(sDirectory)),
                   sSource);
  }
  try {
    Create(sPath, true);
  } catch (const TwkError& error) {
    // Another process may have created it in the meantime; that one will do.
    if (error.Number() != lFileExists) throw;
  }
  return sPath;
}

}  // namespace twk
