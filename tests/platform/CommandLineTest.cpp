// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "CommandLine.h"

namespace twk {
namespace {

QStringList Split(const char* pLine) {
  return SplitCommandLine(QString::fromUtf8(pLine));
}

QStringList Words(std::initializer_list<const char*> words) {
  QStringList list;
  for (const char* pWord : words) list << QString::fromUtf8(pWord);
  return list;
}

TEST(SplitCommandLine, BlanksSeparateAndRunsOfThemCountOnce) {
  EXPECT_EQ(Split("prog a  b\tc\r\nd"), Words({"prog", "a", "b", "c", "d"}));
  EXPECT_EQ(Split(" \t prog  "), Words({"prog"}));
}

TEST(SplitCommandLine, AnEmptyOrBlankLineHasNoArguments) {
  EXPECT_TRUE(Split("").isEmpty());
  EXPECT_TRUE(Split(" \t\r\n ").isEmpty());
}

TEST(SplitCommandLine, QuotesGroupAndADoubledQuoteInsideStandsForOne) {
  EXPECT_EQ(Split("prog \"a b\" \"say \"\"hi\"\"\""), Words({"prog", "a b", "say \"hi\""}));
  EXPECT_EQ(Split("a\"b c\"d"), Words({"ab cd"}));
  // Outside quotes a doubled quote is an empty quoted part, not a quote.
  EXPECT_EQ(Split("a\"\"b"), Words({"ab"}));
  EXPECT_EQ(Split("prog \"open to the end"), Words({"prog", "open to the end"}));
}

TEST(SplitCommandLine, EmptyQuotedPartsAreArguments) {
  EXPECT_EQ(Split("x \"\" y"), Words({"x", "", "y"}));
  EXPECT_EQ(Split("\"\""), Words({""}));
  EXPECT_EQ(Split("x \"\""), Words({"x", ""}));
}

TEST(SplitCommandLine, BackslashesAndNonAsciiStandForThemselves) {
  EXPECT_EQ(Split("C:\\Tools\\show.exe \\\"x Zoë 名前\u00a0z"),
            Words({"C:\\Tools\\show.exe", "\\x Zoë 名前\u00a0z"}));
}

TEST(JoinCommandLine, SplitsBackIntoExactlyTheSameArguments) {
  const std::vector<QStringList> cases{
      Words({"prog"}),
      Words({"prog", "", "a b", "\"", "\"\"", "tab\there", "line\nbreak", "Zoë"}),
      Words({"a\"b c\"d", " ", "\\\"", "end\""}),
      Words({""}),
  };
  for (const QStringList& arguments : cases) {
    EXPECT_EQ(SplitCommandLine(JoinCommandLine(arguments)), arguments)
        << JoinCommandLine(arguments).toStdString();
  }
  EXPECT_EQ(JoinCommandLine(Words({"/usr/bin/show", "987"})), QStringLiteral("/usr/bin/show 987"));
}

bool WaitForFile(const QString& sPath) {
  QElapsedTimer timer;
  timer.start();
  while (!QFile::exists(sPath)) {
    if (timer.elapsed() > 10000) return false;
    QThread::msleep(20);
  }
  return true;
}

TEST(StartDetachedCommand, HandsEachArgumentToTheProgramAsItIs) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList names{
      dir.filePath(QStringLiteral("a b")), dir.filePath(QStringLiteral("q\"uote")),
      dir.filePath(QStringLiteral("Zoë\ttab")), dir.filePath(QStringLiteral("$(x);*"))};
  const CommandStart start =
      StartDetachedCommand(JoinCommandLine(QStringList{QStringLiteral("/usr/bin/touch")} + names));
  ASSERT_TRUE(start.bStarted) << start.sError.toStdString();
  EXPECT_GT(start.lProcessId, 0);
  for (const QString& sName : names) EXPECT_TRUE(WaitForFile(sName)) << sName.toStdString();
  // Nothing else appeared: no word of a name became an argument of its own.
  QThread::msleep(100);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), names.size());
}

TEST(StartDetachedCommand, AProgramThatDoesNotExistIsAnErrorThatNamesIt) {
  const CommandStart start =
      StartDetachedCommand(QStringLiteral("/nonexistent/tellwick-no-such-program \"a b\""));
  EXPECT_FALSE(start.bStarted);
  EXPECT_EQ(start.lProcessId, 0);
  EXPECT_TRUE(start.sError.contains(QStringLiteral("/nonexistent/tellwick-no-such-program")));
}

TEST(StartDetachedCommand, AnEmptyLineOrProgramOrOneWithANulStartsNothing) {
  const QStringList lines = {QString(), QStringLiteral("   \t"), QStringLiteral("\"\" arg"),
                             QStringLiteral("/usr/bin/true --opt=a\0b"),
                             QStringLiteral("/usr/bin/tr\0ue")};
  for (const QString& sLine : lines) {
    const CommandStart start = StartDetachedCommand(sLine);
    EXPECT_FALSE(start.bStarted) << sLine.size();
    EXPECT_FALSE(start.sError.isEmpty()) << sLine.size();
  }
}

}  // namespace
}  // namespace twk
