#include "SqliteBackend.h"

#include "TwkError.h"

namespace twk {

std::unique_ptr<Backend> SqliteBackend::Open(const ConnectionSettings&,
                                             std::vector<Diagnostic>&) {
  throw TwkError(QStringLiteral("The embedded engine is not built yet."), QStringLiteral("SQLite"), 1);
}

}  // namespace twk
