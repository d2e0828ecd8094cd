// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace twk::testing {

/// The value of a "-- name" or "-- name: value" line of a T-SQL case file;
/// nullopt for other lines.
inline std::optional<QString> Directive(const QString& sLine, const char* sName) {
  const QString sPrefix = QStringLiteral("-- ") + QLatin1String(sName);
  if (!sLine.startsWith(sPrefix)) return std::nullopt;
  const QString sRest = sLine.mid(sPrefix.size());
  if (sRest.isEmpty()) return QString();
  if (!sRest.startsWith(u':')) return std::nullopt;
  return sRest.mid(1).trimmed();
}

}  // namespace twk::testing
