// SPDX-License-Identifier: MIT
#include "TsqlDateStyles.h"

#include "FunctionArguments.h"
#include "TsqlDateText.h"
#include "TsqlDateValue.h"
#include "TsqlHijri.h"

namespace twk::embedded {

namespace {

using Kind = tsql::SqlType::Kind;

// A date's parts are never negative. Written by hand: QString::arg cost
// most of a converted date's time, and a style converts every row.
QString Digits(qint64 lValue, int iWidth, char16_t cPad = u'0') {
  constexpr int kSize = 20;
  char16_t buffer[kSize];
  int iLength = 0;
  do {
    buffer[kSize - ++iLength] = char16_t(u'0' + lValue % 10);
    lValue /= 10;
  } while (lValue > 0 && iLength < kSize);
  while (iLength < iWidth && iLength < kSize) buffer[kSize - ++iLength] = cPad;
  return QString(reinterpret_cast<const QChar*>(buffer + kSize - iLength), iLength);
}
QString Two(int i) {
  return Digits(i, 2);
}
QString Padded(int i) {
  return Digits(i, 2, u' ');
}

// The pieces every style is put together from.
struct Pieces {
  QString sYear, sMonth, sDay, sMonthName;
  QString sHour, sHour12, sMinute, sSecond, sHalf;
  QString sMillis;    // ":mmm" or, for datetime2 and time, ".fffffff"
  QString sFraction;  // ".mmm" or ".fffffff"
};

Pieces PiecesOf(const TsqlDateValue& value, const tsql::SqlType& type, bool bFourDigits) {
  Pieces p;
  const int iYear = value.date.year();
  p.sYear = bFourDigits ? Digits(iYear, 4) : Two(iYear % 100);
  p.sMonth = Two(value.date.month());
  p.sDay = Two(value.date.day());
  p.sMonthName = TsqlDateText::MonthName(value.date.month(), true);
  p.sHour = Two(value.Hour());
  p.sHour12 = Padded(value.Hour() % 12 == 0 ? 12 : value.Hour() % 12);
  p.sMinute = Two(value.Minute());
  p.sSecond = Two(value.Second());
  p.sHalf = value.Hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
  const bool bWide = type.kind == Kind::DateTime2 || type.kind == Kind::Time;
  const QString sMs = Digits(value.Millisecond(), 3);
  const QString sWide = bWide ? Digits(value.Fraction(), 7).left(type.iScale) : QString();
  p.sFraction = bWide ? (type.iScale > 0 ? u'.' + sWide : QString()) : u'.' + sMs;
  p.sMillis = bWide ? p.sFraction : u':' + sMs;
  return p;
}

// The styles whose two-digit form does not exist: they always show four.
bool AlwaysFourDigits(int iStyle) {
  return iStyle == 0 || iStyle == 9 || iStyle == 13 || iStyle == 20 || iStyle == 21 ||
         iStyle == 23 || iStyle == 25 || iStyle >= 100;
}

QString DefaultForm(const Pieces& p, const tsql::SqlType& type) {
  const QString sDate = p.sYear + u'-' + p.sMonth + u'-' + p.sDay;
  const QString sTime = p.sHour + u':' + p.sMinute + u':' + p.sSecond + p.sFraction;
  if (type.kind == Kind::Date) return sDate;
  if (type.kind == Kind::Time) return sTime;
  return sDate + u' ' + sTime;
}

// The styles that show a date only.
QString DateOnly(const Pieces& p, int iBase) {
  switch (iBase) {
    case 1:
      return p.sMonth + u'/' + p.sDay + u'/' + p.sYear;
    case 2:
      return p.sYear + u'.' + p.sMonth + u'.' + p.sDay;
    case 3:
      return p.sDay + u'/' + p.sMonth + u'/' + p.sYear;
    case 4:
      return p.sDay + u'.' + p.sMonth + u'.' + p.sYear;
    case 5:
      return p.sDay + u'-' + p.sMonth + u'-' + p.sYear;
    case 6:
      return p.sDay + u' ' + p.sMonthName + u' ' + p.sYear;
    case 7:
      return p.sMonthName + u' ' + p.sDay + QStringLiteral(", ") + p.sYear;
    case 10:
      return p.sMonth + u'-' + p.sDay + u'-' + p.sYear;
    case 11:
      return p.sYear + u'/' + p.sMonth + u'/' + p.sDay;
    case 12:
      return p.sYear + p.sMonth + p.sDay;
    default:
      return p.sYear + u'-' + p.sMonth + u'-' + p.sDay;  // 23
  }
}

QString Styled(const Pieces& p, int iStyle) {
  const QString sClock = p.sHour + u':' + p.sMinute + u':' + p.sSecond;
  const QString sMonDay =
      p.sMonthName + u' ' + (p.sDay.startsWith(u'0') ? u' ' + p.sDay.mid(1) : p.sDay);
  const QString sIso = p.sYear + u'-' + p.sMonth + u'-' + p.sDay;
  switch (iStyle % 100) {
    case 0:
      return sMonDay + u' ' + p.sYear + u' ' + p.sHour12 + u':' + p.sMinute + p.sHalf;
    case 8:
    case 24:
      return sClock;
    case 9:
      return sMonDay + u' ' + p.sYear + u' ' + p.sHour12 + u':' + p.sMinute + u':' + p.sSecond +
             p.sMillis + p.sHalf;
    case 13:
      return p.sDay + u' ' + p.sMonthName + u' ' + p.sYear + u' ' + sClock + p.sMillis;
    case 14:
      return sClock + p.sMillis;
    case 20:
      return sIso + u' ' + sClock;
    case 21:
    case 25:
      return sIso + u' ' + sClock + p.sFraction;
    case 22:
      return p.sMonth + u'/' + p.sDay + u'/' + p.sYear + u' ' + p.sHour12 + u':' + p.sMinute +
             u':' + p.sSecond + u' ' + p.sHalf;
    default:
      return DateOnly(p, iStyle % 100);
  }
}

bool IsDocumentedStyle(int iStyle) {
  return (iStyle >= 0 && iStyle <= 14) || (iStyle >= 20 && iStyle <= 25) ||
         (iStyle >= 100 && iStyle <= 114) || (iStyle >= 120 && iStyle <= 127) || iStyle == 130 ||
         iStyle == 131;
}

}  // namespace

QString TsqlDateStyles::Write(const TsqlDateValue& value, const tsql::SqlType& type, int iStyle) {
  const bool bLegacy = type.kind == Kind::DateTime || type.kind == Kind::SmallDateTime;
  if (iStyle < 0 && !bLegacy) return DefaultForm(PiecesOf(value, type, true), type);
  if (iStyle < 0) iStyle = 0;
  if (!IsDocumentedStyle(iStyle) || (iStyle > 121 && iStyle < 126)) {
    FailTsql(281, QStringLiteral("%1 is not a valid style number when converting from %2 to a "
                                 "character string.")
                      .arg(iStyle)
                      .arg(type.Name()));
  }
  const Pieces p = PiecesOf(value, type, AlwaysFourDigits(iStyle));
  if (iStyle == 126 || iStyle == 127) {
    // ISO 8601 leaves out a datetime's milliseconds when they are zero.
    const bool bNoFraction = bLegacy && value.Millisecond() == 0;
    return p.sYear + u'-' + p.sMonth + u'-' + p.sDay + u'T' + p.sHour + u':' + p.sMinute + u':' +
           p.sSecond + (bNoFraction ? QString() : p.sFraction);
  }
  if (iStyle == 130 || iStyle == 131) return TsqlHijri::Write(value, iStyle == 130, p.sMillis);
  return Styled(p, iStyle);
}

}  // namespace twk::embedded
