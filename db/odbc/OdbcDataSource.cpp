// SPDX-License-Identifier: MIT
#include "OdbcDataSource.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <QFileInfo>
#include <array>

#include "OdbcText.h"

namespace twk {

namespace {

// The library file of a driver registered under sName in odbcinst.ini.
QString DriverFile(SQLHENV environment, const QString& sName) {
  std::array<SQLWCHAR, 512> name{};
  std::array<SQLWCHAR, 4096> attributes{};
  SQLSMALLINT iNameLength = 0, iAttributesLength = 0;
  SQLUSMALLINT iDirection = SQL_FETCH_FIRST;
  while (SQL_SUCCEEDED(SQLDriversW(environment, iDirection, name.data(), SQLSMALLINT(name.size()),
                                   &iNameLength, attributes.data(), SQLSMALLINT(attributes.size()),
                                   &iAttributesLength))) {
    iDirection = SQL_FETCH_NEXT;
    if (TextFromOdbc(name.data(), iNameLength).compare(sName, Qt::CaseInsensitive) != 0) continue;
    // Attributes are "key=value" texts, each ended by a NUL.
    const QString sAttributes = TextFromOdbc(attributes.data(), iAttributesLength);
    for (const QString& sPair : sAttributes.split(QChar(0), Qt::SkipEmptyParts)) {
      if (sPair.startsWith(QStringLiteral("Driver="), Qt::CaseInsensitive)) {
        return sPair.mid(7).trimmed();
      }
    }
  }
  return {};
}

}  // namespace

OdbcDataSource OdbcDataSource::Find(SQLHENV environment, const QString& sName) {
  OdbcDataSource found;
  std::array<SQLWCHAR, SQL_MAX_DSN_LENGTH + 256> name{};
  std::array<SQLWCHAR, 1024> driver{};
  SQLSMALLINT iNameLength = 0, iDriverLength = 0;
  SQLUSMALLINT iDirection = SQL_FETCH_FIRST;
  while (SQL_SUCCEEDED(SQLDataSourcesW(environment, iDirection, name.data(),
                                       SQLSMALLINT(name.size()), &iNameLength, driver.data(),
                                       SQLSMALLINT(driver.size()), &iDriverLength))) {
    iDirection = SQL_FETCH_NEXT;
    if (TextFromOdbc(name.data(), iNameLength).compare(sName, Qt::CaseInsensitive) != 0) continue;
    found.bDefined = true;
    found.sDriver = TextFromOdbc(driver.data(), iDriverLength);
    if (!QFileInfo(found.sDriver).isAbsolute()) {
      const QString sFile = DriverFile(environment, found.sDriver);
      if (!sFile.isEmpty()) found.sDriver = sFile;
    }
  }
  return found;
}

bool OdbcDataSource::IsFreeTds() const {
  return QFileInfo(sDriver).fileName().contains(QStringLiteral("tdsodbc"), Qt::CaseInsensitive) ||
         sDriver.compare(QStringLiteral("FreeTDS"), Qt::CaseInsensitive) == 0;
}

}  // namespace twk
