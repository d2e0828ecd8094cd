// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "EvaluationFixture.h"
#include "TimeLimit.h"

namespace twk {
namespace {

using testing::EvaluationFixture;

class AlertTimeLimit : public EvaluationFixture {
 protected:
  void TearDown() override { TimeLimit::SetBatchSeconds(TimeLimit::iDefaultSeconds); }
};

// Rows the panel rejects never fill its slots, so it reads on long after the
// batch returned its first thousand rows: only the time limit ends the read.
// The last row would be accepted; the bound only keeps a build that lost the
// limit from hanging (reading to it takes far longer than the limit).
TEST_F(AlertTimeLimit, RejectedRowsThatKeepComingAreStoppedAndTheNextDefinitionRuns) {
  const QString sRunaway = QStringLiteral(
      "with n(i) as (select 1 union all select i + 1 from n where i < 20000000) "
      "select case when i = 20000000 then 'Reached' else %1 end as KEYWORD, "
      "case when i = 20000000 then 'd' else %2 end as DESCRIPTION from n "
      "option (maxrecursion 0)");
  const std::vector<std::pair<const char*, const char*>> rejected = {
      {"''", "'d'"},  // empty KEYWORD
      {"'k'", "''"},  // empty DESCRIPTION
  };
  for (const auto& [sKeyword, sDescription] : rejected) {
    Raw(QStringLiteral("delete from ttwk_AlertDefinitions"));
    AddDefinition(sRunaway.arg(QString::fromLatin1(sKeyword), QString::fromLatin1(sDescription)));
    AddDefinition(QStringLiteral("select 'After' as KEYWORD, 'd' as DESCRIPTION"));
    TimeLimit::SetBatchSeconds(1);
    QElapsedTimer clock;
    clock.start();
    Evaluate();
    EXPECT_LT(clock.elapsed(), 4000) << sKeyword << sDescription;
    EXPECT_EQ(Keywords().join(u','), QStringLiteral("After")) << sKeyword << sDescription;
  }
}

}  // namespace
}  // namespace twk
