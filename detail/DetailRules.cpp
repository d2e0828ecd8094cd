// SPDX-License-Identifier: MIT
#include "DetailRules.h"

#include <QApplication>
#include <QPalette>
#include <QTextDocument>

#include "CommandLine.h"
#include "TextRules.h"

namespace twk::DetailRules {

namespace {
const QString sCrLf = QStringLiteral("\r\n");
const QString sModule = QStringLiteral("TWKDetail.ctlAlertDetail.");
}  // namespace

QString DefaultClipboardDescription() {
  return QStringLiteral("Clipboard text available");
}
QString DefaultActionDescription() {
  return QStringLiteral("Action available");
}
QString ClearedDescription() {
  return QStringLiteral(". . .");
}
QString DefaultTitle() {
  return QStringLiteral("TWKDetail");
}

QColor ColourOf(SystemColour colour) {
  const QPalette palette = QApplication::palette();
  switch (colour) {
    case SystemColour::WindowBackground:
      return palette.color(QPalette::Base);
    case SystemColour::WindowText:
      return palette.color(QPalette::Text);
    case SystemColour::ThreeDHighlight: {
      // Styles often make the 3D highlight as white as the window
      // background, and the button rule's two colours must differ: a
      // highlight too close to the background gives way to a grey.
      const QColor highlight = palette.color(QPalette::Light);
      const QColor background = palette.color(QPalette::Base);
      const int iDistance = qAbs(highlight.red() - background.red()) +
                            qAbs(highlight.green() - background.green()) +
                            qAbs(highlight.blue() - background.blue());
      constexpr int iVisible = 60;
      return iDistance >= iVisible ? highlight : background.darker(125);
    }
  }
  return palette.color(QPalette::Base);
}

QString TrimSpaces(const QString& sText) {
  return twk::TrimSpaces(sText);
}

QString DescriptionOrDefault(const QString& sValue, const QString& sDefault) {
  return sValue.isEmpty() ? sDefault : sValue;
}

QString ToolTipAsShown(const QString& sText) {
  // Tooltips come from alert definitions; the toolkit would render one that
  // looks like markup (and fetch any image it names) instead of showing it.
  if (!Qt::mightBeRichText(sText)) return sText;
  return Qt::convertFromPlainText(sText, Qt::WhiteSpacePre);
}

QString TitleOrKeyword(const QString& sTitle, const QString& sStoredKeyword) {
  return sTitle.isEmpty() ? sStoredKeyword : sTitle;
}

DetailButtonLook ButtonLookFor(const QString& sStoredText) {
  if (sStoredText.isEmpty()) return {false, false, SystemColour::ThreeDHighlight};
  return {true, true, SystemColour::WindowBackground};
}

DetailMenuState MenuStateFor(const QString& sActionText, const QString& sClipboardText,
                             const QString& sDescription) {
  DetailMenuState state;
  state.bActionEnabled = !sActionText.isEmpty();
  state.bClipboardEnabled = !sClipboardText.isEmpty();
  state.bZoomEnabled = !sDescription.isEmpty();
  return state;
}

DetailCommand CommandFor(DetailArea area, DetailGesture gesture) {
  // Every area opens the menu on a right release; the surface and the label
  // get it through the hook, the others through their own mouse-up handling.
  if (gesture == DetailGesture::RightRelease) return DetailCommand::ShowPopupMenu;
  const bool bOtherRelease = gesture == DetailGesture::OtherRelease;
  switch (area) {
    case DetailArea::ActionButton:
      return bOtherRelease ? DetailCommand::PerformAction : DetailCommand::Nothing;
    case DetailArea::ClipButton:
      return bOtherRelease ? DetailCommand::CopyToClipboard : DetailCommand::Nothing;
    case DetailArea::Keyword:
      return DetailCommand::ZoomDetails;
    case DetailArea::Picture:
    case DetailArea::Surface:
      return bOtherRelease ? DetailCommand::Nothing : DetailCommand::ZoomDetails;
  }
  return DetailCommand::Nothing;
}

bool IsSet(qint16 bFlag) {
  return bFlag == kTrue;
}

QString PrepareCommandLine(const QString& sActionText, const QString& sAlertType,
                           const QString& sKeyValue) {
  if (sAlertType != QLatin1String("ID")) return sActionText;
  // Split first, replace after: a key value with quotes or blanks in it
  // must stay the text of the one argument it stands in, never add others.
  QStringList arguments = SplitCommandLine(sActionText);
  bool bAllEmpty = true;
  for (QString& sArgument : arguments) {
    sArgument.replace(QLatin1String("{ID}"), sKeyValue, Qt::CaseSensitive);
    bAllEmpty = bAllEmpty && sArgument.isEmpty();
  }
  // "{ID}" alone with an empty key value leaves nothing to start.
  if (bAllEmpty) return QString();
  // A program's arguments end at a NUL: started anyway, the argument would
  // be cut short and the template's own text after the key value lost.
  for (const QString& sArgument : arguments) {
    if (sArgument.contains(QChar(0))) {
      throw TwkError(QStringLiteral("The action is not started: its command line would hold a NUL "
                                    "character, which no program argument can carry."),
                     QStringLiteral("TWKDetail"), 5);
    }
  }
  return JoinCommandLine(arguments);
}

QString ZoomText(const QString& sDescription, qint16 iRank) {
  return TrimSpaces(sDescription) + sCrLf + sCrLf + QStringLiteral("Rank=") +
         QString::number(iRank);
}

QString StartFailureText(qint32 lSeqn, const QString& sCommandLine) {
  return QStringLiteral("Error when performing action for alert #") + QString::number(lSeqn) +
         sCrLf + QLatin1Char('"') + sCommandLine + QLatin1Char('"');
}

QString ActionReportText(const TwkError& error, const QString& sProcedure, int iLabel) {
  return error.Description() + sCrLf + QStringLiteral("in ") + sModule + sProcedure +
         QLatin1Char(' ') + sCrLf + QStringLiteral("Line ") + QString::number(iLabel) + sCrLf +
         QStringLiteral("Source ") + error.Source();
}

QString AutomationReportText(const TwkError& error, int iLabel) {
  return error.Description() + sCrLf + QStringLiteral("in ") + sModule +
         QStringLiteral("PerformAutomation at line ") + QString::number(iLabel) + sCrLf +
         QStringLiteral("Source: ") + error.Source();
}

QString ImageReportText(const TwkError& error, int iLabel) {
  return error.Description() + sCrLf + QStringLiteral("in ") + sModule +
         QStringLiteral("Image at line ") + QString::number(iLabel);
}

TwkError SetterFailure(const TwkError& error, const QString& sProperty, int iLabel) {
  return TwkError(QStringLiteral("In module ") + sModule + sProperty + QStringLiteral(" line ") +
                      QString::number(iLabel) + QStringLiteral(", Reason (") + error.Description() +
                      QStringLiteral(").") + sCrLf,
                  error.Source(), error.Number());
}

}  // namespace twk::DetailRules
