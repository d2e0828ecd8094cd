// SPDX-License-Identifier: MIT
#include "ConsolePlatform.h"

#include <QProcess>

#include "CommandLine.h"
#include "TextRules.h"

namespace twk {

namespace {

const char* IconWord(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return "information";
    case MessageIcon::Question:
      return "question";
    case MessageIcon::Exclamation:
      return "warning";
    case MessageIcon::Critical:
      return "critical";
    case MessageIcon::None:
      break;
  }
  return "message";
}

}  // namespace

MessageAnswer ConsolePlatform::ShowMessage(const QString& sText, const QString& sTitle,
                                           MessageButtons buttons, MessageIcon icon) {
  // Message texts carry database errors and alert texts: a terminal must
  // not take their control characters as its own.
  QString sBody = sText;
  sBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  std::fprintf(pOutput_, "[%s] %s\n%s\n", IconWord(icon), qUtf8Printable(TerminalText(sTitle)),
               qUtf8Printable(TerminalText(sBody, true)));
  if (buttons == MessageButtons::Ok) {
    std::fflush(pOutput_);
    return MessageAnswer::Ok;
  }
  const MessageAnswer answer = bAnswerYes_ ? MessageAnswer::Yes : MessageAnswer::No;
  std::fprintf(pOutput_, "(answered %s)\n", answer == MessageAnswer::Yes ? "Yes" : "No");
  std::fflush(pOutput_);
  return answer;
}

CommandStart ConsolePlatform::StartCommand(const QString& sCommandLine) {
  return StartDetachedCommand(sCommandLine);
}

bool ConsolePlatform::OpenWebAddress(const QString& sAddress) {
  std::fprintf(pOutput_, "Web address: %s\n", qUtf8Printable(TerminalText(sAddress)));
  std::fflush(pOutput_);
  return true;
}

}  // namespace twk
