// SPDX-License-Identifier: MIT
#include "AlertEvaluation.h"

#include <QRegularExpression>
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "AlertColumns.h"
#include "AlertPlaceholders.h"
#include "Conversions.h"
#include "ModuleState.h"
#include "PlatformServices.h"
#include "Steps.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk {

namespace {

const QString sModule = QStringLiteral("ctlTWK");

// What a missing record set or item gives when it is used anyway.
TwkError ObjectNotSet() {
  return TwkError(QStringLiteral("Object variable or With block variable not set"),
                  QStringLiteral("TWK"), 91);
}

Recordset& Require(std::optional<Recordset>& recordset) {
  if (!recordset) throw ObjectNotSet();
  return *recordset;
}

bool IsNullOrEmpty(const QVariant& value) {
  return !value.isValid() || value.isNull() ||
         (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

// A first line that is not empty stands for the whole description.
void ApplyTooltipDefault(AlertOutput& alert) {
  if (!alert.sTooltipText.isEmpty()) return;
  const qsizetype iReturn = alert.sDescription.indexOf(QLatin1Char('\r'));
  if (iReturn > 0) {
    alert.sTooltipText = alert.sDescription.left(iReturn) + QStringLiteral(" (more)");
  } else {
    alert.sTooltipText = alert.sDescription;
  }
}

bool IsComplete(const AlertOutput& alert) {
  return !alert.sEventType.isEmpty() && !alert.sKeyValue.isEmpty() && !alert.sKeyword.isEmpty() &&
         !alert.sDescription.isEmpty();
}

void ShowCapacityMessage() {
  Platform::Services().ShowMessage(
      QStringLiteral("Critical error!  Exceeded maximum number of alert outputs for this record!"),
      QStringLiteral("Maximum alerts exceeded"), MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace

std::vector<AlertRule> AlertEvaluation::ReadAlertRules() {
  Steps steps(sModule, QStringLiteral("ReadAlertRules"));
  std::vector<AlertRule> rules;
  std::optional<Recordset> recordset;
  bool bHasRows = false;
  steps.Run(100, [&] {
    recordset = modSubroutines::OpenRecordset(
        QStringLiteral("select SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE from "
                       "ttwk_AlertDefinitions where ENABLED = 1"));
  });
  steps.Run(110, [&] {
    if (Require(recordset).RecordCount() < 1) {
      rules.push_back(AlertRule{});
    } else {
      bHasRows = true;
    }
  });
  if (!bHasRows) return rules;
  while (!recordset->IsEof()) {
    rules.push_back(ReadRuleRow(steps, *recordset));
    if (!steps.Run(170, [&] { recordset->MoveNext(); })) break;
  }
  steps.Run(180, [&] { recordset->Close(); });
  return rules;
}

std::vector<AlertRule> AlertEvaluation::ReadAlertRule(qint32 lSeqn) {
  Steps steps(sModule, QStringLiteral("ReadAlertRules"));
  std::vector<AlertRule> rules;
  std::optional<Recordset> recordset;
  steps.Run(100, [&] {
    recordset = modSubroutines::OpenRecordset(
        QStringLiteral("select SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE from "
                       "ttwk_AlertDefinitions where SEQN = ") +
        QString::number(lSeqn));
    if (!Require(recordset).IsEof()) rules.push_back(ReadRuleRow(steps, *recordset));
  });
  return rules;
}

AlertRule AlertEvaluation::ReadRuleRow(Steps& steps, const Recordset& recordset) {
  AlertRule rule;
  steps.Run(120, [&] {
    const QVariant seqn = recordset.Field(QStringLiteral("SEQN"));
    if (IsNullOrEmpty(seqn)) DisableAlert(seqn);
  });
  steps.Run(130, [&] { rule.SEQN = Conversions::ToLong(recordset.Field(QStringLiteral("SEQN"))); });
  steps.Run(140, [&] {
    rule.CRITERIA = Conversions::ToTextStrict(recordset.Field(QStringLiteral("CRITERIA")));
  });
  steps.Run(150, [&] {
    rule.DESCRIPTION = Conversions::ToTextStrict(recordset.Field(QStringLiteral("DESCRIPTION")));
  });
  steps.Run(160, [&] {
    rule.ALERT_TYPE = Conversions::ToTextStrict(recordset.Field(QStringLiteral("ALERT_TYPE")));
  });
  return rule;
}

void AlertEvaluation::RunAlertRules(const std::vector<AlertRule>& rules, const QString& sId) {
  Steps steps(sModule, QStringLiteral("RunAlertRules"));
  steps.Run(100, [&] {
    modSubroutines::Exec_SQL_No_Return(
        QStringLiteral("delete from ttwk_AlertOutput where OWNER_SPID = @@spid"));
  });
  steps.Run(110, [&] {
    aoAlerts.fill(AlertOutput{});
    iAlertCount = 0;
  });
  for (const AlertRule& rule : rules) RunOneRule(steps, rule, sId);
  ReadTableRows(steps, sId);
}

void AlertEvaluation::RunOneRule(Steps& steps, const AlertRule& rule, const QString& sId) {
  bool bRunnable = false;
  steps.Run(120, [&] {
    bRunnable = rule.ALERT_TYPE == QLatin1StringView("SQL") ||
                rule.ALERT_TYPE == QLatin1StringView("SQLSilent");
  });
  if (pObserver_) pObserver_->RuleStarted(rule, bRunnable);
  if (!bRunnable) return;
  QString sSql;
  steps.Run(130, [&] {
    sSql = ReplacePlaceholders(rule.CRITERIA, sId, ModuleState::ForThisThread().AuthID);
  });
  std::optional<Recordset> recordset;
  // A definition whose SQL fails yields nothing and no message.
  steps.Run(140, [&] {
    if (!pObserver_) {
      recordset = modSubroutines::OpenRecordset(sSql);
      return;
    }
    // The same silence for the panel; the observer hears the reason.
    try {
      recordset = ModuleState::ForThisThread().SharedConnection().Execute(sSql);
    } catch (const std::exception& error) {
      TellFailure(error);
    }
  });
  if (!recordset || !recordset->IsOpen()) {
    if (pObserver_) pObserver_->RuleFinished();
    return;
  }
  // Rows arrive as they are read, so the definition's SQL can still fail
  // after some of them were taken (a time limit, an error in a later row, a
  // lost connection). It is then a failing definition like one refused at
  // once: silent, and without the alerts it had given so far.
  const int iFirstSlot = iAlertCount;
  bool bSqlFailed = false;
  // Once every slot is taken the rest of the rows have nowhere to go; the
  // capacity message has already been shown for the one that filled it.
  while (!recordset->IsEof() && HasFreeSlot()) {
    FillFromDirectRow(steps, *recordset, rule, sId);
    AcceptCandidate(steps, 170);
    steps.Run(190, [&] {
      try {
        recordset->MoveNext();
      } catch (const std::exception& error) {
        TellFailure(error);
        bSqlFailed = true;
      }
    });
    if (bSqlFailed) break;
  }
  if (bSqlFailed) {
    // The slot after the last taken one may hold a half-filled candidate.
    const int iEnd = std::min(iAlertCount + 1, int(iSlotCount));
    std::fill(aoAlerts.begin() + iFirstSlot, aoAlerts.begin() + iEnd, AlertOutput{});
    iAlertCount = iFirstSlot;
  }
  steps.Run(200, [&] { recordset->Close(); });
  if (pObserver_) pObserver_->RuleFinished();
}

void AlertEvaluation::TellFailure(const std::exception& error) const {
  if (!pObserver_) return;
  const auto* pTwk = dynamic_cast<const TwkError*>(&error);
  pObserver_->RuleFailed(pTwk ? pTwk->Description() : QString::fromLocal8Bit(error.what()));
}

void AlertEvaluation::ReadTableRows(Steps& steps, const QString& sId) {
  std::optional<Recordset> recordset;
  steps.Run(210, [&] {
    recordset = modSubroutines::OpenRecordset(
        QStringLiteral("select * from ttwk_AlertOutput where OWNER_SPID = @@spid"));
  });
  if (!recordset || !recordset->IsOpen()) return;
  if (pObserver_) pObserver_->TableRowsStarted();
  bool bRead = true;
  while (bRead && !recordset->IsEof() && HasFreeSlot()) {
    FillFromTableRow(steps, *recordset, sId, CurrentSlot());
    AcceptCandidate(steps, 240);
    bRead = steps.Run(260, [&] { recordset->MoveNext(); });
  }
  if (bRead && !HasFreeSlot()) TellRowsLeftOver(*recordset, sId);
  steps.Run(270, [&] { recordset->Close(); });
}

void AlertEvaluation::TellRowsLeftOver(Recordset& recordset, const QString& sId) {
  if (!pObserver_) return;
  // The panel never reads these rows, so reading them for the observer
  // must not show a report the panel would not have shown.
  Steps quiet(sModule, QStringLiteral("RunAlertRules"), OnError::SkipSilently);
  for (;;) {
    bool bEnd = true;
    if (!quiet.Run(250, [&] { bEnd = recordset.IsEof(); }) || bEnd) return;
    AlertOutput candidate;
    FillFromTableRow(quiet, recordset, sId, candidate);
    ApplyTooltipDefault(candidate);
    pObserver_->RowLeftOver(candidate);
    if (!quiet.Run(260, [&] { recordset.MoveNext(); })) return;
  }
}

void AlertEvaluation::FillFromDirectRow(Steps& steps, const Recordset& recordset,
                                        const AlertRule& rule, const QString& sId) {
  steps.Run(150, [&] {
    AlertOutput& alert = CurrentSlot();
    alert.lSeqn = rule.SEQN;
    alert.sEventType = QStringLiteral("ID");
    alert.sKeyValue = sId;
  });
  const int iFields = recordset.FieldCount();
  for (int i = 0; i < iFields; ++i) {
    const bool bTaken = steps.Run(160, [&] {
      // Every value is read as text first, so a null fails even in a column
      // that turns out to be none of ours.
      const QString sValue = Conversions::ToTextStrict(recordset.Field(i));
      const AlertColumn* pColumn = AlertColumns::FindExact(recordset.FieldName(i));
      if (pColumn) AlertColumns::Assign(CurrentSlot(), *pColumn, QVariant(sValue));
    });
    if (!bTaken && pObserver_) pObserver_->ValueFailed(recordset.FieldName(i));
  }
}

void AlertEvaluation::FillFromTableRow(Steps& steps, const Recordset& recordset, const QString& sId,
                                       AlertOutput& alert) {
  steps.Run(220, [&] {
    alert.lSeqn = -1;
    alert.sEventType = QStringLiteral("ID");
    alert.sKeyValue = sId;
  });
  for (const AlertColumn& column : AlertColumns::All()) {
    const bool bTaken = steps.Run(230, [&] {
      const QVariant value = recordset.Field(QString(column.sName));
      if (column.bNullGivesEmpty && (!value.isValid() || value.isNull())) {
        alert.*column.pText = QString();
        return;
      }
      AlertColumns::Assign(alert, column, value);
    });
    if (!bTaken && pObserver_) pObserver_->ValueFailed(QString(column.sName));
  }
}

void AlertEvaluation::AcceptCandidate(Steps& steps, int iFirstLabel) {
  steps.Run(iFirstLabel, [&] { ApplyTooltipDefault(CurrentSlot()); });
  steps.Run(iFirstLabel + 10, [&] {
    if (pObserver_) pObserver_->RowJudged(CurrentSlot(), IsComplete(CurrentSlot()));
    if (IsComplete(CurrentSlot())) {
      ++iAlertCount;
      if (iAlertCount > iSlotCount - 1) ShowCapacityMessage();
    } else {
      ClearAlertDetails(iAlertCount);
    }
  });
}

void AlertEvaluation::ClearAlertDetails(int iSlot) {
  Steps steps(sModule, QStringLiteral("ClearAlertDetails"));
  const bool bInRange = iSlot >= 0 && iSlot < iSlotCount;
  steps.Run(100, [&] {
    if (!bInRange)
      throw TwkError(QStringLiteral("Subscript out of range"), QStringLiteral("TWK"), 9);
    AlertOutput& alert = aoAlerts[std::size_t(iSlot)];
    alert.bAutoAction = 0;
    alert.bAutoClipboard = 0;
    alert.bAutoPopup = 0;
    alert.bPlaySound = 0;
    alert.iIcon = 0;
    alert.iRank = 0;
    alert.sActionText.clear();
    alert.sClipboardText.clear();
    alert.sDescription.clear();
    alert.sEventType.clear();
    alert.sKeyValue.clear();
    alert.sKeyword.clear();
    alert.sLogText.clear();
    alert.sTooltipText.clear();
  });
  steps.Run(110, [&] {
    if (bInRange && slotCleared_) slotCleared_(iSlot);
  });
}

void AlertEvaluation::DisableAlert(const QVariant& pvSEQN) {
  Steps steps(sModule, QStringLiteral("DisableAlert"), OnError::SkipSilently);
  QString sSql;
  steps.Run(100, [&] {
    // The host's value goes into the statement as it is, so only a whole
    // number may: any other text could change what the statement does.
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*-?\\d+\\s*$"));
    const QString sSeqn = Conversions::ToTextLenient(pvSEQN);
    if (!sSeqn.isEmpty() && !wholeNumber.match(sSeqn).hasMatch()) {
      throw TwkError(QStringLiteral("Type mismatch"), QStringLiteral("TWK"), 13);
    }
    sSql = QStringLiteral("update ttwk_AlertDefinitions ") + QStringLiteral("set ENABLED = 0 ") +
           QStringLiteral("where SEQN = ") + sSeqn;
  });
  steps.Run(110, [&] {
    if (!sSql.isEmpty()) modSubroutines::Exec_SQL_No_Return(sSql);
  });
}

void AlertEvaluation::SortAlerts() {
  Steps steps(sModule, QStringLiteral("SortAlerts"));
  steps.Run(100, [&] {
    for (AlertOutput& alert : aoAlerts) {
      if (alert.iRank == 0) alert.iRank = 32767;
    }
  });
  // Not stable on purpose: which of two equal ranks shows first is what this
  // exact exchange order leaves, and authors see that order. Slots already
  // in order (the empty ones are) are left as they are, as the exchange
  // would leave them.
  steps.Run(110, [&] {
    const auto byRank = [](const AlertOutput& a, const AlertOutput& b) {
      return a.iRank < b.iRank;
    };
    if (std::is_sorted(aoAlerts.begin(), aoAlerts.end(), byRank)) return;
    for (std::size_t i = 0; i + 1 < aoAlerts.size(); ++i) {
      for (std::size_t j = i + 1; j < aoAlerts.size(); ++j) {
        if (aoAlerts[j].iRank < aoAlerts[i].iRank) std::swap(aoAlerts[i], aoAlerts[j]);
      }
    }
  });
}

void AlertEvaluation::AlertAutomation() {
  Steps steps(sModule, QStringLiteral("AlertAutomation"));
  for (std::size_t i = 0; i < aoAlerts.size(); ++i) {
    // Only exactly True counts: a flag holding 1 is not an instruction.
    if (aoAlerts[i].bAutoAction != -1) continue;
    steps.Run(100, [&] {
      if (!pAutomationTarget_) throw ObjectNotSet();
      pAutomationTarget_->SetAll(aoAlerts[i]);
    });
    steps.Run(110, [&] {
      if (!pAutomationTarget_) throw ObjectNotSet();
      pAutomationTarget_->PerformAutomation();
    });
  }
}

void AlertEvaluation::RefreshItems(const QString& sId) {
  Steps steps(sModule, QStringLiteral("RefreshItems"));
  std::vector<AlertRule> rules;
  steps.Run(100, [&] { rules = ReadAlertRules(); });
  steps.Run(110, [&] { RunAlertRules(rules, sId); });
  steps.Run(120, [&] { SortAlerts(); });
  steps.Run(130, [&] { AlertAutomation(); });
}

}  // namespace twk
