// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <vector>

namespace twk {

class AlertEvaluation;
class ConsolePlatform;
struct AlertRule;

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

  struct SurveyOptions {
    bool bJson = false;
    QString sOnly;
    bool bSample = false;
    QString sSample;
    bool bIdsFile = false;
    QString sIdsFile;
  };

  int Init(const QString& sFile, bool bDemo);
  int Check(const ConnectionValues& values);
  int Evaluate(const ConnectionValues& values, const QString& sId, bool bJson, const QString& sOnly,
               bool bExplain);
  /// Checks the survey's options, connects, surveys and prints.
  int Survey(const ConnectionValues& values, const SurveyOptions& options);
  /// The ids to survey: the file's, or the contact table's (the first iCount
  /// when not 0). False after an error message.
  bool SurveyIds(const SurveyOptions& options, int iCount, QStringList& ids);
  bool OnlyNumber(const QString& sOnly, qint32& lOnly);
  /// The enabled definitions, or with --only that one, telling an author
  /// trying one why nothing can come of it.
  std::vector<AlertRule> ReadRules(AlertEvaluation& evaluation, const QString& sOnly, qint32 lOnly);
  /// Shows how far the survey is, when standard error is a terminal.
  void ShowProgress(int iDone, int iTotal) const;
  /// CalculateAuthID and InitializeConnection as the panel starts; the
  /// server, when none is given, is the demo database. False on failure.
  bool Connect(const ConnectionValues& values, QString& sServer);
  void PrintError(const QString& sMessage) const;

  ConsolePlatform& console_;
  std::FILE* pOutput_;
  std::FILE* pErrors_;
};

}  // namespace twk
