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

CommandStart StartDetachedCommand(const QString& sCommandLine) {
  CommandStart result;
  QStringList parts = SplitCommandLine(sCommandLine);
  if (parts.isEmpty()) {
    result.sError = QStringLiteral("The command line is empty.");
    return result;
  }
  const QString sProgram = parts.takeFirst();
  if (sProgram.isEmpty()) {
    result.sError = QStringLiteral("The command line names no program.");
    return result;
  }
  // The system's argument strings end at a NUL; started, the program would
  // get a part cut short.
  for (const QString& sPart : parts + QStringList{sProgram}) {
    if (sPart.contains(QChar(0))) {
      result.sError = QStringLiteral("An argument holds a NUL character, which no program gets.");
      return result;
    }
  }
  QProcess process;
  process.setProgram(sProgram);
  process.setArguments(parts);
  qint64 lProcessId = 0;
  if (!process.startDetached(&lProcessId)) {
    result.sError = QStringLiteral("The program \"%1\" could not be started.").arg(sProgram);
    return result;
  }
  result.bStarted = true;
  result.lProcessId = lProcessId;
  return result;
}

}  // namespace twk
