// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "SqlType.h"

namespace twk::tsql {

/// The server's rules for types meeting in an operator: which conversions it
/// makes by itself, which an author must ask for, the type an operator's
/// operands convert to and the type of its result. Each rule that the server
/// refuses throws the TsqlError it gives, numbered and worded as it words it.
class TypeRules {
 public:
  enum class Conversion { Implicit, Explicit, None };

  /// Whether a value of one type converts to the other by itself, only by
  /// cast or convert, or not at all.
  static Conversion ConversionOf(const SqlType& from, const SqlType& to);

  /// The operands of an arithmetic or bitwise operator ("+", "-", "*", "/",
  /// "%", "&", "|", "^"): the type each converts to (null when it stays as it
  /// is, as in concatenation) and the type of the result.
  struct Operation {
    SqlType left;
    SqlType right;
    SqlType result;
  };
  static Operation Arithmetic(const QString& sOperator, const SqlType& a, const SqlType& b,
                              int iLine);

  /// The type both sides of a comparison (or of in, between, a simple case)
  /// convert to: the one of higher precedence, checked for a conversion.
  static SqlType Comparison(const QString& sOperator, const SqlType& a, const SqlType& b,
                            int iLine);

  /// The type a value converts to when it meets a type of higher precedence:
  /// the other type itself, except that an integer or money meeting a
  /// decimal becomes the decimal of the digits it needs.
  static SqlType ConvertedType(const SqlType& from, const SqlType& to);

  /// Checks that a value of type `from` can be stored in, or assigned to,
  /// type `to` without a cast: 206 or 257 as the server gives them.
  static void CheckAssignment(const SqlType& from, const SqlType& to, int iLine);

  /// Checks a cast or convert: 529 for a conversion the server never makes.
  static void CheckExplicit(const SqlType& from, const SqlType& to, int iLine);

  /// Decimal arithmetic as the server documents it: precision and scale of
  /// the result of two decimals (integers and money count as the decimals
  /// of their digits), reduced to 38 digits the way the server reduces them.
  static SqlType DecimalResult(QChar cOperator, const SqlType& a, const SqlType& b);

  /// A decimal of the digits a value of an exact numeric type needs.
  static SqlType AsDecimal(const SqlType& type);

  /// Characters a value of the type needs when it is converted to text.
  static int TextLength(const SqlType& type);

  /// The name of a type as the server's messages print it: no length.
  static QString MessageName(const SqlType& type);

  /// The operator's name in the server's messages: "add", "equal to", ...
  static QString OperatorName(const QString& sOperator);
};

}  // namespace twk::tsql
