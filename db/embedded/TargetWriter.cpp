// SPDX-License-Identifier: MIT
#include "TargetWriter.h"

#include "ExpressionEmitter.h"

namespace twk::embedded {

using tsql::TableRef;

namespace {

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

const TableRef* FindExposed(const TableRef& ref, const QString& sName) {
  if (ref.kind == TableRef::Kind::Join) {
    if (const TableRef* pLeft = FindExposed(*ref.left, sName)) return pLeft;
    return FindExposed(*ref.right, sName);
  }
  if (ref.kind != TableRef::Kind::Named) return nullptr;
  return SameName(ref.sAlias.isEmpty() ? ref.name.Last() : ref.sAlias, sName) ? &ref : nullptr;
}

}  // namespace

TargetWriter::TargetWriter(SqlBuilder& sql, const tsql::Statement& statement,
                           const tsql::StatementBinding& binding)
    : sql_(sql), statement_(statement) {
  // The binder gives the target named by the statement as the source with
  // no table reference; an update naming an alias finds it by that name.
  const tsql::BoundSource* pTarget = nullptr;
  for (const tsql::BoundSource& source : binding.sources) {
    if (!source.ref) pTarget = &source;
  }
  for (const tsql::BoundSource& source : binding.sources) {
    if (!pTarget && SameName(source.sExposedName, statement.target.Last())) pTarget = &source;
  }
  if (pTarget) columns_ = pTarget->columns;
  // The truncation message names the table, not the alias it is updated by.
  const TableRef* pInFrom = InFrom();
  sTable_ = pTarget && !pTarget->object.parts.empty() ? pTarget->object.Last()
            : pInFrom                                 ? pInFrom->name.Last()
                                                      : statement.target.Last();
}

const tsql::CatalogColumn* TargetWriter::Find(const QString& sColumn) const {
  for (const tsql::CatalogColumn& column : columns_) {
    if (SameName(column.sName, sColumn)) return &column;
  }
  return nullptr;
}

void TargetWriter::Value(const QString& sColumn, const tsql::Expr& value) {
  Checked(sColumn, [&] { ExpressionEmitter(sql_).Emit(value); });
}

void TargetWriter::Checked(const QString& sColumn, const std::function<void()>& value) {
  const tsql::CatalogColumn* pColumn = Find(sColumn);
  const bool bLimited =
      pColumn && pColumn->type.IsText() && pColumn->type.iLength != tsql::SqlType::Max;
  if (!bLimited) return value();
  sql_.Append(u"tsql_check_length(");
  value();
  sql_.Append(u", ").Append(QString::number(pColumn->type.iLength)).Append(u", ");
  sql_.InlineString(sTable_).Append(u", ").InlineString(pColumn->sName);
  sql_.Append(u")");
}

void TargetWriter::Compound(const tsql::Assignment& assignment, const QString& sQualifier) {
  const QString& sColumn = assignment.column.Last();
  if (assignment.sOperator == u"=") return Value(sColumn, *assignment.value);
  const tsql::CatalogColumn* pColumn = Find(sColumn);
  const QString sOperator = assignment.sOperator.left(assignment.sOperator.size() - 1);
  Checked(sColumn, [&] {
    const bool bDivision = sOperator == u"/" || sOperator == u"%";
    const bool bText = pColumn && pColumn->type.IsText();
    if (bDivision) sql_.Append(sOperator == u"/" ? u"tsql_div(" : u"tsql_mod(");
    sql_.Append(u"(");
    if (!sQualifier.isEmpty()) sql_.Identifier(sQualifier).Append(u".");
    sql_.Identifier(sColumn).Append(u")");
    if (bDivision) {
      sql_.Append(u", ");
    } else {
      sql_.Append(bText && sOperator == u"+"
                      ? QStringLiteral(" || ")
                      : QStringLiteral(" ") + sOperator + QStringLiteral(" "));
    }
    sql_.Append(u"(");
    ExpressionEmitter(sql_).Emit(*assignment.value);
    sql_.Append(bDivision ? u"))" : u")");
  });
}

const TableRef* TargetWriter::FindInFrom(const tsql::Statement& statement) {
  for (const tsql::TableRefPtr& ref : statement.from) {
    if (const TableRef* pFound = FindExposed(*ref, statement.target.Last())) return pFound;
  }
  return nullptr;
}

QString TargetWriter::ExposedName(const TableRef* pInFrom, const tsql::ObjectName& target) {
  if (!pInFrom) return target.Last();
  return pInFrom->sAlias.isEmpty() ? pInFrom->name.Last() : pInFrom->sAlias;
}

}  // namespace twk::embedded
