// SPDX-License-Identifier: MIT
#include "ImisScript.h"

#include "TdsResponder.h"
#include "modSubroutines.h"

namespace twk::testing {

namespace {

const QString sSystemParams =
    QStringLiteral("select ParameterName, ShortValue from System_Params order by ParameterName");
const QString sDefinitions = QStringLiteral(
    "select SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE from ttwk_AlertDefinitions where ENABLED = 1");
const QString sClearOutput =
    QStringLiteral("delete from ttwk_AlertOutput where OWNER_SPID = @@spid");
const QString sReadOutput =
    QStringLiteral("select * from ttwk_AlertOutput where OWNER_SPID = @@spid");

QStringList ObjectCounts() {
  QStringList counts;
  for (const char* sName :
       {"'U' and lower(name) = 'ttwk_alertdefinitions'", "'U' and lower(name) = 'ttwk_alertoutput'",
        "'P' and lower(name) = 'ptwk_writesystemparams'",
        "'P' and lower(name) = 'ptwk_calculate_fixed_text'"}) {
    counts << QStringLiteral("select count(*) from sysobjects where uid = 1 and type = ") +
                  QString::fromLatin1(sName);
  }
  return counts;
}

QString WriteVersion() {
  return QStringLiteral("exec ptwk_WriteSystemParams 'QUOR.TWK.Version', '%1'")
      .arg(modSubroutines::TwkVersionText());
}

QJsonObject OutputTable() {
  QList<QPair<QString, QString>> columns = {{"OWNER_SPID", "int"},
                                            {"EVENT_TYPE", "nvarchar(20)"},
                                            {"KEY_VALUE", "nvarchar(50)"},
                                            {"RANK", "int"},
                                            {"ICON", "int"},
                                            {"KEYWORD", "nvarchar(50)"},
                                            {"DESCRIPTION", "nvarchar(255)"}};
  return Rows(columns, {});
}

}  // namespace

QJsonObject ImisScript(const QJsonArray& definitions, const QJsonArray& extraBatches,
                       const QString& sFixedText) {
  const QJsonArray params = {
      QJsonArray{"QUOR.TWK.Imis_Checksum", "C1"}, QJsonArray{"QUOR.TWK.Imis_Version", "20.1.36"},
      QJsonArray{"QUOR.TWK.Version", "0.90.000"}, QJsonArray{"System_Control.Checksum", "C1"},
      QJsonArray{"System_Control.Version", "20.1.36"}};
  QJsonArray batches = {
      Answer(sSystemParams,
             {Rows({{"ParameterName", "nvarchar(60)"}, {"ShortValue", "nvarchar(255)"}}, params)}),
      Answer(WriteVersion(), {QJsonObject{{"done", 1}}, QJsonObject{{"return_status", 0}}}),
      Answer(QStringLiteral("exec sp_server_info 1"),
             {Rows({{"attribute_id", "int"},
                    {"attribute_name", "varchar(60)"},
                    {"attribute_value", "varchar(255)"}},
                   OneRow({1, "DBMS_NAME", "Microsoft SQL Server"})),
              QJsonObject{{"return_status", 0}}}),
      Answer(sDefinitions, {Rows({{"SEQN", "int"},
                                  {"CRITERIA", "nvarchar(4000)"},
                                  {"DESCRIPTION", "nvarchar(255)"},
                                  {"ALERT_TYPE", "nvarchar(40)"}},
                                 definitions)}),
      Answer(sClearOutput, {QJsonObject{{"done", 0}}}),
      Answer(sReadOutput, {OutputTable()}),
      QJsonObject{{"match", "exec ptwk_calculate_fixed_text .*"},
                  {"reply", QJsonArray{Rows({{"", "nvarchar(400)"}}, OneRow({sFixedText})),
                                       QJsonObject{{"return_status", 0}}}}},
  };
  for (const QString& sCount : ObjectCounts()) {
    batches.append(Answer(sCount, {Rows({{"", "int"}}, OneRow({1}))}));
  }
  for (const QJsonValue& batch : extraBatches) batches.append(batch);
  return {{"batches", batches}};
}

QStringList StartupStatements() {
  return QStringList{sSystemParams, WriteVersion(), sSystemParams,
                     QStringLiteral("exec sp_server_info 1")} +
         ObjectCounts();
}

QStringList EvaluationStatementsBefore() {
  return {sDefinitions, sClearOutput};
}

QStringList EvaluationStatementsAfter(const QString& sId, const QString& sUser) {
  return {sReadOutput, QStringLiteral("exec ptwk_calculate_fixed_text '%1', '%2'").arg(sId, sUser)};
}

}  // namespace twk::testing
