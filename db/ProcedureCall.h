// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

namespace twk {

/// Values bound to named parameters (with their at-sign) while a stored
/// procedure's body runs; names match without regard to case.
using ParameterBindings = std::vector<std::pair<QString, QVariant>>;

/// One argument of an exec statement: positional (empty name) or "@name = value".
struct ProcedureArgument {
  QString sName;
  QVariant value;
};

/// An "exec name args" / "execute name args" statement, read from SQL text.
struct ProcedureCall {
  QString sName;
  std::vector<ProcedureArgument> arguments;
  /// Where the statement ends in the text it was read from.
  qsizetype iEnd = 0;

  /// Reads the statement that starts with exec or execute at iPos. Arguments
  /// are literals ('text' with '' escapes, N'text', numbers, NULL) or, inside
  /// a procedure or after a declare, the names of variables (looked up in
  /// pScope; without one they are only read, as null). Arguments are
  /// separated by commas; the statement ends after the last argument.
  /// Throws TwkError on bad syntax.
  static ProcedureCall Parse(const QString& sText, qsizetype iPos, const ParameterBindings* pScope);
};

/// The bound value of a parameter, matched without regard to case; nullptr
/// when the name is not bound.
const QVariant* FindBinding(const ParameterBindings& bindings, const QString& sName);
QVariant* FindBinding(ParameterBindings& bindings, const QString& sName);

}  // namespace twk
