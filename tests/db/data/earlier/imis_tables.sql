-- Tellwick: the iMIS tables that TWK and the demo alert definitions read,
-- reduced to the columns they use. On a real installation these belong to
-- iMIS; the embedded database carries its own copy. Keys of people and
-- codes compare without regard to case, as in a default iMIS database.

-- Parameter names compare exactly, as on a case-sensitive server: names
-- that differ only in case are separate rows, and the program's lookup
-- decides between them.
create table if not exists System_Params (
  ParameterName text primary key,
  ShortValue    text
);

create table if not exists Users (
  UserId         text primary key collate nocase,
  CONTACT_ID     text,
  FULL_NAME      text not null default '',
  AccessKeywords text not null default ''
);

create table if not exists Member_Types (
  MEMBER_TYPE text primary key collate nocase,
  DESCRIPTION text not null,
  DUES_PAYING integer not null default 1
);

-- Contacts: people and companies. Dates are ISO texts (YYYY-MM-DD), money
-- in dollars, COMPANY_RECORD and EXCLUDE_MAIL 1 or 0. CO_ID links a person
-- to the record of the company that employs them.
create table if not exists Name (
  ID              text primary key collate nocase,
  FULL_NAME       text not null default '',
  FIRST_NAME      text not null default '',
  LAST_NAME       text not null default '',
  COMPANY         text not null default '',
  CO_ID           text not null default '',
  COMPANY_RECORD  integer not null default 0,
  MEMBER_TYPE     text not null default 'NM',
  STATUS          text not null default 'A',
  CATEGORY        text not null default '',
  PAID_THRU       text,
  JOIN_DATE       text,
  BIRTH_DATE      text,
  EMAIL           text not null default '',
  WORK_PHONE      text not null default '',
  CITY            text not null default '',
  STATE_PROVINCE  text not null default '',
  COUNTRY         text not null default '',
  BALANCE         real not null default 0,
  EXCLUDE_MAIL    integer not null default 0,
  ACCOUNT_MANAGER text not null default '',
  NOTE            text not null default ''
);

-- The record browser lists and searches by name a page at a time.
create index if not exists IX_Name_FULL_NAME on Name (FULL_NAME collate nocase, ID);

create table if not exists Meet_Master (
  MEETING    text primary key collate nocase,
  TITLE      text not null,
  BEGIN_DATE text not null,
  CITY       text not null default ''
);

-- STATUS 'R' registered, 'C' cancelled.
create table if not exists Meet_Registration (
  ID            text not null collate nocase,
  MEETING       text not null collate nocase,
  REGISTERED_ON text not null,
  STATUS        text not null default 'R',
  AMOUNT_DUE    real not null default 0,
  primary key (ID, MEETING)
);
