// SPDX-License-Identifier: MIT
#include "TsqlTextFunctions.h"

#include <QList>
#include <algorithm>

#include "FunctionArguments.h"
#include "TsqlCollation.h"
#include "TsqlConvert.h"

namespace twk::embedded::TsqlTextFunctions {

namespace {

using Kind = tsql::SqlType::Kind;

qint64 Whole(sqlite3_value* pValue) {
  return sqlite3_value_int64(pValue);
}

void CheckLength(qint64 lLength, const char* sFunction) {
  if (lLength >= 0) return;
  FailTsql(536, QStringLiteral("Invalid length parameter passed to the %1 function.")
                    .arg(QLatin1String(sFunction)));
}

// The bytes of a value of a fixed-size type.
int FixedSize(const tsql::SqlType& type) {
  switch (type.kind) {
    case Kind::Bit:
    case Kind::TinyInt:
      return 1;
    case Kind::SmallInt:
      return 2;
    case Kind::Int:
    case Kind::SmallMoney:
    case Kind::Real:
    case Kind::SmallDateTime:
      return 4;
    case Kind::Date:
      return 3;
    case Kind::Decimal:
      return type.iPrecision <= 9 ? 5 : type.iPrecision <= 19 ? 9 : type.iPrecision <= 28 ? 13 : 17;
    case Kind::Time:
      return type.iScale <= 2 ? 3 : type.iScale <= 4 ? 4 : 5;
    case Kind::DateTime2:
      return type.iScale <= 2 ? 6 : type.iScale <= 4 ? 7 : 8;
    case Kind::UniqueIdentifier:
      return 16;
    default:
      return 8;  // bigint, money, float, datetime
  }
}

qsizetype Leading(const QString& sText) {
  qsizetype i = 0;
  while (i < sText.size() && sText[i] == u' ') ++i;
  return i;
}

}  // namespace

void Left(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lLength = Whole(ppArguments[1]);
  CheckLength(lLength, "left");
  ResultText(pContext, TextArgument(ppArguments[0]).left(qsizetype(lLength)));
}

void Right(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lLength = Whole(ppArguments[1]);
  CheckLength(lLength, "right");
  ResultText(pContext, TextArgument(ppArguments[0]).right(qsizetype(lLength)));
}

void Substring(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lStart = Whole(ppArguments[1]);
  const qint64 lLength = Whole(ppArguments[2]);
  CheckLength(lLength, "substring");
  const QString sText = TextArgument(ppArguments[0]);
  const qint64 lFirst = std::max<qint64>(lStart, 1);
  const qint64 lEnd = std::min<qint64>(lStart + lLength, sText.size() + 1);
  ResultText(pContext, lEnd <= lFirst ? QString()
                                      : sText.mid(qsizetype(lFirst - 1), qsizetype(lEnd - lFirst)));
}

void Len(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  sqlite3_result_int64(pContext,
                       TsqlCollation::WithoutTrailingBlanks(TextArgument(ppArguments[0])).size());
}

void DataLength(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (sqlite3_value_type(ppArguments[0]) == SQLITE_NULL) return sqlite3_result_null(pContext);
  (void)iCount;
  const tsql::SqlType& type = TsqlConvert::TypeArgument(pContext, ppArguments, 1);
  if (!type.IsText() && type.kind != Kind::VarBinary && type.kind != Kind::Null) {
    return sqlite3_result_int(pContext, FixedSize(type));
  }
  const qsizetype iCharacters = TextArgument(ppArguments[0]).size();
  sqlite3_result_int64(pContext, type.IsUnicode() ? iCharacters * 2 : iCharacters);
}

void Stuff(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(3, ppArguments)) return sqlite3_result_null(pContext);
  QString sText = TextArgument(ppArguments[0]);
  const qint64 lStart = Whole(ppArguments[1]);
  const qint64 lLength = Whole(ppArguments[2]);
  if (lStart < 1 || lLength < 0 || lStart > sText.size()) return sqlite3_result_null(pContext);
  const QString sWith = iCount > 3 ? TextArgument(ppArguments[3]) : QString();
  sText.replace(qsizetype(lStart - 1),
                qsizetype(std::min<qint64>(lLength, sText.size() - lStart + 1)), sWith);
  ResultText(pContext, sText);
}

void Replicate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lTimes = Whole(ppArguments[1]);
  if (lTimes < 0) return sqlite3_result_null(pContext);
  ResultText(pContext, TextArgument(ppArguments[0]).repeated(qsizetype(lTimes)));
}

void Reverse(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  QString sText = TextArgument(ppArguments[0]);
  std::reverse(sText.begin(), sText.end());
  ResultText(pContext, sText);
}

void Space(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const qint64 lCount = Whole(ppArguments[0]);
  if (lCount < 0) return sqlite3_result_null(pContext);
  ResultText(pContext, QString(qsizetype(std::min<qint64>(lCount, 8000)), u' '));
}

void LTrim(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sText = TextArgument(ppArguments[0]);
  ResultText(pContext, sText.mid(Leading(sText)));
}

void RTrim(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  ResultText(pContext,
             TsqlCollation::WithoutTrailingBlanks(TextArgument(ppArguments[0])).toString());
}

void Trim(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sText = TextArgument(ppArguments[0]);
  const QString sCharacters = iCount > 1 ? TextArgument(ppArguments[1]) : QStringLiteral(" ");
  const auto bTrimmed = [&](QChar c) {
    return std::any_of(sCharacters.begin(), sCharacters.end(), [c](QChar t) {
      return TsqlCollation::SameCharacter(c.unicode(), t.unicode());
    });
  };
  qsizetype iFirst = 0;
  qsizetype iEnd = sText.size();
  while (iFirst < iEnd && bTrimmed(sText[iFirst])) ++iFirst;
  while (iEnd > iFirst && bTrimmed(sText[iEnd - 1])) --iEnd;
  ResultText(pContext, sText.mid(iFirst, iEnd - iFirst));
}

// The server maps each character to one: upper('straße') keeps its ß where
// Qt's full mapping writes SS and makes the text longer. Qt's own is much
// quicker and every one of its longer mappings lengthens the text, so a text
// of the same length is the server's answer (lower(EMAIL) runs for every row
// of a table).
QString EachMapped(const QString& sText, bool bUpper) {
  QString sQuick = bUpper ? sText.toUpper() : sText.toLower();
  if (sQuick.size() == sText.size()) return sQuick;
  QString sMapped;
  sMapped.reserve(sText.size());
  for (const char32_t c : sText.toUcs4()) {
    const char32_t mapped = bUpper ? QChar::toUpper(c) : QChar::toLower(c);
    if (QChar::requiresSurrogates(mapped)) {
      sMapped.append(QChar(QChar::highSurrogate(mapped)))
          .append(QChar(QChar::lowSurrogate(mapped)));
    } else {
      sMapped.append(QChar(char16_t(mapped)));
    }
  }
  return sMapped;
}

void Upper(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  ResultText(pContext, EachMapped(TextArgument(ppArguments[0]), true));
}

void Lower(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  ResultText(pContext, EachMapped(TextArgument(ppArguments[0]), false));
}

// translate(text, from, to): each character of from, met without regard to
// case as the default collation meets it, becomes the one at its place in to.
void Translate(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  QString sText = TextArgument(ppArguments[0]);
  const QString sFrom = TextArgument(ppArguments[1]);
  const QString sTo = TextArgument(ppArguments[2]);
  if (sFrom.size() != sTo.size()) {
    FailTsql(9828, QStringLiteral("The second and third arguments of the TRANSLATE built-in "
                                  "function must contain an equal number of characters."));
  }
  for (QChar& c : sText) {
    for (qsizetype i = 0; i < sFrom.size(); ++i) {
      if (c.toCaseFolded() == sFrom[i].toCaseFolded()) {
        c = sTo[i];
        break;
      }
    }
  }
  ResultText(pContext, sText);
}

}  // namespace twk::embedded::TsqlTextFunctions
