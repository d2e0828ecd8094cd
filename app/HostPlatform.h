// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "PlatformServices.h"

namespace twk {

/// The host program's platform services: those of the desktop, with a word
/// in the host's status bar for what would otherwise pass unseen: a copy,
/// a started command, one that failed, a product page that does not open.
class HostPlatform : public PlatformServices {
 public:
  using StatusReporter = std::function<void(const QString&)>;

  HostPlatform(PlatformServices& desktop, StatusReporter report)
      : desktop_(desktop), report_(std::move(report)) {}

  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override {
    return desktop_.ShowMessage(sText, sTitle, buttons, icon);
  }
  /// Copies, and says so in the status bar.
  void SetClipboardText(const QString& sText) override;
  QString ClipboardText() override { return desktop_.ClipboardText(); }
  /// Starts, and says in the status bar what was started or why not.
  CommandStart StartCommand(const QString& sCommandLine) override;
  bool OpenWebAddress(const QString& sAddress) override;

 private:
  PlatformServices& desktop_;
  StatusReporter report_;
};

}  // namespace twk
