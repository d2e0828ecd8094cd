// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QMenuBar;

namespace twk {

/// Help > About of the host program: the version, the product's licence and
/// the notices of the third-party parts it ships.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* pParent = nullptr);

  /// Adds the Help menu with its About entry to a window's menu bar; the
  /// box opens without blocking and closes itself.
  static void AddHelpMenu(QMenuBar* pMenuBar);

  /// What the box shows, as plain text.
  static QString Text();
};

}  // namespace twk
