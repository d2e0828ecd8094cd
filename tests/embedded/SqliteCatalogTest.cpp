// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"
#include "SqliteCatalog.h"

namespace twk::embedded::test {

namespace {

/// A connection with its private twk_temp database, the catalogue on it,
/// and a table with an identity and one whose key is a plain rowid.
class CatalogConnection {
 public:
  CatalogConnection() {
    sqlite3_open(":memory:", &pDb_);
    Run("attach database ':memory:' as twk_temp;"
        "create table Name (ID integer primary key, LAST_NAME varchar(30) not null, NOTE);"
        "create table Activity (SEQN integer primary key autoincrement, AMOUNT money);");
    catalog_ = std::make_unique<SqliteCatalog>(pDb_);
  }
  ~CatalogConnection() {
    catalog_.reset();
    sqlite3_close_v2(pDb_);
  }

  void Run(const char* sSql) {
    char* pError = nullptr;
    if (sqlite3_exec(pDb_, sSql, nullptr, nullptr, &pError) != SQLITE_OK) ADD_FAILURE() << pError;
    sqlite3_free(pError);
  }

  std::optional<tsql::CatalogTable> Find(std::vector<QString> parts) const {
    tsql::ObjectName name;
    name.parts = std::move(parts);
    return catalog_->FindTable(name);
  }

 private:
  sqlite3* pDb_ = nullptr;
  std::unique_ptr<SqliteCatalog> catalog_;
};

}  // namespace

TEST(SqliteCatalog, ReadsDeclaredTypesAndSqliteOwnNames) {
  const std::vector<std::pair<const char*, const char*>> cases{
      {"varchar(10)", "varchar(10)"},
      {"decimal(12,2)", "decimal(12,2)"},
      {"TEXT", "varchar(max)"},
      {"INTEGER", "int"},
      {"REAL", "float"},
      {"BLOB", "varbinary(max)"},
      {"", "varchar(max)"},
      {"datetime", "datetime"},
  };
  for (const auto& [sDeclared, sExpected] : cases) {
    EXPECT_EQ(SqliteCatalog::TypeOf(QString::fromUtf8(sDeclared)).Name(),
              QString::fromUtf8(sExpected))
        << sDeclared;
  }
}

TEST(SqliteCatalog, FindsTablesByAnyCaseWithTheirColumnsAndIdentity) {
  CatalogConnection connection;
  const std::optional<tsql::CatalogTable> activity = connection.Find({"ACTIVITY"});
  ASSERT_TRUE(activity.has_value());
  EXPECT_EQ(activity->sName, QStringLiteral("Activity"));
  EXPECT_TRUE(activity->columns[0].bIdentity);
  EXPECT_FALSE(activity->columns[0].bNullable);
  EXPECT_EQ(activity->columns[1].type.Name(), QStringLiteral("money"));
  const std::optional<tsql::CatalogTable> name = connection.Find({"imis", "dbo", "Name"});
  ASSERT_TRUE(name.has_value());
  EXPECT_FALSE(name->columns[0].bIdentity);  // a rowid that does not autoincrement
  EXPECT_FALSE(name->columns[1].bNullable);
  EXPECT_EQ(name->columns[2].type.Name(), QStringLiteral("varchar(max)"));
  EXPECT_FALSE(connection.Find({"#Name"}).has_value());
}

TEST(SqliteCatalog, SeesATemporaryTableMadeOrDroppedAfterALookUp) {
  CatalogConnection connection;
  EXPECT_FALSE(connection.Find({"#f"}).has_value());
  connection.Run("create table twk_temp.\"#f\" (A int not null)");
  ASSERT_TRUE(connection.Find({"#F"}).has_value());
  EXPECT_EQ(connection.Find({"#F"})->columns[0].type.Name(), QStringLiteral("int"));
  connection.Run("drop table twk_temp.\"#f\"");
  EXPECT_FALSE(connection.Find({"#f"}).has_value());
  connection.Run("alter table Name add column CITY varchar(20)");
  EXPECT_EQ(connection.Find({"Name"})->columns.size(), 4u);
}

}  // namespace twk::embedded::test
