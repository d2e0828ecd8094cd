// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// One computed alert. The panel owns and fills these; the detail item
/// copies what it shows. Truth values are -1 (True) and 0 (False).
struct AlertOutput {
  qint32 lSeqn = 0;
  QString sEventType;
  QString sKeyValue;
  qint16 iRank = 0;
  qint16 iIcon = 0;
  QString sKeyword;
  QString sDescription;
  QString sTooltipText;
  QString sTitleText;
  QString sClipboardText;
  QString sClipboardDescription;
  QString sActionText;
  QString sActionDescription;
  QString sLogText;
  qint16 bPlaySound = 0;
  qint16 bAutoPopup = 0;
  qint16 bAutoClipboard = 0;
  qint16 bAutoAction = 0;
};

}  // namespace twk
