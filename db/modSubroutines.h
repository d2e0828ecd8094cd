// SPDX-License-Identifier: MIT
#pragma once

#include "Recordset.h"

#include <QString>
#include <QStringList>

#include <optional>

/// The shared module of the TWK library: the one connection, the query
/// helpers through which every database access goes, the derived user name,
/// the system parameter cache and the start-up checks. All of them work on
/// the module state of the calling thread (ModuleState::ForThisThread).
namespace twk::modSubroutines {

/// Closes and reopens the shared connection and runs the start-up checks.
/// True when the library may operate; the connection is closed otherwise.
bool InitializeConnection(const QString& sServer, const QString& sDatabase, const QString& sUser,
                          const QString& sPassword, qint32 lLevel);
/// Closes the shared connection when it is open. Always true.
bool ReleaseConnection();

/// The first result of the SQL, fully fetched; nothing (and no message)
/// when it fails.
std::optional<Recordset> OpenRecordset(const QString& sSql);
/// The first field of the first row as a 32-bit integer; 0 after a report
/// when anything fails.
qint32 NumericQuery(const QString& sSql);
void Exec_SQL_No_Return(const QString& sSql);
/// The first field of the first row as trimmed text; a null gives "".
QString Exec_SQL_SP_String(const QString& sSql);
/// The first row as trimmed texts, one per column.
QStringList FetchStrings(const QString& sSql);

/// The text without the suffix when it ends with it (case matters).
QString RemoveRight(const QString& sText, const QString& sSuffix);
/// Sets AuthID: the login without "_i", then without "_" + database.
void CalculateAuthID(const QString& sUser, const QString& sDatabase);

void ReloadSystemParams();
/// The value of a System_Params entry, the name matched without regard to
/// case; the default when there is none or the table cannot be read.
QString SysParamsValue(const QString& sName, const QString& sDefault);
void WriteSysParams(const QString& sName, const QString& sValue);
void EraseSysParams();

/// The version guard; false only when a newer version has run here.
bool CheckVersions(qint16 iLevel);
/// True when the server and the four required objects are there.
bool ValidateSQLPrerequisites();

/// This build's version as the database records it ("1.00.000").
QString TwkVersionText();
/// Orders two recorded version texts by their numbers; a text that does not
/// read as major.minor.revision counts as 0.00.000. Negative, 0, positive.
int CompareVersionTexts(const QString& sLeft, const QString& sRight);

}  // namespace twk::modSubroutines
