// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <cstdio>

#include "ConsolePlatform.h"
#include "TextRules.h"

namespace twk {
namespace {

TEST(TerminalText, EscapesControlAndReorderingCharactersVisibly) {
  EXPECT_EQ(TerminalText(QStringLiteral("a\x1b[2Jb\x07\t\r\n\x7f")),
            QStringLiteral("a\\e[2Jb\\x07\\t\\r\\n\\x7f"));
  EXPECT_EQ(TerminalText(QString(QChar(0x9b)) + QChar(0x202e) + QChar(0x2067) + QChar(0)),
            QStringLiteral("\\x9b\\u202e\\u2067\\x00"));
  EXPECT_EQ(TerminalText(QStringLiteral("Zoë 名前 \\e\u00a0")),
            QStringLiteral("Zoë 名前 \\e\u00a0"));
}

TEST(TerminalText, CanKeepLineBreaksButNoLoneCarriageReturn) {
  EXPECT_EQ(TerminalText(QStringLiteral("one\r\ntwo\nthree\rx"), true),
            QStringLiteral("one\r\ntwo\nthree\\rx"));
}

TEST(JsonForTerminal, SpellsWhatATerminalWouldActOnAsEscapesAndKeepsTheJson) {
  const struct {
    QString sJson, sShown;
  } cases[] = {
      {QStringLiteral("{\"k\": \"a\x7f\u0085\u009b\"}\n"),
       QStringLiteral("{\"k\": \"a\\u007f\\u0085\\u009b\"}\n")},
      {QStringLiteral("[\"\u202e\u2066\u200f\u2028\u2029\"]"),
       QStringLiteral("[\"\\u202e\\u2066\\u200f\\u2028\\u2029\"]")},
      {QStringLiteral("{\n  \"k\": \"Zo\u00eb \\u001b\u00a0\"\n}"),
       QStringLiteral("{\n  \"k\": \"Zo\u00eb \\u001b\u00a0\"\n}")},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(JsonForTerminal(row.sJson), row.sShown);
    EXPECT_EQ(QJsonDocument::fromJson(JsonForTerminal(row.sJson).toUtf8()),
              QJsonDocument::fromJson(row.sJson.toUtf8()));
  }
  EXPECT_EQ(TerminalText(QString(QChar(0x2028)) + QChar(0x2029)), QStringLiteral("\\u2028\\u2029"));
}

TEST(ConsolePlatform, MessagesReachTheTerminalEscapedWithTheirLines) {
  std::FILE* pFile = std::tmpfile();
  ASSERT_NE(pFile, nullptr);
  ConsolePlatform console(pFile);
  console.ShowMessage(QStringLiteral("Line one\x1b]0;owned\x07\r\nLine two"),
                      QStringLiteral("T\x1b[5m"), MessageButtons::Ok, MessageIcon::Critical);
  console.OpenWebAddress(QStringLiteral("file:///x\x1b[0m"));
  std::rewind(pFile);
  char buffer[512] = {};
  const size_t iRead = std::fread(buffer, 1, sizeof buffer - 1, pFile);
  std::fclose(pFile);
  EXPECT_EQ(QString::fromUtf8(buffer, qsizetype(iRead)),
            QStringLiteral("[critical] T\\e[5m\nLine one\\e]0;owned\\x07\nLine two\n"
                           "Web address: file:///x\\e[0m\n"));
}

}  // namespace
}  // namespace twk
