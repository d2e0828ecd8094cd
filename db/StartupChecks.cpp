// SPDX-License-Identifier: MIT
// The version guard and the schema check that InitializeConnection runs.
#include "ModuleState.h"
#include "PlatformServices.h"
#include "Steps.h"
#include "TwkError.h"
#include "TwkVersion.h"
#include "modSubroutines.h"

#include <QRegularExpression>

#include <array>
#include <tuple>

namespace twk::modSubroutines {

namespace {

const QString sModule = QStringLiteral("modSubroutines");
const QString sImisVersion = QStringLiteral("System_Control.Version");
const QString sImisChecksum = QStringLiteral("System_Control.Checksum");
const QString sTwkImisVersion = QStringLiteral("QUOR.TWK.Imis_Version");
const QString sTwkImisChecksum = QStringLiteral("QUOR.TWK.Imis_Checksum");
const QString sTwkVersion = QStringLiteral("QUOR.TWK.Version");
const QString sMissingImis = QStringLiteral("missing-imis");
const QString sMissingTwk = QStringLiteral("missing-twk");

const QString sSanityCheck = QStringLiteral(
    "TWK has detected a change in iMIS version or Checksum.\r\n"
    "\r\n"
    "New versions of iMIS and new modules can change the way iMIS works, which could\r\n"
    " cause your alerts to fail or function incorrectly.  This notification is to remind\r\n"
    " you to review your alerts for the impact of these changes.  It is recommended that\r\n"
    " you keep this reminder in place until you have tested your alerts.\r\n"
    "\r\n"
    "Do you want to clear this reminder now?");

const QString sNonCriticalWarning = QStringLiteral(
    "A system change requires review by your System Manager.  Please log in to iMIS as "
    "MANAGER!sa and open TWK to clear this warning.  TWK will operate normally, even though you "
    "are receiving this warning.");

QString NewerVersionText(const QString& sOwn, const QString& sStored) {
  return QStringLiteral("This version of Tellwick is ") + sOwn + QStringLiteral(".\r\n") +
         QStringLiteral("The iMIS database indicates that version ") + sStored +
         QStringLiteral(" is also in use.\r\n\r\n") +
         QStringLiteral(
             "Because that version is newer, this copy of Tellwick will not operate,\r\n"
             "on the assumption that the newer version fixes bugs or adds important features.\r\n"
             "Please contact your System Manager for an upgrade.");
}

std::tuple<long, long, long> VersionNumbers(const QString& sVersion) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})\\.(\\d{1,9})\\.(\\d{1,9})$"));
  const QRegularExpressionMatch match = pattern.match(sVersion);
  if (!match.hasMatch()) return {0, 0, 0};
  return {match.captured(1).toLong(), match.captured(2).toLong(), match.captured(3).toLong()};
}

void RemindOfChange(qint16 iLevel) {
  if (iLevel < 8) {
    Platform::Services().ShowMessage(sNonCriticalWarning, QStringLiteral("Non-critical warning"),
                                     MessageButtons::Ok, MessageIcon::None);
    return;
  }
  const MessageAnswer answer = Platform::Services().ShowMessage(
      sSanityCheck, QStringLiteral("Sanity Check"), MessageButtons::YesNo, MessageIcon::None);
  if (answer != MessageAnswer::Yes) return;
  WriteSysParams(sTwkImisVersion, SysParamsValue(sImisVersion, sMissingImis));
  WriteSysParams(sTwkImisChecksum, SysParamsValue(sImisChecksum, sMissingImis));
}

}  // namespace

QString TwkVersionText() {
  return QString::number(iVersionMajor) + QLatin1Char('.') +
         (QStringLiteral("00") + QString::number(iVersionMinor)).right(2) + QLatin1Char('.') +
         (QStringLiteral("000") + QString::number(iVersionRevision)).right(3);
}

int CompareVersionTexts(const QString& sLeft, const QString& sRight) {
  const auto left = VersionNumbers(sLeft);
  const auto right = VersionNumbers(sRight);
  if (left < right) return -1;
  return left == right ? 0 : 1;
}

bool CheckVersions(qint16 iLevel) {
  Steps steps(sModule, QStringLiteral("CheckVersions"));
  bool bResult = true;
  bool bChanged = false;
  steps.Run(100, [&] {
    // All four are looked up even when the first pair already differs.
    const QString sVersion = SysParamsValue(sImisVersion, sMissingImis);
    const QString sChecksum = SysParamsValue(sImisChecksum, sMissingImis);
    const QString sSeenVersion = SysParamsValue(sTwkImisVersion, sMissingTwk);
    const QString sSeenChecksum = SysParamsValue(sTwkImisChecksum, sMissingTwk);
    bChanged = sVersion != sSeenVersion || sChecksum != sSeenChecksum;
  });
  if (bChanged) steps.Run(110, [&] { RemindOfChange(iLevel); });
  steps.Run(120, [&] {
    const QString sStored = SysParamsValue(sTwkVersion, QStringLiteral("0.00.000"));
    const QString sOwn = TwkVersionText();
    const int iOrder = CompareVersionTexts(sOwn, sStored);
    if (iOrder < 0) {
      Platform::Services().ShowMessage(NewerVersionText(sOwn, sStored),
                                       QStringLiteral("Newer version in use"), MessageButtons::Ok,
                                       MessageIcon::None);
      bResult = false;
    } else if (iOrder > 0) {
      WriteSysParams(sTwkVersion, sOwn);
    }
  });
  return bResult;
}

bool ValidateSQLPrerequisites() {
  static const std::array<const char*, 4> objectQueries = {
      "select count(*) from sysobjects where uid = 1 and type = 'U' and lower(name) = "
      "'ttwk_alertdefinitions'",
      "select count(*) from sysobjects where uid = 1 and type = 'U' and lower(name) = "
      "'ttwk_alertoutput'",
      "select count(*) from sysobjects where uid = 1 and type = 'P' and lower(name) = "
      "'ptwk_writesystemparams'",
      "select count(*) from sysobjects where uid = 1 and type = 'P' and lower(name) = "
      "'ptwk_calculate_fixed_text'",
  };
  Steps steps(sModule, QStringLiteral("ValidateSQLPrerequisites"));
  bool bResult = true;
  const bool bServerChecked = steps.Run(100, [&] {
    const QStringList serverInfo = FetchStrings(QStringLiteral("exec sp_server_info 1"));
    if (serverInfo.size() < 3) {
      throw TwkError(QStringLiteral("Subscript out of range"), QStringLiteral("TWK"), 9);
    }
    if (serverInfo.at(2) != QStringLiteral("Microsoft SQL Server")) bResult = false;
  });
  if (!bServerChecked) bResult = false;
  int iLabel = 110;
  for (const char* sQuery : objectQueries) {
    const bool bRan = steps.Run(iLabel, [&] {
      if (NumericQuery(QString::fromLatin1(sQuery)) != 1) bResult = false;
    });
    if (!bRan) bResult = false;
    iLabel += 10;
  }
  return bResult;
}

}  // namespace twk::modSubroutines
