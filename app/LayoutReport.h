// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QMainWindow;

namespace twk {

/// Where the parts of the host's window landed, in the screen's own
/// coordinates, one part a line: "screen", "window", "statusbar", each
/// docked control's visible area ("control") with its design and which
/// scroll bars show, and each scroll bar shown ("scrollbar"). For checking
/// the window on small or scaled screens.
class LayoutReport {
 public:
  static QStringList Lines(const QMainWindow& window);
  /// Prints the lines once the window has been neither moved nor resized
  /// for half a second, then quits the application.
  static void PrintWhenSettled(QMainWindow& window);
};

}  // namespace twk
