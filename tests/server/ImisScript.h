// SPDX-License-Identifier: MIT
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace twk::testing {

/// A responder script that answers the libraries' own statements, in the
/// exact text they send, as an iMIS database holding the Tellwick objects
/// would: the start-up checks (with a stored Tellwick version older than
/// this one, so that it is written), the alert definitions given as rows of
/// SEQN, CRITERIA, DESCRIPTION, ALERT_TYPE, an empty output table and the
/// fixed text. Each of extraBatches answers one definition's SQL. Any other
/// batch gets an error, so a changed statement shows.
QJsonObject ImisScript(const QJsonArray& definitions, const QJsonArray& extraBatches,
                       const QString& sFixedText);

/// The statements a successful start-up sends, in order.
QStringList StartupStatements();

/// The statements an evaluation of record sId for sUser sends before and
/// after the definitions' own SQL: the definitions query, the output-table
/// delete, then (after the definitions) the output-table select and the
/// fixed text.
QStringList EvaluationStatementsBefore();
QStringList EvaluationStatementsAfter(const QString& sId, const QString& sUser);

}  // namespace twk::testing
