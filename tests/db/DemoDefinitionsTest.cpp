// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
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
  QString sType;
  QString sDescription;
  bool bEnabled = true;
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
        QStringLiteral("select ALERT_ID, CRITERIA, ALERT_TYPE, DESCRIPTION, ENABLED "
                       "from ttwk_AlertDefinitions order by SEQN"));
    for (; !rs.IsEof(); rs.MoveNext()) {
      Definition definition{rs.Field(0).toString(), rs.Field(1).toString(),
                            rs.Field(2).toString(), rs.Field(3).toString(),
                            rs.Field(4).toLongLong() == 1};
      allDefinitions.push_back(definition);
      if (definition.bEnabled && IsRun(definition)) definitions.push_back(definition);
    }
  }

  static bool IsRun(const Definition& definition) {
    return definition.sType == u"SQL" || definition.sType == u"SQLSilent";
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

  // Everything one batch gives for a record: its direct rows and the rows it
  // wrote into ttwk_AlertOutput, each as "column=value" lines, in order.
  QStringList Alerts(const QString& sCriteria, const QString& sId, const QString& sUser) {
    const QString sClear =
        QStringLiteral("delete from ttwk_AlertOutput where OWNER_SPID = @@spid");
    connection.Execute(sClear);
    QStringList alerts;
    Recordset rs = connection.Execute(Prepare(sCriteria, sId, sUser));
    for (; rs.IsOpen() && !rs.IsEof(); rs.MoveNext()) alerts.append(RowText(rs));
    // The table has no key that keeps the order of writing, so the rows are
    // compared in the order of all that they hold.
    Recordset written = connection.Execute(QStringLiteral(
        "select * from ttwk_AlertOutput where OWNER_SPID = @@spid order by RANK, EVENT_TYPE, "
        "KEY_VALUE, KEYWORD, DESCRIPTION, TOOLTIP_TEXT, TITLE_TEXT, CLIPBOARD_TEXT, "
        "CLIPBOARD_DESCRIPTION, ACTION_TEXT, ACTION_DESCRIPTION, LOG_TEXT, ICON, PLAY_SOUND, "
        "AUTO_POPUP, AUTO_CLIPBOARD, AUTO_ACTION"));
    for (; !written.IsEof(); written.MoveNext()) alerts.append(RowText(written, u"OWNER_SPID"));
    connection.Execute(sClear);
    return alerts;
  }

  static QString RowText(const Recordset& rs, QStringView sSkip = {}) {
    QString sRow;
    for (int i = 0; i < rs.FieldCount(); ++i) {
      if (rs.FieldName(i).compare(sSkip, Qt::CaseInsensitive) == 0) continue;
      sRow += rs.FieldName(i).toUpper() + u'=' + rs.Field(i).toString() + u'\n';
    }
    return sRow;
  }

  QTemporaryDir scratch;
  Connection connection;
  std::vector<Definition> allDefinitions;
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
      {"1023", "STAFF", {"PRESS"}},
      {"1029", "MANAGER",
       {"VIP", "DUES_OWED", "MY_ACCOUNT", "RENEWAL_DUE", "NEW_MEMBER", "BIRTHDAY", "EVENT_REG",
        "COMPANY", "DO_NOT_CONTACT"}},
      {"2002", "STAFF", {"LAPSED", "DUES_OWED", "COMPANY"}},
      {"2003", "STAFF", {"COMPANY"}},
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

// The demo shows every part of the panel: a second page, and the stand-in
// for an icon number that the library does not have.
TEST_F(DemoDefinitionsTest, OneContactFillsTwoPagesAndOneAlertHasAnIconBeyondTheLibrary) {
  Evaluate(QStringLiteral("1029"), QStringLiteral("MANAGER"));
  std::size_t iAlerts = std::size_t(OwnOutputRows());
  for (const auto& rows : directRows) iAlerts += rows.size();
  EXPECT_GE(iAlerts, 9u);

  Evaluate(QStringLiteral("1023"), QStringLiteral("STAFF"));
  ASSERT_EQ(directRows[QStringLiteral("PRESS")].size(), 1u);
  EXPECT_GT(directRows[QStringLiteral("PRESS")].front().value(QStringLiteral("ICON")).toInt(), 678);
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

// The N'...' literals of a batch of the server script, in order, as the
// server reads them.
QStringList UnicodeLiterals(const QString& sBatch) {
  QStringList literals;
  static const QRegularExpression literal(QStringLiteral("N'((?:[^']|'')*)'"));
  for (const QRegularExpressionMatch& match : literal.globalMatch(sBatch)) {
    literals.append(match.captured(1).replace(QStringLiteral("''"), QStringLiteral("'")));
  }
  return literals;
}

// The definitions that TWK_example_definitions.sql inserts, one per batch.
std::vector<Definition> ServerExamples() {
  QFile file(QStringLiteral(TWK_SOURCE_DIR "/sql/server/TWK_example_definitions.sql"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  static const QRegularExpression goLine(QStringLiteral("^\\s*go\\s*$"),
                                         QRegularExpression::MultilineOption |
                                             QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression enabled(QStringLiteral("',\\s*([01]),\\s*N'"));
  std::vector<Definition> examples;
  for (const QString& sBatch : QString::fromUtf8(file.readAll()).split(goLine)) {
    if (!sBatch.contains(QStringLiteral("insert into dbo.ttwk_AlertDefinitions"))) continue;
    // ALERT_ID in the existence check, then CRITERIA, DESCRIPTION, ALERT_TYPE, ALERT_ID.
    const QStringList literals = UnicodeLiterals(sBatch);
    EXPECT_EQ(literals.size(), 5) << sBatch.left(200).toStdString();
    if (literals.size() != 5) continue;
    EXPECT_EQ(literals[0], literals[4]) << "the existence check looks for another definition";
    const QRegularExpressionMatch flag = enabled.match(sBatch);
    examples.push_back({literals[4], literals[1], literals[3], literals[2],
                        flag.captured(1) == u"1"});
  }
  return examples;
}

TEST_F(DemoDefinitionsTest, TheServerExamplesAreTheDemoDefinitionsInTheSameOrder) {
  const std::vector<Definition> examples = ServerExamples();
  ASSERT_EQ(examples.size(), allDefinitions.size());
  for (std::size_t i = 0; i < examples.size(); ++i) {
    const Definition& demo = allDefinitions[i];
    const Definition& example = examples[i];
    EXPECT_EQ(example.sAlertId, demo.sAlertId) << "SEQN " << i + 1;
    EXPECT_EQ(example.sType, demo.sType) << demo.sAlertId.toStdString();
    EXPECT_EQ(example.sDescription, demo.sDescription) << demo.sAlertId.toStdString();
    EXPECT_EQ(example.bEnabled, demo.bEnabled) << demo.sAlertId.toStdString();
  }
}

// Each example of the server script, run through the embedded engine, gives
// for every contact exactly the alerts of its demo twin; and each shows
// something for some contact, so that agreeing on nothing proves nothing.
TEST_F(DemoDefinitionsTest, EachServerExampleGivesTheAlertsOfItsDemoTwin) {
  const std::vector<Definition> examples = ServerExamples();
  ASSERT_EQ(examples.size(), allDefinitions.size());
  QStringList ids;
  for (Recordset rs = connection.Execute(QStringLiteral("select ID from Name order by ID"));
       !rs.IsEof(); rs.MoveNext()) {
    ids.append(rs.Field(0).toString());
  }
  for (std::size_t i = 0; i < examples.size(); ++i) {
    if (!IsRun(examples[i])) continue;
    const std::string sName = examples[i].sAlertId.toStdString();
    bool bShown = false;
    for (const QString& sId : ids) {
      for (const QString& sUser : {QStringLiteral("MANAGER"), QStringLiteral("STAFF")}) {
        try {
          const QStringList expected = Alerts(allDefinitions[i].sCriteria, sId, sUser);
          EXPECT_EQ(Alerts(examples[i].sCriteria, sId, sUser), expected)
              << sName << " for " << sId.toStdString() << " as " << sUser.toStdString();
          bShown = bShown || !expected.isEmpty();
        } catch (const TwkError& error) {
          ADD_FAILURE() << sName << " for " << sId.toStdString() << ": "
                        << error.Description().toStdString();
        }
      }
    }
    EXPECT_TRUE(bShown) << sName << " shows nothing for any demo contact";
  }
}

}  // namespace
}  // namespace twk
