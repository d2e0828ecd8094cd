-- Tellwick: the iMIS tables that TWK and the demo alert definitions read,
-- reduced to the columns they use. On a real installation these belong to
-- iMIS; the embedded database carries its own copy, with T-SQL column types
-- (see TWK_Tables.sql). Text compares without regard to case, as in a
-- default iMIS database. Dates are date, not iMIS's datetime at midnight:
-- the engine keeps a date as its ISO text, as the demo data write it.

-- Parameter names are stored exactly, as on a case-sensitive server: names
-- that differ only in case are separate rows, and the program's lookup
-- decides between them.
create table if not exists System_Params (
  ParameterName nvarchar(255) primary key,
  ShortValue    nvarchar(255) collate TSQL
);

create table if not exists Users (
  UserId          nvarchar(255) primary key collate TSQL,
  CONTACT_ID      nvarchar(255) collate TSQL,
  FULL_NAME       nvarchar(255) not null default '' collate TSQL,
  AccessKeywords  nvarchar(255) not null default '' collate TSQL
);

create table if not exists Member_Types (
  MEMBER_TYPE     nvarchar(255) primary key collate TSQL,
  DESCRIPTION     nvarchar(255) not null collate TSQL,
  DUES_PAYING     bit not null default 1
);

-- Contacts: people and companies. Dates are ISO texts (YYYY-MM-DD), money
-- in dollars, COMPANY_RECORD and EXCLUDE_MAIL 1 or 0. CO_ID links a person
-- to the record of the company that employs them.
create table if not exists Name (
  ID              nvarchar(255) primary key collate TSQL,
  FULL_NAME       nvarchar(255) not null default '' collate TSQL,
  FIRST_NAME      nvarchar(255) not null default '' collate TSQL,
  LAST_NAME       nvarchar(255) not null default '' collate TSQL,
  COMPANY         nvarchar(255) not null default '' collate TSQL,
  CO_ID           nvarchar(255) not null default '' collate TSQL,
  COMPANY_RECORD  bit not null default 0,
  MEMBER_TYPE     nvarchar(255) not null default 'NM' collate TSQL,
  STATUS          nvarchar(255) not null default 'A' collate TSQL,
  CATEGORY        nvarchar(255) not null default '' collate TSQL,
  PAID_THRU       date,
  JOIN_DATE       date,
  BIRTH_DATE      date,
  EMAIL           nvarchar(255) not null default '' collate TSQL,
  WORK_PHONE      nvarchar(255) not null default '' collate TSQL,
  CITY            nvarchar(255) not null default '' collate TSQL,
  STATE_PROVINCE  nvarchar(255) not null default '' collate TSQL,
  COUNTRY         nvarchar(255) not null default '' collate TSQL,
  BALANCE         money not null default 0,
  EXCLUDE_MAIL    bit not null default 0,
  ACCOUNT_MANAGER nvarchar(255) not null default '' collate TSQL,
  NOTE            "nvarchar(max)" not null default '' collate TSQL
);

-- The record browser lists and searches by name a page at a time.
create index if not exists IX_Name_FULL_NAME on Name (FULL_NAME, ID);

create table if not exists Meet_Master (
  MEETING         nvarchar(255) primary key collate TSQL,
  TITLE           nvarchar(255) not null collate TSQL,
  BEGIN_DATE      date not null,
  CITY            nvarchar(255) not null default '' collate TSQL
);

-- STATUS 'R' registered, 'C' cancelled.
create table if not exists Meet_Registration (
  ID              nvarchar(255) not null collate TSQL,
  MEETING         nvarchar(255) not null collate TSQL,
  REGISTERED_ON   date not null,
  STATUS          nvarchar(255) not null default 'R' collate TSQL,
  AMOUNT_DUE      money not null default 0,
  primary key (ID, MEETING)
);
