// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>
#include <sqlucode.h>

#include <QString>

namespace twk {

// unixODBC's SQLWCHAR is a UTF-16 code unit, the same unit as QString, so
// text crosses the driver manager without conversion.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "SQLWCHAR must be a UTF-16 code unit");

/// The text as the wide ODBC functions take it. ODBC declares those
/// arguments non-const but never writes through them.
inline SQLWCHAR* OdbcInputText(const QString& sText) {
  return const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(sText.utf16()));
}

/// Text that a wide ODBC function wrote: iLength code units.
inline QString TextFromOdbc(const SQLWCHAR* pText, qsizetype iLength) {
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(pText), iLength);
}

}  // namespace twk
