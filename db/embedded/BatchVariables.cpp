// SPDX-License-Identifier: MIT
#include "BatchVariables.h"

#include "TsqlConvert.h"
#include "TsqlError.h"

namespace twk::embedded {

namespace {

TsqlValue ToValue(const QVariant& value) {
  if (value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
      return TsqlValue::Integer(value.toLongLong());
    case QMetaType::Double:
      return TsqlValue::Real(value.toDouble());
    default:
      return TsqlValue::Text(value.toString());
  }
}

QVariant FromValue(const TsqlValue& value) {
  switch (value.storage) {
    case TsqlValue::Storage::Integer:
      return QVariant(value.lInteger);
    case TsqlValue::Storage::Real:
      return QVariant(value.dReal);
    case TsqlValue::Storage::Text:
      return QVariant(value.sText);
    default:
      return {};
  }
}

}  // namespace

void BatchVariables::Declare(const QString& sName, const tsql::SqlType& type) {
  variables_.insert(sName.toLower(), Variable{type, QVariant()});
}

QVariant BatchVariables::Value(const QString& sName) const {
  const auto found = variables_.constFind(sName.toLower());
  return found == variables_.constEnd() ? QVariant() : found->value;
}

tsql::SqlType BatchVariables::Type(const QString& sName) const {
  const auto found = variables_.constFind(sName.toLower());
  return found == variables_.constEnd() ? tsql::SqlType() : found->type;
}

void BatchVariables::Assign(const QString& sName, const QVariant& value, const tsql::SqlType& from,
                            int iLine) {
  const auto found = variables_.find(sName.toLower());
  if (found == variables_.end()) {
    throw tsql::TsqlError(137, QStringLiteral("Must declare the scalar variable \"") + sName + u'"',
                          iLine);
  }
  found->value = Convert(value, from, found->type, iLine);
}

QVariant BatchVariables::Convert(const QVariant& value, const tsql::SqlType& from,
                                 const tsql::SqlType& to, int iLine) {
  if (value.isNull()) return {};
  if (from == to || from.kind == tsql::SqlType::Kind::Null) return value;
  try {
    return FromValue(TsqlConvert::Convert(ToValue(value), from, to, -1));
  } catch (const TwkError& error) {
    throw tsql::TsqlError(error.Number(), error.Description(), iLine);
  }
}

}  // namespace twk::embedded
