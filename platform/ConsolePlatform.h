// SPDX-License-Identifier: MIT
#pragma once

#include "PlatformServices.h"

#include <cstdio>

namespace twk {

/// Services for command-line programs: messages go to standard error,
/// questions are answered by a setting instead of a person.
class ConsolePlatform : public PlatformServices {
 public:
  explicit ConsolePlatform(std::FILE* pOutput = stderr) : pOutput_(pOutput) {}

  void SetAnswerYes(bool bAnswerYes) { bAnswerYes_ = bAnswerYes; }

  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override;
  void SetClipboardText(const QString& sText) override { sClipboard_ = sText; }
  QString ClipboardText() override { return sClipboard_; }
  CommandStart StartCommand(const QString& sCommandLine) override;
  bool OpenWebAddress(const QString& sAddress) override;

 private:
  std::FILE* pOutput_;
  bool bAnswerYes_ = false;
  QString sClipboard_;
};

}  // namespace twk
