// SPDX-License-Identifier: MIT
#include "RealisticDatabase.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <stdexcept>
#include <vector>

#include "EmbeddedDatabase.h"
#include "SqliteHandles.h"

namespace twk::bench {

namespace {

// The tables a site has beside those the demo knows: the activity history,
// and the indexes by contact that every site adds to it and to Name.
const char* const sSchema = R"(
create table Activity (
  SEQN             integer primary key,
  ID               nvarchar(255) not null collate TSQL,
  ACTIVITY_TYPE    nvarchar(255) not null collate TSQL,
  PRODUCT_CODE     nvarchar(255) not null default '' collate TSQL,
  TRANSACTION_DATE date not null,
  DESCRIPTION      nvarchar(255) not null default '' collate TSQL,
  AMOUNT           money not null default 0
);
create index IX_Activity_ID on Activity (ID, TRANSACTION_DATE);
create index IX_Name_CO_ID on Name (CO_ID);
create index IX_Name_EMAIL on Name (EMAIL);
create index IX_Meet_Registration_MEETING on Meet_Registration (MEETING);
)";

constexpr int iMeetings = 400;
constexpr int iFirstId = 100001;

QString CacheFolder() {
  const QByteArray sOverride = qgetenv("TWK_BENCH_CACHE");
  if (!sOverride.isEmpty()) return QString::fromLocal8Bit(sOverride);
  if (QDir(QStringLiteral("/dev/shm")).exists()) return QStringLiteral("/dev/shm/twk-bench-cache");
  return QDir::temp().filePath(QStringLiteral("twk-bench-cache"));
}

QString Day(const QDate& today, int iOffset) {
  return today.addDays(iOffset).toString(Qt::ISODate);
}

// One prepared insert, bound column by column and stepped once a row.
class Inserter {
 public:
  Inserter(sqlite3* pDb, const char* sSql) : pDb_(pDb), statement_(PrepareFixed(pDb, sSql)) {}
  Inserter& Text(const QString& sValue) {
    const QByteArray bytes = sValue.toUtf8();
    CheckSqlite(pDb_, sqlite3_bind_text(statement_.get(), ++iColumn_, bytes.constData(),
                                        int(bytes.size()), SQLITE_TRANSIENT));
    return *this;
  }
  Inserter& Null() {
    CheckSqlite(pDb_, sqlite3_bind_null(statement_.get(), ++iColumn_));
    return *this;
  }
  Inserter& Number(double dValue) {
    CheckSqlite(pDb_, sqlite3_bind_double(statement_.get(), ++iColumn_, dValue));
    return *this;
  }
  Inserter& Integer(qint64 lValue) {
    CheckSqlite(pDb_, sqlite3_bind_int64(statement_.get(), ++iColumn_, lValue));
    return *this;
  }
  void Insert() {
    CheckSqlite(pDb_, sqlite3_step(statement_.get()));
    sqlite3_reset(statement_.get());
    iColumn_ = 0;
  }

 private:
  sqlite3* pDb_;
  StatementHandle statement_;
  int iColumn_ = 0;
};

class Generator {
 public:
  explicit Generator(sqlite3* pDb) : pDb_(pDb), today_(QDate::currentDate()) {}

  void Run() {
    RunFixed(pDb_, "begin");
    for (const char* sStatement : SplitSchema()) RunFixed(pDb_, sStatement);
    Meetings();
    Contacts();
    Activities();
    RunFixed(pDb_, "commit");
    RunFixed(pDb_, "analyze");
  }

 private:
  static std::vector<const char*> SplitSchema() {
    static std::vector<QByteArray> parts = [] {
      std::vector<QByteArray> list;
      for (const QByteArray& part : QByteArray(sSchema).split(';')) {
        if (!part.trimmed().isEmpty()) list.push_back(part);
      }
      return list;
    }();
    std::vector<const char*> statements;
    for (const QByteArray& part : parts) statements.push_back(part.constData());
    return statements;
  }

  int Uniform(int iLow, int iHigh) {
    return std::uniform_int_distribution<int>(iLow, iHigh)(random_);
  }
  bool Chance(double dProbability) { return std::bernoulli_distribution(dProbability)(random_); }
  template <std::size_t N>
  const char* Pick(const std::array<const char*, N>& choices) {
    return choices[std::size_t(Uniform(0, int(N) - 1))];
  }

  void Meetings() {
    static const std::array<const char*, 8> topics{
        "Annual Conference", "Regional Forum", "Leadership Summit", "Ethics Workshop",
        "Spring Seminar",    "Webinar Series", "Chapter Dinner",    "Certification Course"};
    static const std::array<const char*, 8> cities{"Chicago", "Milwaukee",    "Detroit",
                                                   "Madison", "Indianapolis", "Minneapolis",
                                                   "Online",  "St. Louis"};
    Inserter insert(
        pDb_, "insert into Meet_Master (MEETING, TITLE, BEGIN_DATE, CITY) values (?, ?, ?, ?)");
    for (int i = 0; i < iMeetings; ++i) {
      // Three years back to one ahead, most of them past, as on a real site.
      const int iOffset = -1100 + i * 1465 / iMeetings;
      meetingDays_.push_back(iOffset);
      insert.Text(QStringLiteral("EV%1").arg(i, 4, 10, QLatin1Char('0')))
          .Text(QStringLiteral("%1 %2").arg(QLatin1String(Pick(topics))).arg(2023 + i / 130))
          .Text(Day(today_, iOffset))
          .Text(QLatin1String(Pick(cities)))
          .Insert();
    }
  }

  struct Names {
    QString sFirst;
    QString sLast;
  };

  void Contacts() {
    static const std::array<const char*, 20> firstNames{
        "Ada",  "Bruno", "Chloe", "Dmitri", "Elif",  "Farid", "Greta", "Hiro", "Ines", "Jonas",
        "Kofi", "Lena",  "Mateo", "Nadia",  "Oskar", "Priya", "Quinn", "Rosa", "Sven", "Tara"};
    static const std::array<const char*, 20> lastNames{
        "Abbott", "Berg",   "Castro", "Dahl",     "Engel",     "Fischer", "Garcia",
        "Haddad", "Ito",    "Jensen", "Kowalski", "Lindqvist", "Moreau",  "Nakamura",
        "Okafor", "Petrov", "Rossi",  "Schmidt",  "Tanaka",    "Weber"};
    Inserter name(pDb_,
                  "insert into Name (ID, FULL_NAME, FIRST_NAME, LAST_NAME, COMPANY, CO_ID, "
                  "COMPANY_RECORD, MEMBER_TYPE, STATUS, CATEGORY, PAID_THRU, JOIN_DATE, "
                  "BIRTH_DATE, EMAIL, WORK_PHONE, CITY, STATE_PROVINCE, COUNTRY, BALANCE, "
                  "EXCLUDE_MAIL, ACCOUNT_MANAGER, NOTE) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                  "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Inserter registration(pDb_,
                          "insert into Meet_Registration (ID, MEETING, REGISTERED_ON, STATUS, "
                          "AMOUNT_DUE) values (?, ?, ?, ?, ?)");
    for (int i = 0; i < RealisticDatabase::iContacts; ++i) {
      const QString sId = QString::number(iFirstId + i);
      // Every fiftieth record is a company; people may work for one.
      const bool bCompany = i % 50 == 0;
      const Names names{QLatin1String(Pick(firstNames)), QLatin1String(Pick(lastNames))};
      Membership(name, sId, bCompany, names);
      Details(name, sId, bCompany, names);
      name.Insert();
      contactWeights_.push_back(ActivityWeight());
      if (!bCompany) Registrations(registration, sId);
    }
  }

  // ID to BIRTH_DATE.
  void Membership(Inserter& name, const QString& sId, bool bCompany, const Names& names) {
    const QString sCompanyName = QStringLiteral("%1 %2 Ltd").arg(names.sLast, sId);
    const int iCompany = Uniform(0, (RealisticDatabase::iContacts - 1) / 50) * 50;
    const QString sCoId =
        !bCompany && Chance(0.4) ? QString::number(iFirstId + iCompany) : QString();
    const int iType = Uniform(0, 99);
    const char* sType = bCompany     ? (iType < 60 ? "CORP" : "NM")
                        : iType < 55 ? "M"
                        : iType < 75 ? "NM"
                        : iType < 87 ? "STU"
                        : iType < 92 ? "LIFE"
                        : iType < 94 ? "HON"
                        : iType < 95 ? "STAFF"
                                     : "M";
    const int iStatus = Uniform(0, 99);
    const char* sStatus = iStatus < 90 ? "A" : iStatus < 95 ? "I" : iStatus < 97 ? "S" : "D";
    const int iCategory = Uniform(0, 99);
    const char* sCategory = iCategory < 2    ? "VIP"
                            : iCategory == 2 ? "BOARD"
                            : iCategory == 3 ? "PRESS"
                                             : "";
    name.Text(sId)
        .Text(bCompany ? sCompanyName : names.sFirst + QLatin1Char(' ') + names.sLast)
        .Text(bCompany ? QString() : names.sFirst)
        .Text(bCompany ? QString() : names.sLast)
        .Text(bCompany ? sCompanyName : QString())
        .Text(sCoId)
        .Integer(bCompany ? 1 : 0)
        .Text(QLatin1String(sType))
        .Text(QLatin1String(sStatus))
        .Text(QLatin1String(sCategory));
    const bool bDues =
        qstrcmp(sType, "M") == 0 || qstrcmp(sType, "STU") == 0 || qstrcmp(sType, "CORP") == 0;
    if (bDues) {
      name.Text(Day(today_, Uniform(-400, 400)));
    } else {
      name.Null();
    }
    name.Text(Day(today_, -Uniform(0, 9000)));
    if (bCompany || Chance(0.05)) {
      name.Null();
    } else {
      name.Text(today_.addYears(-Uniform(18, 90)).addDays(Uniform(0, 364)).toString(Qt::ISODate));
    }
  }

  // EMAIL to NOTE.
  void Details(Inserter& name, const QString& sId, bool bCompany, const Names& names) {
    static const std::array<const char*, 8> cities{"Chicago", "Evanston", "Milwaukee", "Gary",
                                                   "Madison", "Detroit",  "Peoria",    "Joliet"};
    QString sEmail;
    if (Chance(0.005) && !sPreviousEmail_.isEmpty()) {
      sEmail = sPreviousEmail_;  // the same person entered twice
    } else if (!Chance(0.05)) {
      sEmail = QStringLiteral("%1.%2.%3@example.org")
                   .arg(bCompany ? QStringLiteral("office") : names.sFirst.toLower(),
                        names.sLast.toLower(), sId);
    }
    if (!sEmail.isEmpty()) sPreviousEmail_ = sEmail;
    const bool bAbroad = Chance(0.08);
    const int iBalance = Uniform(0, 99);
    const double dBalance = iBalance < 85   ? 0.0
                            : iBalance < 95 ? Uniform(1000, 200000) / 100.0
                                            : -Uniform(1000, 30000) / 100.0;
    const int iManager = Uniform(0, 99);
    name.Text(sEmail)
        .Text(Chance(0.7) ? QStringLiteral("555-%1").arg(Uniform(0, 9999), 4, 10, QLatin1Char('0'))
                          : QString())
        .Text(bAbroad ? QStringLiteral("Toronto") : QLatin1String(Pick(cities)))
        .Text(bAbroad ? QStringLiteral("ON") : QStringLiteral("IL"))
        .Text(bAbroad ? QStringLiteral("Canada") : QStringLiteral("USA"))
        .Number(dBalance)
        .Integer(Chance(0.04) ? 1 : 0)
        .Text(iManager < 3   ? QStringLiteral("MANAGER")
              : iManager < 6 ? QStringLiteral("STAFF")
                             : QString())
        .Text(Chance(0.1) ? QStringLiteral("Prefers contact by e-mail in the morning.")
                          : QString());
  }

  // Most records have a handful of registrations, a few many.
  void Registrations(Inserter& insert, const QString& sId) {
    int iCount = std::geometric_distribution<int>(0.3)(random_);
    iCount = std::min(iCount, 12);
    int iMeeting = Uniform(0, iMeetings - 1);
    for (int r = 0; r < iCount; ++r) {
      iMeeting = (iMeeting + Uniform(1, 40)) % iMeetings;
      if (!usedMeetings_.insert(iMeeting).second) continue;
      insert.Text(sId)
          .Text(QStringLiteral("EV%1").arg(iMeeting, 4, 10, QLatin1Char('0')))
          .Text(Day(today_, meetingDays_[std::size_t(iMeeting)] - Uniform(1, 90)))
          .Text(Chance(0.12) ? QStringLiteral("C") : QStringLiteral("R"))
          .Number(Chance(0.1) ? Uniform(25, 400) : 0)
          .Insert();
    }
    usedMeetings_.clear();
  }

  double ActivityWeight() {
    // A long tail: a few records carry much of the history.
    return std::lognormal_distribution<double>(0.0, 1.0)(random_);
  }

  void Activities() {
    static const std::array<const char*, 20> types{
        "CALL",  "CALL",  "CALL", "CALL", "CALL",    "EMAIL",   "EMAIL", "EMAIL", "EMAIL", "ORDER",
        "ORDER", "ORDER", "GIFT", "GIFT", "MEETING", "MEETING", "DUES",  "DUES",  "NOTE",  "DUES"};
    Inserter insert(pDb_,
                    "insert into Activity (ID, ACTIVITY_TYPE, PRODUCT_CODE, TRANSACTION_DATE, "
                    "DESCRIPTION, AMOUNT) values (?, ?, ?, ?, ?, ?)");
    std::discrete_distribution<int> contact(contactWeights_.begin(), contactWeights_.end());
    for (int i = 0; i < RealisticDatabase::iActivities; ++i) {
      const QString sId = QString::number(iFirstId + contact(random_));
      const int iRare = Uniform(0, 199);
      const char* sType = iRare < 3 ? "COMPLAINT" : iRare < 5 ? "SPEAKER" : Pick(types);
      QString sProduct;
      if (qstrcmp(sType, "MEETING") == 0 || qstrcmp(sType, "SPEAKER") == 0) {
        sProduct = QStringLiteral("EV%1").arg(Uniform(0, iMeetings - 1), 4, 10, QLatin1Char('0'));
      }
      const bool bMoney = qstrcmp(sType, "ORDER") == 0 || qstrcmp(sType, "GIFT") == 0 ||
                          qstrcmp(sType, "DUES") == 0;
      insert.Text(sId)
          .Text(QLatin1String(sType))
          .Text(sProduct)
          .Text(Day(today_, -Uniform(0, 2000)))
          .Text(QStringLiteral("%1 recorded by staff (%2)").arg(QLatin1String(sType)).arg(i))
          .Number(bMoney ? Uniform(500, 60000) / 100.0 : 0.0)
          .Insert();
    }
  }

  sqlite3* pDb_;
  QDate today_;
  std::mt19937 random_{20261209u};
  std::vector<int> meetingDays_;
  std::vector<double> contactWeights_;
  std::set<int> usedMeetings_;
  QString sPreviousEmail_;
};

}  // namespace

void RealisticDatabase::Generate(const QString& sPath) {
  EmbeddedDatabase::Create(sPath, true);
  sqlite3* pRaw = nullptr;
  const int iOpen =
      sqlite3_open_v2(QFile::encodeName(sPath).constData(), &pRaw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle db(pRaw);
  CheckSqlite(db.get(), iOpen);
  Generator(db.get()).Run();
}

RealisticFile RealisticDatabase::Cached() {
  const QString sFolder = CacheFolder();
  if (!QDir().mkpath(sFolder)) {
    throw std::runtime_error("cannot make the cache folder " + sFolder.toStdString());
  }
  const QString sName = QStringLiteral("realistic-v%1-%2.db")
                            .arg(iGeneratorVersion)
                            .arg(QDate::currentDate().toString(Qt::ISODate));
  RealisticFile file;
  file.sPath = QDir(sFolder).filePath(sName);
  // How long the generation took is kept beside the file, for the figures.
  QFile seconds(file.sPath + QStringLiteral(".seconds"));
  if (QFileInfo::exists(file.sPath)) {
    if (seconds.open(QIODevice::ReadOnly))
      file.dEarlierSeconds = seconds.readAll().trimmed().toDouble();
    return file;
  }

  // Yesterday's or an older generator's file would only take up memory.
  for (const QString& sOld : QDir(sFolder).entryList({QStringLiteral("realistic-*.db*")})) {
    QFile::remove(QDir(sFolder).filePath(sOld));
  }
  // Made under another name and renamed, so that an interrupted run never
  // leaves half a database to be taken for the whole.
  const QString sPartial = file.sPath + QStringLiteral(".partial");
  QFile::remove(sPartial);
  QElapsedTimer timer;
  timer.start();
  Generate(sPartial);
  if (!QFile::rename(sPartial, file.sPath)) {
    throw std::runtime_error("cannot rename " + sPartial.toStdString());
  }
  file.dGenerateSeconds = double(timer.elapsed()) / 1000.0;
  if (seconds.open(QIODevice::WriteOnly)) seconds.write(QByteArray::number(file.dGenerateSeconds));
  return file;
}

QStringList RealisticDatabase::SampleIds(int iCount) {
  QStringList ids;
  // People spread over the table (odd steps, so that none is a company),
  // and one company in the middle.
  for (int i = 0; i + 1 < iCount; ++i) {
    ids << QString::number(iFirstId + 7 + qint64(i) * (iContacts - 50) / iCount + i * 13);
  }
  ids << QString::number(iFirstId + iContacts / 100 * 50);
  return ids;
}

}  // namespace twk::bench
