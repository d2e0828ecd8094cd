// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>

#include "TwkError.h"

namespace twk {

/// The three system colours the item uses, mapped onto the Qt palette.
enum class SystemColour { WindowBackground, WindowText, ThreeDHighlight };

/// Where on the item a mouse gesture happened.
enum class DetailArea { ActionButton, ClipButton, Picture, Keyword, Surface };

/// A release is that of a button over the widget on which it was pressed.
enum class DetailGesture { RightRelease, OtherRelease, DoubleClick };

/// What the item does in answer to a gesture or a menu choice.
enum class DetailCommand { Nothing, ShowPopupMenu, PerformAction, CopyToClipboard, ZoomDetails };

/// How one of the two small buttons looks for a stored text.
struct DetailButtonLook {
  bool bShown = false;
  bool bEnabled = false;
  SystemColour background = SystemColour::ThreeDHighlight;
};

/// Enabled states of the context menu's entries; "Cancel" is always enabled.
struct DetailMenuState {
  bool bZoomEnabled = false;
  bool bClipboardEnabled = false;
  bool bActionEnabled = false;
  bool bCancelEnabled = true;
};

/// The decisions of the alert detail item that need no window.
namespace DetailRules {

inline constexpr qint16 kTrue = -1;

QString DefaultClipboardDescription();
QString DefaultActionDescription();
QString ClearedDescription();
/// Title of the item's message boxes when nothing else is given.
QString DefaultTitle();

QColor ColourOf(SystemColour colour);

/// Removes U+0020 at either end; tabs and line breaks stay.
QString TrimSpaces(const QString& sText);

/// The stored value of a description property: the value, or the default.
QString DescriptionOrDefault(const QString& sValue, const QString& sDefault);

/// What a widget's tooltip must hold so that the toolkit shows the text as
/// it is: a text that would pass for markup is escaped, any other is kept.
QString ToolTipAsShown(const QString& sText);

/// The stored TitleText: the value or, when it is empty, the stored keyword.
QString TitleOrKeyword(const QString& sTitle, const QString& sStoredKeyword);

DetailButtonLook ButtonLookFor(const QString& sStoredText);

DetailMenuState MenuStateFor(const QString& sActionText, const QString& sClipboardText,
                             const QString& sDescription);

DetailCommand CommandFor(DetailArea area, DetailGesture gesture);

/// Automatic actions count a flag only when it holds exactly True.
bool IsSet(qint16 bFlag);

/// The command line to start. When the alert type is exactly "ID", the
/// action text is split into program and arguments (SplitCommandLine),
/// "{ID}" is replaced case-sensitively by the key value inside each, and the
/// result is joined so that it splits back into exactly those arguments: the
/// key value is always part of one argument's text. Any other alert type
/// leaves the action text as it is. Empty when nothing is left to start.
/// Throws when an argument would hold a NUL, which no started program gets.
QString PrepareCommandLine(const QString& sActionText, const QString& sAlertType,
                           const QString& sKeyValue);

QString ZoomText(const QString& sDescription, qint16 iRank);

QString StartFailureText(qint32 lSeqn, const QString& sCommandLine);

/// The report of PerformAction and ShowPopupMenu: four lines.
QString ActionReportText(const TwkError& error, const QString& sProcedure, int iLabel);

/// The report of PerformAutomation: three lines.
QString AutomationReportText(const TwkError& error, int iLabel);

/// The report of a picture that cannot be shown.
QString ImageReportText(const TwkError& error, int iLabel);

/// The error a text setter passes on when its button cannot be updated.
TwkError SetterFailure(const TwkError& error, const QString& sProperty, int iLabel);

}  // namespace DetailRules

}  // namespace twk
