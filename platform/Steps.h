// SPDX-License-Identifier: MIT
#pragma once

#include "TwkError.h"

#include <QString>

#include <exception>
#include <functional>

namespace twk {

/// What a procedure does when one of its steps fails.
enum class OnError {
  Report,         ///< show the error report, go on with the next step
  SkipSilently,   ///< go on with the next step, show nothing
  PassOn,         ///< stop the procedure and hand the error to the caller
};

/// Where a failing step happened, for the report.
struct StepFailure {
  QString sModule;
  QString sProcedure;
  int iLabel = 0;
};

using ErrorReporter = std::function<void(const TwkError&, const StepFailure&)>;

/// The TWK library's error report: description, "in TWK.<module>.<procedure>
/// at line <label>", "Source: <source>", one per line, OK button, no icon.
void ShowErrorReport(const TwkError& error, const StepFailure& where);

/// The text of that report.
QString ErrorReportText(const TwkError& error, const StepFailure& where);

/// Runs the numbered steps of one procedure. The only place where an
/// exception becomes an error report.
class Steps {
 public:
  Steps(QString sModule, QString sProcedure, OnError mode = OnError::Report,
        ErrorReporter reporter = ShowErrorReport);

  /// Runs one step under its label. Returns false when it failed (and the
  /// failure was reported or skipped); rethrows in PassOn mode.
  template <typename Step>
  bool Run(int iLabel, Step&& step) {
    // A template rather than std::function: steps run per row and per cell,
    // and a wrapper would allocate for every one of them.
    try {
      step();
      return true;
    } catch (const TwkError& error) {
      Fail(error, iLabel);
    } catch (const std::exception& error) {
      FailForeign(error, iLabel);
    }
    return false;
  }

  /// Whether any step so far has failed.
  bool AnyFailed() const noexcept { return bAnyFailed_; }

 private:
  void Fail(const TwkError& error, int iLabel);
  void FailForeign(const std::exception& error, int iLabel);

  StepFailure where_;
  OnError mode_;
  ErrorReporter reporter_;
  bool bAnyFailed_ = false;
};

}  // namespace twk
