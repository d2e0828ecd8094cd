// SPDX-License-Identifier: MIT
#include "SqlBuilder.h"

#include "TsqlError.h"

namespace twk::embedded {

SqlBuilder& SqlBuilder::Append(QStringView sText) {
  sql_.sSql += sText;
  return *this;
}

SqlBuilder& SqlBuilder::Identifier(QStringView sName) {
  sql_.sSql += u'"';
  for (const QChar c : sName) {
    if (c == u'"') sql_.sSql += u'"';
    sql_.sSql += c;
  }
  sql_.sSql += u'"';
  return *this;
}

SqlBuilder& SqlBuilder::InlineString(QStringView sText) {
  sql_.sSql += u'\'';
  for (const QChar c : sText) {
    if (c == u'\'') sql_.sSql += u'\'';
    sql_.sSql += c;
  }
  sql_.sSql += u'\'';
  return *this;
}

SqlBuilder& SqlBuilder::Parameter(EmittedParameter parameter) {
  sql_.sSql += u'?';
  sql_.parameters.push_back(std::move(parameter));
  return *this;
}

SqlBuilder& SqlBuilder::Collate() {
  sql_.sSql += u" COLLATE ";
  return Identifier(kCollation);
}

bool SqlBuilder::IsPrivate(const tsql::ObjectName& name) {
  return !name.parts.empty() && (name.Last().startsWith(u'#') || name.Last().startsWith(u'@'));
}

SqlBuilder& SqlBuilder::Table(const tsql::ObjectName& name) {
  if (IsPrivate(name)) Identifier(kTemporarySchema).Append(u".");
  return Identifier(name.Last());
}

int SqlBuilder::RowValue(const tsql::Expr& e) const noexcept {
  if (!pRowValues_) return -1;
  for (size_t i = 0; i < pRowValues_->size(); ++i) {
    if ((*pRowValues_)[i] == &e) return int(i);
  }
  return -1;
}

EmittedSql SqlBuilder::Take() {
  EmittedSql taken = std::move(sql_);
  sql_ = EmittedSql();
  return taken;
}

void RefuseConstruct(tsql::Refusals::Construct construct, const tsql::SourceSpan& span) {
  tsql::Refusals::Refuse(construct, span.iLine);
}

}  // namespace twk::embedded
