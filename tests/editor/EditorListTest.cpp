// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTest>
#include <memory>

#include "DefinitionGrid.h"
#include "EditorFixture.h"
#include "LimitedTextBox.h"

namespace twk::testing {
namespace {

using EditorList = EditorFixture;

TEST_F(EditorList, FreshEditorOnAnEmptyTableShowsHeadingsAndOneBlankRow) {
  auto editor = StartEditor();
  const DefinitionGrid& grid = *editor->grdTWKResults();
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Cols(), 5);
  const QStringList headings = {QString(), QStringLiteral("SEQN"), QStringLiteral("ALERT NAME"),
                                QStringLiteral("DESCRIPTION"), QStringLiteral("ENABLED")};
  for (int iCol = 0; iCol < 5; ++iCol) {
    EXPECT_EQ(grid.TextMatrix(0, iCol), headings[iCol]);
    EXPECT_TRUE(grid.TextMatrix(1, iCol).isEmpty());
  }
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Col(), 4);
}

TEST_F(EditorList, RowsShowTrimmedCellsInNumberOrderWithTheirAlignment) {
  AddDefinition(QStringLiteral(" PADDED "), QStringLiteral("  About it  "),
                QStringLiteral("select 1"));
  AddDefinition(QStringLiteral("QUIET"), QString(), QStringLiteral("  select 2  "), false);
  auto editor = StartEditor();
  const DefinitionGrid& grid = *editor->grdTWKResults();
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("1"));
  EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("PADDED"));
  EXPECT_EQ(grid.TextMatrix(1, 3), QStringLiteral("About it"));
  EXPECT_EQ(grid.TextMatrix(1, 4), QString());
  EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("2"));
  EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("\"select 2\""));
  EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("Disabled"));
  EXPECT_EQ(grid.ColAlignment(1), Qt::AlignRight | Qt::AlignVCenter);
  for (int iCol = 2; iCol <= 4; ++iCol) {
    EXPECT_EQ(grid.ColAlignment(iCol), Qt::AlignLeft | Qt::AlignVCenter) << iCol;
  }
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 4);
}

// The list draws its cells itself, for speed: it must look exactly as the
// style's own drawing, in every state a cell can be in.
TEST_F(EditorList, CellsLookAsTheStyleDrawsThemInEveryState) {
  AddDefinition(QStringLiteral("RULE_1"),
                QStringLiteral("A description far too long for its column"),
                QStringLiteral("select 1"));
  AddDefinition(QStringLiteral("RULE_2"), QString(), QStringLiteral("select 2\nfrom Name"), false);
  // Made first so that it outlives the widgets drawn with it.
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  auto editor = StartEditor();
  DefinitionGrid& grid = *editor->grdTWKResults();
  grid.setStyle(fusion.get());
  QStyledItemDelegate styles;
  QAbstractItemDelegate* pOwn = grid.itemDelegate();
  const auto both = [&](const char* sState) {
    const QImage own = grid.grab().toImage();
    grid.setItemDelegate(&styles);
    const QImage theirs = grid.grab().toImage();
    grid.setItemDelegate(pOwn);
    EXPECT_TRUE(own == theirs) << sState;
  };
  both("plain");
  editor->show();
  QApplication::setActiveWindow(editor.get());
  grid.setFocus();
  grid.setCurrentIndex(grid.model()->index(0, 2));
  ASSERT_TRUE(grid.hasFocus());
  both("selected, with focus");
  grid.setEnabled(false);
  both("disabled");
}

TEST_F(EditorList, ColumnsHaveTheirDesignedWidths) {
  auto editor = StartEditor();
  const DefinitionGrid& grid = *editor->grdTWKResults();
  const int aWidths[5] = {150, 550, 1700, 2500, 900};
  for (int iCol = 0; iCol < 5; ++iCol) EXPECT_EQ(grid.ColWidth(iCol), aWidths[iCol]);
  EXPECT_EQ(grid.columnWidth(1), 113);  // 1700 twips at 15 twips a pixel
}

TEST_F(EditorList, AnEmptiedTableKeepsTheRowCountWithBlankCells) {
  AddDefinition(QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("select 1"));
  AddDefinition(QStringLiteral("B"), QStringLiteral("b"), QStringLiteral("select 2"));
  auto editor = StartEditor();
  Raw(QStringLiteral("delete from ttwk_AlertDefinitions"));
  editor->PopulateGrid();
  const DefinitionGrid& grid = *editor->grdTWKResults();
  EXPECT_EQ(grid.Rows(), 3);
  EXPECT_TRUE(grid.TextMatrix(2, 2).isEmpty());
  EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("ALERT NAME"));
  EXPECT_EQ(grid.Row(), 0);
}

TEST_F(EditorList, ANullNameIsReportedAndTheRestOfTheRowStillFills) {
  LetDefinitionsHoldNulls();
  Raw(
      QStringLiteral("insert into ttwk_AlertDefinitions values (1, 'select 1', 0, 'About', 'SQL', "
                     "null)"));
  auto editor = StartEditor();
  const DefinitionGrid& grid = *editor->grdTWKResults();
  EXPECT_TRUE(AllMessageText().contains(QStringLiteral("in TWK.ctlEditTWK.PopulateGrid at line ")));
  EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("1"));
  EXPECT_TRUE(grid.TextMatrix(1, 2).isEmpty());
  EXPECT_EQ(grid.TextMatrix(1, 3), QStringLiteral("About"));
  EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("Disabled"));
}

TEST_F(EditorList, ClickLoadsTheDefinitionWithItsSpacesKept) {
  AddDefinition(QStringLiteral("FIRST"), QStringLiteral("one"), QStringLiteral("select 1"));
  const QString sSeqn =
      AddDefinition(QStringLiteral(" SECOND "), QStringLiteral(" two "),
                    QStringLiteral(" select 2 "), false, QStringLiteral("SQLSilent"));
  auto editor = StartEditor();
  ClickRow(*editor, 2);
  EXPECT_EQ(editor->lblSeqn()->text(), sSeqn);
  EXPECT_EQ(editor->txtName()->text(), QStringLiteral(" SECOND "));
  EXPECT_EQ(editor->txtDescription()->Text(), QStringLiteral(" two "));
  EXPECT_EQ(editor->txtCriteria()->Text(), QStringLiteral(" select 2 "));
  EXPECT_EQ(editor->ComType()->currentText(), QStringLiteral("SQLSilent"));
  EXPECT_TRUE(editor->OptEnabled(2)->isChecked());
  EXPECT_EQ(editor->grdTWKResults()->Col(), 1);
}

TEST_F(EditorList, MouseClickOnACellLoadsItsRow) {
  AddDefinition(QStringLiteral("FIRST"), QStringLiteral("one"), QStringLiteral("select 1"));
  AddDefinition(QStringLiteral("SECOND"), QStringLiteral("two"), QStringLiteral("select 2"));
  auto editor = StartEditor();
  editor->show();
  DefinitionGrid& grid = *editor->grdTWKResults();
  const QRect cell = grid.visualRect(grid.model()->index(0, 2));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(editor->txtName()->text(), QStringLiteral("FIRST"));
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(EditorList, RowDeletedElsewhereOrBlankRowClearsTheForm) {
  const QString sSeqn =
      AddDefinition(QStringLiteral("GONE"), QStringLiteral("soon"), QStringLiteral("select 1"));
  auto editor = StartEditor();
  ClickRow(*editor, 1);
  ASSERT_EQ(editor->txtName()->text(), QStringLiteral("GONE"));
  editor->OptEnabled(2)->setChecked(true);
  Raw(QStringLiteral("delete from ttwk_AlertDefinitions where SEQN = ") + sSeqn);
  ClickRow(*editor, 1);
  EXPECT_TRUE(editor->lblSeqn()->text().isEmpty());
  EXPECT_TRUE(editor->txtName()->text().isEmpty());
  EXPECT_TRUE(editor->txtCriteria()->Text().isEmpty());
  EXPECT_TRUE(editor->ComType()->currentText().isEmpty());
  EXPECT_TRUE(editor->OptEnabled(1)->isChecked());
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(EditorList, ThirtyTwoThousandSevenHundredSixtySixDefinitionsFitAndNoMore) {
  Raw(QStringLiteral(
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < 32767) "
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
      "select 'select ' || i, i % 2, '', 'SQL', 'N' || i from n"));
  auto editor = StartEditor();
  const DefinitionGrid& grid = *editor->grdTWKResults();
  EXPECT_EQ(grid.Rows(), 32767);
  EXPECT_EQ(grid.TextMatrix(32766, 2), QStringLiteral("N32766"));
  EXPECT_EQ(grid.TextMatrix(32766, 3), QStringLiteral("\"select 32766\""));
  EXPECT_EQ(grid.Row(), 32766);
  // The one that does not fit is reported, once.
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.startsWith(QStringLiteral("Overflow")));
}

TEST_F(EditorList, LayoutFollowsTheDesignInTwips) {
  auto editor = StartEditor();
  EXPECT_EQ(editor->size(), QSize(698, 343));
  EXPECT_EQ(editor->grdTWKResults()->geometry(), QRect(4, 4, 413, 297));
  EXPECT_EQ(editor->txtCriteria()->geometry(), QRect(508, 176, 177, 121));
  for (QLabel* pCaption : editor->CaptionLabels()) {
    EXPECT_EQ(pCaption->geometry().right() + 1, 501) << pCaption->text().toStdString();
    EXPECT_TRUE(pCaption->alignment() & Qt::AlignRight);
    EXPECT_TRUE(pCaption->font().bold());
  }
  EXPECT_FALSE(editor->grdTWKResults()->font().bold());
}

TEST_F(EditorList, TabVisitsTheThreeTextBoxesAndPutsTheCaretAtTheEnd) {
  auto editor = StartEditor();
  editor->show();
  editor->txtName()->setText(QStringLiteral("NAME"));
  editor->txtCriteria()->SetText(QStringLiteral("select 1"));
  editor->txtName()->setFocus();
  QApplication::processEvents();
  editor->UserControl_KeyUp(9, 0);
  EXPECT_EQ(QApplication::focusWidget(), editor->txtDescription());
  editor->UserControl_KeyUp(9, 0);
  EXPECT_EQ(QApplication::focusWidget(), editor->txtCriteria());
  EXPECT_EQ(editor->txtCriteria()->textCursor().position(), 8);
  editor->UserControl_KeyUp(9, 0);
  EXPECT_EQ(QApplication::focusWidget(), editor->txtName());
  editor->UserControl_KeyUp(9, 1);
  EXPECT_EQ(QApplication::focusWidget(), editor->txtCriteria());
}

TEST_F(EditorList, ArrowKeysMoveTheCurrentRowThatCancelReloads) {
  AddDefinition(QStringLiteral("FIRST"), QStringLiteral("one"), QStringLiteral("select 1"));
  const QString sSecond =
      AddDefinition(QStringLiteral("SECOND"), QStringLiteral("two"), QStringLiteral("select 2"));
  auto editor = StartEditor();
  editor->show();
  DefinitionGrid& grid = *editor->grdTWKResults();
  ClickRow(*editor, 1);
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 2);
  // Moving with the keys loads nothing; Cancel loads the row now current.
  EXPECT_EQ(editor->txtName()->text(), QStringLiteral("FIRST"));
  editor->cmdCancel_Click();
  EXPECT_EQ(editor->lblSeqn()->text(), sSecond);
  EXPECT_EQ(editor->txtName()->text(), QStringLiteral("SECOND"));
}

}  // namespace
}  // namespace twk::testing
