// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "Connection.h"
#include "ConnectionSettings.h"
#include "EmbeddedDatabase.h"
#include "RecordBrowser.h"
#include "RecordListModel.h"

namespace twk {
namespace {

/// A browser over a database of its own, whose Name table each case fills.
class RecordBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    settings.sDataSource = scratch.filePath(QStringLiteral("contacts.db"));
    EmbeddedDatabase::Create(settings.sDataSource, false);
    connection.SetSettings(settings);
    connection.Open();
  }

  void AddContact(const QString& sId, const QString& sName) {
    QString sQuoted = sName;
    sQuoted.replace(u'\'', QStringLiteral("''"));
    connection.Execute(
        QStringLiteral("insert into Name (ID, FULL_NAME) values ('%1', '%2')").arg(sId, sQuoted));
  }

  QStringList Found(RecordBrowser& browser, const QString& sSearch) {
    browser.Search(sSearch);
    QStringList names;
    for (int iRow = 0; iRow < browser.LoadedCount(); ++iRow) {
      names << browser.List()->model()->index(iRow, 1).data().toString();
    }
    return names;
  }

  QTemporaryDir scratch;
  ConnectionSettings settings;
  Connection connection;
};

TEST_F(RecordBrowserTest, SearchTextIsFoundAsTypedWildcardsQuotesAndAccentsIncluded) {
  for (const auto& [sId, sName] :
       std::vector<std::pair<QString, QString>>{{QStringLiteral("1"), QStringLiteral("100% Pure")},
                                                {QStringLiteral("2"), QStringLiteral("1000 Lakes")},
                                                {QStringLiteral("3"), QStringLiteral("a_b Ltd")},
                                                {QStringLiteral("4"), QStringLiteral("axb Ltd")},
                                                {QStringLiteral("5"), QStringLiteral("O'Brien")},
                                                {QStringLiteral("6"), QStringLiteral("Zoë Ærø")},
                                                {QStringLiteral("7"), QStringLiteral("[x] Group")},
                                                {QStringLiteral("8"), QStringLiteral("\\slash")},
                                                {QStringLiteral("9"), QStringLiteral("Obrist")}}) {
    AddContact(sId, sName);
  }
  RecordBrowser browser;
  ASSERT_EQ(browser.Load(settings), QString());
  EXPECT_EQ(browser.RecordCount(), 9);
  EXPECT_EQ(Found(browser, QStringLiteral("100%")), QStringList{QStringLiteral("100% Pure")});
  EXPECT_EQ(Found(browser, QStringLiteral("a_")), QStringList{QStringLiteral("a_b Ltd")});
  EXPECT_EQ(Found(browser, QStringLiteral("o'b")), QStringList{QStringLiteral("O'Brien")});
  EXPECT_EQ(Found(browser, QStringLiteral("Zoë Æ")), QStringList{QStringLiteral("Zoë Ærø")});
  EXPECT_EQ(Found(browser, QStringLiteral("[x")), QStringList{QStringLiteral("[x] Group")});
  EXPECT_EQ(Found(browser, QStringLiteral("\\")), QStringList{QStringLiteral("\\slash")});
  EXPECT_EQ(Found(browser, QStringLiteral("5")), QStringList{QStringLiteral("O'Brien")});
  EXPECT_EQ(Found(browser, QStringLiteral("'; drop table Name; --")), QStringList());
  EXPECT_EQ(Found(browser, QString()).size(), 9);
}

TEST_F(RecordBrowserTest, RowsAreReadAPageAtATimeAsTheListScrolls) {
  // Three digits crossed, since the server stops a recursion at 100 levels.
  connection.Execute(QStringLiteral(
      "with d (i) as (select 0 union all select i + 1 from d where i < 9) "
      "insert into Name (ID, FULL_NAME) "
      "select 'G' + cast(n as varchar(3)), 'Name ' + cast(1000 + n as varchar(4)) "
      "from (select a.i * 100 + b.i * 10 + c.i + 1 as n from d a cross join d b cross join d c) x "
      "where n <= 450"));
  RecordBrowser browser;
  browser.resize(400, 300);
  ASSERT_EQ(browser.Load(settings), QString());
  EXPECT_EQ(browser.RecordCount(), 450);
  EXPECT_EQ(browser.LoadedCount(), RecordListModel::kPageSize);
  QAbstractItemModel* pModel = browser.List()->model();
  EXPECT_EQ(pModel->index(0, 1).data().toString(), QStringLiteral("Name 1001"));
  browser.show();
  browser.List()->scrollToBottom();
  QCoreApplication::processEvents();
  EXPECT_EQ(browser.LoadedCount(), 2 * RecordListModel::kPageSize);
  while (pModel->canFetchMore(QModelIndex())) pModel->fetchMore(QModelIndex());
  EXPECT_EQ(browser.LoadedCount(), 450);
  EXPECT_EQ(pModel->index(449, 1).data().toString(), QStringLiteral("Name 1450"));
  // A record beyond the rows read is opened all the same.
  browser.Search(QString());
  QSignalSpy opened(&browser, &RecordBrowser::CurrentIdChanged);
  EXPECT_TRUE(browser.Select(QStringLiteral("G440")));
  EXPECT_FALSE(browser.Select(QStringLiteral("G451")));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0][0].toString(), QStringLiteral("G440"));
}

TEST_F(RecordBrowserTest, ATableWithoutTheFullerColumnsIsListedWithIdAndName) {
  connection.Execute(QStringLiteral("drop table Name"));
  connection.Execute(
      QStringLiteral("create table Name (ID varchar(10) primary key, FULL_NAME varchar(60))"));
  AddContact(QStringLiteral("1"), QStringLiteral("Only Name"));
  RecordBrowser browser;
  ASSERT_EQ(browser.Load(settings), QString());
  EXPECT_EQ(browser.List()->model()->columnCount(), 2);
  EXPECT_EQ(Found(browser, QStringLiteral("only")), QStringList{QStringLiteral("Only Name")});
}

TEST_F(RecordBrowserTest, ATableWithoutIdOrNameIsReportedNotListed) {
  connection.Execute(QStringLiteral("drop table Name"));
  connection.Execute(QStringLiteral("create table Name (CONTACT varchar(60))"));
  RecordBrowser browser;
  const QString sError = browser.Load(settings);
  EXPECT_TRUE(sError.contains(QStringLiteral("ID and FULL_NAME"))) << sError.toStdString();
  EXPECT_EQ(browser.LoadedCount(), 0);
  EXPECT_EQ(Found(browser, QStringLiteral("x")), QStringList());
  EXPECT_FALSE(browser.Select(QStringLiteral("1")));
}

TEST_F(RecordBrowserTest, ArrowsMoveInTheListAndOnlyEnterOrAClickOpens) {
  for (int i = 1; i <= 3; ++i) AddContact(QString::number(i), QStringLiteral("Person %1").arg(i));
  RecordBrowser browser;
  ASSERT_EQ(browser.Load(settings), QString());
  browser.show();
  QApplication::setActiveWindow(&browser);
  QSignalSpy opened(&browser, &RecordBrowser::CurrentIdChanged);
  browser.SearchField()->setFocus();
  QTest::keyClick(browser.SearchField(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), browser.List());
  QTest::keyClick(browser.List(), Qt::Key_Down);
  QTest::keyClick(browser.List(), Qt::Key_Down);
  QTest::keyClick(browser.List(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(browser.NoRecordButton()));
  EXPECT_TRUE(opened.isEmpty());
  browser.List()->setFocus();
  QTest::keyClick(browser.List(), Qt::Key_Return);
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0][0].toString(), QStringLiteral("3"));  // first row, then two down
  const QRect second = browser.List()->visualRect(browser.List()->model()->index(1, 1));
  QTest::mouseClick(browser.List()->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[1][0].toString(), QStringLiteral("2"));
}

}  // namespace
}  // namespace twk
