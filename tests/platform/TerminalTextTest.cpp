// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

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
