// SPDX-License-Identifier: MIT
#pragma once

#include "PlatformServices.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace twk::testing {

struct RecordedMessage {
  QString sText;
  QString sTitle;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

/// Platform services that record what the code under test asked for and
/// answer from a script. Installed for its lifetime.
class RecordingPlatform : public PlatformServices {
 public:
  RecordingPlatform() = default;

  /// The answers to the next Yes/No boxes, in order; once used up, No.
  void AnswerNext(MessageAnswer answer) { answers_.push_back(answer); }
  /// What the next command starts return; once used up, a start with id 4242.
  void FailNextCommand(const QString& sError);

  std::vector<RecordedMessage> messages;
  QStringList clipboardWrites;
  QStringList commandLines;
  QStringList webAddresses;
  /// What OpenWebAddress answers: whether a browser took the address.
  bool bWebAddressOpens = true;

  /// The titles of the recorded messages, in order, for compact assertions.
  QStringList MessageTitles() const;

  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override;
  void SetClipboardText(const QString& sText) override;
  QString ClipboardText() override { return sClipboard_; }
  CommandStart StartCommand(const QString& sCommandLine) override;
  bool OpenWebAddress(const QString& sAddress) override;

 private:
  std::deque<MessageAnswer> answers_;
  std::deque<QString> commandFailures_;
  QString sClipboard_;
  ScopedPlatform installation_{*this};
};

}  // namespace twk::testing
