// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "PlatformServices.h"

class QWidget;

namespace twk {

/// Services of the windowed program: Qt message boxes, the system clipboard,
/// detached processes and the desktop's web browser.
class QtPlatform : public PlatformServices {
 public:
  /// Message boxes are parented to pParent when it is given.
  explicit QtPlatform(QWidget* pParent = nullptr) : pParent_(pParent) {}

  /// From now on started programs are watched, and one that ends with a
  /// non-zero exit code is told here with its command line and that code.
  void SetFailedExitReporter(std::function<void(const QString&, int)> report) {
    failedExitReporter_ = std::move(report);
  }

  MessageAnswer ShowMessage(const QString& sText, const QString& sTitle, MessageButtons buttons,
                            MessageIcon icon) override;
  void SetClipboardText(const QString& sText) override;
  QString ClipboardText() override;
  CommandStart StartCommand(const QString& sCommandLine) override;
  bool OpenWebAddress(const QString& sAddress) override;

 private:
  QWidget* pParent_;
  std::function<void(const QString&, int)> failedExitReporter_;
};

}  // namespace twk
