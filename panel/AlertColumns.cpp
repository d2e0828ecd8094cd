// SPDX-License-Identifier: MIT
#include "AlertColumns.h"

#include <array>

#include "Conversions.h"

namespace twk::AlertColumns {

namespace {

using Kind = AlertColumn::Kind;

const std::array<AlertColumn, 17> columns{{
    {QLatin1StringView("EVENT_TYPE"), Kind::Text, &AlertOutput::sEventType},
    {QLatin1StringView("KEY_VALUE"), Kind::Text, &AlertOutput::sKeyValue},
    {QLatin1StringView("RANK"), Kind::Integer, nullptr, &AlertOutput::iRank},
    {QLatin1StringView("ICON"), Kind::Integer, nullptr, &AlertOutput::iIcon},
    {QLatin1StringView("KEYWORD"), Kind::Text, &AlertOutput::sKeyword},
    {QLatin1StringView("DESCRIPTION"), Kind::Text, &AlertOutput::sDescription},
    {QLatin1StringView("TOOLTIP_TEXT"), Kind::Text, &AlertOutput::sTooltipText},
    {QLatin1StringView("TITLE_TEXT"), Kind::Text, &AlertOutput::sTitleText},
    {QLatin1StringView("CLIPBOARD_TEXT"), Kind::Text, &AlertOutput::sClipboardText, nullptr, true},
    {QLatin1StringView("CLIPBOARD_DESCRIPTION"), Kind::Text, &AlertOutput::sClipboardDescription},
    {QLatin1StringView("ACTION_TEXT"), Kind::Text, &AlertOutput::sActionText},
    {QLatin1StringView("ACTION_DESCRIPTION"), Kind::Text, &AlertOutput::sActionDescription},
    {QLatin1StringView("LOG_TEXT"), Kind::Text, &AlertOutput::sLogText},
    {QLatin1StringView("PLAY_SOUND"), Kind::Boolean, nullptr, &AlertOutput::bPlaySound},
    {QLatin1StringView("AUTO_POPUP"), Kind::Boolean, nullptr, &AlertOutput::bAutoPopup},
    {QLatin1StringView("AUTO_CLIPBOARD"), Kind::Boolean, nullptr, &AlertOutput::bAutoClipboard},
    {QLatin1StringView("AUTO_ACTION"), Kind::Boolean, nullptr, &AlertOutput::bAutoAction},
}};

}  // namespace

std::span<const AlertColumn> All() {
  return columns;
}

const AlertColumn* FindExact(const QString& sName) {
  for (const AlertColumn& column : columns) {
    if (sName == column.sName) return &column;
  }
  return nullptr;
}

void Assign(AlertOutput& alert, const AlertColumn& column, const QVariant& value) {
  // Convert before storing, so that a failed conversion leaves the field as
  // it was.
  switch (column.kind) {
    case Kind::Text:
      alert.*column.pText = Conversions::ToTextStrict(value);
      return;
    case Kind::Integer:
      alert.*column.pNumber = Conversions::ToInteger(value);
      return;
    case Kind::Boolean:
      alert.*column.pNumber = Conversions::ToBoolean(value);
      return;
  }
}

}  // namespace twk::AlertColumns
