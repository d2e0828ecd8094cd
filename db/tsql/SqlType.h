// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace twk::tsql {

/// A T-SQL data type as the server reads it: its kind with length, precision
/// and scale. The engine carries one for every expression, variable and column
/// so that it converts, compares and formats values as the server does.
struct SqlType {
  /// Ordered by the server's data type precedence, highest last: when two
  /// types meet in an expression the one further down this list wins.
  enum class Kind {
    Null,  // the type of a bare NULL: takes any other
    VarBinary,
    Char,
    VarChar,
    NChar,
    NVarChar,
    UniqueIdentifier,
    Bit,
    TinyInt,
    SmallInt,
    Int,
    BigInt,
    SmallMoney,
    Money,
    Decimal,  // numeric too
    Real,
    Float,
    Time,
    Date,
    SmallDateTime,
    DateTime,
    DateTime2,
  };

  /// iLength for varchar(max) and nvarchar(max).
  static constexpr int Max = -1;

  Kind kind = Kind::Null;
  int iLength = 0;     // characters, or Max; text and binary kinds only
  int iPrecision = 0;  // decimal only (1..38)
  int iScale = 0;      // decimal, and the fraction digits of datetime2/time

  bool IsText() const noexcept;
  bool IsUnicode() const noexcept;
  bool IsInteger() const noexcept;       // bit, tinyint .. bigint
  bool IsExactNumeric() const noexcept;  // integers, money, decimal
  bool IsNumeric() const noexcept;       // exact numerics, real, float
  bool IsDateTime() const noexcept;      // date, time and every datetime kind

  /// The type's name as T-SQL writes it, lower case: "varchar(10)",
  /// "decimal(12,2)", "nvarchar(max)", "datetime". Parse reads it back.
  QString Name() const;

  /// Reads a type name as written in T-SQL (any case, blanks allowed, brackets
  /// around the name allowed), applying the server's defaults: varchar and
  /// char without a length are 1 long here (the caller applies the 30 of cast
  /// and convert), decimal is (18,0), datetime2 and time have 7 fraction
  /// digits. Synonyms map onto one kind (numeric, integer, double precision,
  /// character varying, national ...). Empty for a name that is no type.
  static std::optional<SqlType> Parse(QStringView sName);

  /// The type of the result when values of these two types meet in an
  /// operator or a case: the kind of higher precedence, with length,
  /// precision and scale combined as the server combines them for a union
  /// or a case (for + and * on decimals see DecimalResult).
  static SqlType Common(const SqlType& a, const SqlType& b);

  static SqlType Of(Kind kind, int iLength = 0, int iPrecision = 0, int iScale = 0);

  friend bool operator==(const SqlType&, const SqlType&) = default;
};

}  // namespace twk::tsql
