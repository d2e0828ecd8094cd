// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QStringView>

namespace twk::embedded {

/// The text comparison of an iMIS database's default collation: letter case
/// ignored (Unicode case folding), accents count, trailing U+0020 ignored.
/// Accented letters sort just after their base letter, so that the order is
/// a dictionary's while equality stays accent-sensitive.
class TsqlCollation {
 public:
  /// Negative, zero or positive as a sorts before, equal to or after b.
  static int Compare(QStringView a, QStringView b);
  /// Compare on UTF-8 bytes, with a fast path for ASCII text.
  static int CompareUtf8(const char* pA, int iA, const char* pB, int iB);
  /// Whether two characters are equal under the collation.
  static bool SameCharacter(char32_t a, char32_t b) noexcept;
  /// The character as the collation compares it.
  static char32_t Folded(char32_t c) noexcept;
  /// The text without its trailing U+0020.
  static QStringView WithoutTrailingBlanks(QStringView sText) noexcept;
  /// Registers the collation "TSQL" on the connection.
  static void Register(sqlite3* pDb);
};

}  // namespace twk::embedded
