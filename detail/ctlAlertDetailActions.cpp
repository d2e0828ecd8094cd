// SPDX-License-Identifier: MIT
// What the user and the panel can make an alert detail item do: its menu,
// gestures, clipboard copy, details box, command start and automation.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <optional>

#include "DetailWindowHook.h"
#include "PlatformServices.h"
#include "Steps.h"
#include "ctlAlertDetail.h"

namespace twk {

namespace {

const QString sItemModule = QStringLiteral("ctlAlertDetail");
const QString sPlatformSource = QStringLiteral("TWKPlatform");

ErrorReporter ActionReporter() {
  return [](const TwkError& error, const StepFailure& where) {
    Platform::Services().ShowMessage(
        DetailRules::ActionReportText(error, where.sProcedure, where.iLabel),
        DetailRules::DefaultTitle(), MessageButtons::Ok, MessageIcon::None);
  };
}

ErrorReporter AutomationReporter() {
  return [](const TwkError& error, const StepFailure& where) {
    Platform::Services().ShowMessage(DetailRules::AutomationReportText(error, where.iLabel),
                                     DetailRules::DefaultTitle(), MessageButtons::Ok,
                                     MessageIcon::None);
  };
}

DetailCommand ExecMenu(const DetailMenuState& state) {
  QMenu menu(QStringLiteral("Context"));
  menu.setObjectName(QStringLiteral("mnuContext"));
  QAction* pZoom = menu.addAction(QStringLiteral("&Zoom details"));
  QAction* pClipboard = menu.addAction(QStringLiteral("Clipboard"));
  QAction* pAction = menu.addAction(QStringLiteral("Perform &action"));
  QAction* pCancel = menu.addAction(QStringLiteral("Cancel"));
  pZoom->setEnabled(state.bZoomEnabled);
  pClipboard->setEnabled(state.bClipboardEnabled);
  pAction->setEnabled(state.bActionEnabled);
  pCancel->setEnabled(state.bCancelEnabled);
  QAction* pChosen = menu.exec(QCursor::pos());
  if (pChosen == pZoom) return DetailCommand::ZoomDetails;
  if (pChosen == pClipboard) return DetailCommand::CopyToClipboard;
  if (pChosen == pAction) return DetailCommand::PerformAction;
  return DetailCommand::Nothing;
}

std::optional<DetailGesture> GestureOf(const QEvent* pEvent, const QWidget* pWidget) {
  const auto* pMouse = static_cast<const QMouseEvent*>(pEvent);
  if (pEvent->type() == QEvent::MouseButtonDblClick) return DetailGesture::DoubleClick;
  if (pEvent->type() != QEvent::MouseButtonRelease) return std::nullopt;
  // A release counts only over the widget on which the button went down.
  if (!pWidget->rect().contains(pMouse->position().toPoint())) return std::nullopt;
  return pMouse->button() == Qt::RightButton ? DetailGesture::RightRelease
                                             : DetailGesture::OtherRelease;
}

bool IsMouseEvent(const QEvent* pEvent) {
  switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return true;
    default:
      return false;
  }
}

}  // namespace

void ctlAlertDetail::HandleGesture(DetailArea area, DetailGesture gesture) {
  Run(DetailRules::CommandFor(area, gesture));
}

void ctlAlertDetail::Run(DetailCommand command) {
  switch (command) {
    case DetailCommand::ShowPopupMenu:
      ShowPopupMenu();
      break;
    case DetailCommand::PerformAction:
      PerformAction();
      break;
    case DetailCommand::CopyToClipboard:
      CopyToClipboard();
      break;
    case DetailCommand::ZoomDetails:
      ZoomDetails();
      break;
    case DetailCommand::Nothing:
      break;
  }
}

bool ctlAlertDetail::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (!IsMouseEvent(pEvent)) return QWidget::eventFilter(pWatched, pEvent);
  auto* pWidget = static_cast<QWidget*>(pWatched);
  DetailArea area = DetailArea::Surface;
  if (pWatched == cmdAction_) {
    area = DetailArea::ActionButton;
  } else if (pWatched == cmdClip_) {
    area = DetailArea::ClipButton;
  } else if (pWatched == picAlert_) {
    area = DetailArea::Picture;
  } else if (pWatched == lblKeyword_) {
    area = DetailArea::Keyword;
  } else {
    return QWidget::eventFilter(pWatched, pEvent);
  }
  // Disabled buttons do not react, and nothing a child leaves unhandled may
  // reach the surface, whose hook would answer it a second time.
  if (!pWidget->isEnabled()) return true;
  const auto* pMouse = static_cast<QMouseEvent*>(pEvent);
  const bool bButton = area == DetailArea::ActionButton || area == DetailArea::ClipButton;
  const bool bLetButtonSee = bButton && pMouse->button() == Qt::LeftButton;
  if (const auto gesture = GestureOf(pEvent, pWidget)) HandleGesture(area, *gesture);
  return !bLetButtonSee;
}

void ctlAlertDetail::mouseReleaseEvent(QMouseEvent* pEvent) {
  // Reached by a right release only while the hook is not installed.
  if (const auto gesture = GestureOf(pEvent, this)) HandleGesture(DetailArea::Surface, *gesture);
}

void ctlAlertDetail::mouseDoubleClickEvent(QMouseEvent* /*pEvent*/) {
  HandleGesture(DetailArea::Surface, DetailGesture::DoubleClick);
}

DetailCommand ctlAlertDetail::PresentMenu(const DetailMenuState& state) {
  return menuPresenter_ ? menuPresenter_(state) : ExecMenu(state);
}

void ctlAlertDetail::ShowPopupMenu() {
  Steps steps(sItemModule, QStringLiteral("ShowPopupMenu"), OnError::Report, ActionReporter());
  DetailMenuState state;
  steps.Run(100, [&] { state.bActionEnabled = !sActionText_.isEmpty(); });
  steps.Run(110, [&] { state.bClipboardEnabled = !sClipboardText_.isEmpty(); });
  steps.Run(120, [&] { state.bZoomEnabled = !sDescription_.isEmpty(); });
  DetailCommand chosen = DetailCommand::Nothing;
  steps.Run(130, [&] { chosen = PresentMenu(state); });
  // The handlers of the menu entries skip their own failures.
  Steps handler(sItemModule, QStringLiteral("mnuContext_Click"), OnError::SkipSilently);
  handler.Run(100, [&] { Run(chosen); });
}

void ctlAlertDetail::CopyToClipboard() {
  // The flash of the uncovered surface is the only sign that a copy happened.
  Steps steps(sItemModule, QStringLiteral("CopyToClipboard"), OnError::SkipSilently);
  steps.Run(100, [&] { SetSurfaceColour(SystemColour::WindowText); });
  steps.Run(110, [&] { QCoreApplication::processEvents(); });
  steps.Run(120, [&] { Platform::Services().SetClipboardText(QString()); });
  steps.Run(130, [&] { QCoreApplication::processEvents(); });
  steps.Run(140, [&] { Platform::Services().SetClipboardText(sClipboardText_); });
  steps.Run(150, [&] { QCoreApplication::processEvents(); });
  steps.Run(160, [&] { SetSurfaceColour(SystemColour::WindowBackground); });
}

void ctlAlertDetail::ZoomDetails() {
  Steps steps(sItemModule, QStringLiteral("ZoomDetails"), OnError::SkipSilently);
  QString sText;
  steps.Run(100, [&] { sText = DetailRules::ZoomText(sDescription_, iRank_); });
  steps.Run(110, [&] {
    const QString sTitle = sTitleText_.isEmpty() ? DetailRules::DefaultTitle() : sTitleText_;
    Platform::Services().ShowMessage(sText, sTitle, MessageButtons::Ok, MessageIcon::Information);
  });
}

void ctlAlertDetail::PerformAction() {
  Steps steps(sItemModule, QStringLiteral("PerformAction"), OnError::Report, ActionReporter());
  QString sCommandLine;
  steps.Run(100, [&] { sCommandLine = sActionText_; });
  bool bReplaceId = false;
  steps.Run(110, [&] { bReplaceId = sAlertType_ == QLatin1String("ID"); });
  // A line that could not be prepared is reported and never started as it
  // stands: the template unreplaced is not what the alert asked for.
  if (bReplaceId && !steps.Run(120, [&] {
        sCommandLine = DetailRules::PrepareCommandLine(sCommandLine, sAlertType_, sKeyValue_);
      })) {
    return;
  }
  if (sCommandLine.isEmpty()) return;
  qint64 lProcessId = 0;
  steps.Run(130, [&] {
    const CommandStart start = Platform::Services().StartCommand(sCommandLine);
    if (!start.bStarted && !start.sError.isEmpty()) throw TwkError(start.sError, sPlatformSource);
    // A started process whose id the platform could not tell still counts.
    lProcessId = start.bStarted ? qMax<qint64>(start.lProcessId, 1) : 0;
  });
  if (lProcessId != 0) return;
  steps.Run(150, [&] {
    Platform::Services().ShowMessage(DetailRules::StartFailureText(lSeqn_, sCommandLine),
                                     DetailRules::DefaultTitle(), MessageButtons::Ok,
                                     MessageIcon::Critical);
  });
}

void ctlAlertDetail::PerformAutomation() {
  // Fixed order: the details box is modal, so the command starts only after
  // the person has read it.
  Steps steps(sItemModule, QStringLiteral("PerformAutomation"), OnError::Report,
              AutomationReporter());
  steps.Run(110, [&] {
    if (DetailRules::IsSet(bAutoClipboard_)) CopyToClipboard();
  });
  steps.Run(130, [&] {
    if (DetailRules::IsSet(bAutoPopup_)) ZoomDetails();
  });
  steps.Run(150, [&] {
    if (DetailRules::IsSet(bAutoAction_)) PerformAction();
  });
}

void ctlAlertDetail::HookWindow() {
  if (pHook_ != nullptr) return;
  Steps steps(sItemModule, QStringLiteral("HookWindow"), OnError::SkipSilently);
  steps.Run(100, [&] {
    pHook_ = new DetailWindowHook(*this);
    installEventFilter(pHook_);
    lblKeyword_->installEventFilter(pHook_);
  });
}

void ctlAlertDetail::UnhookWindow() {
  if (pHook_ == nullptr) return;
  Steps steps(sItemModule, QStringLiteral("UnhookWindow"), OnError::SkipSilently);
  steps.Run(100, [&] {
    removeEventFilter(pHook_);
    if (lblKeyword_ != nullptr) lblKeyword_->removeEventFilter(pHook_);
    delete pHook_;
    pHook_ = nullptr;
  });
}

}  // namespace twk
