// SPDX-License-Identifier: MIT
#include "SqliteConversionFunctions.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cmath>
#include <optional>

#include "SqliteHandles.h"

namespace twk {

namespace {

void ResultError(sqlite3_context* pContext, const QString& sMessage) {
  const QByteArray message = sMessage.toUtf8();
  sqlite3_result_error(pContext, message.constData(), int(message.size()));
}

bool AnyNull(int iCount, sqlite3_value** ppArguments) {
  for (int i = 0; i < iCount; ++i) {
    if (sqlite3_value_type(ppArguments[i]) == SQLITE_NULL) return true;
  }
  return false;
}

// A text argument that the translator quoted: a type or a date part.
QString Keyword(sqlite3_value* pValue) {
  QString sText = ArgumentText(pValue).trimmed().toLower();
  if (sText.size() >= 2 && sText.startsWith(u'\'') && sText.endsWith(u'\'')) {
    sText = sText.mid(1, sText.size() - 2);
  }
  return sText;
}

// Dates are kept as text the way getdate() writes them.
const QString sDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString sDateFormat = QStringLiteral("yyyy-MM-dd");

struct DateValue {
  QDateTime when;
  bool bHasTime = true;
};

// The pattern of a convert style, for dates written and read.
QString StyleFormat(int iStyle) {
  switch (iStyle) {
    case 101: return QStringLiteral("MM/dd/yyyy");
    case 103: return QStringLiteral("dd/MM/yyyy");
    case 104: return QStringLiteral("dd.MM.yyyy");
    case 105: return QStringLiteral("dd-MM-yyyy");
    case 106: return QStringLiteral("dd MMM yyyy");
    case 107: return QStringLiteral("MMM dd, yyyy");
    case 108: return QStringLiteral("HH:mm:ss");
    case 110: return QStringLiteral("MM-dd-yyyy");
    case 111: return QStringLiteral("yyyy/MM/dd");
    case 112: return QStringLiteral("yyyyMMdd");
    case 23: return sDateFormat;
    case 120: return sDateTimeFormat;
    case 121: return QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
    default: return {};
  }
}

std::optional<DateValue> ParseDate(const QString& sText, int iStyle = 0) {
  const QString sTrimmed = sText.trimmed();
  const QLocale c = QLocale::c();
  if (const QString sStyle = StyleFormat(iStyle); !sStyle.isEmpty()) {
    const QDateTime when = c.toDateTime(sTrimmed, sStyle);
    if (when.isValid()) return DateValue{when, sStyle.contains(u'H')};
  }
  for (const char* sFormat : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm",
                              "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss"}) {
    const QDateTime when = c.toDateTime(sTrimmed, QString::fromLatin1(sFormat));
    if (when.isValid()) return DateValue{when, true};
  }
  for (const char* sFormat : {"yyyy-MM-dd", "yyyyMMdd", "yyyy/MM/dd"}) {
    const QDate day = c.toDate(sTrimmed, QString::fromLatin1(sFormat));
    if (day.isValid()) return DateValue{QDateTime(day, QTime(0, 0)), false};
  }
  return std::nullopt;
}

std::optional<DateValue> DateArgument(sqlite3_value* pValue) {
  return ParseDate(ArgumentText(pValue));
}

void ResultDate(sqlite3_context* pContext, const DateValue& date) {
  ResultText(pContext, date.when.toString(date.bHasTime ? sDateTimeFormat : sDateFormat));
}

const QString sBadDate =
    QStringLiteral("Conversion failed when converting date and/or time from character string.");

// A number written as text, read as the server converts text to numbers.
std::optional<double> TextNumber(const QString& sText, bool bWholeOnly) {
  const QString sTrimmed = sText.trimmed();
  bool bOk = false;
  if (bWholeOnly) {
    const qint64 lValue = sTrimmed.toLongLong(&bOk);
    if (bOk) return double(lValue);
    return std::nullopt;
  }
  const double dValue = sTrimmed.toDouble(&bOk);
  if (!bOk || !std::isfinite(dValue)) return std::nullopt;
  return dValue;
}

void PushNumber(sqlite3_context* pContext, double dValue, bool bWhole) {
  if (bWhole && std::abs(dValue) < 9.2e18) {
    sqlite3_result_int64(pContext, qint64(dValue));
  } else {
    sqlite3_result_double(pContext, dValue);
  }
}

// T-SQL "+": texts are joined, numbers added, and a text meets a number as
// a number or fails.
void Plus(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) {
    sqlite3_result_null(pContext);
    return;
  }
  const int iLeft = sqlite3_value_type(ppArguments[0]);
  const int iRight = sqlite3_value_type(ppArguments[1]);
  const bool bLeftText = iLeft == SQLITE_TEXT || iLeft == SQLITE_BLOB;
  const bool bRightText = iRight == SQLITE_TEXT || iRight == SQLITE_BLOB;
  if (bLeftText && bRightText) {
    ResultText(pContext, ArgumentText(ppArguments[0]) + ArgumentText(ppArguments[1]));
    return;
  }
  if (!bLeftText && !bRightText) {
    if (iLeft == SQLITE_INTEGER && iRight == SQLITE_INTEGER) {
      sqlite3_result_int64(pContext, sqlite3_value_int64(ppArguments[0]) +
                                         sqlite3_value_int64(ppArguments[1]));
    } else {
      sqlite3_result_double(pContext, sqlite3_value_double(ppArguments[0]) +
                                          sqlite3_value_double(ppArguments[1]));
    }
    return;
  }
  sqlite3_value* pText = bLeftText ? ppArguments[0] : ppArguments[1];
  sqlite3_value* pNumber = bLeftText ? ppArguments[1] : ppArguments[0];
  const bool bWhole = sqlite3_value_type(pNumber) == SQLITE_INTEGER;
  const QString sText = ArgumentText(pText);
  const std::optional<double> value = TextNumber(sText, bWhole);
  if (!value) {
    ResultError(pContext, QStringLiteral("Conversion failed when converting the varchar value '%1' "
                                         "to data type %2.")
                              .arg(sText, bWhole ? QStringLiteral("int") : QStringLiteral("float")));
    return;
  }
  PushNumber(pContext, *value + sqlite3_value_double(pNumber), bWhole);
}

struct TypeName {
  QString sBase;
  int iLength = -1;  // -1: none given, 0: max
  int iScale = 0;
};

TypeName ParseType(const QString& sType) {
  TypeName type;
  const qsizetype iOpen = sType.indexOf(u'(');
  type.sBase = (iOpen < 0 ? sType : sType.left(iOpen)).simplified();
  if (iOpen >= 0) {
    const QStringList sizes = sType.mid(iOpen + 1).remove(u')').split(u',');
    type.iLength = sizes.value(0).trimmed() == u"max" ? 0 : sizes.value(0).trimmed().toInt();
    type.iScale = sizes.value(1).trimmed().toInt();
  }
  return type;
}

bool IsOneOf(const QString& sBase, std::initializer_list<const char*> names) {
  for (const char* sName : names) {
    if (sBase == QLatin1StringView(sName)) return true;
  }
  return false;
}

QString NumberText(sqlite3_value* pValue) {
  if (sqlite3_value_type(pValue) == SQLITE_FLOAT) {
    return QString::number(sqlite3_value_double(pValue), 'g', 15);
  }
  return ArgumentText(pValue);
}

// The conversion behind cast and convert, as the server does it for the
// common types.
void Convert(sqlite3_context* pContext, const QString& sType, sqlite3_value* pValue, int iStyle) {
  if (sqlite3_value_type(pValue) == SQLITE_NULL) {
    sqlite3_result_null(pContext);
    return;
  }
  const TypeName type = ParseType(sType);
  const int iKind = sqlite3_value_type(pValue);
  const bool bText = iKind == SQLITE_TEXT || iKind == SQLITE_BLOB;
  if (IsOneOf(type.sBase, {"int", "integer", "bigint", "smallint", "tinyint", "bit"})) {
    if (!bText) {
      const double dValue = sqlite3_value_double(pValue);
      PushNumber(pContext, type.sBase == u"bit" ? double(dValue != 0) : std::trunc(dValue), true);
      return;
    }
    const QString sText = ArgumentText(pValue);
    const std::optional<double> value = TextNumber(sText, true);
    if (!value) {
      ResultError(pContext, QStringLiteral("Conversion failed when converting the varchar value "
                                           "'%1' to data type %2.")
                                .arg(sText, type.sBase));
      return;
    }
    PushNumber(pContext, type.sBase == u"bit" ? double(*value != 0) : *value, true);
    return;
  }
  if (IsOneOf(type.sBase, {"decimal", "numeric", "money", "smallmoney", "float", "real",
                           "double precision"})) {
    std::optional<double> value;
    if (bText) {
      value = TextNumber(ArgumentText(pValue), false);
    } else {
      value = sqlite3_value_double(pValue);
    }
    if (!value) {
      ResultError(pContext, QStringLiteral("Error converting data type varchar to %1.").arg(type.sBase));
      return;
    }
    double dValue = *value;
    const bool bScaled = type.sBase == u"decimal" || type.sBase == u"numeric";
    const int iScale = bScaled ? type.iScale : (type.sBase.endsWith(u"money") ? 4 : -1);
    if (iScale >= 0) dValue = std::round(dValue * std::pow(10.0, iScale)) / std::pow(10.0, iScale);
    if (bScaled && iScale == 0) {
      PushNumber(pContext, dValue, true);
    } else {
      sqlite3_result_double(pContext, dValue);
      // SQLite keeps no scale: the subtype carries it to a convert to text
      // that takes this value directly, so that 185 reads 185.00 there too.
      if (bScaled) sqlite3_result_subtype(pContext, unsigned(iScale) + 1);
    }
    return;
  }
  if (IsOneOf(type.sBase, {"date", "datetime", "datetime2", "smalldatetime"})) {
    const std::optional<DateValue> date = ParseDate(ArgumentText(pValue), iStyle);
    if (!date) {
      ResultError(pContext, sBadDate);
      return;
    }
    ResultDate(pContext, DateValue{date->when, type.sBase != u"date"});
    return;
  }
  if (IsOneOf(type.sBase, {"varchar", "nvarchar", "char", "nchar", "text", "ntext", "sysname"})) {
    QString sText = bText ? ArgumentText(pValue) : NumberText(pValue);
    if (const unsigned iScaleTag = sqlite3_value_subtype(pValue); !bText && iScaleTag > 0) {
      sText = QString::number(sqlite3_value_double(pValue), 'f', int(iScaleTag) - 1);
    }
    if (const QString sStyle = StyleFormat(iStyle); bText && !sStyle.isEmpty()) {
      if (const std::optional<DateValue> date = ParseDate(sText)) {
        sText = QLocale::c().toString(date->when, sStyle);
      }
    }
    // Without a length the server's cast and convert keep 30 characters.
    const int iLength = type.iLength < 0 ? 30 : type.iLength;
    if (iLength > 0 && sText.size() > iLength) sText.truncate(iLength);
    ResultText(pContext, sText);
    return;
  }
  ResultError(pContext, QStringLiteral("Type %1 is not a defined system type.").arg(type.sBase));
}

void Cast(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  Convert(pContext, Keyword(ppArguments[1]), ppArguments[0], 0);
}

void ConvertFunction(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  const int iStyle = iCount > 2 ? sqlite3_value_int(ppArguments[2]) : 0;
  Convert(pContext, Keyword(ppArguments[0]), ppArguments[1], iStyle);
}

enum class Part { Year, Quarter, Month, Day, Week, Hour, Minute, Second, Weekday, DayOfYear, None };

Part DatePart(const QString& sPart) {
  if (IsOneOf(sPart, {"year", "yy", "yyyy"})) return Part::Year;
  if (IsOneOf(sPart, {"quarter", "qq", "q"})) return Part::Quarter;
  if (IsOneOf(sPart, {"month", "mm", "m"})) return Part::Month;
  if (IsOneOf(sPart, {"day", "dd", "d"})) return Part::Day;
  if (IsOneOf(sPart, {"week", "wk", "ww"})) return Part::Week;
  if (IsOneOf(sPart, {"hour", "hh"})) return Part::Hour;
  if (IsOneOf(sPart, {"minute", "mi", "n"})) return Part::Minute;
  if (IsOneOf(sPart, {"second", "ss", "s"})) return Part::Second;
  if (IsOneOf(sPart, {"weekday", "dw", "w"})) return Part::Weekday;
  if (IsOneOf(sPart, {"dayofyear", "dy", "y"})) return Part::DayOfYear;
  return Part::None;
}

void FailPart(sqlite3_context* pContext, const QString& sFunction, const QString& sPart) {
  ResultError(pContext,
              QStringLiteral("'%1' is not a recognized %2 option.").arg(sPart, sFunction));
}

// datediff counts the boundaries crossed, as the server does: from 31
// December to 1 January is one year.
void DateDiff(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) {
    sqlite3_result_null(pContext);
    return;
  }
  const QString sPart = Keyword(ppArguments[0]);
  const std::optional<DateValue> from = DateArgument(ppArguments[1]);
  const std::optional<DateValue> to = DateArgument(ppArguments[2]);
  if (!from || !to) {
    ResultError(pContext, sBadDate);
    return;
  }
  const QDate a = from->when.date();
  const QDate b = to->when.date();
  const qint64 lSeconds = qint64(a.daysTo(b)) * 86400 +
                          (to->when.time().msecsSinceStartOfDay() / 1000 -
                           from->when.time().msecsSinceStartOfDay() / 1000);
  const auto boundaries = [&](qint64 lUnit) {
    const qint64 lStart = from->when.toSecsSinceEpoch();
    const qint64 lEnd = lStart + lSeconds;
    const auto floorDiv = [](qint64 x, qint64 y) { return x / y - ((x % y != 0) && ((x < 0) != (y < 0))); };
    return floorDiv(lEnd, lUnit) - floorDiv(lStart, lUnit);
  };
  qint64 lResult = 0;
  switch (DatePart(sPart)) {
    case Part::Year: lResult = b.year() - a.year(); break;
    case Part::Quarter: lResult = (b.year() - a.year()) * 4 + ((b.month() - 1) / 3 - (a.month() - 1) / 3); break;
    case Part::Month: lResult = (b.year() - a.year()) * 12 + (b.month() - a.month()); break;
    case Part::Day:
    case Part::DayOfYear: lResult = a.daysTo(b); break;
    case Part::Week: lResult = (a.daysTo(b) + (a.dayOfWeek() % 7) - (b.dayOfWeek() % 7)) / 7; break;
    case Part::Hour: lResult = boundaries(3600); break;
    case Part::Minute: lResult = boundaries(60); break;
    case Part::Second: lResult = lSeconds; break;
    default: FailPart(pContext, QStringLiteral("datediff"), sPart); return;
  }
  sqlite3_result_int64(pContext, lResult);
}

void DateAdd(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) {
    sqlite3_result_null(pContext);
    return;
  }
  const QString sPart = Keyword(ppArguments[0]);
  const qint64 lAmount = sqlite3_value_int64(ppArguments[1]);
  std::optional<DateValue> date = DateArgument(ppArguments[2]);
  if (!date) {
    ResultError(pContext, sBadDate);
    return;
  }
  QDateTime& when = date->when;
  switch (DatePart(sPart)) {
    case Part::Year: when = when.addYears(int(lAmount)); break;
    case Part::Quarter: when = when.addMonths(int(lAmount * 3)); break;
    case Part::Month: when = when.addMonths(int(lAmount)); break;
    case Part::Day:
    case Part::DayOfYear:
    case Part::Weekday: when = when.addDays(lAmount); break;
    case Part::Week: when = when.addDays(lAmount * 7); break;
    case Part::Hour: when = when.addSecs(lAmount * 3600); date->bHasTime = true; break;
    case Part::Minute: when = when.addSecs(lAmount * 60); date->bHasTime = true; break;
    case Part::Second: when = when.addSecs(lAmount); date->bHasTime = true; break;
    default: FailPart(pContext, QStringLiteral("dateadd"), sPart); return;
  }
  ResultDate(pContext, *date);
}

void DatePartFunction(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) {
    sqlite3_result_null(pContext);
    return;
  }
  const QString sPart = Keyword(ppArguments[0]);
  const std::optional<DateValue> date = DateArgument(ppArguments[1]);
  if (!date) {
    ResultError(pContext, sBadDate);
    return;
  }
  const QDate day = date->when.date();
  const QTime time = date->when.time();
  qint64 lResult = 0;
  switch (DatePart(sPart)) {
    case Part::Year: lResult = day.year(); break;
    case Part::Quarter: lResult = (day.month() - 1) / 3 + 1; break;
    case Part::Month: lResult = day.month(); break;
    case Part::Day: lResult = day.day(); break;
    case Part::DayOfYear: lResult = day.dayOfYear(); break;
    case Part::Weekday: lResult = day.dayOfWeek() % 7 + 1; break;  // Sunday is 1
    case Part::Week: lResult = (day.dayOfYear() + QDate(day.year(), 1, 1).dayOfWeek() % 7 - 1) / 7 + 1; break;
    case Part::Hour: lResult = time.hour(); break;
    case Part::Minute: lResult = time.minute(); break;
    case Part::Second: lResult = time.second(); break;
    default: FailPart(pContext, QStringLiteral("datepart"), sPart); return;
  }
  sqlite3_result_int64(pContext, lResult);
}

}  // namespace

// A decimal's scale travels to the text conversion as the value's subtype.
#ifdef SQLITE_RESULT_SUBTYPE
constexpr int kScaleFlags = SQLITE_SUBTYPE | SQLITE_RESULT_SUBTYPE;
#else
constexpr int kScaleFlags = 0;
#endif

void RegisterConversionFunctions(sqlite3* pDb) {
  RegisterFunction(pDb, "twk_plus", 2, true, Plus, kScaleFlags);
  RegisterFunction(pDb, "twk_cast", 2, true, Cast, kScaleFlags);
  RegisterFunction(pDb, "convert", 2, true, ConvertFunction, kScaleFlags);
  RegisterFunction(pDb, "convert", 3, true, ConvertFunction, kScaleFlags);
  RegisterFunction(pDb, "datediff", 3, true, DateDiff, kScaleFlags);
  RegisterFunction(pDb, "dateadd", 3, true, DateAdd, kScaleFlags);
  RegisterFunction(pDb, "datepart", 2, true, DatePartFunction, kScaleFlags);
}

}  // namespace twk
