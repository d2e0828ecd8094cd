#pragma once

#include <QString>

namespace twk {

/// Removes leading and trailing U+0020 only; tabs, line breaks and other
/// blanks stay, as the system has always trimmed.
QString TrimSpaces(const QString& sText);

}  // namespace twk
