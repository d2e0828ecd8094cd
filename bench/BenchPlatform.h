// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "PlatformServices.h"

namespace twk::bench {

/// Quiet services: nothing waits for a person while the clock runs, and the
/// messages that would have been shown are counted, so that a benchmark can
/// tell that its figures came from runs that reported nothing.
class QuietPlatform : public PlatformServices {
 public:
  int iMessages = 0;
  QString sLastMessage;

  MessageAnswer ShowMessage(const QString& sText, const QString&, MessageButtons,
                            MessageIcon) override {
    ++iMessages;
    sLastMessage = sText;
    return MessageAnswer::No;
  }
  void SetClipboardText(const QString&) override {}
  QString ClipboardText() override { return {}; }
  CommandStart StartCommand(const QString&) override { return {}; }
  bool OpenWebAddress(const QString&) override { return true; }
};

}  // namespace twk::bench
