// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <vector>

namespace twk {

/// One widget of a control as Tab navigation sees it.
struct TabCandidate {
  QString sKind;  ///< "TextBox", "CommandButton", ...
  qint16 iTabIndex = 0;
  bool bVisible = true;
  bool bEnabled = true;
};

/// Which widgets a control lets Tab visit.
enum class TabRule {
  VisibleEnabledInputs,  ///< text, option, command, check, list and combo boxes, visible and enabled
  EnabledTextBoxes,      ///< text boxes only, enabled, visible or not
};

/// The modifier state of a key event as the frame counts it.
enum ModifierState : int { NoModifier = 0, ShiftModifier = 1, CtrlModifier = 2, AltModifier = 4 };

/// The tab index Tab (or Shift+Tab, modifier state exactly 1) moves to from
/// the widget with tab index iCurrent; -1 when no widget is eligible.
int ChooseTabTarget(const std::vector<TabCandidate>& widgets, int iCurrent, int iModifiers,
                    TabRule rule);

/// Whether a widget of that kind takes part in Tab navigation at all.
bool IsTabKind(const QString& sKind, TabRule rule);

}  // namespace twk
