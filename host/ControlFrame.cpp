// SPDX-License-Identifier: MIT
#include "ControlFrame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "Steps.h"
#include "TwkError.h"
#include "XtenderHost.h"

namespace twk {

namespace {

constexpr int iTabKeyCode = 9;

int ShiftState(Qt::KeyboardModifiers modifiers) {
  int iShift = NoModifier;
  if (modifiers & Qt::ShiftModifier) iShift |= ShiftModifier;
  if (modifiers & Qt::ControlModifier) iShift |= CtrlModifier;
  if (modifiers & Qt::AltModifier) iShift |= AltModifier;
  return iShift;
}

bool IsTabKey(const QKeyEvent* pKey) {
  return pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab;
}

// A text box reached by Tab shows its caret after its last character.
void PutCaretAtEnd(QWidget* pWidget) {
  constexpr int iFarPosition = 10000;
  if (auto* pLine = qobject_cast<QLineEdit*>(pWidget)) {
    pLine->setCursorPosition(qMin(iFarPosition, int(pLine->text().size())));
    return;
  }
  QTextCursor cursor;
  if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pWidget)) {
    cursor = pPlain->textCursor();
    cursor.setPosition(qMin(iFarPosition, pPlain->document()->characterCount() - 1));
    pPlain->setTextCursor(cursor);
  } else if (auto* pRich = qobject_cast<QTextEdit*>(pWidget)) {
    cursor = pRich->textCursor();
    cursor.setPosition(qMin(iFarPosition, pRich->document()->characterCount() - 1));
    pRich->setTextCursor(cursor);
  }
}

}  // namespace

ControlFrame::ControlFrame(const QString& sControlName, TabRule rule, QWidget* pParent)
    : QWidget(pParent), sControlName_(sControlName), rule_(rule) {
  // Key preview: the control sees every key before the focused widget in it.
  qApp->installEventFilter(this);
}

ControlFrame::~ControlFrame() {
  if (qApp) qApp->removeEventFilter(this);
}

void ControlFrame::SetTabIndex(QWidget* pWidget, const QString& sKind, qint16 iTabIndex) {
  for (TabEntry& entry : tabWidgets_) {
    if (entry.widget == pWidget) {
      entry.sKind = sKind;
      entry.iTabIndex = iTabIndex;
      return;
    }
  }
  tabWidgets_.push_back({pWidget, sKind, iTabIndex});
}

QString ControlFrame::HostValue(const QString& sFieldName) const {
  QString sValue;
  if (pHost_) pHost_->GetValue(sFieldName, sValue);
  return sValue;
}

void ControlFrame::RaiseRegisterForNotice(const QString& sNoticeName) const {
  if (pHost_) pHost_->RegisterForNotice(sNoticeName);
}

void ControlFrame::RaiseSetWindowTitle(const QString& sWindowTitle) const {
  if (pHost_) pHost_->SetWindowTitle(sWindowTitle);
}

void ControlFrame::RaiseCloseSelf() const {
  if (pHost_) pHost_->CloseSelf();
}

bool ControlFrame::IsOwn(QObject* pObject) const {
  auto* pWidget = qobject_cast<QWidget*>(pObject);
  return pWidget && (pWidget == this || isAncestorOf(pWidget));
}

const ControlFrame::TabEntry* ControlFrame::EntryOf(const QWidget* pWidget) const {
  // The focus may sit inside a widget that is a control of its own (a
  // detail item's button): the active widget is then that control.
  for (; pWidget && pWidget != this; pWidget = pWidget->parentWidget()) {
    for (const TabEntry& entry : tabWidgets_) {
      if (entry.widget && entry.widget == pWidget) return &entry;
    }
  }
  return nullptr;
}

bool ControlFrame::eventFilter(QObject* pWatched, QEvent* pEvent) {
  const QEvent::Type type = pEvent->type();
  if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !IsOwn(pWatched)) {
    return QWidget::eventFilter(pWatched, pEvent);
  }
  const auto* pKey = static_cast<QKeyEvent*>(pEvent);
  if (!IsTabKey(pKey)) return QWidget::eventFilter(pWatched, pEvent);
  // No widget ever receives a Tab; the release moves the focus, once.
  if (type == QEvent::KeyRelease && !pKey->isAutoRepeat()) {
    UserControl_KeyUp(iTabKeyCode, ShiftState(pKey->modifiers()), qobject_cast<QWidget*>(pWatched));
  }
  return true;
}

void ControlFrame::UserControl_KeyUp(int iKeyCode, int iShift, QWidget* pKeyTarget) {
  if (iKeyCode != iTabKeyCode) return;
  Steps steps(sControlName_, QStringLiteral("UserControl_KeyUp"));
  int iCurrent = 0;
  int iTarget = -1;
  steps.Run(100, [&] {
    const TabEntry* pActive = EntryOf(pKeyTarget ? pKeyTarget : QApplication::focusWidget());
    if (!pActive || !IsOwn(pActive->widget)) {
      throw TwkError(QStringLiteral("Object variable or With block variable not set"),
                     sControlName_, 91);
    }
    iCurrent = pActive->iTabIndex;
  });
  steps.Run(110, [&] {
    std::vector<TabCandidate> candidates;
    for (const TabEntry& entry : tabWidgets_) {
      if (!entry.widget) continue;
      candidates.push_back(
          {entry.sKind, entry.iTabIndex, entry.widget->isVisible(), entry.widget->isEnabled()});
    }
    iTarget = ChooseTabTarget(candidates, iCurrent, iShift, rule_);
  });
  steps.Run(120, [&] { FocusTabIndex(iTarget); });
}

void ControlFrame::FocusTabIndex(int iTarget) {
  for (const TabEntry& entry : tabWidgets_) {
    if (!entry.widget || entry.iTabIndex != iTarget || !IsTabKind(entry.sKind, rule_)) continue;
    if (entry.sKind == QStringLiteral("TextBox")) PutCaretAtEnd(entry.widget);
    entry.widget->setFocus(Qt::TabFocusReason);
    return;
  }
}

}  // namespace twk
