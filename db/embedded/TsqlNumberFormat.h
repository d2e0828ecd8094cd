// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace twk::embedded {

/// .NET number format strings as FORMAT applies them for en-US: the
/// standard ones (N, C, P, F, D, E, X, G with a precision) and custom
/// patterns of 0, #, the point, grouping commas, % and sections (;).
class TsqlNumberFormat {
 public:
  /// Empty for a pattern .NET refuses; bWhole tells an integer value, which
  /// D and X need.
  static std::optional<QString> Format(double dValue, bool bWhole, const QString& sPattern);

 private:
  static std::optional<QString> Standard(double dValue, bool bWhole, QChar kind, int iPrecision);
  static QString Custom(double dValue, const QString& sPattern);
};

}  // namespace twk::embedded
