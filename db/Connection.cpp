// SPDX-License-Identifier: MIT
#include "Connection.h"

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
    throw TwkError(settings_.Scrub(error.Description()), error.Source(), error.Number());
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
    return backend_->Execute(sSql);
  } catch (const TwkError& error) {
    throw TwkError(settings_.Scrub(error.Description()), error.Source(), error.Number());
  }
}

}  // namespace twk
