// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <QProcess>

namespace twk {

namespace {

constexpr QChar cQuote = u'"';

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool NeedsQuotes(const QString& sArgument) {
  if (sArgument.isEmpty()) return true;
  for (const QChar c : sArgument) {
    if (IsBlank(c) || c == cQuote) return true;
  }
  return false;
}

}  // namespace

QStringList SplitCommandLine(const QString& sCommandLine) {
  QStringList arguments;
  QString sArgument;
  bool bInArgument = false;  // an empty quoted part still makes one
  bool bQuoted = false;
  for (qsizetype i = 0; i < sCommandLine.size(); ++i) {
    const QChar c = sCommandLine[i];
    if (bQuoted) {
      if (c != cQuote) {
        sArgument += c;
      } else if (i + 1 < sCommandLine.size() && sCommandLine[i + 1] == cQuote) {
        sArgument += cQuote;
        ++i;
      } else {
        bQuoted = false;
      }
    } else if (c == cQuote) {
      bQuoted = true;
      bInArgument = true;
    } else if (IsBlank(c)) {
      if (bInArgument) arguments << sArgument;
      sArgument.clear();
      bInArgument = false;
    } else {
      sArgument += c;
      bInArgument = true;
    }
  }
  if (bInArgument) arguments << sArgument;
  return arguments;
}

QString JoinCommandLine(const QStringList& arguments) {
  QStringList parts;
  parts.reserve(arguments.size());
  for (const QString& sArgument : arguments) {
    if (!NeedsQuotes(sArgument)) {
      parts << sArgument;
      continue;
    }
    QString sDoubled = sArgument;
    sDoubled.replace(cQuote, QStringLiteral("\"\""));
    parts << cQuote + sDoubled + cQuote;
  }
  return parts.join(u' ');
}

namespace {

// The program and its arguments, or the reason why the line starts nothing.
struct PreparedCommand {
  QString sProgram;
  QStringList arguments;
  QString sError;
};

PreparedCommand Prepare(const QString& sCommandLine) {
  PreparedCommand command;
  command.arguments = SplitCommandLine(sCommandLine);
  if (command.arguments.isEmpty()) {
    command.sError = QStringLiteral("The command line is empty.");
    return command;
  }
  command.sProgram = command.arguments.takeFirst();
  if (command.sProgram.isEmpty()) {
    command.sError = QStringLiteral("The command line names no program.");
    return command;
  }
  // The system's argument strings end at a NUL; started, the program would
  // get a part cut short.
  for (const QString& sPart : command.arguments + QStringList{command.sProgram}) {
    if (sPart.contains(QChar(0))) {
      command.sError = QStringLiteral("An argument holds a NUL character, which no program gets.");
      return command;
    }
  }
  return command;
}

QString NotStarted(const QString& sProgram) {
  return QStringLiteral("The program \"%1\" could not be started.").arg(sProgram);
}

}  // namespace

CommandStart StartDetachedCommand(const QString& sCommandLine) {
  CommandStart result;
  const PreparedCommand command = Prepare(sCommandLine);
  if (!command.sError.isEmpty()) {
    result.sError = command.sError;
    return result;
  }
  QProcess process;
  process.setProgram(command.sProgram);
  process.setArguments(command.arguments);
  qint64 lProcessId = 0;
  if (!process.startDetached(&lProcessId)) {
    result.sError = NotStarted(command.sProgram);
    return result;
  }
  result.bStarted = true;
  result.lProcessId = lProcessId;
  return result;
}

CommandStart StartWatchedCommand(const QString& sCommandLine, std::function<void(int)> onFailure) {
  CommandStart result;
  const PreparedCommand command = Prepare(sCommandLine);
  if (!command.sError.isEmpty()) {
    result.sError = command.sError;
    return result;
  }
  // No parent: a program still running when the host ends is left to run,
  // as a detached one would be, instead of being killed with its object.
  auto* pProcess = new QProcess();
  pProcess->setProgram(command.sProgram);
  pProcess->setArguments(command.arguments);
  // Its output goes where a detached program's would; no pipe fills up.
  pProcess->setProcessChannelMode(QProcess::ForwardedChannels);
  pProcess->start();
  if (!pProcess->waitForStarted()) {
    delete pProcess;
    result.sError = NotStarted(command.sProgram);
    return result;
  }
  QObject::connect(pProcess, &QProcess::finished, pProcess,
                   [pProcess, onFailure](int iExitCode, QProcess::ExitStatus status) {
                     const int iCode = status == QProcess::CrashExit ? -1 : iExitCode;
                     if (iCode != 0 && onFailure) onFailure(iCode);
                     pProcess->deleteLater();
                   });
  result.bStarted = true;
  result.lProcessId = pProcess->processId();
  return result;
}

}  // namespace twk
