// SPDX-License-Identifier: MIT
// The connection and query helpers of modSubroutines.
#include "Conversions.h"
#include "ModuleState.h"
#include "PlatformServices.h"
#include "QueryOutcome.h"
#include "Steps.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk::modSubroutines {

namespace {

const QString sModule = QStringLiteral("modSubroutines");

Connection& SharedConnection() { return ModuleState::ForThisThread().SharedConnection(); }

// What a missing record set gives when it is used anyway.
Recordset& Require(std::optional<Recordset>& recordset) {
  if (!recordset) {
    throw TwkError(QStringLiteral("Object variable or With block variable not set"),
                   QStringLiteral("TWK"), 91);
  }
  return *recordset;
}

const QString sMissingObjects = QStringLiteral(
    "TWK is missing some required SQL objects and cannot operate.\r\n\r\n"
    "To correct this problem, please execute TWK_Tables.sql in your iMIS database.  This script "
    "can be found in the directory where you installed TWK.\r\n\r\n"
    "You may also need to create the procedure ptwk_calculate_fixed_text.  The file "
    "TWK_fixed_text.sql in the install directory has an example.\r\n\r\n"
    "TWK will now terminate.");

// Narrowing as a Basic runtime does it: a level that does not fit is an
// overflow, not a silently different number.
qint16 NarrowToInteger(qint32 lValue) {
  if (lValue < -32768 || lValue > 32767) {
    throw TwkError(QStringLiteral("Overflow"), QStringLiteral("TWK"), 6);
  }
  return qint16(lValue);
}

}  // namespace

bool InitializeConnection(const QString& sServer, const QString& sDatabase, const QString& sUser,
                          const QString& sPassword, qint32 lLevel) {
  Steps steps(sModule, QStringLiteral("InitializeConnection"));
  bool bResult = true;
  steps.Run(100, [&] { ReleaseConnection(); });
  steps.Run(110, [&] {
    ConnectionSettings settings;
    settings.sDataSource = sServer;
    settings.sInitialCatalog = sDatabase;
    settings.sUserId = sUser;
    settings.sPassword = sPassword;
    settings.iLoginTimeoutSeconds = 30;
    SharedConnection().SetSettings(settings);
    SharedConnection().Open();
  });
  steps.Run(120, [&] {
    auto& diagnostics = SharedConnection().Diagnostics();
    if (diagnostics.empty()) return;
    const Diagnostic& first = diagnostics.front();
    if (first.lNumber > 0) {
      Platform::Services().ShowMessage(first.sDescription, QString::number(first.lNumber),
                                       MessageButtons::Ok, MessageIcon::None);
      bResult = false;
    } else {
      diagnostics.clear();
    }
  });
  if (bResult) steps.Run(130, [&] { bResult = CheckVersions(NarrowToInteger(lLevel)); });
  if (bResult) {
    steps.Run(140, [&] {
      bResult = ValidateSQLPrerequisites();
      if (!bResult) {
        Platform::Services().ShowMessage(sMissingObjects,
                                         QStringLiteral("Critical: missing objects"),
                                         MessageButtons::Ok, MessageIcon::Critical);
      }
    });
  }
  if (!bResult) steps.Run(150, [&] { ReleaseConnection(); });
  return bResult;
}

bool ReleaseConnection() {
  Steps steps(sModule, QStringLiteral("ReleaseConnection"));
  steps.Run(100, [&] {
    if (SharedConnection().IsOpen()) SharedConnection().Close();
  });
  return true;
}

std::optional<Recordset> OpenRecordset(const QString& sSql) {
  try {
    return SharedConnection().Execute(sSql);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

qint32 NumericQuery(const QString& sSql) {
  Steps steps(sModule, QStringLiteral("NumericQuery"));
  std::optional<Recordset> recordset;
  qint32 lResult = 0;
  steps.Run(100, [&] { recordset = OpenRecordset(sSql); });
  steps.Run(110, [&] { Require(recordset).MoveFirst(); });
  steps.Run(120, [&] { lResult = Conversions::ToLong(Require(recordset).Field(0)); });
  steps.Run(130, [&] {
    if (recordset) recordset->Close();
  });
  return lResult;
}

void Exec_SQL_No_Return(const QString& sSql) { Exec_SQL_Succeeded(sSql); }

QString Exec_SQL_SP_String(const QString& sSql) {
  Steps steps(sModule, QStringLiteral("Exec_SQL_SP_String"));
  std::optional<Recordset> recordset;
  QString sResult;
  steps.Run(100, [&] { recordset = SharedConnection().Execute(sSql); });
  steps.Run(110, [&] {
    if (!recordset || !recordset->IsOpen() || recordset->IsEof()) {
      Platform::Services().ShowMessage(
          QStringLiteral("No rows returned from query in Exec_SQL_SP_String.  Query:\r\n") + sSql,
          QStringLiteral("TWK"), MessageButtons::Ok, MessageIcon::None);
      return;
    }
    sResult = Conversions::TrimSpaces(Conversions::ToTextLenient(recordset->Field(0)));
  });
  return sResult;
}

QStringList FetchStrings(const QString& sSql) {
  Steps steps(sModule, QStringLiteral("FetchStrings"));
  std::optional<Recordset> recordset;
  QStringList result;
  steps.Run(100, [&] {
    recordset = OpenRecordset(sSql);
    const int iColumns = Require(recordset).FieldCount();
    for (int i = 0; i < iColumns; ++i) result.append(QString());
  });
  if (recordset && !recordset->IsEof()) {
    // Each field is its own step: a null leaves only its own element empty.
    for (int i = 0; i < result.size(); ++i) {
      steps.Run(110, [&] {
        result[i] = Conversions::TrimSpaces(Conversions::ToTextStrict(recordset->Field(i)));
      });
    }
  }
  steps.Run(120, [&] {
    if (recordset) recordset->Close();
  });
  return result;
}

QString RemoveRight(const QString& sText, const QString& sSuffix) {
  if (sSuffix.isEmpty() || !sText.endsWith(sSuffix, Qt::CaseSensitive)) return sText;
  return sText.left(sText.size() - sSuffix.size());
}

void CalculateAuthID(const QString& sUser, const QString& sDatabase) {
  ModuleState::ForThisThread().AuthID =
      RemoveRight(RemoveRight(sUser, QStringLiteral("_i")), QStringLiteral("_") + sDatabase);
}

}  // namespace twk::modSubroutines
