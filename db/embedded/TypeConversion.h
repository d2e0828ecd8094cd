// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

#include "Ast.h"

namespace twk::embedded {

/// What the emitter needs to know of types and literals: the value a literal
/// is bound with, and which conversions leave SQLite's value as it is.
class TypeConversion {
 public:
  struct LiteralValue {
    QVariant value;                  // text, qlonglong or double
    std::optional<QString> sInline;  // set when it must be written as is (NULL, 0x..)
  };

  /// A literal's value in the engine's representation: text for strings,
  /// INTEGER for whole numbers, REAL for decimals, floats and money.
  static LiteralValue ValueOf(const tsql::Expr& literal);

  /// The type a cast or convert gives: a bare varchar is 30 long there.
  static tsql::SqlType TargetOf(const tsql::Expr& cast);

  /// Whether converting a value of one type to the other leaves SQLite's
  /// value unchanged, so that no tsql_convert needs to be written.
  static bool KeepsValue(const tsql::SqlType& source, const tsql::SqlType& target);
};

}  // namespace twk::embedded
