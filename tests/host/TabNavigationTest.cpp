// SPDX-License-Identifier: MIT
#include "TabNavigation.h"

#include <gtest/gtest.h>

namespace twk {
namespace {

std::vector<TabCandidate> TextBoxes(std::initializer_list<int> tabIndexes) {
  std::vector<TabCandidate> widgets;
  for (int iTab : tabIndexes) widgets.push_back({QStringLiteral("TextBox"), qint16(iTab)});
  return widgets;
}

TEST(TabNavigation, TabCyclesForwardAndShiftTabBackwardWithWrapping) {
  const auto widgets = TextBoxes({2, 5, 9});
  EXPECT_EQ(ChooseTabTarget(widgets, 5, NoModifier, TabRule::EnabledTextBoxes), 9);
  EXPECT_EQ(ChooseTabTarget(widgets, 9, NoModifier, TabRule::EnabledTextBoxes), 2);
  EXPECT_EQ(ChooseTabTarget(widgets, 2, ShiftModifier, TabRule::EnabledTextBoxes), 9);
  EXPECT_EQ(ChooseTabTarget(widgets, 9, ShiftModifier, TabRule::EnabledTextBoxes), 5);
}

TEST(TabNavigation, OnlyShiftAloneGoesBackward) {
  const auto widgets = TextBoxes({2, 5, 9});
  EXPECT_EQ(ChooseTabTarget(widgets, 5, ShiftModifier | CtrlModifier, TabRule::EnabledTextBoxes), 9);
  EXPECT_EQ(ChooseTabTarget(widgets, 5, AltModifier, TabRule::EnabledTextBoxes), 9);
}

TEST(TabNavigation, DisabledWidgetsAreSkippedAndHiddenOnesOnlyWhereVisibilityCounts) {
  auto widgets = TextBoxes({2, 5, 9});
  widgets[2].bEnabled = false;
  EXPECT_EQ(ChooseTabTarget(widgets, 5, NoModifier, TabRule::EnabledTextBoxes), 2);

  widgets = TextBoxes({2, 5, 9});
  widgets[2].bVisible = false;
  EXPECT_EQ(ChooseTabTarget(widgets, 5, NoModifier, TabRule::EnabledTextBoxes), 9);
  EXPECT_EQ(ChooseTabTarget(widgets, 5, NoModifier, TabRule::VisibleEnabledInputs), 2);
}

TEST(TabNavigation, FromAWidgetThatIsNotEligibleTabWrapsAndShiftTabGoesToTheNearestBelow) {
  std::vector<TabCandidate> widgets = TextBoxes({2, 5});
  widgets.push_back({QStringLiteral("Label"), 7});
  EXPECT_EQ(ChooseTabTarget(widgets, 7, NoModifier, TabRule::VisibleEnabledInputs), 2);
  EXPECT_EQ(ChooseTabTarget(widgets, 7, ShiftModifier, TabRule::VisibleEnabledInputs), 5);
}

TEST(TabNavigation, KindsDependOnTheRule) {
  EXPECT_TRUE(IsTabKind(QStringLiteral("CommandButton"), TabRule::VisibleEnabledInputs));
  EXPECT_TRUE(IsTabKind(QStringLiteral("ComboBox"), TabRule::VisibleEnabledInputs));
  EXPECT_FALSE(IsTabKind(QStringLiteral("CommandButton"), TabRule::EnabledTextBoxes));
  EXPECT_FALSE(IsTabKind(QStringLiteral("commandbutton"), TabRule::VisibleEnabledInputs));
  EXPECT_FALSE(IsTabKind(QStringLiteral("Label"), TabRule::VisibleEnabledInputs));
}

TEST(TabNavigation, NoEligibleWidgetGivesNoTarget) {
  std::vector<TabCandidate> widgets{{QStringLiteral("Label"), 0}, {QStringLiteral("PictureBox"), 1}};
  EXPECT_EQ(ChooseTabTarget(widgets, 1, NoModifier, TabRule::VisibleEnabledInputs), -1);
  EXPECT_EQ(ChooseTabTarget({}, 3, ShiftModifier, TabRule::VisibleEnabledInputs), -1);
}

}  // namespace
}  // namespace twk
