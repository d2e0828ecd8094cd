// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <vector>

#include "Connection.h"
#include "ConnectionSettings.h"
#include "EmbeddedDatabase.h"
#include "TwkError.h"

namespace twk {
namespace {

// Reads a file with SQLite's own API, so that the data checks do not depend
// on the backend under test elsewhere.
class RawDatabase {
 public:
  explicit RawDatabase(const QString& sPath) {
    sqlite3* pDb = nullptr;
    const int iResult =
        sqlite3_open_v2(QFile::encodeName(sPath).constData(), &pDb, SQLITE_OPEN_READWRITE, nullptr);
    db_.reset(pDb);
    if (iResult != SQLITE_OK) ADD_FAILURE() << "cannot open " << sPath.toStdString();
  }

  QString Text(const char* sSql) const {
    sqlite3_stmt* pStatement = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sSql, -1, &pStatement, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sSql << ": " << sqlite3_errmsg(db_.get());
      return QString();
    }
    QString sValue;
    if (sqlite3_step(pStatement) == SQLITE_ROW) {
      sValue = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)));
    }
    sqlite3_finalize(pStatement);
    return sValue;
  }
  long Number(const char* sSql) const { return Text(sSql).toLong(); }
  bool Runs(const char* sSql) const {
    return sqlite3_exec(db_.get(), sSql, nullptr, nullptr, nullptr) == SQLITE_OK;
  }

 private:
  struct Close {
    void operator()(sqlite3* p) const noexcept { sqlite3_close_v2(p); }
  };
  std::unique_ptr<sqlite3, Close> db_;
};

class EmbeddedDatabaseTest : public ::testing::Test {
 protected:
  QString PathOf(const char* sName) const { return scratch.filePath(QString::fromUtf8(sName)); }

  QString CreateAndOpen(bool bDemo) {
    const QString sPath = PathOf(bDemo ? "demo.db" : "empty.db");
    EmbeddedDatabase::Create(sPath, bDemo);
    ConnectionSettings settings;
    settings.sDataSource = sPath;
    connection.SetSettings(settings);
    connection.Open();
    return sPath;
  }

  long Count(const QString& sSql) {
    Recordset rs = connection.Execute(sSql);
    return rs.Field(0).toLongLong();
  }

  QStringList Leftovers() const {
    return QDir(scratch.path()).entryList({QStringLiteral("*.part*")}, QDir::Files);
  }

  QTemporaryDir scratch;
  Connection connection;
};

TEST_F(EmbeddedDatabaseTest, CreateRefusesAnExistingFileAndLeavesItUntouched) {
  const QString sPath = PathOf("precious.db");
  {
    QFile file(sPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
  }
  for (bool bDemo : {false, true}) {
    try {
      EmbeddedDatabase::Create(sPath, bDemo);
      ADD_FAILURE() << "an existing file was accepted";
    } catch (const TwkError& error) {
      EXPECT_EQ(error.Source(), QStringLiteral("TWK"));
      EXPECT_TRUE(error.Description().contains(QStringLiteral("already exists")));
      EXPECT_TRUE(error.Description().contains(QStringLiteral("precious.db")));
    }
  }
  QFile file(sPath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("keep me"));
  EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(EmbeddedDatabaseTest, AFailedCreateLeavesNoFileBehind) {
  const QString sPath = PathOf("missing-directory/new.db");
  EXPECT_THROW(EmbeddedDatabase::Create(sPath, true), TwkError);
  EXPECT_FALSE(QFileInfo::exists(sPath));
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

// A path is text, never a format: Qt's arg() would read %1 and %L1 as
// places to fill, and %% is kept as it is.
TEST_F(EmbeddedDatabaseTest, APercentSignInThePathIsKeptAsItIs) {
  for (const char* sFolder : {"dir%1x", "dir%2x", "dir%L1x", "dir%%x"}) {
    SCOPED_TRACE(sFolder);
    ASSERT_TRUE(QDir(scratch.path()).mkdir(QString::fromUtf8(sFolder)));
    const QString sPath = PathOf(sFolder) + QStringLiteral("/new.db");
    ConnectionSettings settings;
    settings.sDataSource = sPath;
    connection.SetSettings(settings);
    try {
      EmbeddedDatabase::Create(sPath, false);
      connection.Open();
    } catch (const TwkError& error) {
      ADD_FAILURE() << error.Description().toStdString();
      continue;
    }
    EXPECT_EQ(Count(QStringLiteral("select count(*) from ttwk_AlertDefinitions")), 0);
    EXPECT_EQ(QDir(PathOf(sFolder)).entryList(QDir::Files), QStringList{QStringLiteral("new.db")});
  }
}

TEST_F(EmbeddedDatabaseTest, ANewDatabaseHasTheRequiredObjectsAndNoData) {
  const QString sPath = CreateAndOpen(false);
  for (const char* sQuery :
       {"select count(*) from sysobjects where uid = 1 and type = 'U' and lower(name) = "
        "'ttwk_alertdefinitions'",
        "select count(*) from sysobjects where uid = 1 and type = 'U' and lower(name) = "
        "'ttwk_alertoutput'",
        "select count(*) from sysobjects where uid = 1 and type = 'P' and lower(name) = "
        "'ptwk_writesystemparams'",
        "select count(*) from sysobjects where uid = 1 and type = 'P' and lower(name) = "
        "'ptwk_calculate_fixed_text'"}) {
    EXPECT_EQ(Count(QString::fromUtf8(sQuery)), 1) << sQuery;
  }
  for (const char* sTable : {"ttwk_AlertDefinitions", "ttwk_AlertOutput", "System_Params", "Users",
                             "Name", "Meet_Registration"}) {
    EXPECT_EQ(Count(QStringLiteral("select count(*) from %1").arg(QString::fromUtf8(sTable))), 0)
        << sTable;
  }
  EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(EmbeddedDatabaseTest, DefinitionColumnsKeepTheirOrderAndTheEditorLimits) {
  const QString sPath = PathOf("limits.db");
  EmbeddedDatabase::Create(sPath, false);
  RawDatabase db(sPath);
  EXPECT_EQ(db.Text("select group_concat(name, ',') from "
                    "(select name from pragma_table_info('ttwk_AlertDefinitions') order by cid)"),
            QStringLiteral("SEQN,CRITERIA,ENABLED,DESCRIPTION,ALERT_TYPE,ALERT_ID"));
  EXPECT_TRUE(
      db.Runs("insert into ttwk_AlertDefinitions (CRITERIA, DESCRIPTION, ALERT_TYPE, "
              "ALERT_ID) values (printf('%3072s', 'x'), printf('%255s', 'd'), 'SQL', "
              "'ABCDEFGHIJKLMNOPQRST')"));
  // The form limits name, description and criteria, not the type.
  EXPECT_TRUE(
      db.Runs("insert into ttwk_AlertDefinitions (CRITERIA, ALERT_TYPE, ALERT_ID) "
              "values ('select 1', printf('%40s', 'Custom'), 'TYPED')"));
  EXPECT_FALSE(
      db.Runs("insert into ttwk_AlertDefinitions (CRITERIA, ALERT_ID) "
              "values ('select 1', 'ABCDEFGHIJKLMNOPQRSTU')"));
  EXPECT_FALSE(
      db.Runs("insert into ttwk_AlertDefinitions (CRITERIA, ALERT_ID) "
              "values (printf('%3073s', 'x'), 'LONG')"));
  EXPECT_FALSE(
      db.Runs("insert into ttwk_AlertDefinitions (CRITERIA, DESCRIPTION, ALERT_ID) "
              "values ('select 1', printf('%256s', 'd'), 'LONG')"));
  EXPECT_EQ(db.Text("select SEQN || '/' || ENABLED from ttwk_AlertDefinitions"),
            QStringLiteral("1/1"));
}

TEST_F(EmbeddedDatabaseTest, WriteSystemParamsAddsARowThenUpdatesIt) {
  CreateAndOpen(false);
  connection.Execute(QStringLiteral("exec ptwk_WriteSystemParams 'QUOR.TWK.Version', '1.00.000'"));
  connection.Execute(QStringLiteral("exec ptwk_WriteSystemParams 'Other', 'x'"));
  connection.Execute(QStringLiteral("exec ptwk_WriteSystemParams 'QUOR.TWK.Version', '1.00.001'"));
  Recordset rs = connection.Execute(
      QStringLiteral("select ParameterName, ShortValue from System_Params order by ParameterName"));
  ASSERT_EQ(rs.RecordCount(), 2);
  rs.MoveNext();
  EXPECT_EQ(rs.Field(0).toString(), QStringLiteral("QUOR.TWK.Version"));
  EXPECT_EQ(rs.Field(1).toString(), QStringLiteral("1.00.001"));
}

TEST_F(EmbeddedDatabaseTest, FixedTextDescribesTheContactOrSaysItIsUnknown) {
  CreateAndOpen(true);
  Recordset known =
      connection.Execute(QStringLiteral("exec ptwk_calculate_fixed_text '1002', 'MANAGER'"));
  ASSERT_EQ(known.RecordCount(), 1);
  EXPECT_TRUE(known.Field(0).toString().startsWith(QStringLiteral("Member, active, lapsed ")))
      << known.Field(0).toString().toStdString();
  Recordset unknown =
      connection.Execute(QStringLiteral("exec ptwk_calculate_fixed_text '9999', 'MANAGER'"));
  ASSERT_EQ(unknown.RecordCount(), 1);
  EXPECT_EQ(unknown.Field(0).toString(), QStringLiteral("No iMIS record with the ID 9999"));
}

TEST_F(EmbeddedDatabaseTest, TheDemoHoldsContactsUsersParametersAndDefinitions) {
  const QString sPath = PathOf("demo.db");
  EmbeddedDatabase::Create(sPath, true);
  RawDatabase db(sPath);
  const long lContacts = db.Number("select count(*) from Name");
  EXPECT_GE(lContacts, 25);
  EXPECT_LE(lContacts, 40);
  EXPECT_TRUE(db.Text("select AccessKeywords from Users where UserId = 'MANAGER'")
                  .contains(QStringLiteral("TWKEdit"), Qt::CaseInsensitive));
  EXPECT_EQ(db.Number("select count(*) from Users where UserId = 'STAFF' "
                      "and AccessKeywords not like '%twkedit%'"),
            1);
  // Equal pairs let the demo start without the reminder; the program records
  // its own version itself.
  EXPECT_EQ(db.Text("select ShortValue from System_Params where ParameterName = "
                    "'QUOR.TWK.Imis_Version'"),
            db.Text("select ShortValue from System_Params where ParameterName = "
                    "'System_Control.Version'"));
  EXPECT_EQ(db.Text("select ShortValue from System_Params where ParameterName = "
                    "'QUOR.TWK.Imis_Checksum'"),
            db.Text("select ShortValue from System_Params where ParameterName = "
                    "'System_Control.Checksum'"));
  EXPECT_FALSE(db.Text("select ShortValue from System_Params where ParameterName = "
                       "'System_Control.Checksum'")
                   .isEmpty());
  EXPECT_EQ(db.Number("select count(*) from System_Params where ParameterName like 'QUOR.TWK.%'"),
            2);
  EXPECT_GE(db.Number("select count(*) from ttwk_AlertDefinitions"), 12);
  EXPECT_GE(db.Number("select count(*) from ttwk_AlertDefinitions where ENABLED = 0"), 1);
  EXPECT_GE(db.Number("select count(*) from ttwk_AlertDefinitions where ALERT_TYPE = 'SQLSilent'"),
            1);
  EXPECT_GE(db.Number("select count(*) from ttwk_AlertDefinitions "
                      "where ALERT_TYPE not in ('SQL', 'SQLSilent')"),
            1);
}

TEST(EmbeddedDemoDatabase, IsCreatedOnFirstUseInTheDataDirectoryAndKeptAfterwards) {
  QTemporaryDir home;
  const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
  const QString sPreviousOrganisation = QCoreApplication::organizationName();
  const QString sPreviousApplication = QCoreApplication::applicationName();
  qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
  QCoreApplication::setOrganizationName(QStringLiteral("Tellwick"));
  QCoreApplication::setApplicationName(QStringLiteral("Tellwick"));

  const QString sPath = EmbeddedDatabase::EnsureDemoDatabase();
  EXPECT_EQ(sPath, EmbeddedDatabase::DefaultDemoPath());
  EXPECT_EQ(sPath, home.filePath(QStringLiteral("Tellwick/Tellwick/demo.db")));
  {
    RawDatabase db(sPath);
    EXPECT_TRUE(db.Runs("update Name set FULL_NAME = 'changed' where ID = '1001'"));
  }
  EXPECT_EQ(EmbeddedDatabase::EnsureDemoDatabase(), sPath);
  EXPECT_EQ(RawDatabase(sPath).Text("select FULL_NAME from Name where ID = '1001'"),
            QStringLiteral("changed"));

  QCoreApplication::setOrganizationName(sPreviousOrganisation);
  QCoreApplication::setApplicationName(sPreviousApplication);
  if (previousDataHome.isNull()) {
    qunsetenv("XDG_DATA_HOME");
  } else {
    qputenv("XDG_DATA_HOME", previousDataHome);
  }
}

}  // namespace
}  // namespace twk
