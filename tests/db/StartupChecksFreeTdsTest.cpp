// SPDX-License-Identifier: MIT
// InitializeConnection's start-up checks through FreeTDS against the scripted
// TDS responder, which stands in for SQL Server: what the checks read comes
// from the test's script.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTemporaryDir>

#include "ImisScript.h"
#include "ModuleFixture.h"
#include "TdsResponder.h"
#include "modSubroutines.h"

namespace twk {
namespace {

using testing::Answer;
using testing::OneRow;
using testing::Rows;
using testing::TdsResponder;

const QString sOutputTableCount = QStringLiteral(
    "select count(*) from sysobjects where uid = 1 and type = 'U' and lower(name) = "
    "'ttwk_alertoutput'");

QJsonArray CountOf(int iCount) {
  return {Rows({{"", "int"}}, OneRow({iCount}))};
}

QJsonArray ServerNamed(const QString& sName) {
  return {Rows({{"attribute_id", "int"},
                {"attribute_name", "varchar(60)"},
                {"attribute_value", "varchar(255)"}},
               OneRow({1, "DBMS_NAME", sName})),
          QJsonObject{{"return_status", 0}}};
}

class StartupChecksThroughFreeTds : public testing::ModuleFixture {
 protected:
  // A responder running the iMIS script, the given batches answered before
  // the script's own answers.
  void Serve(const QJsonArray& overrides) {
    QJsonObject script = testing::ImisScript({}, {}, QString());
    QJsonArray batches = overrides;
    for (const QJsonValue& batch : script["batches"].toArray()) batches.append(batch);
    script["batches"] = batches;
    responder = std::make_unique<TdsResponder>(script);
    if (responder->IsRunning()) {
      sDataSource = responder->DefineDataSource(folder.path(), QStringLiteral("TwkStart"));
    }
  }
  bool StartOnServer() {
    return modSubroutines::InitializeConnection(sDataSource, QStringLiteral("ASSOC"),
                                                QStringLiteral("STAFF1_ASSOC_i"),
                                                QStringLiteral("Tds;pw}1=x"), 1);
  }
  bool IsOpen() { return moduleState.State().SharedConnection().IsOpen(); }

  QTemporaryDir folder;
  std::unique_ptr<TdsResponder> responder;
  QString sDataSource;
};

const QString sMissingObjectsTitle = QStringLiteral("Critical: missing objects");

TEST_F(StartupChecksThroughFreeTds, AServerThatIsNotSqlServerStopsTheStart) {
  // The name is compared exactly: one differing only in case is another server.
  for (const char* sName : {"Sybase SQL Server", "microsoft sql server", "Microsoft SQL server"}) {
    Serve(
        {Answer(QStringLiteral("exec sp_server_info 1"), ServerNamed(QString::fromLatin1(sName)))});
    TWK_REQUIRE_RESPONDER(*responder);
    EXPECT_FALSE(StartOnServer()) << sName;
    EXPECT_EQ(platform.MessageTitles().join(u'|').toStdString(), sMissingObjectsTitle.toStdString())
        << sName;
    EXPECT_FALSE(IsOpen()) << sName;
    platform.messages.clear();
  }
}

TEST_F(StartupChecksThroughFreeTds, AnObjectCountedTwiceOrNotAtAllStopsTheStart) {
  // The count is of objects dbo owns: an output table another user owns
  // counts 0, one whose name matches twice counts 2; either is wrong.
  for (int iCount : {0, 2}) {
    Serve({Answer(sOutputTableCount, CountOf(iCount))});
    TWK_REQUIRE_RESPONDER(*responder);
    EXPECT_FALSE(StartOnServer()) << iCount;
    EXPECT_EQ(platform.MessageTitles(), QStringList{sMissingObjectsTitle}) << iCount;
    EXPECT_TRUE(responder->Batches().contains(sOutputTableCount)) << iCount;
    EXPECT_FALSE(IsOpen()) << iCount;
    platform.messages.clear();
  }
}

}  // namespace
}  // namespace twk
