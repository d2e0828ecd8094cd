// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "ConnectionSettings.h"
#include "Recordset.h"

namespace twk {

/// The rows of a connection's result, read from the backend's source with
/// the password masked out of every error raised on the way: a server may
/// fail a statement well after its first rows, and quote a value then.
class ScrubbedRows : public RowSource {
 public:
  ScrubbedRows(std::shared_ptr<RowSource> rows, ConnectionSettings settings);

  bool Next(Recordset::Row& row) override;

 private:
  std::shared_ptr<RowSource> rows_;
  ConnectionSettings settings_;
};

}  // namespace twk
