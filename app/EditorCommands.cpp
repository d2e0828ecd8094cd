// SPDX-License-Identifier: MIT
#include "EditorCommands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "Conversions.h"
#include "DefinitionGrid.h"
#include "DefinitionStatements.h"
#include "ctlEditTWK.h"

namespace twk {

namespace {

ctlEditTWK* EditorOf(QWidget* pWidget) {
  for (; pWidget; pWidget = pWidget->parentWidget()) {
    if (auto* pEditor = qobject_cast<ctlEditTWK*>(pWidget)) return pEditor;
  }
  return nullptr;
}

bool IsMenu(const QWidget* pWidget) {
  return qobject_cast<const QMenuBar*>(pWidget) || qobject_cast<const QMenu*>(pWidget);
}

}  // namespace

EditorCommands::EditorCommands(QMainWindow* pWindow, std::function<void(const QString&)> report)
    : QObject(pWindow), window_(pWindow), report_(std::move(report)) {
  menu_ = pWindow->menuBar()->addMenu(QStringLiteral("&Editor"));
  // The buttons' own clicks, so that a command does exactly what the
  // button does. Alt and a letter are the keys a form's buttons usually
  // answer to; they and the Ctrl keys win over the text boxes (the host
  // gives menu shortcuts first go at every key).
  AddCommand(QStringLiteral("&Save"),
             {QKeySequence(QStringLiteral("Ctrl+S")), QKeySequence(QStringLiteral("Alt+S"))},
             [](ctlEditTWK& editor) { editor.cmdSave()->click(); });
  AddCommand(QStringLiteral("&New definition"), {QKeySequence(QStringLiteral("Alt+N"))},
             [](ctlEditTWK& editor) { editor.cmdNew()->click(); });
  AddCommand(QStringLiteral("&Delete definition"),
             {QKeySequence(QStringLiteral("Ctrl+Del")), QKeySequence(QStringLiteral("Alt+D"))},
             [](ctlEditTWK& editor) { editor.cmdDelete()->click(); });
  // Escape discards what was typed rather than closing the editor with it.
  AddCommand(QStringLiteral("&Cancel changes"),
             {QKeySequence(Qt::Key_Escape), QKeySequence(QStringLiteral("Alt+C"))},
             [](ctlEditTWK& editor) { editor.cmdCancel()->click(); });
  menu_->addSeparator();
  AddCommand(QStringLiteral("Enable or disa&ble"), {QKeySequence(QStringLiteral("Alt+B"))},
             [](ctlEditTWK& editor) {
               editor.OptEnabled(editor.OptEnabled(1)->isChecked() ? 2 : 1)->click();
             });
  AddCommand(QStringLiteral("T&ype"), {QKeySequence(QStringLiteral("Alt+Y"))},
             [](ctlEditTWK& editor) { editor.ComType()->setFocus(Qt::ShortcutFocusReason); });
  AddCommand(QStringLiteral("Definition &list"), {QKeySequence(QStringLiteral("Alt+L"))},
             [](ctlEditTWK& editor) { editor.grdTWKResults()->setFocus(Qt::ShortcutFocusReason); });
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* pNow) { FollowFocus(pNow); });
  FollowFocus(QApplication::focusWidget());
}

void EditorCommands::AddCommand(const QString& sText, const QList<QKeySequence>& keys,
                                std::function<void(ctlEditTWK&)> command) {
  QAction* pAction = menu_->addAction(sText);
  pAction->setShortcuts(keys);
  connect(pAction, &QAction::triggered, this, [this, command = std::move(command)] {
    if (editor_) command(*editor_);
  });
  actions_ << pAction;
}

ctlEditTWK* EditorCommands::Editor() const {
  return editor_;
}

void EditorCommands::FollowFocus(QWidget* pNow) {
  // Opening the menu from the keyboard gives the menu bar the focus: the
  // commands still belong to the editor the user came from.
  if (!pNow || IsMenu(pNow)) return;
  editor_ = pNow->window() == window_ ? EditorOf(pNow) : nullptr;
  for (QAction* pAction : actions_) pAction->setEnabled(editor_ != nullptr);
}

void EditorCommands::Attach(ctlEditTWK* pEditor) {
  DefinitionGrid* pList = pEditor->grdTWKResults();
  pList->installEventFilter(this);
  connect(pList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this, editor = QPointer<ctlEditTWK>(pEditor)] {
            if (editor) ListCurrentChanged(editor);
          });
  // Connected after the editor's own handler, so the form is saved by now.
  connect(pEditor->cmdSave(), &QPushButton::clicked, this,
          [this, editor = QPointer<ctlEditTWK>(pEditor)] {
            if (editor) report_(SaveReport(*editor));
          });
  FollowFocus(QApplication::focusWidget());
}

bool EditorCommands::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (auto* pList = qobject_cast<DefinitionGrid*>(pWatched)) {
    if (pEvent->type() == QEvent::KeyPress) {
      bKeyInList_ = true;
      iRowBeforeKey_ = pList->Row();
    } else if (pEvent->type() == QEvent::KeyRelease || pEvent->type() == QEvent::FocusOut) {
      bKeyInList_ = false;
    }
  }
  return QObject::eventFilter(pWatched, pEvent);
}

void EditorCommands::ListCurrentChanged(ctlEditTWK* pEditor) {
  // The list's own handler has already moved its current row.
  const int iRow = pEditor->grdTWKResults()->Row();
  if (!bKeyInList_ || iRow == iRowBeforeKey_) return;
  iRowBeforeKey_ = iRow;
  pEditor->grdTWKResults_Click();
}

QString EditorCommands::SaveReport(const ctlEditTWK& editor) {
  const DefinitionForm form = editor.Form();
  if (const auto refusal = DefinitionStatements::SaveRefusal(form)) {
    return QStringLiteral("Not saved: ") + *refusal;
  }
  if (form.sSeqn.isEmpty()) return QStringLiteral("The new alert definition was not saved.");
  // The rebuilt list shows what the table holds now.
  const DefinitionGrid& list = *editor.grdTWKResults();
  const QString sSeqn = Conversions::TrimSpaces(form.sSeqn);
  for (int iRow = 1; iRow < list.Rows(); ++iRow) {
    if (list.TextMatrix(iRow, 1) != sSeqn) continue;
    const bool bStored = list.TextMatrix(iRow, 2) == Conversions::TrimSpaces(form.sName) &&
                         list.TextMatrix(iRow, 4).isEmpty() == form.bEnabled;
    if (!bStored) break;
    return QStringLiteral("Saved alert definition %1 (%2).").arg(sSeqn, list.TextMatrix(iRow, 2));
  }
  return QStringLiteral("Alert definition %1 was not saved.").arg(sSeqn);
}

}  // namespace twk
