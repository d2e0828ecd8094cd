// SPDX-License-Identifier: MIT
#include "Steps.h"

#include "PlatformServices.h"

#include <utility>

namespace twk {

QString ErrorReportText(const TwkError& error, const StepFailure& where) {
  return error.Description() + QStringLiteral("\r\nin TWK.") + where.sModule + QLatin1Char('.') +
         where.sProcedure + QStringLiteral(" at line ") + QString::number(where.iLabel) +
         QStringLiteral("\r\nSource: ") + error.Source();
}

void ShowErrorReport(const TwkError& error, const StepFailure& where) {
  Platform::Services().ShowMessage(ErrorReportText(error, where), QStringLiteral("TWK"),
                                   MessageButtons::Ok, MessageIcon::None);
}

Steps::Steps(QString sModule, QString sProcedure, OnError mode, ErrorReporter reporter)
    : where_{std::move(sModule), std::move(sProcedure), 0},
      mode_(mode),
      reporter_(std::move(reporter)) {}

void Steps::FailForeign(const std::exception& error, int iLabel) {
  Fail(TwkError(QString::fromLocal8Bit(error.what()), QStringLiteral("TWK")), iLabel);
}

void Steps::Fail(const TwkError& error, int iLabel) {
  bAnyFailed_ = true;
  switch (mode_) {
    case OnError::PassOn:
      throw error;
    case OnError::SkipSilently:
      return;
    case OnError::Report:
      where_.iLabel = iLabel;
      if (reporter_) reporter_(error, where_);
      return;
  }
}

}  // namespace twk
