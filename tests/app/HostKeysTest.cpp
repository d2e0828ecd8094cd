// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "DemoWindow.h"
#include "DefinitionGrid.h"
#include "EmbeddedDatabase.h"
#include "HostWindow.h"
#include "LimitedTextBox.h"
#include "ModuleState.h"
#include "QtPlatform.h"
#include "RecordingPlatform.h"
#include "ctlEditTWK.h"

namespace twk {
namespace {

/// The host's window with the editor open on the demo database, the
/// focus in the editor, keys sent as a person types them.
class HostKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    window = ShownDemoWindow(scratch.filePath(QStringLiteral("demo.db")));
    editor = qobject_cast<ctlEditTWK*>(
        window->OpenControl(QStringLiteral("TWK.ctlEditTWK"), Qt::BottomDockWidgetArea));
    ASSERT_NE(editor, nullptr);
  }

  void Press(QWidget* pTarget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    pTarget->setFocus();
    QTest::keyClick(pTarget, key, modifiers);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  int DockCount() const { return int(window->findChildren<QDockWidget*>().size()); }

  testing::RecordingPlatform platform;
  ScopedModuleState moduleState;
  QTemporaryDir scratch;
  std::unique_ptr<HostWindow> window;
  ctlEditTWK* editor = nullptr;
};

struct EditorRoute {
  const char* sName;
  std::function<QWidget*(ctlEditTWK&)> target;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  std::function<bool(ctlEditTWK&, HostWindow&, testing::RecordingPlatform&)> done;
};

TEST_F(HostKeys, EachEditorCommandAnswersItsKeysFromTheTextBoxes) {
  const auto criteria = [](ctlEditTWK& e) -> QWidget* { return e.txtCriteria(); };
  const auto name = [](ctlEditTWK& e) -> QWidget* { return e.txtName(); };
  const std::vector<EditorRoute> routes = {
      {"Ctrl+S saves a new definition", criteria, Qt::Key_S, Qt::ControlModifier,
       [](ctlEditTWK& e, HostWindow& w, auto&) {
         return !e.lblSeqn()->text().isEmpty() &&
                w.statusBar()->currentMessage().startsWith(QStringLiteral("Saved alert"));
       }},
      {"Alt+S saves and types nothing", criteria, Qt::Key_S, Qt::AltModifier,
       [](ctlEditTWK& e, HostWindow&, auto&) {
         return !e.lblSeqn()->text().isEmpty() && e.txtCriteria()->Text() == "select 1";
       }},
      {"Alt+N clears the form for a new one", name, Qt::Key_N, Qt::AltModifier,
       [](ctlEditTWK& e, HostWindow&, auto&) {
         return e.txtName()->text().isEmpty() && e.ComType()->currentText() == "SQL";
       }},
      {"Escape brings back the list's row", criteria, Qt::Key_Escape, Qt::NoModifier,
       [](ctlEditTWK& e, HostWindow& w, auto&) {
         return e.txtName()->text() != "TYPED" && w.findChildren<QDockWidget*>().size() == 1;
       }},
      {"Alt+B disables", name, Qt::Key_B, Qt::AltModifier,
       [](ctlEditTWK& e, HostWindow&, auto&) { return e.OptEnabled(2)->isChecked(); }},
      {"Alt+Y reaches the type", name, Qt::Key_Y, Qt::AltModifier,
       [](ctlEditTWK& e, HostWindow&, auto&) { return e.ComType()->hasFocus(); }},
      {"Alt+L reaches the list", name, Qt::Key_L, Qt::AltModifier,
       [](ctlEditTWK& e, HostWindow&, auto&) { return e.grdTWKResults()->hasFocus(); }},
      {"Ctrl+Del asks before deleting", criteria, Qt::Key_Delete, Qt::ControlModifier,
       [](ctlEditTWK&, HostWindow&, testing::RecordingPlatform& p) {
         return p.MessageTitles() == QStringList{QStringLiteral("Delete?")};
       }},
  };
  for (const EditorRoute& route : routes) {
    platform.messages.clear();
    editor->grdTWKResults()->SetRow(1);
    editor->PopulateData();  // a stored definition, for Delete
    if (QByteArray(route.sName).startsWith("Ctrl+S") ||
        QByteArray(route.sName).startsWith("Alt+S")) {
      editor->cmdNew_Click();
    }
    editor->txtName()->setText(QStringLiteral("TYPED"));
    editor->txtCriteria()->SetText(QStringLiteral("select 1"));
    Press(route.target(*editor), route.key, route.modifiers);
    EXPECT_TRUE(route.done(*editor, *window, platform)) << route.sName;
  }
}

TEST_F(HostKeys, MovingInTheListWithTheKeysLoadsTheRowReached) {
  DefinitionGrid* pList = editor->grdTWKResults();
  ASSERT_GT(pList->Rows(), 3);
  pList->SetRow(1);
  editor->PopulateData();
  const std::vector<std::pair<Qt::Key, int>> moves = {
      {Qt::Key_Down, 2}, {Qt::Key_Down, 3}, {Qt::Key_Up, 2}, {Qt::Key_End, pList->Rows() - 1}};
  for (const auto& [key, iRow] : moves) {
    Press(pList, key, key == Qt::Key_End ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(editor->lblSeqn()->text().trimmed(), pList->TextMatrix(iRow, 1)) << iRow;
  }
}

TEST_F(HostKeys, ADockClosesFromTheKeysThatCloseIt) {
  const struct {
    const char* sClass;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool bCloses;
  } cases[] = {
      {"TWK.ctlPreviewImages", Qt::Key_Escape, Qt::NoModifier, true},
      {"TWK.ctlPreviewImages", Qt::Key_W, Qt::ControlModifier, true},
      {"TWK.ctlTWK", Qt::Key_F4, Qt::ControlModifier, true},
      {"TWK.ctlEditTWK", Qt::Key_W, Qt::ControlModifier, true},
      {"TWK.ctlEditTWK", Qt::Key_Escape, Qt::NoModifier, false},  // Cancel there
  };
  for (const auto& closing : cases) {
    for (QDockWidget* pDock : window->findChildren<QDockWidget*>()) delete pDock;
    QWidget* pControl =
        window->OpenControl(QString::fromLatin1(closing.sClass), Qt::BottomDockWidgetArea);
    ASSERT_NE(pControl, nullptr);
    window->FocusPane(+1);
    ASSERT_TRUE(pControl->isAncestorOf(QApplication::focusWidget())) << closing.sClass;
    Press(QApplication::focusWidget(), closing.key, closing.modifiers);
    EXPECT_EQ(DockCount(), closing.bCloses ? 0 : 1) << closing.sClass << " " << closing.key;
    if (closing.bCloses) EXPECT_FALSE(QApplication::focusWidget() == nullptr) << closing.sClass;
  }
}

TEST(QtMessageBox, EnterAnswersNoToAQuestionAndYesToAnyOtherYesNoBox) {
  const struct {
    MessageIcon icon;
    MessageAnswer answer;
  } cases[] = {{MessageIcon::Question, MessageAnswer::No}, {MessageIcon::None, MessageAnswer::Yes}};
  for (const auto& box : cases) {
    QtPlatform desktop;
    QTimer::singleShot(0, [] {
      if (QWidget* pBox = QApplication::activeModalWidget()) QTest::keyClick(pBox, Qt::Key_Return);
    });
    EXPECT_EQ(desktop.ShowMessage(QStringLiteral("Sure?"), QStringLiteral("Delete?"),
                                  MessageButtons::YesNo, box.icon),
              box.answer)
        << int(box.icon);
  }
}

}  // namespace
}  // namespace twk
