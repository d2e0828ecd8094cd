#include "CommandLine.h"

#include <QProcess>

namespace twk {

QStringList SplitCommandLine(const QString& sCommandLine) {
  return QProcess::splitCommand(sCommandLine);
}

CommandStart StartDetachedCommand(const QString& sCommandLine) {
  CommandStart result;
  QStringList parts = SplitCommandLine(sCommandLine);
  if (parts.isEmpty()) {
    result.sError = QStringLiteral("The command line is empty.");
    return result;
  }
  const QString sProgram = parts.takeFirst();
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
