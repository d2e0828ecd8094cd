// SPDX-License-Identifier: MIT
#include "Connection.h"

#include "ScrubbedRows.h"
#include "SqliteBackend.h"
#include "TwkError.h"
#include "odbc/OdbcBackend.h"

namespace twk {

Connection::Connection() = default;

Connection::~Connection() = default;

void Connection::Open() {
  Close();
  diagnostics_.clear();
  try {
    backend_ = settings_.IsEmbedded() ? SqliteBackend::Open(settings_, diagnostics_)
                                      : OdbcBackend::Open(settings_, diagnostics_);
  } catch (const TwkError& error) {
    backend_.reset();
    for (auto& diagnostic : diagnostics_) {
      diagnostic.sDescription = settings_.Scrub(diagnostic.sDescription);
    }
    throw settings_.Scrub(error);
  }
  diagnostics_.insert(diagnostics_.end(), addedRecords_.begin(), addedRecords_.end());
  for (auto& diagnostic : diagnostics_) {
    diagnostic.sDescription = settings_.Scrub(diagnostic.sDescription);
  }
}

void Connection::Close() noexcept {
  backend_.reset();
}

Recordset Connection::Execute(const QString& sSql) {
  if (!backend_) {
    throw TwkError(QStringLiteral("Operation is not allowed when the object is closed."),
                   QStringLiteral("TWK.Connection"), 3704);
  }
  try {
    Recordset result = backend_->Execute(sSql);
    // Later rows, and the failure a put-away result holds, are read long
    // after this call returns: they carry the settings of this run along.
    result.WrapSource([this](std::shared_ptr<RowSource> rows) {
      return std::make_shared<ScrubbedRows>(std::move(rows), settings_);
    });
    return result;
  } catch (const TwkError& error) {
    throw settings_.Scrub(error);
  }
}

}  // namespace twk
