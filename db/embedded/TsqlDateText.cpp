// SPDX-License-Identifier: MIT
#include "TsqlDateText.h"

#include <QRegularExpression>

#include "TsqlDateValue.h"

namespace twk::embedded {

namespace {

using Kind = tsql::SqlType::Kind;

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
constexpr const char* kDays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};

bool DayFirst(int iStyle) {
  switch (iStyle) {
    case 3:
    case 4:
    case 5:
    case 6:
    case 13:
    case 103:
    case 104:
    case 105:
    case 106:
    case 113:
    case 130:
    case 131:
      return true;
    default:
      return false;
  }
}

int MonthOf(const QString& sWord) {
  for (int i = 0; i < 12; ++i) {
    const QString sName = QString::fromLatin1(kMonths[i]);
    if (sWord.size() >= 3 && sName.startsWith(sWord, Qt::CaseInsensitive)) return i + 1;
  }
  return 0;
}

struct Fields {
  int iYear = 1900, iMonth = 1, iDay = 1;
};

// The date part of the text (removed from it); empty when it has none that
// reads; the time that follows is left in sRest.
std::optional<Fields> ReadDate(const QString& sText, int iStyle, QString& sRest) {
  static const QRegularExpression compact(QStringLiteral("^(\\d{8}|\\d{6})(?=$|[ T])"));
  static const QRegularExpression numeric(
      QStringLiteral("^(\\d{1,4})([/.-])(\\d{1,2})\\2(\\d{1,4})(?=$|[ T])"));
  static const QRegularExpression alpha(
      QStringLiteral("^(?:([a-z]{3,9})\\.?\\s*(\\d{1,2})(?:\\s*,\\s*|\\s+)(\\d{4}|\\d{2})|(\\d{1,2}"
                     ")\\s*([a-z]{3,9})\\.?,?\\s*(\\d{4}|\\d{2}))(?=$|\\s)"),
      QRegularExpression::CaseInsensitiveOption);
  Fields f;
  QRegularExpressionMatch m = compact.match(sText);
  if (m.hasMatch()) {
    const QString s = m.captured(1);
    const int iY = s.size() == 8 ? 4 : 2;
    f = {TsqlDateText::FullYear(s.left(iY).toInt(), iY), s.mid(iY, 2).toInt(),
         s.mid(iY + 2, 2).toInt()};
  } else if ((m = numeric.match(sText)).hasMatch()) {
    const QString a = m.captured(1), b = m.captured(3), c = m.captured(4);
    if (a.size() == 4) {
      f = {a.toInt(), b.toInt(), c.toInt()};
    } else if (a.size() > 2 || b.size() > 2 || c.size() == 3) {
      return std::nullopt;
    } else {
      const int iYear = TsqlDateText::FullYear(c.toInt(), int(c.size()));
      f = DayFirst(iStyle) ? Fields{iYear, b.toInt(), a.toInt()}
                           : Fields{iYear, a.toInt(), b.toInt()};
    }
  } else if ((m = alpha.match(sText)).hasMatch()) {
    const bool bMonthFirst = m.hasCaptured(1) && !m.captured(1).isEmpty();
    const QString sYear = m.captured(bMonthFirst ? 3 : 6);
    f = {TsqlDateText::FullYear(sYear.toInt(), int(sYear.size())),
         MonthOf(m.captured(bMonthFirst ? 1 : 5)), m.captured(bMonthFirst ? 2 : 4).toInt()};
    if (f.iMonth == 0) return std::nullopt;
  } else {
    return std::nullopt;
  }
  sRest = sText.mid(m.capturedLength(0)).trimmed();
  if (sRest.startsWith(u'T', Qt::CaseInsensitive)) sRest.remove(0, 1);
  return f;
}

// 'hh:mi[:ss[.fffffff | :mmm]] [AM|PM]' or 'hh AM'; -1 when it is not one.
qint64 ReadTime(const QString& sText) {
  static const QRegularExpression clock(
      QStringLiteral(
          "^(\\d{1,2})(?::(\\d{1,2})(?::(\\d{1,2})(?:([.:])(\\d{1,7}))?)?)?\\s*([ap]m)?$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = clock.match(sText);
  if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(6).isEmpty())) return -1;
  int iHour = m.captured(1).toInt();
  const QString sHalf = m.captured(6).toLower();
  if (!sHalf.isEmpty()) {
    if (iHour > 12) return -1;
    iHour = iHour % 12 + (sHalf == u"pm" ? 12 : 0);
  }
  const int iMinute = m.captured(2).toInt();
  const int iSecond = m.captured(3).toInt();
  if (iHour > 23 || iMinute > 59 || iSecond > 59) return -1;
  // After a colon the digits are milliseconds; after a point a fraction.
  const QString sFraction = m.captured(5);
  const qint64 lFraction = m.captured(4) == u":"
                               ? sFraction.toLongLong() * 10'000
                               : (sFraction + QStringLiteral("0000000")).left(7).toLongLong();
  if (m.captured(4) == u":" && sFraction.toInt() > 999) return -1;
  return (iHour * 3600LL + iMinute * 60 + iSecond) * TsqlDateValue::kTicksPerSecond + lFraction;
}

}  // namespace

int TsqlDateText::FullYear(int iYear, int iDigits) {
  if (iDigits > 2) return iYear;
  return iYear < 50 ? 2000 + iYear : 1900 + iYear;
}

QString TsqlDateText::MonthName(int iMonth, bool bShort) {
  const QString sName = QString::fromLatin1(kMonths[qBound(1, iMonth, 12) - 1]);
  return bShort ? sName.left(3) : sName;
}

QString TsqlDateText::DayName(int iDayOfWeek) {
  return QString::fromLatin1(kDays[qBound(1, iDayOfWeek, 7) - 1]);
}

std::optional<TsqlDateValue> TsqlDateText::Read(QStringView sText, int iStyle, bool* pOutOfRange) {
  TsqlDateValue value;
  const QString sWhole = sText.toString();
  if (sWhole.isEmpty()) return value;  // the empty text is day zero
  QString sRest = sWhole;
  if (const std::optional<Fields> fields = ReadDate(sWhole, iStyle, sRest)) {
    value.date = QDate(fields->iYear, fields->iMonth, fields->iDay);
    if (!value.date.isValid()) {
      if (pOutOfRange) *pOutOfRange = true;
      return std::nullopt;
    }
  }
  if (sRest.isEmpty()) return value;
  value.lTicks = ReadTime(sRest);
  if (value.lTicks < 0) return std::nullopt;
  return value;
}

}  // namespace twk::embedded
