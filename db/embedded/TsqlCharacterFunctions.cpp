// SPDX-License-Identifier: MIT
#include "TsqlCharacterFunctions.h"

#include <QRegularExpression>

#include "FunctionArguments.h"
#include "TsqlCollation.h"
#include "TsqlNumberText.h"

namespace twk::embedded::TsqlCharacterFunctions {

namespace {

// Code page 1252 from 0x80 to 0x9F; 0 where it has no character.
constexpr char16_t kCodePage1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int CodePageByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i) {
    if (kCodePage1252[i] == c) return 0x80 + i;
  }
  return '?';  // what varchar keeps of a character outside its code page
}

bool IsNumericText(const QString& sText) {
  static const QRegularExpression number(
      QStringLiteral("^\\s*[+-]?\\s*[$\\x{00A3}\\x{00A5}\\x{20AC}]?\\s*[+-]?(\\d[\\d,]*\\.?\\d*(["
                     "eEdD][+-]?\\d+)?|\\.\\d*([eEdD][+-]?\\d+)?|,[\\d,]*)?\\s*$"));
  const QString sTrimmed = sText.trimmed();
  return !sTrimmed.isEmpty() && number.match(sText).hasMatch();
}

void CheckArgumentCount(int iCount, int iLeast, const char* sFunction) {
  if (iCount >= iLeast && iCount <= 254) return;
  FailTsql(189, QStringLiteral("The %1 function requires %2 to 254 arguments.")
                    .arg(QLatin1String(sFunction))
                    .arg(iLeast));
}

QString Stars(qint64 lLength) {
  return QString(qsizetype(lLength), u'*');
}

}  // namespace

void Ascii(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sText = TextArgument(ppArguments[0]);
  if (sText.isEmpty()) return sqlite3_result_null(pContext);
  sqlite3_result_int(pContext, CodePageByte(sText[0].unicode()));
}

void Char(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lCode = sqlite3_value_int64(ppArguments[0]);
  if (lCode < 0 || lCode > 255) return sqlite3_result_null(pContext);
  const char16_t c = lCode >= 0x80 && lCode < 0xA0 ? kCodePage1252[lCode - 0x80] : char16_t(lCode);
  ResultText(pContext, c == 0 && lCode != 0 ? QStringLiteral("?") : QString(QChar(c)));
}

void NChar(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lCode = sqlite3_value_int64(ppArguments[0]);
  if (lCode < 0 || lCode > 0x10FFFF) return sqlite3_result_null(pContext);
  const char32_t c = char32_t(lCode);
  ResultText(pContext, QString::fromUcs4(&c, 1));
}

void Unicode(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QList<uint> codes = TextArgument(ppArguments[0]).left(2).toUcs4();
  if (codes.isEmpty()) return sqlite3_result_null(pContext);
  sqlite3_result_int64(pContext, codes.front());
}

void Concat(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  CheckArgumentCount(iCount, 2, "concat");
  QString sText;
  for (int i = 0; i < iCount; ++i) {
    if (sqlite3_value_type(ppArguments[i]) != SQLITE_NULL) sText += TextArgument(ppArguments[i]);
  }
  ResultText(pContext, sText);
}

void ConcatWs(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  CheckArgumentCount(iCount, 3, "concat_ws");
  const QString sSeparator = TextArgument(ppArguments[0]);
  QStringList parts;
  for (int i = 1; i < iCount; ++i) {
    if (sqlite3_value_type(ppArguments[i]) != SQLITE_NULL) parts += TextArgument(ppArguments[i]);
  }
  ResultText(pContext, parts.join(sSeparator));
}

void QuoteName(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sName = TextArgument(ppArguments[0]);
  const QString sQuote = iCount > 1 ? TextArgument(ppArguments[1]) : QStringLiteral("[");
  // Either side of a pair names the pair.
  static const QString sSides = QStringLiteral("[]()<>{}\"\"''``");
  const qsizetype iSide = sQuote.size() == 1 ? sSides.indexOf(sQuote[0]) : -1;
  if (iSide < 0 || sName.size() > 128) return sqlite3_result_null(pContext);
  const QChar open = sSides[iSide & ~qsizetype(1)];
  const QChar close = sSides[iSide | 1];
  QString sEscaped = sName;
  sEscaped.replace(close, QString(2, close));
  ResultText(pContext, open + sEscaped + close);
}

void Str(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const double dValue = sqlite3_value_double(ppArguments[0]);
  const qint64 lLength = iCount > 1 ? sqlite3_value_int64(ppArguments[1]) : 10;
  const qint64 lDecimals = iCount > 2 ? qMin<qint64>(sqlite3_value_int64(ppArguments[2]), 16) : 0;
  if (lLength <= 0 || lLength > 8000 || lDecimals < 0) return sqlite3_result_null(pContext);
  const QString sWhole = TsqlNumberText::Fixed(dValue, 0);
  if (sWhole.size() > lLength) return ResultText(pContext, Stars(lLength));
  // Decimals give way before the whole part does.
  const qint64 lRoom = lLength - sWhole.size() - 1;
  const int iDecimals = int(qMin(lDecimals, qMax<qint64>(lRoom, 0)));
  QString sText = TsqlNumberText::Fixed(dValue, iDecimals);
  if (sText.size() > lLength) return ResultText(pContext, Stars(lLength));
  ResultText(pContext, sText.rightJustified(qsizetype(lLength), u' '));
}

void IsNumeric(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  switch (sqlite3_value_type(ppArguments[0])) {
    case SQLITE_NULL:
      return sqlite3_result_int(pContext, 0);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return sqlite3_result_int(pContext, 1);
    default:
      sqlite3_result_int(pContext, IsNumericText(TextArgument(ppArguments[0])) ? 1 : 0);
  }
}

void CheckLength(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  if (sqlite3_value_type(ppArguments[0]) == SQLITE_NULL) return sqlite3_result_null(pContext);
  const QString sText = TextArgument(ppArguments[0]);
  const qint64 lLimit = sqlite3_value_int64(ppArguments[1]);
  if (TsqlCollation::WithoutTrailingBlanks(sText).size() > lLimit) {
    FailTsql(2628,
             QStringLiteral("String or binary data would be truncated in table '%1', column '%2'. "
                            "Truncated value: '%3'.")
                 .arg(TextArgument(ppArguments[2]), TextArgument(ppArguments[3]),
                      sText.left(qsizetype(lLimit))));
  }
  // Blanks past the length go silently, as the server stores them.
  if (sText.size() > lLimit) return ResultText(pContext, sText.left(qsizetype(lLimit)));
  sqlite3_result_value(pContext, ppArguments[0]);
}

}  // namespace twk::embedded::TsqlCharacterFunctions
