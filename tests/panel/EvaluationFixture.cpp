// SPDX-License-Identifier: MIT
#include "EvaluationFixture.h"

#include "Conversions.h"
#include "modSubroutines.h"

namespace twk::testing {

void EvaluationFixture::SetUp() {
  ModuleFixture::SetUp();
  OpenShared();
  ModuleState::ForThisThread().AuthID = QStringLiteral("MANAGER");
}

qint32 EvaluationFixture::AddDefinition(const QString& sCriteria, const QString& sType,
                                        bool bEnabled) {
  Raw(QStringLiteral("insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, ALERT_TYPE) "
                     "values ('%1', %2, '%3')")
          .arg(Conversions::QuoteApostrophes(sCriteria), QString::number(bEnabled ? 1 : 0), sType));
  return RawValue(QStringLiteral("select max(SEQN) from ttwk_AlertDefinitions")).toInt();
}

void EvaluationFixture::Evaluate(const QString& sId) {
  evaluation.RunAlertRules(evaluation.ReadAlertRules(), sId);
}

QStringList EvaluationFixture::Keywords() const {
  QStringList keywords;
  for (int i = 0; i < evaluation.iAlertCount; ++i) {
    keywords << evaluation.aoAlerts[std::size_t(i)].sKeyword;
  }
  return keywords;
}

QString EvaluationFixture::OwnSpid() {
  auto recordset = modSubroutines::OpenRecordset(QStringLiteral("select @@spid"));
  return recordset && !recordset->IsEof() ? recordset->Field(0).toString() : QString();
}

}  // namespace twk::testing
