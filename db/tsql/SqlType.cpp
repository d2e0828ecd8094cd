// SPDX-License-Identifier: MIT
#include "SqlType.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace twk::tsql {

namespace {

using Kind = SqlType::Kind;

struct KindName {
  const char* sName;
  Kind kind;
};

// Every spelling the server accepts for a base type, synonyms included.
constexpr std::array<KindName, 32> kNames{{
    {"bit", Kind::Bit},
    {"tinyint", Kind::TinyInt},
    {"smallint", Kind::SmallInt},
    {"int", Kind::Int},
    {"integer", Kind::Int},
    {"bigint", Kind::BigInt},
    {"smallmoney", Kind::SmallMoney},
    {"money", Kind::Money},
    {"decimal", Kind::Decimal},
    {"dec", Kind::Decimal},
    {"numeric", Kind::Decimal},
    {"real", Kind::Real},
    {"float", Kind::Float},
    {"double precision", Kind::Float},
    {"char", Kind::Char},
    {"character", Kind::Char},
    {"varchar", Kind::VarChar},
    {"char varying", Kind::VarChar},
    {"character varying", Kind::VarChar},
    {"nchar", Kind::NChar},
    {"national char", Kind::NChar},
    {"national character", Kind::NChar},
    {"nvarchar", Kind::NVarChar},
    {"national char varying", Kind::NVarChar},
    {"national character varying", Kind::NVarChar},
    {"date", Kind::Date},
    {"time", Kind::Time},
    {"smalldatetime", Kind::SmallDateTime},
    {"datetime", Kind::DateTime},
    {"datetime2", Kind::DateTime2},
    {"uniqueidentifier", Kind::UniqueIdentifier},
    {"varbinary", Kind::VarBinary},
}};

const char* BaseName(Kind kind) {
  switch (kind) {
    case Kind::Null:
      return "null";
    case Kind::VarBinary:
      return "varbinary";
    case Kind::UniqueIdentifier:
      return "uniqueidentifier";
    case Kind::Char:
      return "char";
    case Kind::VarChar:
      return "varchar";
    case Kind::NChar:
      return "nchar";
    case Kind::NVarChar:
      return "nvarchar";
    case Kind::Bit:
      return "bit";
    case Kind::TinyInt:
      return "tinyint";
    case Kind::SmallInt:
      return "smallint";
    case Kind::Int:
      return "int";
    case Kind::BigInt:
      return "bigint";
    case Kind::SmallMoney:
      return "smallmoney";
    case Kind::Money:
      return "money";
    case Kind::Decimal:
      return "decimal";
    case Kind::Real:
      return "real";
    case Kind::Float:
      return "float";
    case Kind::Time:
      return "time";
    case Kind::Date:
      return "date";
    case Kind::SmallDateTime:
      return "smalldatetime";
    case Kind::DateTime:
      return "datetime";
    case Kind::DateTime2:
      return "datetime2";
  }
  return "null";
}

bool HasLength(Kind kind) {
  return kind == Kind::Char || kind == Kind::VarChar || kind == Kind::NChar ||
         kind == Kind::NVarChar || kind == Kind::VarBinary;
}

// The most characters a text of this kind may declare before it must say max.
int LengthLimit(Kind kind) {
  return kind == Kind::NChar || kind == Kind::NVarChar ? 4000 : 8000;
}

std::optional<SqlType> ReadName(QStringView sName) {
  static const QRegularExpression pattern(
      QStringLiteral(
          R"(^\s*\[?\s*([a-z][a-z0-9 ]*?)\s*\]?\s*(?:\(\s*(max|\d+)\s*(?:,\s*(\d+)\s*)?\))?\s*$)"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(sName.toString());
  if (!match.hasMatch()) return std::nullopt;
  const QString sBase = match.captured(1).toLower().simplified();
  const auto found = std::find_if(kNames.begin(), kNames.end(), [&](const KindName& n) {
    return sBase == QLatin1String(n.sName);
  });
  if (found == kNames.end()) return std::nullopt;
  SqlType type = SqlType::Of(found->kind);
  const QString sFirst = match.captured(2).toLower();
  const bool bHasFirst = !sFirst.isEmpty();
  const bool bHasSecond = match.hasCaptured(3) && !match.captured(3).isEmpty();
  if (HasLength(type.kind)) {
    if (bHasSecond) return std::nullopt;
    type.iLength = !bHasFirst ? 1 : sFirst == QLatin1String("max") ? SqlType::Max : sFirst.toInt();
    if (type.iLength == 0 || type.iLength > LengthLimit(type.kind)) return std::nullopt;
    if (type.iLength == SqlType::Max && (type.kind == Kind::Char || type.kind == Kind::NChar))
      return std::nullopt;
    return type;
  }
  if (sFirst == QLatin1String("max")) return std::nullopt;
  if (type.kind == Kind::Decimal) {
    type.iPrecision = bHasFirst ? sFirst.toInt() : 18;
    type.iScale = bHasSecond ? match.captured(3).toInt() : 0;
    if (type.iPrecision < 1 || type.iPrecision > 38 || type.iScale > type.iPrecision)
      return std::nullopt;
    return type;
  }
  if (type.kind == Kind::Float && bHasFirst && !bHasSecond) {
    // float(n) is real up to 24 bits of mantissa, float beyond.
    const int iBits = sFirst.toInt();
    if (iBits < 1 || iBits > 53) return std::nullopt;
    return SqlType::Of(iBits <= 24 ? Kind::Real : Kind::Float);
  }
  if (type.kind == Kind::DateTime2 || type.kind == Kind::Time) {
    if (bHasSecond) return std::nullopt;
    type.iScale = bHasFirst ? sFirst.toInt() : 7;
    if (type.iScale > 7) return std::nullopt;
    return type;
  }
  if (bHasFirst) return std::nullopt;
  return type;
}

}  // namespace

bool SqlType::IsText() const noexcept {
  return kind == Kind::Char || kind == Kind::VarChar || kind == Kind::NChar ||
         kind == Kind::NVarChar;
}

bool SqlType::IsUnicode() const noexcept {
  return kind == Kind::NChar || kind == Kind::NVarChar;
}

bool SqlType::IsInteger() const noexcept {
  return kind >= Kind::Bit && kind <= Kind::BigInt;
}

bool SqlType::IsExactNumeric() const noexcept {
  return kind >= Kind::Bit && kind <= Kind::Decimal;
}

bool SqlType::IsNumeric() const noexcept {
  return kind >= Kind::Bit && kind <= Kind::Float;
}

bool SqlType::IsDateTime() const noexcept {
  return kind >= Kind::Time && kind <= Kind::DateTime2;
}

QString SqlType::Name() const {
  const QString sBase = QString::fromLatin1(BaseName(kind));
  if (HasLength(kind)) {
    return iLength == Max ? sBase + QStringLiteral("(max)")
                          : QStringLiteral("%1(%2)").arg(sBase).arg(iLength);
  }
  if (kind == Kind::Decimal) return QStringLiteral("decimal(%1,%2)").arg(iPrecision).arg(iScale);
  if ((kind == Kind::DateTime2 || kind == Kind::Time) && iScale != 7) {
    return QStringLiteral("%1(%2)").arg(sBase).arg(iScale);
  }
  return sBase;
}

std::optional<SqlType> SqlType::Parse(QStringView sName) {
  // A convert reads its type names again at every run of its statement, and
  // the pattern costs more than the rest of a one-row insert: each thread
  // keeps the answers, a few hundred names at most.
  thread_local QHash<QString, std::optional<SqlType>> known;
  const QString sKey = sName.toString();
  if (const auto found = known.constFind(sKey); found != known.cend()) return *found;
  if (known.size() >= 512) known.clear();
  const std::optional<SqlType> type = ReadName(sName);
  known.insert(sKey, type);
  return type;
}

SqlType SqlType::Common(const SqlType& a, const SqlType& b) {
  if (a.kind == Kind::Null) return b;
  if (b.kind == Kind::Null) return a;
  if (a.kind == Kind::Decimal || b.kind == Kind::Decimal) {
    if (std::max(a.kind, b.kind) != Kind::Decimal) return a.kind > b.kind ? a : b;
    // An integer or money side counts with the precision it needs.
    auto digits = [](const SqlType& t) -> std::pair<int, int> {
      switch (t.kind) {
        case Kind::Decimal:
          return {t.iPrecision, t.iScale};
        case Kind::Bit:
          return {1, 0};
        case Kind::TinyInt:
          return {3, 0};
        case Kind::SmallInt:
          return {5, 0};
        case Kind::Int:
          return {10, 0};
        case Kind::BigInt:
          return {19, 0};
        case Kind::SmallMoney:
          return {10, 4};
        case Kind::Money:
          return {19, 4};
        default:
          return {18, 0};
      }
    };
    const auto [iP1, iS1] = digits(a);
    const auto [iP2, iS2] = digits(b);
    const int iScale = std::max(iS1, iS2);
    const int iWhole = std::max(iP1 - iS1, iP2 - iS2);
    return Of(Kind::Decimal, 0, std::min(38, iWhole + iScale), iScale);
  }
  if (a.kind != b.kind) return a.kind > b.kind ? a : b;
  SqlType result = a;
  if (HasLength(a.kind)) {
    result.iLength = a.iLength == Max || b.iLength == Max ? Max : std::max(a.iLength, b.iLength);
  }
  result.iScale = std::max(a.iScale, b.iScale);
  return result;
}

SqlType SqlType::Of(Kind kind, int iLength, int iPrecision, int iScale) {
  SqlType type;
  type.kind = kind;
  type.iLength = iLength;
  type.iPrecision = iPrecision;
  type.iScale = iScale;
  return type;
}

}  // namespace twk::tsql
