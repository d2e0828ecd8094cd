// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <exception>
#include <functional>
#include <vector>

#include "AlertOutput.h"
#include "AutomationTarget.h"
#include "EvaluationObserver.h"
#include "Recordset.h"

namespace twk {

class Steps;

/// One enabled alert definition as the panel reads it.
struct AlertRule {
  qint32 SEQN = 0;
  QString CRITERIA;
  QString DESCRIPTION;
  QString ALERT_TYPE;
};

/// The alert table of one panel and the procedures that fill, order and
/// automate it for a record. Works on the shared connection of the calling
/// thread's module state; reports failures as procedures of ctlTWK.
class AlertEvaluation {
 public:
  /// Slots 0 to 100: one more than the hundred alerts a record may have, so
  /// that the alert that overflows is still kept.
  static constexpr int iSlotCount = 101;

  /// The fixed alert table; accepted alerts occupy slots 0 to iAlertCount - 1.
  std::array<AlertOutput, iSlotCount> aoAlerts{};
  /// The number of accepted alerts (at most 101).
  qint16 iAlertCount = 0;

  /// Called with the slot number after ClearAlertDetails resets a slot, for
  /// the panel's display effect.
  void SetSlotClearedHook(std::function<void(int)> hook) { slotCleared_ = std::move(hook); }
  /// The item that performs the automation; not owned. Without one, every
  /// automated alert fails into the error report.
  void SetAutomationTarget(AutomationTarget* pTarget) noexcept { pAutomationTarget_ = pTarget; }
  /// Told of every definition, row and verdict; not owned, may be null.
  void SetObserver(EvaluationObserver* pObserver) noexcept { pObserver_ = pObserver; }

  /// The enabled definitions, in the order the database returns them; one
  /// blank rule when there is none, an empty list when they cannot be read.
  std::vector<AlertRule> ReadAlertRules();
  /// The one definition with that SEQN, enabled or not, so that an author
  /// can try a definition on a record before enabling it; empty when absent.
  std::vector<AlertRule> ReadAlertRule(qint32 lSeqn);
  /// Runs the rules of type "SQL" and "SQLSilent" for the record sId and
  /// collects their direct rows, then this connection's rows of
  /// ttwk_AlertOutput, into the alert table.
  void RunAlertRules(const std::vector<AlertRule>& rules, const QString& sId);
  /// Resets the shown and automated fields of a slot; the sequence number,
  /// title and the two button descriptions stay.
  void ClearAlertDetails(int iSlot);
  /// Disables the definition with that SEQN; failing steps are skipped.
  void DisableAlert(const QVariant& pvSEQN);
  /// Orders all 101 slots by rank with the exchange sort; rank 0 becomes
  /// 32767 first, equal ranks are never exchanged.
  void SortAlerts();
  /// Hands every slot whose bAutoAction is exactly True to the automation
  /// target, in slot order.
  void AlertAutomation();
  /// Read, run, sort, automate.
  void RefreshItems(const QString& sId);

 private:
  AlertRule ReadRuleRow(Steps& steps, const Recordset& recordset);
  void RunOneRule(Steps& steps, const AlertRule& rule, const QString& sId);
  void TellFailure(const std::exception& error) const;
  void ReadTableRows(Steps& steps, const QString& sId);
  void FillFromDirectRow(Steps& steps, const Recordset& recordset, const AlertRule& rule,
                         const QString& sId);
  void FillFromTableRow(Steps& steps, const Recordset& recordset, const QString& sId,
                        AlertOutput& alert);
  void TellRowsLeftOver(Recordset& recordset, const QString& sId);
  void AcceptCandidate(Steps& steps, int iFirstLabel);
  bool HasFreeSlot() const noexcept { return iAlertCount < iSlotCount; }
  AlertOutput& CurrentSlot() { return aoAlerts[std::size_t(iAlertCount)]; }

  std::function<void(int)> slotCleared_;
  AutomationTarget* pAutomationTarget_ = nullptr;
  EvaluationObserver* pObserver_ = nullptr;
};

}  // namespace twk
