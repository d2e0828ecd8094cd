// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "DefinitionGrid.h"
#include "DemoWindow.h"
#include "EmbeddedDatabase.h"
#include "ExplainWindow.h"
#include "HostWindow.h"
#include "LimitedTextBox.h"
#include "ModuleState.h"
#include "QtPlatform.h"
#include "RecordBrowser.h"
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

struct WorkbenchRoute {
  const char* sName;
  const char* sCriteria;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  MessageAnswer answer;
  // The status bar's message starts so; "" when a box is expected.
  const char* sStatus;
  // The box's title and a piece of its text, or nullptr for no box.
  const char* sBoxTitle;
  const char* sBoxText;
  bool bSaved;
};

TEST_F(HostKeys, CheckTryAndSaveOfTheEditorsTextGoThroughTheEngine) {
  const char* sBroken = "select 1\nselect ID fromm Name where ID = {id}";
  const std::vector<WorkbenchRoute> routes = {
      {"F7 passes a sound text", "select ID from Name where ID = {id}", Qt::Key_F7, Qt::NoModifier,
       MessageAnswer::No, "The definition compiles for record 1029", nullptr, nullptr, false},
      {"F7 points at the fault", sBroken, Qt::Key_F7, Qt::NoModifier, MessageAnswer::No,
       "The definition does not compile: Line 2, column 17", "Check definition",
       "Line 2, column 17: Incorrect syntax near 'Name'.", false},
      {"F7 names a wrong column", "select NOPE from Name", Qt::Key_F7, Qt::NoModifier,
       MessageAnswer::No, "The definition does not compile: Line 1", "Check definition", "NOPE",
       false},
      {"Save of a refused text asks, No keeps it unsaved", sBroken, Qt::Key_S, Qt::ControlModifier,
       MessageAnswer::No, "Not saved: Line 2", "Save definition", "Save it anyway?", false},
      {"Save anyway stores it", sBroken, Qt::Key_S, Qt::ControlModifier, MessageAnswer::Yes,
       "Saved alert", "Save definition", "near 'Name'", true},
      {"Save of a sound text asks nothing", "select 1", Qt::Key_S, Qt::ControlModifier,
       MessageAnswer::No, "Saved alert", nullptr, nullptr, true},
      {"Ctrl+F5 tries the unsaved text", "select 'k' as KEYWORD, 'd' as DESCRIPTION, 1 as RANK",
       Qt::Key_F5, Qt::ControlModifier, MessageAnswer::No, "Tried on record 1029", nullptr, nullptr,
       false},
  };
  ASSERT_TRUE(window->Browser()->Select(QStringLiteral("1029")));
  for (const WorkbenchRoute& route : routes) {
    platform.messages.clear();
    // Unused answers would wait for a later box; No is the default.
    if (route.answer == MessageAnswer::Yes) platform.AnswerNext(route.answer);
    editor->cmdNew_Click();
    editor->txtName()->setText(QStringLiteral("TRIAL"));
    editor->txtCriteria()->SetText(QString::fromUtf8(route.sCriteria));
    Press(editor->txtName(), route.key, route.modifiers);
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QString::fromUtf8(route.sStatus)))
        << route.sName << ": " << window->statusBar()->currentMessage().toStdString();
    if (route.sBoxTitle) {
      ASSERT_EQ(platform.messages.size(), 1u) << route.sName;
      EXPECT_EQ(platform.messages[0].sTitle, QString::fromUtf8(route.sBoxTitle)) << route.sName;
      EXPECT_TRUE(platform.messages[0].sText.contains(QString::fromUtf8(route.sBoxText)))
          << route.sName << ": " << platform.messages[0].sText.toStdString();
    } else {
      EXPECT_TRUE(platform.messages.empty()) << route.sName;
    }
    EXPECT_EQ(!editor->lblSeqn()->text().trimmed().isEmpty(), route.bSaved) << route.sName;
  }
  // A click on the button asks as the menu's Save does.
  platform.messages.clear();
  editor->cmdNew_Click();
  editor->txtName()->setText(QStringLiteral("CLICKED"));
  editor->txtCriteria()->SetText(QString::fromUtf8(sBroken));
  QTest::mouseClick(editor->cmdSave(), Qt::LeftButton);
  EXPECT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Save definition")});
  EXPECT_TRUE(editor->lblSeqn()->text().trimmed().isEmpty());
  // The cursor went where the fault is, and the Try window shows the run.
  platform.messages.clear();
  editor->txtCriteria()->SetText(QString::fromUtf8(sBroken));
  Press(editor->txtName(), Qt::Key_F7);
  EXPECT_EQ(editor->txtCriteria()->textCursor().blockNumber(), 1);
  EXPECT_EQ(editor->txtCriteria()->textCursor().positionInBlock(), 16);
  const auto tries = window->findChildren<ExplainWindow*>(QStringLiteral("tryWindow"));
  ASSERT_EQ(tries.size(), 1);
  EXPECT_TRUE(tries[0]->Report().contains(QStringLiteral("run once for record 1029")));
  // The panel's view of it: one alert, its rank, then the fixed text.
  EXPECT_TRUE(tries[0]->Report().contains(QStringLiteral("Alerts for ID 1029 as MANAGER: 1\n")))
      << tries[0]->Report().toStdString();
  EXPECT_TRUE(tries[0]->Report().contains(QStringLiteral("Fixed text: Member")))
      << tries[0]->Report().toStdString();
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
    if (closing.bCloses) {
      EXPECT_FALSE(QApplication::focusWidget() == nullptr) << closing.sClass;
    }
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
