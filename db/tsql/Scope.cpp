// SPDX-License-Identifier: MIT
#include "Scope.h"

#include "TsqlError.h"

namespace twk::tsql {

namespace {

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Joined(const std::vector<QString>& parts) {
  QString sJoined;
  for (const QString& sPart : parts)
    sJoined += (sJoined.isEmpty() ? QString() : QStringLiteral(".")) + sPart;
  return sJoined;
}

// Whether `qualifier` (the parts before a column's name) designates the
// source: an aliased source answers to its alias alone, a table also to its
// schema-qualified name.
bool Designates(const BoundSource& source, const std::vector<QString>& qualifier) {
  if (qualifier.empty() || !SameName(qualifier.back(), source.sExposedName)) return false;
  const bool bAliased = source.ref != nullptr && !source.ref->sAlias.isEmpty();
  if (qualifier.size() == 1) return true;
  if (bAliased || source.object.parts.size() < 2) return qualifier.size() == 2 && !bAliased;
  const auto& parts = source.object.parts;
  for (size_t i = 2; i <= qualifier.size() && i <= parts.size(); ++i) {
    if (!SameName(qualifier[qualifier.size() - i], parts[parts.size() - i])) return false;
  }
  return true;
}

}  // namespace

int Scope::AddSource(BoundSource source, int iLine) {
  for (int iSource : sources_) {
    if (SameName(binding_.sources[iSource].sExposedName, source.sExposedName)) {
      throw TsqlError(1013,
                      QStringLiteral("The objects \"") + source.sExposedName +
                          QStringLiteral("\" and \"") + binding_.sources[iSource].sExposedName +
                          QStringLiteral("\" in the FROM clause have duplicate exposed names. Use "
                                         "correlation names to distinguish them."),
                      iLine);
    }
  }
  binding_.sources.push_back(std::move(source));
  sources_.push_back(static_cast<int>(binding_.sources.size()) - 1);
  return sources_.back();
}

int Scope::FindHere(const std::vector<QString>& parts, BoundColumn& found) const {
  const std::vector<QString> qualifier(parts.begin(), parts.end() - 1);
  int iMatches = 0;
  for (int iSource : sources_) {
    const BoundSource& source = binding_.sources[iSource];
    if (!qualifier.empty() && !Designates(source, qualifier)) continue;
    for (size_t i = 0; i < source.columns.size(); ++i) {
      if (!SameName(source.columns[i].sName, parts.back())) continue;
      if (iMatches++ == 0) found = {iSource, static_cast<int>(i), -1};
      break;
    }
  }
  return iMatches;
}

int Scope::FindSource(const std::vector<QString>& qualifier) const {
  for (const Scope* scope = this; scope != nullptr; scope = scope->outer_) {
    for (int iSource : scope->sources_) {
      if (Designates(binding_.sources[iSource], qualifier)) return iSource;
    }
  }
  return -1;
}

void Scope::ResolveColumn(Expr& expr) const {
  const std::vector<QString>& parts = expr.name.parts;
  BoundColumn found;
  for (const Scope* scope = this; scope != nullptr; scope = scope->outer_) {
    const int iMatches = scope->FindHere(parts, found);
    if (iMatches > 1) {
      throw TsqlError(
          209, QStringLiteral("Ambiguous column name '") + parts.back() + QStringLiteral("'."),
          expr.span.iLine);
    }
    if (iMatches == 1) {
      binding_.columns.push_back(found);
      expr.iBinding = static_cast<int>(binding_.columns.size()) - 1;
      expr.type = binding_.sources[found.iSource].columns[found.iColumn].type;
      return;
    }
  }
  if (parts.size() > 1 && FindSource({parts.begin(), parts.end() - 1}) < 0) {
    throw TsqlError(4104,
                    QStringLiteral("The multi-part identifier \"") + Joined(parts) +
                        QStringLiteral("\" could not be bound."),
                    expr.span.iLine);
  }
  throw TsqlError(207,
                  QStringLiteral("Invalid column name '") + parts.back() + QStringLiteral("'."),
                  expr.span.iLine);
}

std::vector<int> Scope::StarSources(const Expr& star) const {
  if (sources_.empty()) {
    throw TsqlError(263, QStringLiteral("Must specify table to select from."), star.span.iLine);
  }
  if (star.name.parts.empty()) return sources_;
  for (int iSource : sources_) {
    if (Designates(binding_.sources[iSource], star.name.parts)) return {iSource};
  }
  throw TsqlError(107,
                  QStringLiteral("The column prefix '") + Joined(star.name.parts) +
                      QStringLiteral("' does not match with a table name or alias name used in the "
                                     "query."),
                  star.span.iLine);
}

bool Scope::IsLocal(const BoundColumn& column) const {
  for (int iSource : sources_) {
    if (iSource == column.iSource) return true;
  }
  return false;
}

}  // namespace twk::tsql
