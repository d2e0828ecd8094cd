// SPDX-License-Identifier: MIT
#include "TdsResponder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace twk::testing {

namespace {

QString PythonPath() {
  return QStringLiteral(TWK_PYTHON3);
}

}  // namespace

QString TdsResponder::WhyItCannotRun() {
  if (PythonPath().isEmpty() || !QFileInfo(PythonPath()).isExecutable()) {
    return QStringLiteral("python3 is not installed: the TDS responder cannot run");
  }
  if (FreeTdsDriverPath().isEmpty()) {
    return QStringLiteral("FreeTDS's ODBC driver (Debian package tdsodbc) is not installed");
  }
  return {};
}

TdsResponder::TdsResponder(const QJsonObject& script) : sMissing_(WhyItCannotRun()) {
  if (!sMissing_.isEmpty()) return;
  const QString sScript = folder_.filePath(QStringLiteral("script.json"));
  QFile file(sScript);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(QJsonDocument(script).toJson(QJsonDocument::Compact)) < 0) {
    sFailure_ = QStringLiteral("cannot write the responder's script");
    return;
  }
  file.close();
  process_ = std::make_unique<QProcess>();
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_->start(PythonPath(),
                  {QStringLiteral(TWK_TDS_RESPONDER), QStringLiteral("--script"), sScript,
                   QStringLiteral("--log"), folder_.filePath(QStringLiteral("log.jsonl"))});
  // The responder binds a free port itself and names it on its first line,
  // so no other process can take the port in between.
  if (!process_->waitForStarted(10000) || !process_->waitForReadyRead(10000)) {
    sFailure_ = QStringLiteral("the TDS responder did not start: ") + process_->errorString();
    return;
  }
  bool bNumber = false;
  iPort_ = quint16(process_->readLine().trimmed().toUInt(&bNumber));
  if (!bNumber || iPort_ == 0) sFailure_ = QStringLiteral("the TDS responder named no port");
}

TdsResponder::~TdsResponder() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(5000);
  }
}

QString TdsResponder::DefineDataSource(const QString& sDirectory, const QString& sBaseName,
                                       const IniEntries& extra) const {
  IniEntries entries = {{QStringLiteral("Server"), QStringLiteral("127.0.0.1")},
                        {QStringLiteral("Port"), QString::number(iPort_)},
                        {QStringLiteral("TDS_Version"), QStringLiteral("7.4")},
                        {QStringLiteral("Encryption"), QStringLiteral("off")}};
  entries += extra;
  return testing::DefineDataSource(sDirectory, sBaseName, FreeTdsDriverPath(), entries);
}

QList<QJsonObject> TdsResponder::Log() const {
  QList<QJsonObject> entries;
  QFile file(folder_.filePath(QStringLiteral("log.jsonl")));
  if (!file.open(QIODevice::ReadOnly)) return entries;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (!line.trimmed().isEmpty()) entries.append(QJsonDocument::fromJson(line).object());
  }
  return entries;
}

QList<QJsonObject> TdsResponder::Logins() const {
  QList<QJsonObject> logins;
  for (const QJsonObject& entry : Log()) {
    if (entry.value(QStringLiteral("event")) == QStringLiteral("login")) logins.append(entry);
  }
  return logins;
}

QStringList TdsResponder::Batches() const {
  QStringList batches;
  for (const QJsonObject& entry : Log()) {
    if (entry.value(QStringLiteral("event")) == QStringLiteral("batch")) {
      batches.append(entry.value(QStringLiteral("sql")).toString());
    }
  }
  return batches;
}

int TdsResponder::Attentions() const {
  int iCount = 0;
  for (const QJsonObject& entry : Log()) {
    if (entry.value(QStringLiteral("event")) == QStringLiteral("attention")) ++iCount;
  }
  return iCount;
}

QList<bool> TdsResponder::GateOpenings() const {
  QList<bool> openings;
  for (const QJsonObject& entry : Log()) {
    if (entry.value(QStringLiteral("event")) == QStringLiteral("gate")) {
      openings.append(entry.value(QStringLiteral("opened")).toBool());
    }
  }
  return openings;
}

QJsonObject Rows(const QList<QPair<QString, QString>>& columns, const QJsonArray& rows) {
  QJsonArray described;
  for (const auto& [sName, sType] : columns) {
    described.append(QJsonObject{{QStringLiteral("name"), sName}, {QStringLiteral("type"), sType}});
  }
  return {{QStringLiteral("rows"),
           QJsonObject{{QStringLiteral("columns"), described}, {QStringLiteral("data"), rows}}}};
}

QJsonObject Paced(QJsonObject rows, const QJsonObject& options) {
  QJsonObject shape = rows.value(QStringLiteral("rows")).toObject();
  for (auto option = options.begin(); option != options.end(); ++option) {
    shape.insert(option.key(), option.value());
  }
  rows.insert(QStringLiteral("rows"), shape);
  return rows;
}

QJsonArray OneRow(const QJsonArray& row) {
  QJsonArray rows;
  rows.append(row);
  return rows;
}

QJsonObject ErrorToken(int iNumber, const QString& sMessage, int iClass) {
  return {{QStringLiteral("error"), QJsonObject{{QStringLiteral("number"), iNumber},
                                                {QStringLiteral("message"), sMessage},
                                                {QStringLiteral("class"), iClass}}}};
}

QJsonObject Answer(const QString& sSql, const QJsonArray& reply) {
  return {{QStringLiteral("sql"), sSql}, {QStringLiteral("reply"), reply}};
}

}  // namespace twk::testing
