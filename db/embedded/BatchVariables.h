// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include "SqlType.h"

namespace twk::embedded {

/// The scalar variables of one batch: each holds a value of its declared
/// type. Every value assigned is converted to that type as the server
/// converts an assignment (a longer text is cut to a varchar's length, a
/// number rounded to a decimal's scale); a failed conversion is the
/// server's error on the assigning statement's line.
class BatchVariables {
 public:
  void Declare(const QString& sName, const tsql::SqlType& type);
  bool Has(const QString& sName) const { return variables_.contains(sName.toLower()); }
  QVariant Value(const QString& sName) const;
  tsql::SqlType Type(const QString& sName) const;
  /// Assigns a value of type from.
  void Assign(const QString& sName, const QVariant& value, const tsql::SqlType& from, int iLine);

  /// A value converted between two types, as the engine stores both.
  static QVariant Convert(const QVariant& value, const tsql::SqlType& from, const tsql::SqlType& to,
                          int iLine);

 private:
  struct Variable {
    tsql::SqlType type;
    QVariant value;
  };
  QHash<QString, Variable> variables_;  // by the name in lower case
};

}  // namespace twk::embedded
