// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "Ast.h"
#include "EmittedSql.h"
#include "Refusals.h"

namespace twk::embedded {

/// The text of one SQLite statement as the emitter writes it, with its
/// parameters in the order of their "?". Names are always quoted, so that
/// no T-SQL name can be read by SQLite as a keyword.
class SqlBuilder {
 public:
  /// The schema of the connection's private in-memory database, where
  /// #tables and table variables live.
  static constexpr char16_t kTemporarySchema[] = u"twk_temp";
  /// The collation the engine registers for the server's text comparisons.
  static constexpr char16_t kCollation[] = u"TSQL";

  SqlBuilder& Append(QStringView sText);
  SqlBuilder& Identifier(QStringView sName);
  /// 'text' with its quotes doubled, written into the statement itself.
  SqlBuilder& InlineString(QStringView sText);
  SqlBuilder& Parameter(EmittedParameter parameter);
  /// Notes a literal of the tree written into the text as it is.
  void Inlined(const tsql::Expr& literal) { sql_.inlinedLiterals.push_back(&literal); }
  /// " COLLATE "TSQL"".
  SqlBuilder& Collate();

  /// A table as SQLite names it: "Name" for a table of the database (its
  /// schema and database parts dropped), "twk_temp"."#t" for a #table and
  /// "twk_temp"."@t" for a table variable. A table variable's name starts
  /// with @, which no #table and no name of the database can.
  SqlBuilder& Table(const tsql::ObjectName& name);
  static bool IsPrivate(const tsql::ObjectName& name);
  /// The name a table is known by inside its statement when it has no alias.
  static const QString& ExposedName(const tsql::ObjectName& name) { return name.Last(); }

  /// While set, literals are written into the text (DDL takes no parameters).
  void SetInlineLiterals(bool bInline) noexcept { bInlineLiterals_ = bInline; }
  bool InlineLiterals() const noexcept { return bInlineLiterals_; }

  /// While set, each of these expressions is written as a parameter taking
  /// the value of that index in the row an assigning select read.
  void SetRowValues(const std::vector<const tsql::Expr*>* pValues) noexcept {
    pRowValues_ = pValues;
  }
  /// The index of the expression among the row values, or -1.
  int RowValue(const tsql::Expr& e) const noexcept;

  const QString& Text() const noexcept { return sql_.sSql; }
  EmittedSql Take();

 private:
  EmittedSql sql_;
  bool bInlineLiterals_ = false;
  const std::vector<const tsql::Expr*>* pRowValues_ = nullptr;
};

/// Throws the engine's refusal of valid T-SQL that it does not run, naming
/// the construct and the line it is on.
[[noreturn]] void RefuseConstruct(tsql::Refusals::Construct construct,
                                  const tsql::SourceSpan& span);

}  // namespace twk::embedded
