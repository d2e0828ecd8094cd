// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>

#include "AlertOutput.h"
#include "DetailRules.h"

class QLabel;
class QPushButton;

namespace twk {

class DetailWindowHook;

/// Shows one computed alert: an icon area, its keyword and two small buttons
/// for its prepared clipboard text and command line. Created by the class
/// name "TWKDetail.ctlAlertDetail"; truth values are -1 (True) and 0.
class ctlAlertDetail : public QWidget {
  Q_OBJECT

 public:
  /// Shows the context menu with the given enabled states and returns the
  /// entry chosen (Nothing for "Cancel" or no choice). Replaceable so that a
  /// test can see the menu without a modal loop.
  using MenuPresenter = std::function<DetailCommand(const DetailMenuState&)>;

  explicit ctlAlertDetail(QWidget* pParent = nullptr);
  ~ctlAlertDetail() override;

  void ClearAll();
  void SetAll(const AlertOutput& aoOutput);
  void PerformAutomation();
  qint16 Test() const { return 1; }

  qint32 Seqn() const { return lSeqn_; }
  void SetSeqn(qint32 lValue) { lSeqn_ = lValue; }
  /// Shows or hides the four widgets; the surface itself stays visible.
  qint16 Visible() const { return bVisible_; }
  void SetVisible(qint16 bValue);
  /// Shows a picture in the icon area; nothing is stored.
  void SetTWKImage(const QPixmap& picture);
  qint16 Icon() const { return iIcon_; }
  void SetIcon(qint16 iValue) { iIcon_ = iValue; }
  QString Keyword() const { return sKeyword_; }
  void SetKeyword(const QString& sValue);
  QString ToolTipText() const { return sToolTipText_; }
  void SetToolTipText(const QString& sValue);
  QString TitleText() const { return sTitleText_; }
  /// An empty value stores the keyword stored at this moment.
  void SetTitleText(const QString& sValue);
  QString AlertType() const { return sAlertType_; }
  void SetAlertType(const QString& sValue) { sAlertType_ = sValue; }
  QString KeyValue() const { return sKeyValue_; }
  void SetKeyValue(const QString& sValue) { sKeyValue_ = sValue; }
  QString Description() const { return sDescription_; }
  void SetDescription(const QString& sValue) { sDescription_ = sValue; }
  qint16 Rank() const { return iRank_; }
  void SetRank(qint16 iValue) { iRank_ = iValue; }
  QString ClipboardText() const { return sClipboardText_; }
  /// Stores the value without leading and trailing spaces; updates cmdClip.
  void SetClipboardText(const QString& sValue);
  QString ClipboardDescription() const { return sClipboardDescription_; }
  void SetClipboardDescription(const QString& sValue);
  QString ActionText() const { return sActionText_; }
  /// Stores the value without leading and trailing spaces; updates cmdAction.
  void SetActionText(const QString& sValue);
  QString ActionDescription() const { return sActionDescription_; }
  void SetActionDescription(const QString& sValue);
  qint16 AutoPopup() const { return bAutoPopup_; }
  void SetAutoPopup(qint16 bValue) { bAutoPopup_ = bValue; }
  qint16 AutoClipboard() const { return bAutoClipboard_; }
  void SetAutoClipboard(qint16 bValue) { bAutoClipboard_ = bValue; }
  qint16 AutoAction() const { return bAutoAction_; }
  void SetAutoAction(qint16 bValue) { bAutoAction_ = bValue; }

  void SetMenuPresenter(MenuPresenter presenter);

  void ShowPopupMenu();
  void PerformAction();
  void CopyToClipboard();
  void ZoomDetails();
  /// Installs the right-button hook on the surface and the keyword label;
  /// a second call while hooked does nothing.
  void HookWindow();
  /// Removes the hook; does nothing while not hooked.
  void UnhookWindow();
  bool IsHooked() const { return pHook_ != nullptr; }

  /// Runs what a gesture on one area of the item asks for.
  void HandleGesture(DetailArea area, DetailGesture gesture);

  QPushButton* cmdAction() const { return cmdAction_; }
  QPushButton* cmdClip() const { return cmdClip_; }
  QLabel* picAlert() const { return picAlert_; }
  QLabel* lblKeyword() const { return lblKeyword_; }

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void mouseReleaseEvent(QMouseEvent* pEvent) override;
  void mouseDoubleClickEvent(QMouseEvent* pEvent) override;

 private:
  void CreateWidgets();
  void PlaceWidgets();
  void ApplyButtonRule(QPushButton* pButton, const QString& sStoredText);
  void ShowKeyword();
  /// The text as word-wrapped lines that fit the area, the last one ending
  /// in an ellipsis when more would follow.
  /// Whether the palette's button and window colours are the widget's own,
  /// and that colour, in every group.
  static bool HasOwnColour(const QPalette& palette, const QColor& colour);
  static QString ElideToLines(const QString& sText, const QFont& font, const QSize& area);
  /// The same, kept from an earlier call with the same text, font and size.
  static QString Elided(const QString& sText, const QFont& font, const QSize& area);
  void SetSurfaceColour(SystemColour colour);
  void Run(DetailCommand command);
  DetailCommand PresentMenu(const DetailMenuState& state);

  qint16 bVisible_ = 0;
  qint32 lSeqn_ = 0;
  QString sAlertType_;
  QString sKeyValue_;
  qint16 iRank_ = 0;
  qint16 iIcon_ = -1;
  QString sKeyword_;
  QString sDescription_;
  QString sToolTipText_;
  QString sTitleText_;
  QString sClipboardText_;
  QString sClipboardDescription_;
  QString sActionText_;
  QString sActionDescription_;
  qint16 bAutoPopup_ = 0;
  qint16 bAutoClipboard_ = 0;
  qint16 bAutoAction_ = 0;

  QPushButton* cmdAction_ = nullptr;
  QPushButton* cmdClip_ = nullptr;
  QLabel* picAlert_ = nullptr;
  QLabel* lblKeyword_ = nullptr;
  DetailWindowHook* pHook_ = nullptr;
  MenuPresenter menuPresenter_;
};

}  // namespace twk
