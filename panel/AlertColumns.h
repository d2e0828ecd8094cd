// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QVariant>
#include <span>

#include "AlertOutput.h"

namespace twk {

/// One of the 17 columns that fill an AlertOutput, whether a definition
/// returns it directly or writes it into ttwk_AlertOutput.
struct AlertColumn {
  enum class Kind { Text, Integer, Boolean };
  QLatin1StringView sName;
  Kind kind;
  QString AlertOutput::*pText = nullptr;   ///< for Text
  qint16 AlertOutput::*pNumber = nullptr;  ///< for Integer and Boolean
  /// A null read from ttwk_AlertOutput gives the empty text, not an error.
  bool bNullGivesEmpty = false;
};

namespace AlertColumns {

/// The columns in the order of the record's fields, EVENT_TYPE to AUTO_ACTION.
std::span<const AlertColumn> All();
/// The column of exactly that name (letter case counts); nullptr when none.
const AlertColumn* FindExact(const QString& sName);
/// Converts the value as the column's kind asks and stores it in its field;
/// throws TwkError when the conversion fails, leaving the field unchanged.
void Assign(AlertOutput& alert, const AlertColumn& column, const QVariant& value);

}  // namespace AlertColumns

}  // namespace twk
