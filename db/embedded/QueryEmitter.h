// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "SqlBuilder.h"

namespace twk::embedded {

/// Writes a query expression as one SQLite select: top and offset/fetch as
/// limits at the level they belong to, text compared under TSQL where a
/// distinct or set operator compares rows, derived tables and common tables
/// with their column names, and "for xml path" as an aggregate.
class QueryEmitter {
 public:
  explicit QueryEmitter(SqlBuilder& sql) : sql_(sql) {}

  void Emit(const tsql::QueryExpr& query);
  /// The query with its first column named sFirst, whatever the author named it.
  void EmitNamingFirst(const tsql::QueryExpr& query, const QString& sFirst);
  /// A select core's query with these values as its select list ("1" for none).
  void EmitRowValues(const tsql::QueryExpr& query, const std::vector<const tsql::Expr*>& values);
  /// (select ... for xml path(''), type).value('.', type): the values
  /// concatenated as they are, without tags or escapes.
  void EmitXmlValue(const tsql::Expr& value);
  /// The from list, comma separated, its first item after sFirst.
  void From(const std::vector<tsql::TableRefPtr>& from, QStringView sFirst = u" FROM ");
  void With(const std::vector<tsql::CommonTable>& with);
  void OrderBy(const std::vector<tsql::OrderItem>& order);

  /// The name the server gives a select list item: its alias, or the
  /// column's name, or empty.
  static QString ItemName(const tsql::SelectItem& item);

 private:
  struct XmlForm {
    QString sRow;
    bool bValue = false;
  };

  void Body(const tsql::QueryExpr& query, bool bCollate);
  void Operand(const tsql::QueryExpr& query, bool bCollate, bool bLeft);
  void Core(const tsql::SelectCore& core, bool bCollate, const XmlForm* pXml = nullptr);
  void SelectList(const tsql::SelectCore& core, bool bCollate);
  void Limit(const tsql::SelectCore* pCore, const tsql::QueryExpr& query);
  void TopPercent(const tsql::SelectCore& core);
  void TableReference(const tsql::TableRef& ref);
  void Derived(const tsql::TableRef& ref);
  void Xml(const tsql::QueryExpr& query, bool bValue);
  void XmlRow(const tsql::SelectCore& core, const XmlForm& form);
  void XmlEscaped(const tsql::Expr& value);

  SqlBuilder& sql_;
  // EmitRowValues: the select list of the next core, that of the query itself.
  const std::vector<const tsql::Expr*>* pRowValues_ = nullptr;
  // EmitNamingFirst: the name of the next select list's first column.
  QString sFirstName_;
};

}  // namespace twk::embedded
