// SPDX-License-Identifier: MIT
#include "TabNavigation.h"

#include <optional>

namespace twk {

namespace {

bool IsEligible(const TabCandidate& widget, TabRule rule) {
  if (!IsTabKind(widget.sKind, rule) || !widget.bEnabled) return false;
  return rule == TabRule::EnabledTextBoxes || widget.bVisible;
}

}  // namespace

bool IsTabKind(const QString& sKind, TabRule rule) {
  if (rule == TabRule::EnabledTextBoxes) return sKind == QStringLiteral("TextBox");
  for (const char* sEligible :
       {"TextBox", "OptionButton", "CommandButton", "CheckBox", "ListBox", "ComboBox"}) {
    if (sKind == QLatin1String(sEligible)) return true;
  }
  return false;
}

int ChooseTabTarget(const std::vector<TabCandidate>& widgets, int iCurrent, int iModifiers,
                    TabRule rule) {
  int iLowest = -1;
  int iHighest = 0;
  int iPrevious = -1;
  std::optional<int> next;
  for (const TabCandidate& widget : widgets) {
    if (!IsEligible(widget, rule)) continue;
    const int iTab = widget.iTabIndex;
    if (iLowest == -1 || iTab < iLowest) iLowest = iTab;
    if (iTab > iHighest) iHighest = iTab;
    if (iTab > iCurrent && (!next || iTab < *next)) next = iTab;
    if (iTab < iCurrent && iTab > iPrevious) iPrevious = iTab;
  }
  if (iModifiers == ShiftModifier) return iCurrent == iLowest ? iHighest : iPrevious;
  if (iCurrent == iHighest) return iLowest;
  return next.value_or(iLowest);
}

}  // namespace twk
