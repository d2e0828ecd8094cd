// SPDX-License-Identifier: MIT
#pragma once

// Small alert definitions that the benchmarks write into a demo database:
// in T-SQL, as the demo's are written, each with its hand-written SQLite
// equivalent (the record id bound as :id, the connection's output rows as
// :spid).
#include <sqlite3.h>

#include <QString>

namespace twk::bench {

/// Half read the demo contacts and return a row, half write the output table.
inline QString Definition(int iNumber) {
  if (iNumber % 2 == 0) {
    return QStringLiteral(
               "select 'Rule %1' as KEYWORD, FULL_NAME + ' is ' + STATUS as DESCRIPTION, "
               "%1 as RANK, 3 as ICON from Name where ID = @id")
        .arg(iNumber);
  }
  return QStringLiteral(
             "insert ttwk_AlertOutput (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, "
             "DESCRIPTION, TOOLTIP_TEXT, TITLE_TEXT, CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION, "
             "ACTION_TEXT, ACTION_DESCRIPTION, LOG_TEXT, PLAY_SOUND, AUTO_POPUP, AUTO_CLIPBOARD, "
             "AUTO_ACTION) select @@spid, 'ID', ID, %1, 4, 'Table %1', 'Member type ' + "
             "MEMBER_TYPE, '', '', '', '', '', '', '', 0, 0, 0, 0 from Name where ID = {id}")
      .arg(iNumber);
}

/// What a SQLite developer writes by hand for Definition(iNumber).
inline QByteArray SqliteDefinition(int iNumber) {
  if (iNumber % 2 == 0) {
    return QStringLiteral(
               "select 'Rule %1' as KEYWORD, FULL_NAME || ' is ' || STATUS as DESCRIPTION, "
               "%1 as RANK, 3 as ICON from Name where ID = :id")
        .arg(iNumber)
        .toUtf8();
  }
  return QStringLiteral(
             "insert into ttwk_AlertOutput (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, "
             "KEYWORD, DESCRIPTION, TOOLTIP_TEXT, TITLE_TEXT, CLIPBOARD_TEXT, "
             "CLIPBOARD_DESCRIPTION, ACTION_TEXT, ACTION_DESCRIPTION, LOG_TEXT, PLAY_SOUND, "
             "AUTO_POPUP, AUTO_CLIPBOARD, AUTO_ACTION) select :spid, 'ID', ID, %1, 4, 'Table %1', "
             "'Member type ' || MEMBER_TYPE, '', '', '', '', '', '', '', 0, 0, 0, 0 from Name "
             "where ID = :id")
      .arg(iNumber)
      .toUtf8();
}

inline void AddDefinitions(sqlite3* pDatabase, int iCount) {
  sqlite3_exec(pDatabase, "delete from ttwk_AlertDefinitions", nullptr, nullptr, nullptr);
  for (int i = 1; i <= iCount; ++i) {
    QString sCriteria = Definition(i);
    sCriteria.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString sInsert = QStringLiteral(
                                "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, "
                                "DESCRIPTION, ALERT_TYPE, ALERT_ID) values ('%1', 1, '', 'SQL', "
                                "'B%2')")
                                .arg(sCriteria)
                                .arg(i);
    sqlite3_exec(pDatabase, sInsert.toUtf8().constData(), nullptr, nullptr, nullptr);
  }
}

}  // namespace twk::bench
