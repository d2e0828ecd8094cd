// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <ostream>

// Failures show the text instead of its UTF-16 bytes.
inline void PrintTo(const QString& sText, std::ostream* pStream) {
  *pStream << '"' << sText.toStdString() << '"';
}
