// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "CaseDirective.h"
#include "Connection.h"
#include "RawSqliteFile.h"
#include "TwkError.h"

namespace twk::testing {
namespace {

// The T-SQL cases of tests/db/tsql-cases/*.sql, each with the answer SQL
// Server gives (see the README there for the format). Each file gets a fresh
// database seeded by its setup with raw SQLite; each case runs on a fresh
// connection to it, in file order, so #tables never leak from one case into
// the next while changes to real tables do.
struct TsqlCase {
  QString sName;
  int iLine = 0;
  QString sBatch;
  QStringList expectedRows;  // cells joined by " | ", as in the file
  bool bEmpty = false;       // an open result without rows
  bool bCount = false;       // a closed result: the count of changed rows
  long lCount = -1;          // -1: any count
  QList<long> errorNumbers;  // any of them
  QString sXfail;
};

struct CaseFile {
  QString sSetup;
  std::vector<TsqlCase> cases;
};

using twk::testing::Directive;

// Reads an expect or xfail line into the case; false for any other line.
bool ReadExpectation(const QString& sLine, TsqlCase& c) {
  if (const auto sRow = Directive(sLine, "expect")) {
    c.expectedRows << *sRow;
  } else if (Directive(sLine, "expect-empty")) {
    c.bEmpty = true;
  } else if (const auto sCount = Directive(sLine, "expect-count")) {
    c.bCount = true;
    c.lCount = sCount->isEmpty() ? -1 : sCount->toLong();
  } else if (const auto sNumbers = Directive(sLine, "expect-error")) {
    for (const QString& sNumber : sNumbers->split(QStringLiteral(" or ")))
      c.errorNumbers << sNumber.trimmed().toLong();
  } else if (const auto sWhy = Directive(sLine, "xfail")) {
    c.sXfail = *sWhy;
  } else {
    return false;
  }
  return true;
}

CaseFile ReadCaseFile(const QString& sPath) {
  QFile file(sPath);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << sPath.toStdString();
  CaseFile result;
  bool bInSetup = false;
  bool bInBatch = false;
  QTextStream in(&file);
  for (int iLine = 1; !in.atEnd(); ++iLine) {
    const QString sLine = in.readLine();
    if (sLine.trimmed() == QStringLiteral("-- setup")) {
      bInSetup = true;
    } else if (const auto sName = Directive(sLine, "case")) {
      result.cases.emplace_back();
      result.cases.back().sName = *sName;
      result.cases.back().iLine = iLine;
      bInSetup = false;
      bInBatch = true;
    } else if (bInSetup) {
      result.sSetup += sLine + u'\n';
    } else if (result.cases.empty()) {
      continue;  // the file's opening comments
    } else if (ReadExpectation(sLine, result.cases.back())) {
      bInBatch = bInBatch && sLine.startsWith(QStringLiteral("-- xfail"));
    } else if (bInBatch) {
      QString& sBatch = result.cases.back().sBatch;
      sBatch += (sBatch.isEmpty() ? QString() : QStringLiteral("\n")) + sLine;
    }
  }
  return result;
}

QString CellText(const QVariant& value) {
  if (value.isNull()) return QStringLiteral("NULL");
  switch (value.typeId()) {
    case QMetaType::QDateTime:
      return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::QDate:
      return value.toDate().toString(Qt::ISODate);
    case QMetaType::Double:
      return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::Bool:
      return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
      return value.toString();
  }
}

// A number the engine returned matches the expected text when that text is a
// number of the same value (1e-12 relative, so that 75 matches 75.00 and 0.5
// matches .5, while 2.3333333333 does not match 2.333333); a text value must
// match the expected text exactly, so that '75.' is not '75.00'.
bool CellMatches(const QVariant& value, const QString& sExpected) {
  const QString sActual = CellText(value);
  if (sActual == sExpected) return true;
  const int iType = value.typeId();
  if (value.isNull() || (iType != QMetaType::LongLong && iType != QMetaType::Int &&
                         iType != QMetaType::Double && iType != QMetaType::Bool))
    return false;
  bool bNumber = false;
  const double dExpected = sExpected.toDouble(&bNumber);
  const double dActual = value.toDouble();
  return bNumber && std::abs(dActual - dExpected) <= 1e-12 * std::max(1.0, std::abs(dExpected));
}

// What the case's batch gave, in the file's words; empty when it is the
// server's answer.
QString Mismatch(Connection& connection, const TsqlCase& c) {
  try {
    Recordset rs = connection.Execute(c.sBatch);
    QStringList rows;
    bool bRowsMatch = rs.IsOpen() && !c.bCount && c.errorNumbers.isEmpty();
    int iRow = 0;
    for (; rs.IsOpen() && !rs.IsEof() && iRow < 50; rs.MoveNext(), ++iRow) {
      QStringList cells;
      const QStringList expected = iRow < c.expectedRows.size()
                                       ? c.expectedRows[iRow].split(QStringLiteral(" | "))
                                       : QStringList();
      bRowsMatch = bRowsMatch && expected.size() == rs.FieldCount();
      for (int i = 0; i < rs.FieldCount(); ++i) {
        cells << CellText(rs.Field(i));
        bRowsMatch = bRowsMatch && i < expected.size() && CellMatches(rs.Field(i), expected[i]);
      }
      rows << QStringLiteral("expect: ") + cells.join(QStringLiteral(" | "));
    }
    bRowsMatch = bRowsMatch && rs.IsEof();  // no rows past the ones shown
    if (!rs.IsOpen()) {
      const bool bMatch = c.bCount && (c.lCount < 0 || c.lCount == rs.RowsAffected());
      return bMatch ? QString() : QStringLiteral("expect-count: %1").arg(rs.RowsAffected());
    }
    if (bRowsMatch && iRow == c.expectedRows.size()) return QString();
    return rows.isEmpty() ? QStringLiteral("expect-empty") : rows.join(u'\n');
  } catch (const TwkError& error) {
    if (c.errorNumbers.contains(error.Number())) return QString();
    return QStringLiteral("expect-error: %1 (%2)").arg(error.Number()).arg(error.Description());
  }
}

struct Tally {
  int iPassed = 0;
  int iTotal = 0;
};
Tally overall;

QString CaseFolder() {
  return QStringLiteral(TWK_SOURCE_DIR "/tests/db/tsql-cases");
}

std::vector<std::string> CaseFileNames() {
  std::vector<std::string> names;
  for (const QString& sName : QDir(CaseFolder()).entryList({QStringLiteral("*.sql")}, QDir::Files))
    names.push_back(sName.chopped(4).toStdString());
  return names;
}

class TsqlCases : public ::testing::TestWithParam<std::string> {
 protected:
  static void TearDownTestSuite() {
    std::printf("T-SQL cases: %d of %d give the server's answer\n", overall.iPassed,
                overall.iTotal);
  }
};

TEST_P(TsqlCases, EachCaseGivesTheServersAnswerOrIsMarkedXfail) {
  const QString sFile = QString::fromStdString(GetParam()) + QStringLiteral(".sql");
  const CaseFile cases = ReadCaseFile(CaseFolder() + u'/' + sFile);
  ASSERT_FALSE(cases.cases.empty()) << "no cases in " << sFile.toStdString();
  QTemporaryDir scratch;
  RawSqliteFile database(QDir(scratch.path()).filePath(QStringLiteral("cases.db")));
  database.Create();
  database.Exec(cases.sSetup.toUtf8().constData());
  Tally tally;
  for (const TsqlCase& c : cases.cases) {
    if (c.expectedRows.isEmpty() && !c.bEmpty && !c.bCount && c.errorNumbers.isEmpty())
      ADD_FAILURE() << sFile.toStdString() << ":" << c.iLine << ": case without an expect line";
    const auto connection = database.OpenConnection();
    const QString sMismatch = Mismatch(*connection, c);
    const std::string sWhere =
        QStringLiteral("%1:%2: case %3").arg(sFile).arg(c.iLine).arg(c.sName).toStdString();
    ++tally.iTotal;
    if (sMismatch.isEmpty()) ++tally.iPassed;
    if (sMismatch.isEmpty() && !c.sXfail.isEmpty())
      ADD_FAILURE() << sWhere << " now passes: remove its xfail (" << c.sXfail.toStdString() << ")";
    else if (!sMismatch.isEmpty() && c.sXfail.isEmpty())
      ADD_FAILURE() << sWhere << " gives instead:\n" << sMismatch.toStdString();
  }
  overall.iPassed += tally.iPassed;
  overall.iTotal += tally.iTotal;
  std::printf("T-SQL cases: %s: %d of %d give the server's answer\n", sFile.toUtf8().constData(),
              tally.iPassed, tally.iTotal);
}

INSTANTIATE_TEST_SUITE_P(Files, TsqlCases, ::testing::ValuesIn(CaseFileNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string sName = info.param;
                           for (char& ch : sName)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return sName;
                         });

}  // namespace
}  // namespace twk::testing
