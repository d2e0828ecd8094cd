// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk::embedded {

/// Numbers as the server rounds them and writes them as text. Doubles carry
/// decimal and money values, so rounding reads them at 15 significant
/// digits first: 1.005 rounds to 1.01 as the decimal it stands for does.
class TsqlNumberText {
 public:
  /// Rounded half away from zero to iScale decimals (negative: tens, hundreds).
  static double Round(double dValue, int iScale);
  /// Cut toward zero to iScale decimals (negative: tens, hundreds).
  static double Truncate(double dValue, int iScale);
  /// The value with exactly iScale decimals, as decimal(p,s) is written.
  static QString Fixed(double dValue, int iScale);
  /// money and smallmoney as convert writes them: style 0 two decimals,
  /// 1 thousands separated with two decimals, 2 four decimals.
  static QString Money(double dValue, int iStyle);
  /// float and real as convert writes them: style 0 up to 6 significant
  /// digits, scientific beyond; 1 eight digits and 2 sixteen, scientific;
  /// exponents have at least three digits (1.23457e+006).
  static QString Float(double dValue, int iStyle);
  /// Inserts thousands separators into the whole part of a plain number.
  static QString Grouped(const QString& sNumber);
};

}  // namespace twk::embedded
