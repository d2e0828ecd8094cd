// SPDX-License-Identifier: MIT
#include "TsqlDateStyles.h"

#include <algorithm>
#include <cstring>

#include "FunctionArguments.h"
#include "TsqlDateValue.h"
#include "TsqlHijri.h"

namespace twk::embedded {

namespace {

using Kind = tsql::SqlType::Kind;
using Ascii = TsqlDateStyles::Ascii;

constexpr const char* kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A few characters of a style: a number's digits, a fraction.
struct Piece {
  char ac[20];
  int iLength = 0;
};

// A date's parts are never negative. Fixed buffers, not QStrings: building
// the pieces as strings cost most of a converted date's time, and a style
// converts every row.
Piece Digits(qint64 lValue, int iWidth, char cPad = '0') {
  char reversed[20];
  int iCount = 0;
  do {
    reversed[iCount++] = char('0' + lValue % 10);
    lValue /= 10;
  } while (lValue > 0 && iCount < 20);
  while (iCount < iWidth && iCount < 20) reversed[iCount++] = cPad;
  Piece piece;
  while (iCount > 0) piece.ac[piece.iLength++] = reversed[--iCount];
  return piece;
}

Piece Prefixed(char c, const Piece& rest) {
  Piece piece;
  piece.ac[0] = c;
  std::memcpy(piece.ac + 1, rest.ac, std::min<std::size_t>(rest.iLength, sizeof piece.ac - 1));
  piece.iLength = std::min<int>(rest.iLength + 1, sizeof piece.ac);
  return piece;
}

class Writer {
 public:
  explicit Writer(Ascii* pOut) : m_pOut(pOut) { m_pOut->iLength = 0; }
  Writer& operator<<(char c) { return Put(&c, 1); }
  Writer& operator<<(const char* s) { return Put(s, int(std::strlen(s))); }
  Writer& operator<<(const Piece& piece) { return Put(piece.ac, piece.iLength); }

 private:
  Writer& Put(const char* s, int iCount) {
    iCount = std::min<int>(iCount, int(sizeof m_pOut->acText) - m_pOut->iLength);
    std::memcpy(m_pOut->acText + m_pOut->iLength, s, std::size_t(iCount));
    m_pOut->iLength += iCount;
    return *this;
  }
  Ascii* m_pOut;
};

// The pieces every style is put together from.
struct Pieces {
  Piece year, month, day, hour, hour12, minute, second;
  const char* sMonthName;
  const char* sHalf;
  Piece millis;    // ":mmm" or, for datetime2 and time, ".fffffff"
  Piece fraction;  // ".mmm" or ".fffffff"
};

Pieces PiecesOf(const TsqlDateValue& value, const tsql::SqlType& type, bool bFourDigits) {
  Pieces p;
  int iYear = 0, iMonth = 0, iDay = 0;
  value.date.getDate(&iYear, &iMonth, &iDay);  // once: each of year() and month() recomputes all
  p.year = bFourDigits ? Digits(iYear, 4) : Digits(iYear % 100, 2);
  p.month = Digits(iMonth, 2);
  p.day = Digits(iDay, 2);
  p.sMonthName = kShortMonths[qBound(1, iMonth, 12) - 1];
  const int iHour = value.Hour();
  p.hour = Digits(iHour, 2);
  p.hour12 = Digits(iHour % 12 == 0 ? 12 : iHour % 12, 2, ' ');
  p.minute = Digits(value.Minute(), 2);
  p.second = Digits(value.Second(), 2);
  p.sHalf = iHour < 12 ? "AM" : "PM";
  if (type.kind == Kind::DateTime2 || type.kind == Kind::Time) {
    Piece wide = Digits(value.Fraction(), 7);
    wide.iLength = qBound(0, type.iScale, wide.iLength);
    if (type.iScale > 0) p.fraction = Prefixed('.', wide);
    p.millis = p.fraction;
  } else {
    const Piece ms = Digits(value.Millisecond(), 3);
    p.fraction = Prefixed('.', ms);
    p.millis = Prefixed(':', ms);
  }
  return p;
}

// The styles whose two-digit form does not exist: they always show four.
bool AlwaysFourDigits(int iStyle) {
  return iStyle == 0 || iStyle == 9 || iStyle == 13 || iStyle == 20 || iStyle == 21 ||
         iStyle == 23 || iStyle == 25 || iStyle >= 100;
}

Writer& Iso(Writer& out, const Pieces& p) {
  return out << p.year << '-' << p.month << '-' << p.day;
}

Writer& Clock(Writer& out, const Pieces& p) {
  return out << p.hour << ':' << p.minute << ':' << p.second;
}

// "Jan  5": the day's leading zero becomes a blank.
Writer& MonthDay(Writer& out, const Pieces& p) {
  out << p.sMonthName << ' ';
  if (p.day.ac[0] != '0') return out << p.day;
  return out << ' ' << p.day.ac[1];
}

void DefaultForm(Writer& out, const Pieces& p, const tsql::SqlType& type) {
  if (type.kind != Kind::Time) Iso(out, p);
  if (type.kind == Kind::Date) return;
  if (type.kind != Kind::Time) out << ' ';
  Clock(out, p) << p.fraction;
}

// The styles that show a date only.
void DateOnly(Writer& out, const Pieces& p, int iBase) {
  switch (iBase) {
    case 1:
      out << p.month << '/' << p.day << '/' << p.year;
      return;
    case 2:
      out << p.year << '.' << p.month << '.' << p.day;
      return;
    case 3:
      out << p.day << '/' << p.month << '/' << p.year;
      return;
    case 4:
      out << p.day << '.' << p.month << '.' << p.year;
      return;
    case 5:
      out << p.day << '-' << p.month << '-' << p.year;
      return;
    case 6:
      out << p.day << ' ' << p.sMonthName << ' ' << p.year;
      return;
    case 7:
      out << p.sMonthName << ' ' << p.day << ", " << p.year;
      return;
    case 10:
      out << p.month << '-' << p.day << '-' << p.year;
      return;
    case 11:
      out << p.year << '/' << p.month << '/' << p.day;
      return;
    case 12:
      out << p.year << p.month << p.day;
      return;
    default:
      Iso(out, p);  // 23
  }
}

void Styled(Writer& out, const Pieces& p, int iStyle) {
  switch (iStyle % 100) {
    case 0:
      MonthDay(out, p) << ' ' << p.year << ' ' << p.hour12 << ':' << p.minute << p.sHalf;
      return;
    case 8:
    case 24:
      Clock(out, p);
      return;
    case 9:
      MonthDay(out, p) << ' ' << p.year << ' ' << p.hour12 << ':' << p.minute << ':' << p.second
                       << p.millis << p.sHalf;
      return;
    case 13:
      out << p.day << ' ' << p.sMonthName << ' ' << p.year << ' ';
      Clock(out, p) << p.millis;
      return;
    case 14:
      Clock(out, p) << p.millis;
      return;
    case 20:
      Clock(Iso(out, p) << ' ', p);
      return;
    case 21:
    case 25:
      Clock(Iso(out, p) << ' ', p) << p.fraction;
      return;
    case 22:
      out << p.month << '/' << p.day << '/' << p.year << ' ' << p.hour12 << ':' << p.minute << ':'
          << p.second << ' ' << p.sHalf;
      return;
    default:
      DateOnly(out, p, iStyle % 100);
  }
}

bool IsDocumentedStyle(int iStyle) {
  return (iStyle >= 0 && iStyle <= 14) || (iStyle >= 20 && iStyle <= 25) ||
         (iStyle >= 100 && iStyle <= 114) || (iStyle >= 120 && iStyle <= 127) || iStyle == 130 ||
         iStyle == 131;
}

bool IsHijri(int iStyle) {
  return iStyle == 130 || iStyle == 131;
}

}  // namespace

bool TsqlDateStyles::WriteAscii(const TsqlDateValue& value, const tsql::SqlType& type, int iStyle,
                                Ascii* pOut) {
  Writer out(pOut);
  const bool bLegacy = type.kind == Kind::DateTime || type.kind == Kind::SmallDateTime;
  if (iStyle < 0 && !bLegacy) {
    DefaultForm(out, PiecesOf(value, type, true), type);
    return true;
  }
  if (iStyle < 0) iStyle = 0;
  if (!IsDocumentedStyle(iStyle) || (iStyle > 121 && iStyle < 126)) {
    FailTsql(281, QStringLiteral("%1 is not a valid style number when converting from %2 to a "
                                 "character string.")
                      .arg(iStyle)
                      .arg(type.Name()));
  }
  if (IsHijri(iStyle)) return false;
  const Pieces p = PiecesOf(value, type, AlwaysFourDigits(iStyle));
  if (iStyle == 126 || iStyle == 127) {
    Clock(Iso(out, p) << 'T', p);
    // ISO 8601 leaves out a datetime's milliseconds when they are zero.
    if (!bLegacy || value.Millisecond() != 0) out << p.fraction;
    return true;
  }
  Styled(out, p, iStyle);
  return true;
}

QString TsqlDateStyles::Write(const TsqlDateValue& value, const tsql::SqlType& type, int iStyle) {
  Ascii text;
  if (WriteAscii(value, type, iStyle, &text)) return QString::fromLatin1(text.acText, text.iLength);
  const Piece millis = PiecesOf(value, type, true).millis;
  return TsqlHijri::Write(value, iStyle == 130, QString::fromLatin1(millis.ac, millis.iLength));
}

}  // namespace twk::embedded
