// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <vector>

#include "Connection.h"
#include "ConnectionSettings.h"
#include "EmbeddedDatabase.h"
#include "TwkError.h"

namespace twk {
namespace {

struct Definition {
  QString sAlertId;
  QString sCriteria;
};

// One direct row of a definition's first result, by column name.
using DirectRow = QMap<QString, QString>;

// Runs the demo definitions for a record the way the panel does: the
// placeholders replaced by quoted values, every batch on one connection,
// the connection's own rows of ttwk_AlertOutput collected afterwards.
class DemoDefinitionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString sPath = scratch.filePath(QStringLiteral("demo.db"));
    EmbeddedDatabase::Create(sPath, true);
    ConnectionSettings settings;
    settings.sDataSource = sPath;
    connection.SetSettings(settings);
    connection.Open();
    Recordset rs = connection.Execute(
        QStringLiteral("select ALERT_ID, CRITERIA from ttwk_AlertDefinitions "
                       "where ENABLED = 1 and ALERT_TYPE in ('SQL', 'SQLSilent') order by SEQN"));
    for (; !rs.IsEof(); rs.MoveNext()) {
      definitions.push_back({rs.Field(0).toString(), rs.Field(1).toString()});
    }
  }

  static QString Prepare(QString sSql, const QString& sId, const QString& sUser) {
    const QString sQuotedId = QLatin1Char('\'') + sId + QLatin1Char('\'');
    const QString sQuotedUser = QLatin1Char('\'') + sUser + QLatin1Char('\'');
    sSql.replace(QStringLiteral("{id}"), sQuotedId, Qt::CaseInsensitive);
    sSql.replace(QStringLiteral("{user}"), sQuotedUser, Qt::CaseInsensitive);
    sSql.replace(QStringLiteral("@psId"), sQuotedId, Qt::CaseInsensitive);
    sSql.replace(QStringLiteral("@id"), sQuotedId, Qt::CaseInsensitive);
    sSql.replace(QStringLiteral("@sUserName"), sQuotedUser, Qt::CaseInsensitive);
    return sSql;
  }

  long OwnOutputRows() {
    Recordset rs = connection.Execute(
        QStringLiteral("select count(*) from ttwk_AlertOutput where OWNER_SPID = @@spid"));
    return long(rs.Field(0).toLongLong());
  }

  // Runs every definition for the record; returns the ids of the definitions
  // that produced an alert, direct or written, and keeps the rows.
  QSet<QString> Evaluate(const QString& sId, const QString& sUser) {
    directRows.clear();
    connection.Execute(QStringLiteral("delete from ttwk_AlertOutput where OWNER_SPID = @@spid"));
    QSet<QString> fired;
    for (const Definition& definition : definitions) {
      const long lBefore = OwnOutputRows();
      Recordset rs;
      try {
        rs = connection.Execute(Prepare(definition.sCriteria, sId, sUser));
      } catch (const TwkError& error) {
        ADD_FAILURE() << definition.sAlertId.toStdString() << " for " << sId.toStdString() << ": "
                      << error.Description().toStdString();
        continue;
      }
      for (; rs.IsOpen() && !rs.IsEof(); rs.MoveNext()) {
        DirectRow row;
        for (int i = 0; i < rs.FieldCount(); ++i) row[rs.FieldName(i)] = rs.Field(i).toString();
        directRows[definition.sAlertId].push_back(row);
        fired.insert(definition.sAlertId);
      }
      if (OwnOutputRows() > lBefore) fired.insert(definition.sAlertId);
    }
    return fired;
  }

  QTemporaryDir scratch;
  Connection connection;
  std::vector<Definition> definitions;
  QMap<QString, std::vector<DirectRow>> directRows;
};

TEST_F(DemoDefinitionsTest, EveryDefinitionRunsForEveryContactAndBothKindsOfAlertAppear) {
  ASSERT_GE(definitions.size(), 12u);
  Recordset ids = connection.Execute(QStringLiteral("select ID from Name order by ID"));
  bool bDirect = false;
  bool bWritten = false;
  for (; !ids.IsEof(); ids.MoveNext()) {
    Evaluate(ids.Field(0).toString(), QStringLiteral("MANAGER"));
    for (const auto& rows : directRows) {
      for (const DirectRow& row : rows) {
        // The panel accepts only rows with a keyword and a description.
        EXPECT_FALSE(row.value(QStringLiteral("KEYWORD")).isEmpty());
        EXPECT_FALSE(row.value(QStringLiteral("DESCRIPTION")).isEmpty());
        bDirect = true;
      }
    }
    bWritten = bWritten || OwnOutputRows() > 0;
  }
  EXPECT_TRUE(bDirect);
  EXPECT_TRUE(bWritten);
}

struct Story {
  const char* sId;
  const char* sUser;
  std::vector<const char*> expected;
};

TEST_F(DemoDefinitionsTest, EachContactShowsTheAlertsItsStoryCallsFor) {
  const std::vector<Story> stories = {
      {"1001", "MANAGER", {"VIP", "MY_ACCOUNT"}},
      {"1001", "STAFF", {"VIP"}},
      {"1002", "STAFF", {"LAPSED", "DUES_OWED"}},
      {"1003", "STAFF", {"RENEWAL_DUE", "BIRTHDAY"}},
      {"1004", "STAFF", {"BIRTHDAY", "NO_EMAIL"}},
      {"1005", "STAFF", {"NEW_MEMBER", "EVENT_REG"}},
      {"1006", "STAFF", {"DECEASED"}},
      {"1007", "STAFF", {"DO_NOT_CONTACT"}},
      {"1008", "STAFF", {"ACCOUNT_HOLD", "DUES_OWED"}},
      {"1009", "STAFF", {"EVENT_REG", "COMPANY"}},
      {"1010", "MANAGER", {"CREDIT"}},
      {"1010", "STAFF", {}},
      {"1011", "STAFF", {"DUPLICATE"}},
      {"1014", "STAFF", {}},
      {"2002", "STAFF", {"LAPSED", "DUES_OWED", "COMPANY"}},
      {"9999", "MANAGER", {}},
  };
  for (const Story& story : stories) {
    QSet<QString> expected;
    for (const char* sAlertId : story.expected) expected.insert(QString::fromUtf8(sAlertId));
    const QSet<QString> fired =
        Evaluate(QString::fromUtf8(story.sId), QString::fromUtf8(story.sUser));
    EXPECT_EQ(fired, expected) << story.sId << " as " << story.sUser;
  }
}

TEST_F(DemoDefinitionsTest, CommandLinesKeepTheirIdMarkerThroughThePlaceholderStep) {
  Evaluate(QStringLiteral("1008"), QStringLiteral("STAFF"));
  ASSERT_EQ(directRows[QStringLiteral("ACCOUNT_HOLD")].size(), 1u);
  const DirectRow hold = directRows[QStringLiteral("ACCOUNT_HOLD")].front();
  EXPECT_TRUE(hold.value(QStringLiteral("ACTION_TEXT")).contains(QStringLiteral("{ID}")));
  EXPECT_FALSE(hold.value(QStringLiteral("ACTION_TEXT")).contains(QStringLiteral("'1008'")));
  EXPECT_EQ(hold.value(QStringLiteral("AUTO_ACTION")), QStringLiteral("-1"));
  EXPECT_EQ(hold.value(QStringLiteral("AUTO_POPUP")), QStringLiteral("-1"));

  Evaluate(QStringLiteral("1009"), QStringLiteral("STAFF"));
  ASSERT_EQ(directRows[QStringLiteral("COMPANY")].size(), 1u);
  const DirectRow employer = directRows[QStringLiteral("COMPANY")].front();
  EXPECT_EQ(employer.value(QStringLiteral("KEY_VALUE")), QStringLiteral("2001"));
  EXPECT_TRUE(employer.value(QStringLiteral("ACTION_TEXT")).endsWith(QStringLiteral("/{ID}")));
}

TEST_F(DemoDefinitionsTest, DirectRowsUseTheExactColumnNamesAndMultiLineDescriptions) {
  static const QSet<QString> columns = {"EVENT_TYPE",     "KEY_VALUE",
                                        "RANK",           "ICON",
                                        "KEYWORD",        "DESCRIPTION",
                                        "TOOLTIP_TEXT",   "TITLE_TEXT",
                                        "CLIPBOARD_TEXT", "CLIPBOARD_DESCRIPTION",
                                        "ACTION_TEXT",    "ACTION_DESCRIPTION",
                                        "LOG_TEXT",       "PLAY_SOUND",
                                        "AUTO_POPUP",     "AUTO_CLIPBOARD",
                                        "AUTO_ACTION"};
  for (const char* sId : {"1002", "1003", "1009", "2001"}) {
    Evaluate(QString::fromUtf8(sId), QStringLiteral("MANAGER"));
    for (auto it = directRows.cbegin(); it != directRows.cend(); ++it) {
      for (const DirectRow& row : it.value()) {
        for (const QString& sColumn : row.keys()) {
          EXPECT_TRUE(columns.contains(sColumn))
              << it.key().toStdString() << ": " << sColumn.toStdString();
        }
      }
    }
  }
  Evaluate(QStringLiteral("1002"), QStringLiteral("STAFF"));
  const DirectRow owed = directRows[QStringLiteral("DUES_OWED")].at(0);
  EXPECT_TRUE(owed.value(QStringLiteral("DESCRIPTION")).contains(QStringLiteral("\r\n")));
  EXPECT_FALSE(owed.contains(QStringLiteral("TOOLTIP_TEXT")));
  EXPECT_EQ(owed.value(QStringLiteral("KEYWORD")), QStringLiteral("Owes $185.00"));
}

}  // namespace
}  // namespace twk
