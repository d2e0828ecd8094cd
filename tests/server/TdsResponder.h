// SPDX-License-Identifier: MIT
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "OdbcTestEnvironment.h"

namespace twk::testing {

/// The scripted TDS responder (tests/tds/tds_responder.py) that stands in
/// for SQL Server: not a database, but SQL Server's side of the wire
/// protocol, answering each batch from a script. It runs on a free loopback
/// port for as long as this object lives and logs what reached it.
class TdsResponder {
 public:
  /// Starts the responder with the script (see the responder's own
  /// description for its form).
  explicit TdsResponder(const QJsonObject& script);
  ~TdsResponder();
  TdsResponder(const TdsResponder&) = delete;
  TdsResponder& operator=(const TdsResponder&) = delete;

  /// Why no responder can run here (python3 or FreeTDS's ODBC driver
  /// missing); empty when it can.
  static QString WhyItCannotRun();
  /// As WhyItCannotRun, for this responder.
  QString MissingPackage() const { return sMissing_; }
  /// Why it failed to start although everything is installed; empty when it runs.
  QString StartFailure() const { return sFailure_; }
  bool IsRunning() const { return sMissing_.isEmpty() && sFailure_.isEmpty(); }

  quint16 Port() const noexcept { return iPort_; }

  /// A FreeTDS data source (TDS 7.4, no encryption) that reaches the
  /// responder, defined in sDirectory as DefineDataSource does.
  QString DefineDataSource(const QString& sDirectory, const QString& sBaseName,
                           const IniEntries& extra = {}) const;

  /// Everything logged so far, one object an entry: logins, batches, attentions.
  QList<QJsonObject> Log() const;
  QList<QJsonObject> Logins() const;
  QStringList Batches() const;
  int Attentions() const;
  /// For each gate a reply waited at, in order: whether the test opened it
  /// (false: the responder gave up waiting).
  QList<bool> GateOpenings() const;

 private:
  QTemporaryDir folder_;
  std::unique_ptr<QProcess> process_;
  QString sMissing_;
  QString sFailure_;
  quint16 iPort_ = 0;
};

/// A reply item of a script: one result of rows. Columns are
/// {"name", "type"} pairs; rows are arrays of values (null for NULL).
QJsonObject Rows(const QList<QPair<QString, QString>>& columns, const QJsonArray& rows);
/// Rows for Rows(): the one row given. (A braced list holding one array
/// would copy that array instead of wrapping it.)
QJsonArray OneRow(const QJsonArray& row);
/// A Rows() item that is sent in a paced way; options are the responder's
/// "repeat", "gate_after", "pause_every" and "pause".
QJsonObject Paced(QJsonObject rows, const QJsonObject& options);
/// A reply item: an error token of the given number and text.
QJsonObject ErrorToken(int iNumber, const QString& sMessage, int iClass = 16);
/// A script entry answering exactly sSql with reply.
QJsonObject Answer(const QString& sSql, const QJsonArray& reply);

}  // namespace twk::testing

/// Skips the test when the responder cannot run here for want of a package,
/// and fails it when the responder should run but did not start.
#define TWK_REQUIRE_RESPONDER(responder)                                              \
  do {                                                                                \
    if (!(responder).MissingPackage().isEmpty())                                      \
      GTEST_SKIP() << (responder).MissingPackage().toStdString();                     \
    ASSERT_TRUE((responder).IsRunning()) << (responder).StartFailure().toStdString(); \
  } while (false)
