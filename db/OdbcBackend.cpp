#include "OdbcBackend.h"

#include "TwkError.h"

namespace twk {

std::unique_ptr<Backend> OdbcBackend::Open(const ConnectionSettings&,
                                           std::vector<Diagnostic>&) {
  throw TwkError(QStringLiteral("The ODBC backend is not built yet."), QStringLiteral("ODBC"), 1);
}

QString OdbcBackend::DriverConnectionText(const ConnectionSettings&) { return {}; }

}  // namespace twk
