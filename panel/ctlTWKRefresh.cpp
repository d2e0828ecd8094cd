// SPDX-License-Identifier: MIT
// The panel's start-up and its refresh: evaluation, page display, paging.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QScopeGuard>

#include "Conversions.h"
#include "ModuleState.h"
#include "PanelAccessibility.h"
#include "PanelIcons.h"
#include "PanelRules.h"
#include "Steps.h"
#include "TwkError.h"
#include "UpDownScroller.h"
#include "ctlAlertDetail.h"
#include "ctlTWK.h"
#include "modSubroutines.h"

namespace twk {

namespace {

const QString sControl = QStringLiteral("ctlTWK");
const QString sNoRecord = QStringLiteral("No current iMIS record");
constexpr qint16 iNoRecordIcon = 49;

}  // namespace

void ctlTWK::XtenderInit() {
  Steps steps(sControl, QStringLiteral("XtenderInit"));
  steps.Run(100, [&] { Shared_Initialize(); });
}

void ctlTWK::Shared_Initialize() {
  ModuleState& state = ModuleState::ForThisThread();
  if (state.bPanelActive) {
    state.bPanelDuplicate = true;
    RaiseCloseSelf();
    return;
  }
  Steps steps(sControl, QStringLiteral("Shared_Initialize"));
  QString sHost, sDatabase, sUser, sPassword, sLevel;
  qint32 lLevel = 0;
  steps.Run(100, [&] {
    state.bPanelActive = true;
    state.bPanelDuplicate = false;
    modSubroutines::EraseSysParams();
  });
  steps.Run(110, [&] {
    sHost = HostValue(QStringLiteral("lvSession.SQLHostName"));
    sDatabase = HostValue(QStringLiteral("lvSession.SQLDatabase"));
    sUser = HostValue(QStringLiteral("lvSession.SQLUserId"));
    sPassword = HostValue(QStringLiteral("lvSession.SQLUserPassword"));
  });
  steps.Run(120, [&] { RaiseSetWindowTitle(QStringLiteral("Tellwick")); });
  steps.Run(130, [&] {
    sLevel = HostValue(QStringLiteral("lvSession.LevelSystem"));
    iFirstShown_ = 1;
    lLevel = Conversions::ToLong(QVariant(Conversions::LeadingNumber(sLevel)));
  });
  steps.Run(140, [&] { modSubroutines::CalculateAuthID(sUser, sDatabase); });
  bool bConnected = false;
  steps.Run(150, [&] {
    bConnected = modSubroutines::InitializeConnection(sHost, sDatabase, sUser, sPassword, lLevel);
  });
  if (!bConnected) {
    steps.Run(160, [&] { RaiseCloseSelf(); });
    return;
  }
  steps.Run(170, [&] { SetVisualMode(); });
  steps.Run(180, [&] { RaiseRegisterForNotice(QStringLiteral("nNewId")); });
  steps.Run(190, [&] { RefreshAlerts(true); });
}

void ctlTWK::NotifyListener(const QString& sNoticeName, const QString&, const QString&,
                            const QString&, const QString&) {
  if (sNoticeName != QStringLiteral("nNewId")) return;
  Steps steps(sControl, QStringLiteral("NotifyListener"));
  steps.Run(100, [&] {
    udScrollAlerts_->SetPosition(1);
    udScrollAlerts_->setEnabled(false);
    iFirstShown_ = 1;
  });
  steps.Run(110, [&] { RefreshAlerts(false); });
}

void ctlTWK::DisableAlert(QVariant& pvSEQN) {
  evaluation_.DisableAlert(pvSEQN);
}

void ctlTWK::RefreshAlerts(bool bForce) {
  Steps steps(sControl, QStringLiteral("RefreshAlerts"));
  QString sId;
  QString sTitle;
  // Events run while a page fills; a refresh started by one of them has
  // shown its own record, title and fixed text, and this one must not
  // overwrite them afterwards.
  const quint64 lGeneration = ++lDisplayGeneration_;
  const auto superseded = [&] { return lGeneration != lDisplayGeneration_; };
  steps.Run(100, [&] {
    for (ctlAlertDetail* pItem : detDetail_) pItem->ClearAll();
    for (QLabel* pIcon : picAlertIcon_) pIcon->clear();
    // Names and tooltips describe what a slot shows; a cleared slot shows
    // nothing, the no-record item of a moment ago included.
    for (std::size_t k = 0; k < picAlertIcon_.size(); ++k) {
      PanelAccessibility::Unname(detDetail_[k], picAlertIcon_[k]);
    }
  });
  steps.Run(110, [&] { sId = HostValue(QStringLiteral("lvSession.CurrentId")); });
  if (sId.isEmpty()) {
    steps.Run(120, [&] { ShowNoRecord(); });
    steps.Run(130, [&] {
      sTitle = QStringLiteral("No current ID");
      lblFixedText_->setText(QStringLiteral("..."));
    });
  } else {
    steps.Run(140, [&] { sTitle = QStringLiteral("ID ") + sId; });
    steps.Run(150, [&] {
      if (bForce || sId != sLastId_) {
        // Definitions run on this thread and may take a while: the cursor
        // says so until they are done.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        evaluation_.RefreshItems(sId);
        sLastId_ = sId;
      }
    });
    if (superseded()) return;
    steps.Run(160, [&] { ShowPage(lGeneration); });
    if (superseded()) return;
    steps.Run(170, [&] {
      lblFixedText_->setText(modSubroutines::Exec_SQL_SP_String(
          QStringLiteral("exec ptwk_calculate_fixed_text '") + Conversions::QuoteApostrophes(sId) +
          QStringLiteral("', '") +
          Conversions::QuoteApostrophes(ModuleState::ForThisThread().AuthID) +
          QStringLiteral("'")));
    });
  }
  steps.Run(180, [&] { RaiseSetWindowTitle(sTitle); });
}

void ctlTWK::ShowNoRecord() {
  ctlAlertDetail* pItem = detDetail_[0];
  pItem->SetKeyValue(QStringLiteral("0"));
  pItem->SetAlertType(QStringLiteral("ID"));
  pItem->SetKeyword(sNoRecord);
  pItem->setToolTip(sNoRecord);
  pItem->SetDescription(QStringLiteral("..."));
  pItem->SetIcon(iNoRecordIcon);
  picAlertIcon_[0]->setPixmap(IconPicture(iNoRecordIcon));
  AlertOutput pseudoAlert;
  pseudoAlert.sKeyword = sNoRecord;
  pseudoAlert.iIcon = iNoRecordIcon;
  PanelAccessibility::NameIcon(picAlertIcon_[0], pseudoAlert);
  pItem->setAccessibleName(sNoRecord);
  // A page before may have hidden the picture (its first icon out of
  // range); the pseudo-alert's icon shows all the same.
  picAlertIcon_[0]->show();
  picAlertIcon_[0]->raise();
  pItem->show();
  pItem->SetVisible(-1);
}

void ctlTWK::ShowPage(quint64 lGeneration) {
  const int iAlertCount = evaluation_.iAlertCount;
  udScrollAlerts_->SetMinimum(1);
  const PageView view = ComputePageView(iAlertCount, udScrollAlerts_->Position());
  if (view.bBackToFirst) iFirstShown_ = 1;
  udScrollAlerts_->SetPosition(view.iPosition);
  udScrollAlerts_->SetMaximum(view.iMaximum);
  udScrollAlerts_->setEnabled(view.bScrollerEnabled);
  lblMore_->setText(view.sMoreCaption);
  for (int k = 0; k <= 4 && view.iFirst + k <= view.iLast; ++k) {
    const AlertOutput& alert = evaluation_.aoAlerts[std::size_t(view.iFirst + k - 1)];
    detDetail_[std::size_t(k)]->SetAll(alert);
    detDetail_[std::size_t(k)]->show();
    ShowIcon(k, alert.iIcon);
    PanelAccessibility::NameItem(detDetail_[std::size_t(k)], alert, view.iFirst + k, iAlertCount);
    PanelAccessibility::NameIcon(picAlertIcon_[std::size_t(k)], alert);
    QCoreApplication::processEvents();
    // A refresh that ran meanwhile has shown the newer display; stop here.
    if (lGeneration != lDisplayGeneration_) return;
  }
}

void ctlTWK::ShowIcon(int k, qint16 iIcon) {
  QLabel* pIcon = picAlertIcon_[std::size_t(k)];
  if (iIcon >= 1 && iIcon <= PanelIcons::Count()) {
    pIcon->setPixmap(IconPicture(iIcon));
    pIcon->show();
    pIcon->raise();
  } else {
    pIcon->clear();
    pIcon->hide();
  }
}

// Every record change shows its icons again: drawing each picture once (for
// the screen's pixel ratio of the moment) spares the conversion every time.
QPixmap ctlTWK::IconPicture(qint16 iIcon) {
  const qreal dRatio = qApp->devicePixelRatio();
  if (dRatio != dIconRatio_) {
    iconPictures_.clear();
    dIconRatio_ = dRatio;
  }
  const auto found = iconPictures_.constFind(iIcon);
  if (found != iconPictures_.cend()) return *found;
  return *iconPictures_.insert(iIcon, PanelIcons::Picture(iIcon));
}

void ctlTWK::udScrollAlerts_DownClick() {
  Steps steps(sControl, QStringLiteral("udScrollAlerts_DownClick"));
  steps.Run(100, [&] {
    udScrollAlerts_->SetPosition(iFirstShown_);
    if (udScrollAlerts_->Position() < udScrollAlerts_->Maximum()) {
      udScrollAlerts_->SetPosition(udScrollAlerts_->Position() + 1);
      RefreshAlerts(false);
    }
  });
  steps.Run(110, [&] { iFirstShown_ = udScrollAlerts_->Position(); });
}

void ctlTWK::PageAlerts(int iAlerts) {
  Steps steps(sControl, QStringLiteral("PageAlerts"));
  steps.Run(100, [&] {
    // The scroller is disabled while everything is on view, and between a
    // record change and its first page.
    if (!udScrollAlerts_->isEnabled()) return;
    const int iTarget = qBound(1, iFirstShown_ + iAlerts, udScrollAlerts_->Maximum());
    if (iTarget == iFirstShown_) return;
    udScrollAlerts_->SetPosition(iTarget);
    RefreshAlerts(false);
  });
  steps.Run(110, [&] { iFirstShown_ = udScrollAlerts_->Position(); });
}

void ctlTWK::udScrollAlerts_UpClick() {
  Steps steps(sControl, QStringLiteral("udScrollAlerts_UpClick"));
  steps.Run(100, [&] {
    udScrollAlerts_->SetPosition(iFirstShown_);
    if (udScrollAlerts_->Position() > 1) {
      udScrollAlerts_->SetPosition(udScrollAlerts_->Position() - 1);
      RefreshAlerts(false);
    }
  });
  steps.Run(110, [&] { iFirstShown_ = udScrollAlerts_->Position(); });
}

}  // namespace twk
