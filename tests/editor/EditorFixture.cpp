// SPDX-License-Identifier: MIT
#include "EditorFixture.h"

#include "Conversions.h"
#include "DefinitionGrid.h"

namespace twk::testing {

void EditorFixture::SetUp() {
  ModuleFixture::SetUp();
  Raw(
      QStringLiteral("insert into System_Params values ('System_Control.Version', '20.2'), "
                     "('System_Control.Checksum', 'AB'), ('QUOR.TWK.Imis_Version', '20.2'), "
                     "('QUOR.TWK.Imis_Checksum', 'AB')"));
  AddUser(QStringLiteral("EDITOR"), QStringLiteral("ADMIN,TWKEdit"));
  host.values = {{QStringLiteral("lvSession.SQLHostName"), sDatabaseFile},
                 {QStringLiteral("lvSession.SQLDatabase"), QStringLiteral("DEMO")},
                 {QStringLiteral("lvSession.SQLUserPassword"), QString()},
                 {QStringLiteral("lvSession.LevelMembership"), QStringLiteral("1")}};
  LogInAs(QStringLiteral("EDITOR_DEMO_i"));
}

QString EditorFixture::AddDefinition(const QString& sName, const QString& sDescription,
                                     const QString& sCriteria, bool bEnabled,
                                     const QString& sType) {
  using Conversions::QuoteApostrophes;
  Raw(QStringLiteral("insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, "
                     "ALERT_TYPE, ALERT_ID) values ('%1', %2, '%3', '%4', '%5')")
          .arg(QuoteApostrophes(sCriteria), bEnabled ? QStringLiteral("1") : QStringLiteral("0"),
               QuoteApostrophes(sDescription), QuoteApostrophes(sType), QuoteApostrophes(sName)));
  return RawValue(QStringLiteral("select max(SEQN) from ttwk_AlertDefinitions"));
}

void EditorFixture::LetDefinitionsHoldNulls() {
  Raw(
      QStringLiteral("create table d2 as select * from ttwk_AlertDefinitions; drop table "
                     "ttwk_AlertDefinitions; create table ttwk_AlertDefinitions (SEQN integer "
                     "primary key autoincrement, CRITERIA text, ENABLED integer, DESCRIPTION "
                     "text, ALERT_TYPE text, ALERT_ID text); insert into ttwk_AlertDefinitions "
                     "select * from d2; drop table d2"));
}

void EditorFixture::AddUser(const QString& sUserId, const QString& sKeywords) {
  Raw(QStringLiteral("insert into Users (UserId, AccessKeywords) values ('%1', '%2')")
          .arg(Conversions::QuoteApostrophes(sUserId), Conversions::QuoteApostrophes(sKeywords)));
}

void EditorFixture::LogInAs(const QString& sLogin) {
  host.values[QStringLiteral("lvSession.SQLUserId")] = sLogin;
}

std::unique_ptr<ctlEditTWK> EditorFixture::StartEditor() {
  auto editor = std::make_unique<ctlEditTWK>();
  editor->SetHost(&host);
  editor->XtenderInit();
  return editor;
}

void EditorFixture::ClickRow(ctlEditTWK& editor, int iRow) {
  editor.grdTWKResults()->SetRow(iRow);
  editor.grdTWKResults_Click();
}

QString EditorFixture::Column(const QString& sColumn) const {
  return RawValue(QStringLiteral("select coalesce(group_concat(v, '|'), '') from (select %1 as v "
                                 "from ttwk_AlertDefinitions order by SEQN)")
                      .arg(sColumn));
}

int EditorFixture::Definitions() const {
  return RawValue(QStringLiteral("select count(*) from ttwk_AlertDefinitions")).toInt();
}

}  // namespace twk::testing
