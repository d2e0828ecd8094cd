// SPDX-License-Identifier: MIT
#include "RealisticSetup.h"

#include <QFile>
#include <cstdio>
#include <exception>

#include "BenchReport.h"
#include "BenchScratch.h"
#include "ModuleState.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk::bench {

namespace {

qint64 CountRows(sqlite3* pDb, const char* sSql) {
  StatementHandle statement = PrepareFixed(pDb, sSql);
  CheckSqlite(pDb, sqlite3_step(statement.get()));
  return sqlite3_column_int64(statement.get(), 0);
}

}  // namespace

RealisticSetup::RealisticSetup(const char* sBench) : sBench_(sBench), scratch_(ScratchTemplate()) {
  try {
    cached_ = RealisticDatabase::Cached();
  } catch (const TwkError& error) {
    Fail(QStringLiteral("the database could not be generated: ") + error.Description());
  } catch (const std::exception& error) {
    Fail(QStringLiteral("the database could not be generated: ") + QString::fromUtf8(error.what()));
  }
  sFile_ = scratch_.filePath(QStringLiteral("realistic.db"));
  if (!QFile::copy(cached_.sPath, sFile_)) Fail(QStringLiteral("cannot copy ") + cached_.sPath);
}

SqliteHandle RealisticSetup::OpenRaw() const {
  sqlite3* pRaw = nullptr;
  const int iOpen =
      sqlite3_open_v2(QFile::encodeName(sFile_).constData(), &pRaw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle db(pRaw);
  if (iOpen != SQLITE_OK) Fail(QStringLiteral("cannot open ") + sFile_);
  return db;
}

void RealisticSetup::ConnectEngine(const QuietPlatform& quiet) const {
  modSubroutines::InitializeConnection(sFile_, QStringLiteral("DEMO"), QStringLiteral("MANAGER"),
                                       QString(), 1);
  ModuleState::ForThisThread().AuthID = QStringLiteral("MANAGER");
  if (quiet.iMessages > 0) Fail(QStringLiteral("connecting failed: ") + quiet.sLastMessage);
}

void RealisticSetup::WriteDefinitions(
    const std::vector<std::array<const char*, 3>>& definitions) const {
  try {
    SqliteHandle db = OpenWithoutDefinitions(sFile_);
    StatementHandle insert = PrepareFixed(
        db.get(),
        "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, "
        "ALERT_ID) values (?, 1, '', ?, ?)");
    RunFixed(db.get(), "begin");
    for (const auto& [sCriteria, sType, sAlertId] : definitions) {
      sqlite3_bind_text(insert.get(), 1, sCriteria, -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert.get(), 2, sType, -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert.get(), 3, sAlertId, -1, SQLITE_TRANSIENT);
      CheckSqlite(db.get(), sqlite3_step(insert.get()));
      sqlite3_reset(insert.get());
    }
    RunFixed(db.get(), "commit");
  } catch (const TwkError& error) {
    Fail(QStringLiteral("the definitions could not be written: ") + error.Description());
  }
}

void RealisticSetup::PrintDatabase(sqlite3* pDb, int iDefinitions) const {
  std::printf(
      "Realistic database: %lld contacts, %lld registrations, %lld activities, %d "
      "definitions\n",
      CountRows(pDb, "select count(*) from Name"),
      CountRows(pDb, "select count(*) from Meet_Registration"),
      CountRows(pDb, "select count(*) from Activity"), iDefinitions);
  if (cached_.dGenerateSeconds >= 0) {
    std::printf("  generated in %.1f s, cached for today in %s\n", cached_.dGenerateSeconds,
                qUtf8Printable(cached_.sPath));
  } else {
    std::printf("  from the cache %s (generator version %d; generating took %.1f s)\n",
                qUtf8Printable(cached_.sPath), RealisticDatabase::iGeneratorVersion,
                cached_.dEarlierSeconds);
  }
}

QString RealisticSetup::BusiestRecord(sqlite3* pDb) {
  StatementHandle busiest =
      PrepareFixed(pDb, "select ID from Activity group by ID order by count(*) desc, ID limit 1");
  CheckSqlite(pDb, sqlite3_step(busiest.get()));
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(busiest.get(), 0)));
}

QStringList RealisticSetup::TimedRecords(sqlite3* pDb, int iCount) {
  QStringList ids = RealisticDatabase::SampleIds(iCount - 1);
  ids << BusiestRecord(pDb);
  return ids;
}

void RealisticSetup::Fail(const QString& sWhy) const {
  FailBench(sBench_, sWhy);
}

}  // namespace twk::bench
