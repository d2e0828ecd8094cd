// SPDX-License-Identifier: MIT
#pragma once

#include "PlatformServices.h"

class QWidget;

namespace twk {

/// Services of the windowed program: Qt message boxes, the system clipboard,
/// detached processes and the desktop's web browser.
class QtPlatform : public PlatformServices {
 public:
  /// Message boxes are parented to pParent when it is given.
  explicit QtPlatform(QWidget* pParent = nullptr) : pParent_(pParent) {}

  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override;
  void SetClipboardText(const QString& sText) override;
  QString ClipboardText() override;
  CommandStart StartCommand(const QString& sCommandLine) override;
  bool OpenWebAddress(const QString& sAddress) override;

 private:
  QWidget* pParent_;
};

}  // namespace twk
