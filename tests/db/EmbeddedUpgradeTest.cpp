// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "Connection.h"
#include "ConnectionSettings.h"
#include "SqliteHandles.h"

namespace twk {
namespace {

void Exec(sqlite3* pDb, const char* sSql) {
  char* pError = nullptr;
  EXPECT_EQ(sqlite3_exec(pDb, sSql, nullptr, nullptr, &pError), SQLITE_OK) << pError;
  sqlite3_free(pError);
}

// A file as the version before T-SQL made it: SQLite's column types and
// procedures in SQLite's SQL (tests/db/data/earlier holds its scripts).
void MakeEarlierFile(const QString& sPath, const char* sSiteChange) {
  sqlite3* pRaw = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(sPath).constData(), &pRaw), SQLITE_OK);
  SqliteHandle db(pRaw);
  for (const char* sName : {"imis_tables", "TWK_Tables", "TWK_fixed_text"}) {
    QFile script(QStringLiteral(TWK_SOURCE_DIR "/tests/db/data/earlier/%1.sql").arg(sName));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly)) << sName;
    Exec(db.get(), script.readAll().constData());
  }
  Exec(db.get(),
       "insert into Name (ID, FULL_NAME, MEMBER_TYPE, STATUS) values ('1001', 'Ann', 'M', "
       "'A'); insert into Member_Types values ('M', 'Member', 0)");
  if (sSiteChange) Exec(db.get(), sSiteChange);
}

// What the upgrade rewrites and what it keeps, seen through the engine.
TEST(EmbeddedUpgrade, AnEarlierFilesProceduresRunAndASitesOwnFixedTextIsKept) {
  struct Case {
    const char* sSiteChange;
    const char* sFixedText;
  };
  const Case cases[] = {
      {nullptr, "Member, active"},
      {"update twk_procedures set body = 'select ''site text'' as FIXED_TEXT' "
       "where name = 'ptwk_calculate_fixed_text'",
       "site text"},
  };
  for (const Case& c : cases) {
    QTemporaryDir scratch;
    const QString sPath = scratch.filePath(QStringLiteral("earlier.db"));
    MakeEarlierFile(sPath, c.sSiteChange);
    Connection connection;
    ConnectionSettings settings;
    settings.sDataSource = sPath;
    connection.SetSettings(settings);
    connection.Open();
    EXPECT_EQ(connection.Execute(QStringLiteral("exec ptwk_calculate_fixed_text '1001', 'x'"))
                  .Field(0)
                  .toString(),
              QString::fromUtf8(c.sFixedText));
    connection.Execute(QStringLiteral("exec ptwk_WriteSystemParams 'A', 'one'"));
    connection.Execute(QStringLiteral("exec ptwk_WriteSystemParams 'A', 'two'"));
    Recordset written = connection.Execute(
        QStringLiteral("select ShortValue from System_Params where ParameterName = 'A'"));
    EXPECT_EQ(written.RecordCount(), 1);
    EXPECT_EQ(written.Field(0).toString(), QStringLiteral("two"));
    EXPECT_EQ(connection.Execute(QStringLiteral("select count(*) from Name where FULL_NAME = 'ANN  '"))
                  .Field(0)
                  .toInt(),
              1);
  }
}

}  // namespace
}  // namespace twk
