// SPDX-License-Identifier: MIT
#include "PanelFixture.h"

namespace twk::testing {

void PanelFixture::SetUp() {
  ModuleFixture::SetUp();
  Raw(
      QStringLiteral("insert into System_Params values ('System_Control.Version', '20.2'), "
                     "('System_Control.Checksum', 'AB'), ('QUOR.TWK.Imis_Version', '20.2'), "
                     "('QUOR.TWK.Imis_Checksum', 'AB'); create table runlog (n int); "
                     "create table howmany (c int); insert into howmany values (0)"));
  host.values = {{QStringLiteral("lvSession.SQLHostName"), sDatabaseFile},
                 {QStringLiteral("lvSession.SQLDatabase"), QStringLiteral("DEMO")},
                 {QStringLiteral("lvSession.SQLUserId"), QStringLiteral("MANAGER")},
                 {QStringLiteral("lvSession.SQLUserPassword"), QString()},
                 {QStringLiteral("lvSession.LevelSystem"), QStringLiteral("9 (sysadmin)")},
                 {QStringLiteral("lvSession.MasterVersion"), QStringLiteral("10.2.0")},
                 {QStringLiteral("lvSession.CurrentId"), QStringLiteral("1001")}};
}

void PanelFixture::AddAlerts(int iCount, int iIcon) {
  Raw(QStringLiteral(
          "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, "
          "ALERT_ID) values ('set nocount on\n"
          "insert into runlog values (1);\n"
          "with n(i) as (select 1 where %1 > 0 union all select i + 1 from n where i < %1)\n"
          "select ''Alert '' + convert(varchar(10), i) as KEYWORD, ''About '' + @id as "
          "DESCRIPTION, i as RANK, %2 as ICON from n', 1, '', 'SQL', 'FIXED')")
          .arg(iCount)
          .arg(iIcon));
}

void PanelFixture::AddVariableAlerts(int iCount) {
  SetVariableCount(iCount);
  Raw(QStringLiteral(
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
      "values ('set nocount on\n"
      "insert into runlog values (1);\n"
      "with n(i) as (select 1 where (select c from howmany) > 0 union all select i + 1 from n "
      "where i < (select c from howmany))\n"
      "select ''Alert '' + convert(varchar(10), i) as KEYWORD, ''About'' as DESCRIPTION, "
      "i as RANK, 3 as ICON from n', 1, '', 'SQL', 'VARIABLE')"));
}

void PanelFixture::SetVariableCount(int iCount) {
  Raw(QStringLiteral("update howmany set c = %1").arg(iCount));
}

int PanelFixture::Evaluations() const {
  return RawValue(QStringLiteral("select count(*) from runlog")).toInt();
}

std::unique_ptr<ctlTWK> PanelFixture::StartPanel(ScriptedHost& onHost) {
  auto panel = std::make_unique<ctlTWK>();
  panel->SetHost(&onHost);
  panel->XtenderInit();
  return panel;
}

}  // namespace twk::testing
