// SPDX-License-Identifier: MIT
#include "RecordingPlatform.h"

namespace twk::testing {

void RecordingPlatform::FailNextCommand(const QString& sError) {
  commandFailures_.push_back(sError);
}

QStringList RecordingPlatform::MessageTitles() const {
  QStringList titles;
  for (const auto& message : messages) titles.append(message.sTitle);
  return titles;
}

MessageAnswer RecordingPlatform::ShowMessage(const QString& sText, const QString& sTitle,
                                             MessageButtons buttons, MessageIcon icon) {
  messages.push_back({sText, sTitle, buttons, icon});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  if (answers_.empty()) return MessageAnswer::No;
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void RecordingPlatform::SetClipboardText(const QString& sText) {
  sClipboard_ = sText;
  clipboardWrites.append(sText);
}

CommandStart RecordingPlatform::StartCommand(const QString& sCommandLine) {
  commandLines.append(sCommandLine);
  CommandStart start;
  if (!commandFailures_.empty()) {
    start.sError = commandFailures_.front();
    commandFailures_.pop_front();
    return start;
  }
  start.bStarted = true;
  start.lProcessId = 4242;
  return start;
}

bool RecordingPlatform::OpenWebAddress(const QString& sAddress) {
  webAddresses.append(sAddress);
  return bWebAddressOpens;
}

}  // namespace twk::testing
