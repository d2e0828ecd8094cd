// SPDX-License-Identifier: MIT
#include "RecordQueries.h"

namespace twk {

namespace {

QString Quoted(const QString& sText) {
  QString sQuoted = sText;
  sQuoted.replace(u'\'', QStringLiteral("''"));
  return u'\'' + sQuoted + u'\'';
}

// LIKE's own wildcards and its escape character stand for themselves.
QString LikePrefix(const QString& sText) {
  QString sEscaped;
  for (const QChar c : sText) {
    if (c == u'\\' || c == u'%' || c == u'_' || c == u'[') sEscaped += u'\\';
    sEscaped += c;
  }
  return Quoted(sEscaped + u'%') + QStringLiteral(" escape '\\'");
}

}  // namespace

QList<QStringList> RecordQueries::ColumnSets() {
  return {{QStringLiteral("ID"), QStringLiteral("FULL_NAME"), QStringLiteral("COMPANY"),
           QStringLiteral("MEMBER_TYPE"), QStringLiteral("STATUS")},
          {QStringLiteral("ID"), QStringLiteral("FULL_NAME")}};
}

QString RecordQueries::Probe() const {
  return QStringLiteral("select ") + columns_.join(QStringLiteral(", ")) +
         QStringLiteral(" from Name where 1 = 0");
}

QString RecordQueries::Where(const QString& sSearch) const {
  const QString sTrimmed = sSearch.trimmed();
  if (sTrimmed.isEmpty()) return QString();
  // Both sides are indexed: the id as the key, the name for its order.
  return QStringLiteral(" where ") + columns_.at(0) + QStringLiteral(" = ") + Quoted(sTrimmed) +
         QStringLiteral(" or ") + columns_.at(1) + QStringLiteral(" like ") + LikePrefix(sTrimmed);
}

QString RecordQueries::Page(const QString& sSearch, int iOffset, int iCount) const {
  // The id after the name makes the order total, so that no page repeats or
  // skips a row of another.
  return QStringLiteral("select ") + columns_.join(QStringLiteral(", ")) +
         QStringLiteral(" from Name") + Where(sSearch) + QStringLiteral(" order by ") +
         columns_.at(1) + QStringLiteral(", ") + columns_.at(0) +
         QStringLiteral(" offset %1 rows fetch next %2 rows only").arg(iOffset).arg(iCount);
}

QString RecordQueries::Count(const QString& sSearch) const {
  return QStringLiteral("select count(*) from Name") + Where(sSearch);
}

QString RecordQueries::Exists(const QString& sId) const {
  return QStringLiteral("select ") + columns_.at(0) + QStringLiteral(" from Name where ") +
         columns_.at(0) + QStringLiteral(" = ") + Quoted(sId);
}

}  // namespace twk
