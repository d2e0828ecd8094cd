// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace twk {

class ConsolePlatform;

/// The command-line program tellwick-alerts: creates embedded databases and
/// runs the libraries' start-up and evaluation from a terminal.
class AlertsCommand {
 public:
  enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

  AlertsCommand(ConsolePlatform& console, std::FILE* pOutput, std::FILE* pErrors);

  /// Runs with the program's arguments (the program name first).
  int Run(const QStringList& arguments);

 private:
  struct ConnectionValues {
    QString sServer;
    QString sDatabase;
    QString sUser;
    QString sPassword;
    QString sLevel;
  };

  int Init(const QString& sFile, bool bDemo);
  int Check(const ConnectionValues& values);
  int Evaluate(const ConnectionValues& values, const QString& sId, bool bJson,
               const QString& sOnly, bool bExplain);
  /// CalculateAuthID and InitializeConnection as the panel starts; the
  /// server, when none is given, is the demo database. False on failure.
  bool Connect(const ConnectionValues& values, QString& sServer);
  void PrintError(const QString& sMessage) const;

  ConsolePlatform& console_;
  std::FILE* pOutput_;
  std::FILE* pErrors_;
};

}  // namespace twk
