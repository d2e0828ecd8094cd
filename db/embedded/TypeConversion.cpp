// SPDX-License-Identifier: MIT
#include "TypeConversion.h"

#include "TwkError.h"

namespace twk::embedded {

using tsql::SqlType;
using TypeKind = SqlType::Kind;

TypeConversion::LiteralValue TypeConversion::ValueOf(const tsql::Expr& literal) {
  const SqlType& type = literal.type;
  const QString& sValue = literal.sValue;
  if (type.kind == TypeKind::Null) {
    // Only NULL itself is of no type once bound; anything else is a literal
    // the binder left alone, which must not run as NULL.
    if (sValue.compare(u"null", Qt::CaseInsensitive) != 0) {
      throw TwkError(QStringLiteral("The literal ") + sValue +
                         QStringLiteral(" reached the emitter without a type."),
                     QStringLiteral("Emitter"));
    }
    return {{}, QStringLiteral("NULL")};
  }
  if (type.IsText() || type.kind == TypeKind::UniqueIdentifier || type.IsDateTime()) {
    return {sValue, std::nullopt};
  }
  if (type.kind == TypeKind::VarBinary) {
    const QString sHex = sValue.startsWith(u"0x", Qt::CaseInsensitive) ? sValue.mid(2) : sValue;
    return {
        {},
        QStringLiteral("X'") + (sHex.size() % 2 ? QStringLiteral("0") : QString()) + sHex + u'\''};
  }
  QString sNumber = sValue;
  sNumber.remove(u'$');
  if (type.IsInteger()) {
    bool bOk = false;
    const qlonglong lValue = sNumber.toLongLong(&bOk);
    if (bOk) return {lValue, std::nullopt};
  }
  return {sNumber.toDouble(), std::nullopt};
}

SqlType TypeConversion::TargetOf(const tsql::Expr& cast) {
  SqlType target = cast.type.kind != TypeKind::Null ? cast.type : cast.targetType;
  if (cast.type.kind == TypeKind::Null && !cast.bTargetLengthGiven && target.IsText()) {
    target.iLength = 30;
  }
  return target;
}

namespace {

int IntegerRank(TypeKind kind) {
  switch (kind) {
    case TypeKind::TinyInt:
      return 1;
    case TypeKind::SmallInt:
      return 2;
    case TypeKind::Int:
      return 3;
    case TypeKind::BigInt:
      return 4;
    default:
      return 0;
  }
}

bool LengthFits(const SqlType& source, const SqlType& target) {
  if (target.iLength == SqlType::Max) return true;
  return source.iLength != SqlType::Max && source.iLength <= target.iLength;
}

}  // namespace

bool TypeConversion::KeepsValue(const SqlType& source, const SqlType& target) {
  if (source == target || source.kind == TypeKind::Null) return true;
  // A longer varchar keeps every character; char would pad, so it converts.
  const bool bVarying = target.kind == TypeKind::VarChar || target.kind == TypeKind::NVarChar;
  if (source.IsText() && bVarying && LengthFits(source, target)) {
    return source.IsUnicode() == target.IsUnicode() || target.IsUnicode();
  }
  if (source.kind == TypeKind::Bit) return IntegerRank(target.kind) > 0;
  const int iSource = IntegerRank(source.kind);
  return iSource > 0 && IntegerRank(target.kind) >= iSource;
}

}  // namespace twk::embedded
