// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "PlatformServices.h"

namespace twk {

/// The host program's platform services: those of the desktop, with a word
/// in the host's status bar where a control's action fails without one of
/// its own (the product page that does not open).
class HostPlatform : public PlatformServices {
 public:
  using StatusReporter = std::function<void(const QString&)>;

  HostPlatform(PlatformServices& desktop, StatusReporter report)
      : desktop_(desktop), report_(std::move(report)) {}

  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override {
    return desktop_.ShowMessage(sText, sTitle, buttons, icon);
  }
  void SetClipboardText(const QString& sText) override { desktop_.SetClipboardText(sText); }
  QString ClipboardText() override { return desktop_.ClipboardText(); }
  CommandStart StartCommand(const QString& sCommandLine) override {
    return desktop_.StartCommand(sCommandLine);
  }
  bool OpenWebAddress(const QString& sAddress) override;

 private:
  PlatformServices& desktop_;
  StatusReporter report_;
};

}  // namespace twk
