// SPDX-License-Identifier: MIT
#include "EditorCommands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>

#include "AlertEvaluation.h"
#include "AlertReport.h"
#include "Conversions.h"
#include "DefinitionGrid.h"
#include "DefinitionStatements.h"
#include "DefinitionWorkbench.h"
#include "LimitedTextBox.h"
#include "ModuleState.h"
#include "PlatformServices.h"
#include "ctlEditTWK.h"
#include "modSubroutines.h"

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

// Where the author should look: the place the database named, or the
// start of its line when it named no column.
void PlaceCursor(ctlEditTWK& editor, const TextPlace& place) {
  if (place.iLine == 0) return;
  LimitedTextBox* pBox = editor.txtCriteria();
  const QTextBlock block = pBox->document()->findBlockByNumber(place.iLine - 1);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                      qMin(qMax(place.iColumn - 1, 0), block.length() - 1));
  pBox->setTextCursor(cursor);
  pBox->setFocus(Qt::OtherFocusReason);
}

}  // namespace

EditorCommands::EditorCommands(QMainWindow* pWindow, EditorHost host)
    : QObject(pWindow), window_(pWindow), host_(std::move(host)) {
  menu_ = pWindow->menuBar()->addMenu(QStringLiteral("&Editor"));
  // The buttons' own clicks, so that a command does exactly what the
  // button does. Alt and a letter are the keys a form's buttons usually
  // answer to; they and the Ctrl keys win over the text boxes (the host
  // gives menu shortcuts first go at every key).
  AddCommand(QStringLiteral("&Save"),
             {QKeySequence(QStringLiteral("Ctrl+S")), QKeySequence(QStringLiteral("Alt+S"))},
             [this](ctlEditTWK& editor) {
               if (SaveMayGoAhead(editor)) editor.cmdSave()->click();
             });
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
  menu_->addSeparator();
  AddCommand(QStringLiteral("Chec&k definition"), {QKeySequence(Qt::Key_F7)},
             [this](ctlEditTWK& editor) { CheckDefinition(editor); });
  AddCommand(QStringLiteral("&Try on the open record"), {QKeySequence(QStringLiteral("Ctrl+F5"))},
             [this](ctlEditTWK& editor) { TryDefinition(editor); });
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
  // A click or Space on the button itself asks as the menu's Save does.
  pEditor->cmdSave()->installEventFilter(this);
  connect(pList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this, editor = QPointer<ctlEditTWK>(pEditor)] {
            if (editor) ListCurrentChanged(editor);
          });
  // Connected after the editor's own handler, so the form is saved by now.
  connect(pEditor->cmdSave(), &QPushButton::clicked, this,
          [this, editor = QPointer<ctlEditTWK>(pEditor)] {
            if (editor) host_.report(SaveReport(*editor));
          });
  FollowFocus(QApplication::focusWidget());
}

bool EditorCommands::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (ButtonWouldClick(pWatched, pEvent)) {
    auto* pButton = static_cast<QPushButton*>(pWatched);
    ctlEditTWK* pEditor = EditorOf(pButton);
    if (pEditor && !SaveMayGoAhead(*pEditor)) {
      pButton->setDown(false);
      return true;
    }
  }
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

bool EditorCommands::ButtonWouldClick(QObject* pWatched, QEvent* pEvent) const {
  auto* pButton = qobject_cast<QPushButton*>(pWatched);
  if (!pButton || !pButton->isDown()) return false;
  if (pEvent->type() == QEvent::MouseButtonRelease) {
    const auto* pMouse = static_cast<QMouseEvent*>(pEvent);
    return pMouse->button() == Qt::LeftButton &&
           pButton->rect().contains(pMouse->position().toPoint());
  }
  if (pEvent->type() == QEvent::KeyRelease) {
    const auto* pKey = static_cast<QKeyEvent*>(pEvent);
    return pKey->key() == Qt::Key_Space && !pKey->isAutoRepeat();
  }
  return false;
}

bool EditorCommands::CheckDefinition(ctlEditTWK& editor) {
  const DefinitionForm form = editor.Form();
  if (!host_.reachDatabase()) return true;
  const QString sId = host_.currentId();
  const DefinitionCheck check = DefinitionWorkbench::Check(form.sCriteria, sId);
  if (check.Passed()) {
    // The server defers a table it does not know to the run, and so does
    // the check: the author should not read a pass as more than it is.
    const QString sPassed = QStringLiteral(
        ": no errors found (a table that does not exist yet is looked up only when the text "
        "runs: Try finds it).");
    host_.report((sId.isEmpty() ? QStringLiteral("The definition compiles")
                                : QStringLiteral("The definition compiles for record ") + sId) +
                 sPassed);
    return true;
  }
  host_.report(QStringLiteral("The definition does not compile: ") + check.Text());
  PlaceCursor(editor, check.place);
  Platform::Services().ShowMessage(check.Text(), QStringLiteral("Check definition"),
                                   MessageButtons::Ok, MessageIcon::Exclamation);
  return false;
}

void EditorCommands::TryDefinition(ctlEditTWK& editor) {
  const QString sId = host_.currentId();
  if (sId.isEmpty()) {
    host_.report(QStringLiteral("Open a record first: the definition is tried on it."));
    return;
  }
  if (!host_.reachDatabase()) return;
  const DefinitionForm form = editor.Form();
  AlertRule rule;
  rule.SEQN = Conversions::TrimSpaces(form.sSeqn).toInt();
  rule.CRITERIA = form.sCriteria;
  rule.DESCRIPTION = form.sDescription;
  rule.ALERT_TYPE = form.sType;
  AlertReport shown;
  const AlertExplanation explanation = DefinitionWorkbench::Try(rule, sId, shown.alerts);
  const QString sName = Conversions::TrimSpaces(form.sName);
  QString sReport = QStringLiteral(
                        "The editor's text of %1, as it stands (nothing is saved),\n"
                        "run once for record %2; nothing automatic is done.\n\n")
                        .arg(sName.isEmpty() ? QStringLiteral("a new definition") : sName, sId);
  sReport += explanation.ToText();
  // What the panel would show of this definition alone, fixed text included.
  shown.sId = sId;
  shown.sUser = ModuleState::ForThisThread().AuthID;
  shown.ReadFixedText();
  sReport += QStringLiteral("\nAs the panel would show them:\n") + shown.ToTable();
  host_.showReport(QStringLiteral("Try on record ") + sId, sId, sReport);
  const auto& definitions = explanation.Definitions();
  if (!definitions.empty() && !definitions.front().sError.isEmpty()) {
    host_.report(QStringLiteral("The definition failed for record %1: %2")
                     .arg(sId, definitions.front().sError));
  } else {
    host_.report(QStringLiteral("Tried on record %1.").arg(sId));
  }
}

bool EditorCommands::SaveMayGoAhead(ctlEditTWK& editor) {
  const DefinitionForm form = editor.Form();
  // Only a text the panel runs is checked, and only when the Save itself
  // would store it: its own refusals come first and as they are.
  if (form.sType != u"SQL" && form.sType != u"SQLSilent") return true;
  if (DefinitionStatements::SaveRefusal(form)) return true;
  if (!host_.reachDatabase()) return true;
  const DefinitionCheck check = DefinitionWorkbench::Check(form.sCriteria, host_.currentId());
  if (check.Passed()) return true;
  PlaceCursor(editor, check.place);
  const MessageAnswer answer = Platform::Services().ShowMessage(
      QStringLiteral("The database refuses this definition's text:\n\n%1\n\nThe panel would "
                     "drop it for every record without a word. Save it anyway?")
          .arg(check.Text()),
      QStringLiteral("Save definition"), MessageButtons::YesNo, MessageIcon::Exclamation);
  if (answer == MessageAnswer::Yes) return true;
  host_.report(QStringLiteral("Not saved: ") + check.Text());
  return false;
}

}  // namespace twk
