// SPDX-License-Identifier: MIT
#include "TsqlConvert.h"

#include <QRegularExpression>
#include <memory>
#include <new>

#include "FunctionArguments.h"
#include "TsqlDateStyles.h"
#include "TsqlDateValue.h"
#include "TsqlNumberConversion.h"
#include "TsqlNumberText.h"
#include "TwkError.h"

namespace twk::embedded {

namespace {

using Kind = tsql::SqlType::Kind;
using tsql::SqlType;

bool IsTextValue(const TsqlValue& value, const SqlType& from) {
  return value.storage == TsqlValue::Storage::Text && (from.IsText() || from.kind == Kind::Null);
}

// A number as text, by the rules of its type.
QString NumberText(const TsqlValue& value, const SqlType& from, int iStyle) {
  switch (from.kind) {
    case Kind::Decimal:
      return TsqlNumberText::Fixed(value.Number(), from.iScale);
    case Kind::Money:
    case Kind::SmallMoney:
      return TsqlNumberText::Money(value.Number(), iStyle);
    case Kind::Real:
    case Kind::Float:
      return TsqlNumberText::Float(value.Number(), iStyle);
    default:
      return value.storage == TsqlValue::Storage::Integer ? QString::number(value.lInteger)
                                                          : QString::number(qint64(value.dReal));
  }
}

// A text that does not fit: texts and dates are cut, an int shows "*" in
// varchar, the rest fail as the server fails them.
QString Fitted(QString sText, const SqlType& from, const SqlType& to) {
  if (to.iLength == SqlType::Max) return sText;
  if (sText.size() > to.iLength) {
    if (from.IsNumeric() && !(from.IsInteger() && !to.IsUnicode())) {
      FailTsql(8115, QStringLiteral("Arithmetic overflow error converting %1 to data type %2.")
                         .arg(from.IsInteger() ? QStringLiteral("expression")
                                               : TsqlNumberConversion::MessageName(from),
                              TsqlNumberConversion::MessageName(to)));
    }
    if (from.IsInteger()) return QStringLiteral("*");
    sText.truncate(to.iLength);
  }
  if (to.kind == Kind::Char || to.kind == Kind::NChar)
    sText = sText.leftJustified(to.iLength, u' ');
  return sText;
}

TsqlValue ToText(const TsqlValue& value, const SqlType& from, const SqlType& to, int iStyle) {
  QString sText;
  if (value.storage == TsqlValue::Storage::Text && from.IsDateTime()) {
    sText = TsqlDateStyles::Write(TsqlDateValue::Argument(value.sText), from, iStyle);
  } else if (value.storage == TsqlValue::Storage::Text) {
    sText = value.sText;
  } else {
    sText = NumberText(value, from, iStyle);
  }
  return TsqlValue::Text(Fitted(std::move(sText), from, to));
}

TsqlDateValue DateFromText(const QString& sText, const SqlType& from, const SqlType& to,
                           int iStyle) {
  bool bOutOfRange = false;
  const std::optional<TsqlDateValue> date = TsqlDateValue::Parse(sText, iStyle, &bOutOfRange);
  if (date) return *date;
  if (bOutOfRange && (to.kind == Kind::DateTime || to.kind == Kind::SmallDateTime)) {
    TsqlDateValue tooEarly;
    tooEarly.date = QDate(1, 1, 1);
    tooEarly.CheckRange(to, TsqlNumberConversion::MessageName(
                                from.kind == Kind::Null ? SqlType::Of(Kind::VarChar) : from));
  }
  FailTsql(241, QStringLiteral(
                    "Conversion failed when converting date and/or time from character string."));
}

TsqlDateValue DateFromNumber(const TsqlValue& value, const SqlType& from, const SqlType& to) {
  if (!from.IsNumeric() || (to.kind != Kind::DateTime && to.kind != Kind::SmallDateTime)) {
    TsqlNumberConversion::FailNotAllowed(from, to);
  }
  return TsqlDateValue::FromDays(value.Number());
}

TsqlValue ToDate(const TsqlValue& value, const SqlType& from, const SqlType& to, int iStyle) {
  TsqlDateValue date;
  if (IsTextValue(value, from)) {
    date = DateFromText(value.sText, from, to, iStyle);
  } else if (from.IsDateTime()) {
    if ((from.kind == Kind::Time && to.kind == Kind::Date) ||
        (from.kind == Kind::Date && to.kind == Kind::Time)) {
      TsqlNumberConversion::FailNotAllowed(from, to);
    }
    date = TsqlDateValue::Argument(value.sText);
  } else {
    date = DateFromNumber(value, from, to);
  }
  const TsqlDateValue rounded = date.RoundedFor(to);
  rounded.CheckRange(to, TsqlNumberConversion::MessageName(
                             from.kind == Kind::Null ? SqlType::Of(Kind::VarChar) : from));
  return TsqlValue::Text(rounded.Stored(to));
}

TsqlValue ToIdentifier(const TsqlValue& value, const SqlType& from, const SqlType& to) {
  static const QRegularExpression guid(
      QStringLiteral("^\\{?[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}?$"),
      QRegularExpression::CaseInsensitiveOption);
  if (value.storage != TsqlValue::Storage::Text) TsqlNumberConversion::FailNotAllowed(from, to);
  const QString sText = value.sText.trimmed();
  if (!guid.match(sText).hasMatch()) {
    FailTsql(8169,
             QStringLiteral(
                 "Conversion failed when converting from a character string to uniqueidentifier."));
  }
  return TsqlValue::Text(sText.toUpper().remove(u'{').remove(u'}'));
}

// A date column written in a style, the conversion run on every row of a
// report: read and written as bytes. False leaves the value to Convert.
bool StoredDateToText(sqlite3_context* pContext, sqlite3_value* pValue, const SqlType& from,
                      const SqlType& to, int iStyle) {
  if (!from.IsDateTime() || !to.IsText() || to.kind == Kind::Char || to.kind == Kind::NChar ||
      sqlite3_value_type(pValue) != SQLITE_TEXT) {
    return false;
  }
  const std::optional<TsqlDateValue> value = TsqlDateValue::FromStored(Utf8Argument(pValue));
  TsqlDateStyles::Ascii text;
  if (!value || !TsqlDateStyles::WriteAscii(*value, from, iStyle, &text)) return false;
  const int iLength = to.iLength == SqlType::Max ? text.iLength : qMin(text.iLength, to.iLength);
  sqlite3_result_text(pContext, text.acText, qMax(iLength, 0), SQLITE_TRANSIENT);
  return true;
}

void DeleteType(void* p) {
  std::unique_ptr<SqlType> owned(static_cast<SqlType*>(p));
}

void Run(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments, bool bTry) {
  const SqlType& from = TsqlConvert::TypeArgument(pContext, ppArguments, 1);
  const SqlType& to = TsqlConvert::TypeArgument(pContext, ppArguments, 2);
  const bool bStyle = iCount > 3 && sqlite3_value_type(ppArguments[3]) != SQLITE_NULL;
  const int iStyle = bStyle ? sqlite3_value_int(ppArguments[3]) : -1;
  try {
    if (StoredDateToText(pContext, ppArguments[0], from, to, iStyle)) return;
    TsqlConvert::Convert(TsqlValue::Of(ppArguments[0]), from, to, iStyle).SetResult(pContext);
  } catch (const TwkError& error) {
    if (!bTry || !TsqlConvert::TryAnswersNull(error.Number())) throw;
    sqlite3_result_null(pContext);
  }
}

}  // namespace

TsqlValue TsqlConvert::Convert(const TsqlValue& value, const SqlType& from, const SqlType& to,
                               int iStyle) {
  if (value.IsNull()) return {};
  if (to.IsText()) return ToText(value, from, to, iStyle);
  if (to.IsDateTime()) return ToDate(value, from, to, iStyle);
  if (to.kind == Kind::UniqueIdentifier) return ToIdentifier(value, from, to);
  if (from.IsDateTime() && !IsTextValue(value, from) && from.kind != Kind::DateTime &&
      from.kind != Kind::SmallDateTime) {
    TsqlNumberConversion::FailNotAllowed(from, to);
  }
  if (to.IsNumeric()) return TsqlNumberConversion::Convert(value, from, to);
  TsqlNumberConversion::FailNotAllowed(from, to);
}

bool TsqlConvert::TryAnswersNull(long lNumber) {
  return lNumber != 529 && lNumber != 281;
}

const SqlType& TsqlConvert::TypeArgument(sqlite3_context* pContext, sqlite3_value** ppArguments,
                                         int iIndex) {
  if (auto* pType = static_cast<SqlType*>(sqlite3_get_auxdata(pContext, iIndex))) return *pType;
  const QString sName = TextArgument(ppArguments[iIndex]);
  const std::optional<SqlType> type = SqlType::Parse(sName);
  if (!type) FailTsql(243, QStringLiteral("Type %1 is not a defined system type.").arg(sName));
  auto owned = std::make_unique<SqlType>(*type);
  SqlType* pType = owned.get();
  sqlite3_set_auxdata(pContext, iIndex, owned.release(), DeleteType);
  if (sqlite3_get_auxdata(pContext, iIndex) != pType) throw std::bad_alloc();
  return *pType;
}

void TsqlConvert::Function(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  Run(pContext, iCount, ppArguments, false);
}

void TsqlConvert::TryFunction(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  Run(pContext, iCount, ppArguments, true);
}

}  // namespace twk::embedded
