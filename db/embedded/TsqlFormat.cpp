// SPDX-License-Identifier: MIT
#include "TsqlFormat.h"

#include "FunctionArguments.h"
#include "TsqlConvert.h"
#include "TsqlDateText.h"
#include "TsqlDateValue.h"
#include "TsqlNumberFormat.h"

namespace twk::embedded {

namespace {

// The en-US meaning of each standard date pattern.
QString StandardDatePattern(QChar c) {
  switch (c.unicode()) {
    case u'd':
      return QStringLiteral("M/d/yyyy");
    case u'D':
      return QStringLiteral("dddd, MMMM d, yyyy");
    case u'f':
      return QStringLiteral("dddd, MMMM d, yyyy h:mm tt");
    case u'F':
      return QStringLiteral("dddd, MMMM d, yyyy h:mm:ss tt");
    case u'g':
      return QStringLiteral("M/d/yyyy h:mm tt");
    case u'G':
      return QStringLiteral("M/d/yyyy h:mm:ss tt");
    case u'm':
    case u'M':
      return QStringLiteral("MMMM d");
    case u'y':
    case u'Y':
      return QStringLiteral("MMMM yyyy");
    case u't':
      return QStringLiteral("h:mm tt");
    case u'T':
      return QStringLiteral("h:mm:ss tt");
    case u's':
      return QStringLiteral("yyyy'-'MM'-'dd'T'HH':'mm':'ss");
    case u'o':
    case u'O':
      return QStringLiteral("yyyy'-'MM'-'dd'T'HH':'mm':'ss'.'fffffff");
    default:
      return {};
  }
}

QString Digits(qint64 lValue, int iWidth) {
  return QString::number(lValue).rightJustified(iWidth, u'0');
}

}  // namespace

QString TsqlFormat::DateToken(const TsqlDateValue& value, QChar letter, int iRun) {
  const int iHour12 = value.Hour() % 12 == 0 ? 12 : value.Hour() % 12;
  switch (letter.unicode()) {
    case u'y':
      return iRun == 2   ? Digits(value.date.year() % 100, 2)
             : iRun == 1 ? QString::number(value.date.year() % 100)
                         : Digits(value.date.year(), iRun);
    case u'M':
      return iRun >= 4   ? TsqlDateText::MonthName(value.date.month(), false)
             : iRun == 3 ? TsqlDateText::MonthName(value.date.month(), true)
                         : Digits(value.date.month(), iRun);
    case u'd':
      return iRun >= 4   ? TsqlDateText::DayName(value.date.dayOfWeek())
             : iRun == 3 ? TsqlDateText::DayName(value.date.dayOfWeek()).left(3)
                         : Digits(value.date.day(), iRun);
    case u'H':
      return Digits(value.Hour(), qMin(iRun, 2));
    case u'h':
      return Digits(iHour12, qMin(iRun, 2));
    case u'm':
      return Digits(value.Minute(), qMin(iRun, 2));
    case u's':
      return Digits(value.Second(), qMin(iRun, 2));
    case u'f':
      return Digits(value.Fraction(), 7).left(qMin(iRun, 7));
    case u'F': {
      QString sFraction = Digits(value.Fraction(), 7).left(qMin(iRun, 7));
      while (sFraction.endsWith(u'0')) sFraction.chop(1);
      return sFraction;
    }
    case u't':
      return (value.Hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"))
          .left(iRun >= 2 ? 2 : 1);
    default:
      return QString(iRun, letter);
  }
}

QString TsqlFormat::CustomDate(const TsqlDateValue& value, const QString& sPattern) {
  static const QString sLetters = QStringLiteral("yMdHhmsfFt");
  QString sText;
  for (qsizetype i = 0; i < sPattern.size(); ++i) {
    const QChar c = sPattern[i];
    if (c == u'\'' || c == u'"') {
      const qsizetype iEnd = sPattern.indexOf(c, i + 1);
      sText += sPattern.mid(i + 1, (iEnd < 0 ? sPattern.size() : iEnd) - i - 1);
      i = iEnd < 0 ? sPattern.size() : iEnd;
    } else if (c == u'\\' && i + 1 < sPattern.size()) {
      sText += sPattern[++i];
    } else if (sLetters.contains(c)) {
      qsizetype iRun = 1;
      while (i + iRun < sPattern.size() && sPattern[i + iRun] == c) ++iRun;
      sText += DateToken(value, c, int(iRun));
      i += iRun - 1;
    } else if (c != u'%') {
      sText += c;
    }
  }
  return sText;
}

std::optional<QString> TsqlFormat::FormatDate(const TsqlDateValue& value, const QString& sPattern) {
  if (sPattern.size() == 1) {
    const QString sStandard = StandardDatePattern(sPattern[0]);
    if (sStandard.isEmpty()) return std::nullopt;
    return CustomDate(value, sStandard);
  }
  return CustomDate(value, sPattern);
}

void TsqlFormat::Function(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(3, ppArguments)) return sqlite3_result_null(pContext);
  if (iCount > 3) {
    const QString sCulture = TextArgument(ppArguments[3]).toLower();
    if (!sCulture.isEmpty() && sCulture != u"en-us") return sqlite3_result_null(pContext);
  }
  const tsql::SqlType& type = TsqlConvert::TypeArgument(pContext, ppArguments, 1);
  const QString sPattern = TextArgument(ppArguments[2]);
  std::optional<QString> text;
  if (type.IsDateTime()) {
    text = FormatDate(TsqlDateValue::Argument(TextArgument(ppArguments[0])), sPattern);
  } else if (type.IsNumeric()) {
    const bool bWhole = sqlite3_value_type(ppArguments[0]) == SQLITE_INTEGER;
    text = TsqlNumberFormat::Format(sqlite3_value_double(ppArguments[0]), bWhole, sPattern);
  } else {
    FailTsql(8116,
             QStringLiteral("Argument data type %1 is invalid for argument 1 of format function.")
                 .arg(type.Name().section(u'(', 0, 0)));
  }
  if (!text) return sqlite3_result_null(pContext);
  ResultText(pContext, *text);
}

}  // namespace twk::embedded
