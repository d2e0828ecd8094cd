// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <array>
#include <memory>

#include "AlertEvaluation.h"
#include "ControlFrame.h"
#include "FramedButton.h"
#include "XtenderControl.h"

class QLabel;
class QPushButton;

namespace twk {

class ctlAlertDetail;
class UpDownScroller;

/// The alert panel: connects with the host's login, evaluates the alerts
/// of the current record on every "nNewId", and shows them five at a time
/// with their icons, a scroller that pages one alert a click, Refresh and
/// the record's fixed text. Created by the class name "TWK.ctlTWK".
class ctlTWK : public ControlFrame, public NoticeListener, public AlertDisabler {
  Q_OBJECT

 public:
  /// Where a right press on Refresh leads: the product's own page.
  static QString ProductWebPage();

  explicit ctlTWK(QWidget* pParent = nullptr);
  ~ctlTWK() override;

  void XtenderInit() override;
  void NotifyListener(const QString& sNoticeName, const QString& sArg1, const QString& sArg2,
                      const QString& sArg3, const QString& sArg4) override;
  void DisableAlert(QVariant& pvSEQN) override;

  void cmdRefresh_MouseDown(Qt::MouseButton button);
  void lblFixedText_DblClick();
  void udScrollAlerts_UpClick();
  void udScrollAlerts_DownClick();
  /// Moves the view by iAlerts (negative: towards the first alert) in one
  /// re-display, as that many scroller clicks would, within the alerts.
  void PageAlerts(int iAlerts);
  void UserControl_Resize();
  void UserControl_Terminate();

  AlertEvaluation& Evaluation() noexcept { return evaluation_; }
  const QString& LastId() const noexcept { return sLastId_; }
  int FirstShown() const noexcept { return iFirstShown_; }
  const QString& VisualModeName() const noexcept { return sVisualMode_; }
  ctlAlertDetail* detDetail(int k) const { return detDetail_.at(std::size_t(k)); }
  QLabel* picAlertIcon(int k) const { return picAlertIcon_.at(std::size_t(k)); }
  UpDownScroller* udScrollAlerts() const noexcept { return udScrollAlerts_; }
  FramedButton* cmdRefresh() const noexcept { return cmdRefresh_; }
  QLabel* lblMore() const noexcept { return lblMore_; }
  QLabel* lblFixedText() const noexcept { return lblFixedText_; }

  /// The designed size.
  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void resizeEvent(QResizeEvent* pEvent) override;

 private:
  class HiddenItemAutomation;

  void CreateWidgets();
  void PlaceWidgets();
  void Shared_Initialize();
  void RefreshAlerts(bool bForce);
  void ShowNoRecord();
  /// Fills the page; stops when a newer refresh (lGeneration outdated)
  /// ran during the pending events between slots.
  void ShowPage(quint64 lGeneration);
  void ShowIcon(int k, qint16 iIcon);
  QPixmap IconPicture(qint16 iIcon);
  /// An arrow key pressed on Refresh; true when it was taken.
  bool RefreshArrowKey(int iKey);
  void SetVisualMode();
  void ApplyVisualMode(const QString& sMode);

  AlertEvaluation evaluation_;
  std::unique_ptr<HiddenItemAutomation> automation_;
  std::array<ctlAlertDetail*, 6> detDetail_{};
  std::array<QLabel*, 5> picAlertIcon_{};
  UpDownScroller* udScrollAlerts_ = nullptr;
  FramedButton* cmdRefresh_ = nullptr;
  QLabel* lblMore_ = nullptr;
  QLabel* lblFixedText_ = nullptr;

  QString sLastId_;
  int iFirstShown_ = 1;
  QString sVisualMode_;
  bool bTerminated_ = false;
  /// Counts refreshes, so that one interrupted by a newer one (events run
  /// between slots) stops instead of overwriting what the newer showed.
  quint64 lDisplayGeneration_ = 0;
  /// Pictures of the icons shown so far, drawn for the screen of dIconRatio_.
  QHash<qint16, QPixmap> iconPictures_;
  qreal dIconRatio_ = 0.0;
};

/// Registers "TWK.ctlTWK" with the control registry.
void RegisterPanelControls();

}  // namespace twk
