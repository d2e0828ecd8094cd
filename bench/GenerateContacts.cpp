// SPDX-License-Identifier: MIT
// Writes a database of many generated contacts, for timing the host program
// on a table the size of a real association's: the embedded schema and demo
// definitions, plus N contacts with names spread over the alphabet.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "EmbeddedDatabase.h"
#include "TwkError.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_generate_contacts FILE COUNT\n");
    return 2;
  }
  const QString sPath = QString::fromLocal8Bit(argv[1]);
  const long lCount = std::strtol(argv[2], nullptr, 10);
  QFile::remove(sPath);
  try {
    twk::EmbeddedDatabase::Create(sPath, true);
  } catch (const twk::TwkError& error) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(error.Description()));
    return 1;
  }
  sqlite3* pDatabase = nullptr;
  if (sqlite3_open(argv[1], &pDatabase) != SQLITE_OK) return 1;
  QByteArray sInsert = QByteArrayLiteral(
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1),"
      " first(k, name) as (values (0,'Ada'),(1,'Bruno'),(2,'Chloe'),(3,'Dmitri'),(4,'Elif'),"
      "  (5,'Farid'),(6,'Greta'),(7,'Hiro'),(8,'Ines'),(9,'Jonas'),(10,'Kofi'),(11,'Lena'),"
      "  (12,'Mateo'),(13,'Nadia'),(14,'Oskar'),(15,'Priya'),(16,'Quinn'),(17,'Rosa'),"
      "  (18,'Sven'),(19,'Tara')),"
      " last(k, name) as (values (0,'Abbott'),(1,'Berg'),(2,'Castro'),(3,'Dahl'),(4,'Engel'),"
      "  (5,'Fischer'),(6,'Garcia'),(7,'Haddad'),(8,'Ito'),(9,'Jensen'),(10,'Kowalski'),"
      "  (11,'Lindqvist'),(12,'Moreau'),(13,'Nakamura'),(14,'Okafor'),(15,'Petrov'),"
      "  (16,'Quiroga'),(17,'Rossi'),(18,'Schmidt'),(19,'Tanaka'),(20,'Ueda'),(21,'Varga'),"
      "  (22,'Weber'),(23,'Xu'),(24,'Young'),(25,'Zimmer'))"
      " insert into Name (ID, FULL_NAME, FIRST_NAME, LAST_NAME, COMPANY, MEMBER_TYPE, STATUS,"
      "  PAID_THRU, EMAIL)"
      " select 'G' || i, f.name || ' ' || l.name || ' ' || i, f.name, l.name,"
      "  case when i % 7 = 0 then 'Company ' || (i % 500) else '' end,"
      "  case when i % 5 = 0 then 'NM' else 'M' end, 'A', '2027-12-31',"
      "  lower(f.name) || '.' || i || '@example.org'"
      " from n join first f on f.k = i % 20 join last l on l.k = (i / 20) % 26");
  const QByteArray sSql = "begin; " + sInsert.replace("%1", QByteArray::number(qlonglong(lCount))) +
                          "; commit; analyze;";
  char* pError = nullptr;
  if (sqlite3_exec(pDatabase, sSql.constData(), nullptr, nullptr, &pError) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", pError);
    sqlite3_free(pError);
    sqlite3_close(pDatabase);
    return 1;
  }
  sqlite3_close(pDatabase);
  return 0;
}
