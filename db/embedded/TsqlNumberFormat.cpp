// SPDX-License-Identifier: MIT
#include "TsqlNumberFormat.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

#include "TsqlNumberText.h"

namespace twk::embedded {

namespace {

QString GroupedFixed(double dValue, int iDecimals) {
  return TsqlNumberText::Grouped(TsqlNumberText::Fixed(std::fabs(dValue), iDecimals));
}

bool IsNegativeAfterRounding(double dValue, int iDecimals) {
  return TsqlNumberText::Round(dValue, iDecimals) < 0;
}

// E: one digit, the point, iPrecision digits, "E+" and at least three exponent digits.
QString Scientific(double dValue, int iPrecision, QChar e) {
  QString sText = QString::number(dValue, 'e', iPrecision);
  const qsizetype iE = sText.indexOf(u'e');
  const QString sSign = sText.mid(iE + 1, 1);
  const QString sExponent = sText.mid(iE + 2).rightJustified(3, u'0');
  return sText.left(iE) + e + sSign + sExponent;
}

}  // namespace

std::optional<QString> TsqlNumberFormat::Format(double dValue, bool bWhole,
                                                const QString& sPattern) {
  static const QRegularExpression standard(QStringLiteral("^([A-Za-z])(\\d{0,2})$"));
  const QRegularExpressionMatch match = standard.match(sPattern);
  if (match.hasMatch()) {
    const int iPrecision = match.captured(2).isEmpty() ? -1 : match.captured(2).toInt();
    return Standard(dValue, bWhole, match.captured(1)[0], iPrecision);
  }
  // Sections: positive;negative;zero. The negative section writes its own sign.
  const QStringList sections = sPattern.split(u';');
  if (sections.size() > 1) {
    if (dValue < 0 && !sections[1].isEmpty()) return Custom(-dValue, sections[1]);
    if (dValue == 0 && sections.size() > 2 && !sections[2].isEmpty()) return Custom(0, sections[2]);
  }
  return Custom(dValue, sections[0]);
}

std::optional<QString> TsqlNumberFormat::Standard(double dValue, bool bWhole, QChar kind,
                                                  int iPrecision) {
  const int iDecimals = iPrecision < 0 ? 2 : iPrecision;
  const bool bNegative = IsNegativeAfterRounding(dValue, iDecimals);
  switch (kind.toUpper().unicode()) {
    case u'N':
      return (bNegative ? QStringLiteral("-") : QString()) + GroupedFixed(dValue, iDecimals);
    case u'F':
      return (bNegative ? QStringLiteral("-") : QString()) +
             TsqlNumberText::Fixed(std::fabs(dValue), iDecimals);
    case u'C': {
      const QString sAmount = u'$' + GroupedFixed(dValue, iDecimals);
      return bNegative ? u'(' + sAmount + u')' : sAmount;
    }
    case u'P': {
      const bool bBelow = IsNegativeAfterRounding(dValue * 100, iDecimals);
      return (bBelow ? QStringLiteral("-") : QString()) + GroupedFixed(dValue * 100, iDecimals) +
             QStringLiteral(" %");
    }
    case u'D':
      if (!bWhole) return std::nullopt;
      return (dValue < 0 ? QStringLiteral("-") : QString()) +
             QString::number(qint64(std::fabs(dValue))).rightJustified(qMax(iPrecision, 1), u'0');
    case u'X':
      if (!bWhole) return std::nullopt;
      return QString::number(qint64(dValue), 16)
          .rightJustified(qMax(iPrecision, 1), u'0')
          .toUpper();
    case u'E':
      return Scientific(dValue, iPrecision < 0 ? 6 : iPrecision, kind.isUpper() ? u'E' : u'e');
    case u'G':
      return iPrecision <= 0 ? QString::number(dValue, 'g', 15)
                             : QString::number(dValue, 'g', iPrecision);
    default:
      return std::nullopt;
  }
}

// Digits placeholders: 0 always shows, # only when significant; a comma
// between them groups by thousands; % multiplies by a hundred.
QString TsqlNumberFormat::Custom(double dValue, const QString& sPattern) {
  const qsizetype iFirst = sPattern.indexOf(QRegularExpression(QStringLiteral("[0#]")));
  if (iFirst < 0) return sPattern;
  const qsizetype iLast = sPattern.lastIndexOf(QRegularExpression(QStringLiteral("[0#]")));
  const QString sPrefix = sPattern.left(iFirst);
  const QString sSuffix = sPattern.mid(iLast + 1);
  const QString sBody = sPattern.mid(iFirst, iLast - iFirst + 1);
  const qsizetype iPoint = sBody.indexOf(u'.');
  const QString sWholePart = iPoint < 0 ? sBody : sBody.left(iPoint);
  const QString sFractionPart = iPoint < 0 ? QString() : sBody.mid(iPoint + 1);
  const bool bPercent = sPattern.contains(u'%');
  const double dScaled = bPercent ? dValue * 100 : dValue;
  const int iDecimals = int(sFractionPart.size());
  const int iRequired = int(sFractionPart.lastIndexOf(u'0') + 1);
  QString sDigits = TsqlNumberText::Fixed(std::fabs(dScaled), iDecimals);
  QString sWhole = sDigits.section(u'.', 0, 0);
  QString sFraction = sDigits.section(u'.', 1, 1);
  while (sFraction.size() > iRequired && sFraction.endsWith(u'0')) sFraction.chop(1);
  const int iWholeZeros = int(sWholePart.count(u'0'));
  if (sWhole == u"0" && iWholeZeros == 0) sWhole.clear();
  sWhole = sWhole.rightJustified(iWholeZeros, u'0');
  if (sWholePart.contains(u',') && !sWhole.isEmpty()) sWhole = TsqlNumberText::Grouped(sWhole);
  const bool bNegative = dScaled < 0 && TsqlNumberText::Round(dScaled, iDecimals) != 0;
  return (bNegative ? QStringLiteral("-") : QString()) + sPrefix + sWhole +
         (sFraction.isEmpty() ? QString() : u'.' + sFraction) + sSuffix;
}

}  // namespace twk::embedded
