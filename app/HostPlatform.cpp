// SPDX-License-Identifier: MIT
#include "HostPlatform.h"

namespace twk {

namespace {

// Enough of a text to recognise it in the status bar.
QString Excerpt(const QString& sText) {
  constexpr int iShown = 60;
  const QString sLine = sText.simplified();
  return sLine.size() <= iShown ? sLine : sLine.left(iShown) + QStringLiteral("...");
}

}  // namespace

void HostPlatform::SetClipboardText(const QString& sText) {
  desktop_.SetClipboardText(sText);
  // A copy first empties the clipboard; only the text itself is news.
  if (!sText.isEmpty() && report_) report_(QStringLiteral("Copied: ") + Excerpt(sText));
}

CommandStart HostPlatform::StartCommand(const QString& sCommandLine) {
  const CommandStart start = desktop_.StartCommand(sCommandLine);
  if (report_) {
    if (start.bStarted) {
      report_(QStringLiteral("Started: ") + Excerpt(sCommandLine));
    } else {
      report_(QStringLiteral("Could not start ") + Excerpt(sCommandLine) +
              (start.sError.isEmpty() ? QString() : QStringLiteral(": ") + start.sError));
    }
  }
  return start;
}

bool HostPlatform::OpenWebAddress(const QString& sAddress) {
  const bool bOpened = desktop_.OpenWebAddress(sAddress);
  if (!bOpened && report_) {
    report_(QStringLiteral("The product page could not be opened: no web browser took ") +
            sAddress);
  }
  return bOpened;
}

}  // namespace twk
