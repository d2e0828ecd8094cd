// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <optional>
#include <set>

#include "AlertPlaceholders.h"
#include "BenchDefinitions.h"
#include "CaseDirective.h"
#include "Parser.h"
#include "QStringPrinter.h"
#include "RealisticDefinitions.h"
#include "Refusals.h"
#include "Tokenizer.h"
#include "TsqlError.h"

using twk::tsql::Token;
using twk::tsql::Tokenizer;
using twk::tsql::TsqlError;

namespace {

// One batch of T-SQL the project ships, where it stands, and the message
// numbers of the failure its file expects (none: it must parse).
struct ShippedBatch {
  QString sName;
  QString sFile;
  int iLine = 0;
  QString sBatch;
  QList<long> expectedErrors;
};

QString ReadSource(const QString& sFile) {
  QFile file(QStringLiteral(TWK_SOURCE_DIR "/") + sFile);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << sFile.toStdString();
  return QString::fromUtf8(file.readAll());
}

QString AsRun(const QString& sCriteria) {
  return twk::ReplacePlaceholders(sCriteria, QStringLiteral("1001"), QStringLiteral("MANAGER"));
}

// The benchmarks' T-SQL definitions, as they run.
std::vector<ShippedBatch> BenchDefinitions() {
  std::vector<ShippedBatch> found;
  for (const twk::bench::RealisticDefinition& definition : twk::bench::RealisticDefinitions()) {
    found.push_back({QString::fromUtf8(definition.sAlertId),
                     QStringLiteral("bench/Realistic*Definitions.h"),
                     1,
                     AsRun(QString::fromUtf8(definition.sCriteria)),
                     {}});
  }
  for (int i = 1; i <= 2; ++i) {
    found.push_back({QStringLiteral("Definition(%1)").arg(i),
                     QStringLiteral("bench/BenchDefinitions.h"),
                     1,
                     AsRun(twk::bench::Definition(i)),
                     {}});
  }
  return found;
}

// The CRITERIA of every "ttwk_AlertDefinitions (columns) values (...), ..." in
// a script, named by its ALERT_ID, with its placeholders replaced as the
// panel replaces them before the engine sees the text.
std::vector<ShippedBatch> Definitions(const QString& sFile) {
  const QString sScript = ReadSource(sFile);
  const std::vector<Token> tokens = Tokenizer::Significant(sScript);
  const auto isText = [&](size_t i, QStringView sText) {
    return i < tokens.size() && tokens[i].Text(sScript).compare(sText, Qt::CaseInsensitive) == 0;
  };
  std::vector<ShippedBatch> found;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!isText(i, u"ttwk_AlertDefinitions") || !isText(i + 1, u"(")) continue;
    QStringList columns;
    for (i += 2; i < tokens.size() && !isText(i, u")"); ++i) {
      if (!isText(i, u",")) columns << tokens[i].Text(sScript).toString().toUpper();
    }
    for (++i; isText(i, u"values") || isText(i, u","); ++i) {
      std::vector<const Token*> row;
      for (i += 2; i < tokens.size() && !isText(i, u")"); ++i) {
        if (!isText(i, u",")) row.push_back(&tokens[i]);
      }
      if (row.size() != static_cast<size_t>(columns.size())) break;
      const Token& criteria = *row[static_cast<size_t>(columns.indexOf(u"CRITERIA"))];
      const Token& alertId = *row[static_cast<size_t>(columns.indexOf(u"ALERT_ID"))];
      // The panel runs only these two types; a note is text for its readers.
      const QString sType =
          Tokenizer::Unquoted(*row[static_cast<size_t>(columns.indexOf(u"ALERT_TYPE"))], sScript);
      if (sType != u"SQL" && sType != u"SQLSilent") continue;
      found.push_back({Tokenizer::Unquoted(alertId, sScript),
                       sFile,
                       criteria.span.iLine,
                       AsRun(Tokenizer::Unquoted(criteria, sScript)),
                       {}});
    }
  }
  return found;
}

using twk::testing::Directive;

// The batches of tests/db/tsql-cases/<sFile>, read as TsqlCasesTest reads
// them: a case's batch runs from its "-- case:" line to its first
// expectation; "-- setup" is raw SQLite and is skipped.
std::vector<ShippedBatch> Cases(const QString& sFile) {
  std::vector<ShippedBatch> found;
  const QString sPath = QStringLiteral("tests/db/tsql-cases/") + sFile;
  QString sText = ReadSource(sPath);
  QTextStream in(&sText);
  bool bInBatch = false;
  for (int iLine = 1; !in.atEnd(); ++iLine) {
    const QString sLine = in.readLine();
    if (sLine.trimmed() == QStringLiteral("-- setup")) {
      bInBatch = false;
    } else if (const auto sName = Directive(sLine, "case")) {
      found.push_back({*sName, sPath, iLine + 1, {}, {}});
      bInBatch = true;
    } else if (found.empty()) {
      continue;
    } else if (const auto sNumbers = Directive(sLine, "expect-error")) {
      for (const QString& sNumber : sNumbers->split(QStringLiteral(" or ")))
        found.back().expectedErrors << sNumber.trimmed().toLong();
      bInBatch = false;
    } else if (sLine.startsWith(QStringLiteral("-- expect")) ||
               sLine.startsWith(QStringLiteral("-- xfail"))) {
      bInBatch = bInBatch && sLine.startsWith(QStringLiteral("-- xfail"));
    } else if (bInBatch) {
      QString& sBatch = found.back().sBatch;
      sBatch += (sBatch.isEmpty() ? QString() : QStringLiteral("\n")) + sLine;
    }
  }
  return found;
}

// The numbers the parser itself raises; a batch expected to fail with any
// other number (unknown names, conversions, ...) must parse first.
const std::set<long> kParserErrors{
    102, 105, 113, 131, 135, 136, 156, 191, 243, 4145, twk::tsql::NotRunByEngine};

// Empty when the batch fares as its file expects, else why not, with the
// line of the file the parser pointed at.
QString Verdict(const ShippedBatch& batch) {
  const QString sWhere = batch.sName + QStringLiteral(" (") + batch.sFile + u':';
  const QList<long>& expected = batch.expectedErrors;
  const bool bParserError = std::any_of(expected.begin(), expected.end(),
                                        [](long lNumber) { return kParserErrors.count(lNumber); });
  try {
    twk::tsql::Parse(batch.sBatch);
    if (!bParserError) return {};
    return sWhere + QString::number(batch.iLine) +
           QStringLiteral("): parsed, but the file expects ") + QString::number(expected.front());
  } catch (const TsqlError& error) {
    if (bParserError && expected.contains(error.Number())) return {};
    return sWhere + QString::number(batch.iLine + error.Line() - 1) + QStringLiteral("): ") +
           QString::number(error.Number()) + QStringLiteral(" ") + error.Message();
  }
}

TEST(ShippedTsql, EveryDefinitionAndCaseBatchParsesOrFailsAsItsFileExpects) {
  const std::vector<std::pair<QString, size_t>> definitionFiles{
      {QStringLiteral("sql/embedded/demo_data.sql"), 17},
      {QStringLiteral("sql/server/TWK_example_definitions.sql"), 17},
  };
  std::vector<ShippedBatch> batches = BenchDefinitions();
  for (const auto& [sFile, iAtLeast] : definitionFiles) {
    const std::vector<ShippedBatch> found = Definitions(sFile);
    EXPECT_GE(found.size(), iAtLeast) << sFile.toStdString();
    batches.insert(batches.end(), found.begin(), found.end());
  }
  const QStringList caseFiles = QDir(QStringLiteral(TWK_SOURCE_DIR "/tests/db/tsql-cases"))
                                    .entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
  EXPECT_GE(caseFiles.size(), 14);
  for (const QString& sFile : caseFiles) {
    const std::vector<ShippedBatch> found = Cases(sFile);
    EXPECT_GE(found.size(), 5u) << sFile.toStdString();
    batches.insert(batches.end(), found.begin(), found.end());
  }
  for (const ShippedBatch& batch : batches) {
    const QString sVerdict = Verdict(batch);
    EXPECT_TRUE(sVerdict.isEmpty()) << sVerdict.toStdString();
  }
}

}  // namespace

// The README's list of what the engine does not run is the refusal table,
// in its order, so that neither can change without the other.
TEST(ShippedTsql, TheReadmeListsExactlyTheConstructsTheEngineRefuses) {
  const QString sReadme = ReadSource(QStringLiteral("README.md"));
  const qsizetype iStart = sReadme.indexOf(QStringLiteral("<!-- refusals -->"));
  const qsizetype iEnd = sReadme.indexOf(QStringLiteral("<!-- /refusals -->"));
  ASSERT_TRUE(iStart >= 0 && iEnd > iStart);
  QStringList listed;
  for (const QString& sLine : sReadme.mid(iStart, iEnd - iStart).split(u'\n')) {
    if (sLine.startsWith(QStringLiteral("- "))) listed << sLine.mid(2);
  }
  QStringList refused;
  for (const twk::tsql::Refusals::Construct construct : twk::tsql::Refusals::All()) {
    refused << twk::tsql::Refusals::Name(construct);
  }
  EXPECT_EQ(listed, refused);
}
