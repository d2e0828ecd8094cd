// SPDX-License-Identifier: MIT
#include "AnswerCheck.h"

#include <QDateTime>
#include <algorithm>
#include <stdexcept>

#include "AlertPlaceholders.h"
#include "ModuleState.h"
#include "TwkError.h"

namespace twk::bench {

namespace {

// The output table's columns that become an alert; OWNER_SPID differs by
// connection and is left out.
const char* const sTableColumns =
    "EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT, TITLE_TEXT, "
    "CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION, ACTION_TEXT, ACTION_DESCRIPTION, LOG_TEXT, "
    "PLAY_SOUND, AUTO_POPUP, AUTO_CLIPBOARD, AUTO_ACTION";

QString EngineText(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return QStringLiteral("<null>");
  switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
      return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
      return QString::number(value.toLongLong());
    case QMetaType::QDateTime:
      return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
      return value.toString();
  }
}

TextResult ReadEngine(Recordset recordset) {
  TextResult result;
  if (!recordset.IsOpen()) return result;
  for (int i = 0; i < recordset.FieldCount(); ++i) result.columns << recordset.FieldName(i);
  for (; !recordset.IsEof(); recordset.MoveNext()) {
    QStringList row;
    for (int i = 0; i < recordset.FieldCount(); ++i) row << EngineText(recordset.Field(i));
    result.rows.push_back(row);
  }
  return result;
}

QString Show(const TextResult& result, bool bColumns) {
  QStringList rows;
  for (const QStringList& row : result.rows) rows << row.join(QStringLiteral(" | "));
  const QString sColumns =
      bColumns ? QStringLiteral("[%1] ").arg(result.columns.join(QStringLiteral(", "))) : QString();
  return QStringLiteral("%1%2 row(s): %3")
      .arg(sColumns)
      .arg(result.rows.size())
      .arg(rows.join(QStringLiteral(" / ")));
}

bool Ordered(const DefinitionPair& pair) {
  return !pair.bWritesTable &&
         QString::fromUtf8(pair.sTsql).contains(QLatin1String("order by"), Qt::CaseInsensitive);
}

}  // namespace

QString AnswerCheck::Compare(const DefinitionPair& pair, const QString& sId, int* piRows) const {
  TextResult engine;
  try {
    engine = EngineAnswer(pair, sId);
  } catch (const TwkError& error) {
    return QStringLiteral("the engine failed: ") + error.Description();
  } catch (const std::exception& error) {
    return QStringLiteral("the engine failed: ") + QString::fromLocal8Bit(error.what());
  }
  if (piRows) *piRows = int(engine.rows.size());
  TextResult raw;
  try {
    raw = RawAnswer(pair);
  } catch (const std::runtime_error& error) {
    return QStringLiteral("the SQLite failed: ") + QString::fromUtf8(error.what());
  }
  if (!Ordered(pair)) {
    std::sort(engine.rows.begin(), engine.rows.end());
    std::sort(raw.rows.begin(), raw.rows.end());
  }
  // Without rows, no result and an empty one give the same alerts: none.
  const bool bSameColumns =
      engine.rows.empty() ||
      engine.columns.join(u'\n').compare(raw.columns.join(u'\n'), Qt::CaseInsensitive) == 0;
  if (bSameColumns && engine.rows == raw.rows) return {};
  return QStringLiteral("T-SQL gave %1; SQLite gave %2")
      .arg(Show(engine, !bSameColumns), Show(raw, !bSameColumns));
}

TextResult AnswerCheck::EngineAnswer(const DefinitionPair& pair, const QString& sId) const {
  Connection& connection = ModuleState::ForThisThread().SharedConnection();
  const QString sSql =
      ReplacePlaceholders(QString::fromUtf8(pair.sTsql), sId, ModuleState::ForThisThread().AuthID);
  if (!pair.bWritesTable) return ReadEngine(connection.Execute(sSql));
  const QString sOwn = QStringLiteral(" from ttwk_AlertOutput where OWNER_SPID = @@spid");
  connection.Execute(QStringLiteral("delete") + sOwn);
  connection.Execute(sSql);
  TextResult written = ReadEngine(
      connection.Execute(QStringLiteral("select ") + QLatin1String(sTableColumns) + sOwn));
  connection.Execute(QStringLiteral("delete") + sOwn);
  return written;
}

TextResult AnswerCheck::RawAnswer(const DefinitionPair& pair) const {
  TextResult result;
  const auto run = [&](const QByteArray& sSql, TextResult* pResult) {
    const QString sFailure = raw_.Run(sSql.constData(), pResult);
    if (!sFailure.isEmpty()) throw std::runtime_error(sFailure.toStdString());
  };
  if (!pair.bWritesTable) {
    run(pair.sSqlite, &result);
    return result;
  }
  const QByteArray sOwn = " from ttwk_AlertOutput where OWNER_SPID = :spid";
  run("delete" + sOwn, nullptr);
  run(pair.sSqlite, nullptr);
  run(QByteArray("select ") + sTableColumns + sOwn, &result);
  run("delete" + sOwn, nullptr);
  return result;
}

}  // namespace twk::bench
