#include "ConsolePlatform.h"

#include "CommandLine.h"

#include <QProcess>

namespace twk {

namespace {

const char* IconWord(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return "information";
    case MessageIcon::Question: return "question";
    case MessageIcon::Exclamation: return "warning";
    case MessageIcon::Critical: return "critical";
    case MessageIcon::None: break;
  }
  return "message";
}

}  // namespace

MessageAnswer ConsolePlatform::ShowMessage(const QString& sText, const QString& sTitle,
                                           MessageButtons buttons, MessageIcon icon) {
  QString sBody = sText;
  sBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  std::fprintf(pOutput_, "[%s] %s\n%s\n", IconWord(icon), qUtf8Printable(sTitle),
               qUtf8Printable(sBody));
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
  std::fprintf(pOutput_, "Web address: %s\n", qUtf8Printable(sAddress));
  std::fflush(pOutput_);
  return true;
}

}  // namespace twk
