// SPDX-License-Identifier: MIT
#include "TsqlHijri.h"

#include <cmath>

#include "TsqlDateValue.h"

namespace twk::embedded {

namespace {

const char16_t* const kMonths[] = {u"محرم",         u"صفر",           u"ربيع الاول", u"ربيع الثاني",
                                   u"جمادى الاولى", u"جمادى الثانية", u"رجب",        u"شعبان",
                                   u"رمضان",        u"شوال",          u"ذو القعدة",  u"ذو الحجة"};

QString Two(int i, char cFill = '0') {
  return QStringLiteral("%1").arg(i, 2, 10, QLatin1Char(cFill));
}

}  // namespace

TsqlHijri::Date TsqlHijri::FromGregorian(const TsqlDateValue& value) {
  constexpr double kYear = 10631.0 / 30.0;
  constexpr double kShift = 8.01 / 60.0;
  double z = double(value.date.toJulianDay() - 1948084);
  const double dCycle = std::floor(z / 10631.0);
  z -= 10631.0 * dCycle;
  const double j = std::floor((z - kShift) / kYear);
  z -= std::floor(j * kYear + kShift);
  int iMonth = int(std::floor((z + 28.5001) / 29.5));
  if (iMonth == 13) iMonth = 12;
  const int iDay = int(z - std::floor(29.5001 * iMonth - 29));
  return {int(30 * dCycle + j), iMonth, iDay};
}

QString TsqlHijri::Write(const TsqlDateValue& value, bool bMonthNames, const QString& sMillis) {
  const Date hijri = FromGregorian(value);
  const QString sDate =
      bMonthNames
          ? Two(hijri.iDay) + u' ' + QString::fromUtf16(kMonths[hijri.iMonth - 1]) + u' ' +
                QString::number(hijri.iYear)
          : Two(hijri.iDay) + u'/' + Two(hijri.iMonth) + u'/' + QString::number(hijri.iYear);
  const int iHour12 = value.Hour() % 12 == 0 ? 12 : value.Hour() % 12;
  return sDate + u' ' + Two(iHour12, ' ') + u':' + Two(value.Minute()) + u':' +
         Two(value.Second()) + sMillis +
         (value.Hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

}  // namespace twk::embedded
