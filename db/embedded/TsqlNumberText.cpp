// SPDX-License-Identifier: MIT
#include "TsqlNumberText.h"

#include <cmath>
#include <cstdio>

namespace twk::embedded {

namespace {

// The decimal digits of |dValue| at 15 significant digits and the power of
// ten of the first one: 1234.5 gives "123450000000000" and 3.
struct Digits {
  QString sDigits;
  int iExponent = 0;
};

Digits DigitsOf(double dValue) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(dValue));
  const QString sText = QString::fromLatin1(buffer);
  const qsizetype iE = sText.indexOf(u'e');
  return {sText.left(1) + sText.mid(2, iE - 2), sText.mid(iE + 1).toInt()};
}

// Rounds or cuts at iScale decimals on the digits, then reads them back.
double Scaled(double dValue, int iScale, bool bRound) {
  if (dValue == 0 || !std::isfinite(dValue)) return dValue;
  Digits digits = DigitsOf(dValue);
  const int iKeep = digits.iExponent + 1 + iScale;  // digits before the cut
  if (iKeep >= digits.sDigits.size()) return dValue;
  double dMagnitude = 0;
  if (iKeep >= 0) {
    const QString sKept = digits.sDigits.left(iKeep);
    dMagnitude = sKept.isEmpty() ? 0 : sKept.toDouble();
    if (bRound && digits.sDigits[iKeep] >= u'5') dMagnitude += 1;
  }
  // Dividing by an exact power of ten gives the double nearest the decimal.
  const double dResult =
      iScale > 0 ? dMagnitude / std::pow(10.0, iScale) : dMagnitude * std::pow(10.0, -iScale);
  return dValue < 0 ? -dResult : dResult;
}

}  // namespace

double TsqlNumberText::Round(double dValue, int iScale) {
  return Scaled(dValue, iScale, true);
}

double TsqlNumberText::Truncate(double dValue, int iScale) {
  return Scaled(dValue, iScale, false);
}

QString TsqlNumberText::Fixed(double dValue, int iScale) {
  double dRounded = Round(dValue, iScale);
  if (dRounded == 0) dRounded = 0;  // no "-0.00"
  return QString::number(dRounded, 'f', qMax(iScale, 0));
}

QString TsqlNumberText::Money(double dValue, int iStyle) {
  if (iStyle == 2) return Fixed(dValue, 4);
  const QString sText = Fixed(dValue, 2);
  return iStyle == 1 ? Grouped(sText) : sText;
}

QString TsqlNumberText::Grouped(const QString& sNumber) {
  const qsizetype iStart = sNumber.startsWith(u'-') ? 1 : 0;
  qsizetype iPoint = sNumber.indexOf(u'.');
  if (iPoint < 0) iPoint = sNumber.size();
  QString sText = sNumber;
  for (qsizetype i = iPoint - 3; i > iStart; i -= 3) sText.insert(i, u',');
  return sText;
}

QString TsqlNumberText::Float(double dValue, int iStyle) {
  char buffer[64];
  if (iStyle == 1 || iStyle == 2) {
    std::snprintf(buffer, sizeof buffer, "%.*e", iStyle == 1 ? 7 : 15, dValue);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.6g", dValue);
  }
  QString sText = QString::fromLatin1(buffer);
  // C writes two exponent digits where the server writes three.
  const qsizetype iE = sText.indexOf(u'e');
  if (iE >= 0 && sText.size() - iE - 2 < 3) sText.insert(iE + 2, u'0');
  return sText;
}

}  // namespace twk::embedded
