-- Tellwick: the tables and stored procedures of TWK for the embedded
-- database. The statements are SQLite's, the column types T-SQL's: the
-- engine reads each column's type from its declaration, and text columns
-- compare under its TSQL collation as on the server. A type with (max) is
-- quoted, since SQLite takes only numbers in a type's brackets. The engine
-- keeps stored procedures as rows of twk_procedures: a T-SQL body run with
-- the arguments bound to the @names (and types) listed in "parameters", in
-- call order.

create table if not exists twk_procedures (
  name       nvarchar(128) primary key collate TSQL,
  parameters nvarchar(4000) not null default '',
  body       "nvarchar(max)" not null
);

-- The editor reads a definition with select * and takes the fields by
-- position, so the column order is fixed. The limits are those of the
-- editor's form; the server's columns have the same lengths.
create table if not exists ttwk_AlertDefinitions (
  SEQN        integer primary key autoincrement,
  CRITERIA    nvarchar(3072) not null default '' collate TSQL
              check (length(CRITERIA) <= 3072),
  ENABLED     bit not null default 1 check (ENABLED in (0, 1)),
  DESCRIPTION nvarchar(255) not null default '' collate TSQL check (length(DESCRIPTION) <= 255),
  ALERT_TYPE  nvarchar(255) not null default 'SQL' collate TSQL,
  ALERT_ID    nvarchar(20) not null default '' collate TSQL check (length(ALERT_ID) <= 20)
);

-- Alerts that a definition writes instead of returning them. Each
-- connection reads and clears only the rows that carry its own @@spid.
-- Flags hold -1 (or 1) for True and 0 for False.
-- Nullable with defaults: a definition that writes a NULL still gets its
-- alert, and the panel reports the NULL instead of losing the row.
create table if not exists ttwk_AlertOutput (
  OWNER_SPID            int not null,
  EVENT_TYPE            nvarchar(60) default 'ID' collate TSQL,
  KEY_VALUE             nvarchar(255) default '' collate TSQL,
  RANK                  smallint default 0,
  ICON                  smallint default 0,
  KEYWORD               nvarchar(4000) default '' collate TSQL,
  DESCRIPTION           "nvarchar(max)" default '' collate TSQL,
  TOOLTIP_TEXT          "nvarchar(max)" default '' collate TSQL,
  TITLE_TEXT            nvarchar(4000) default '' collate TSQL,
  CLIPBOARD_TEXT        "nvarchar(max)" collate TSQL,
  CLIPBOARD_DESCRIPTION nvarchar(4000) default '' collate TSQL,
  ACTION_TEXT           "nvarchar(max)" default '' collate TSQL,
  ACTION_DESCRIPTION    nvarchar(4000) default '' collate TSQL,
  LOG_TEXT              "nvarchar(max)" default '' collate TSQL,
  PLAY_SOUND            bit default 0,
  AUTO_POPUP            bit default 0,
  AUTO_CLIPBOARD        bit default 0,
  AUTO_ACTION           bit default 0
);

create index if not exists IX_ttwk_AlertOutput_OWNER_SPID on ttwk_AlertOutput (OWNER_SPID);

-- Stores one value in System_Params, adding the row when the name is new.
insert or replace into twk_procedures (name, parameters, body) values (
  'ptwk_WriteSystemParams',
  '@ParameterName nvarchar(255), @ShortValue nvarchar(255)',
  'update System_Params set ShortValue = @ShortValue where ParameterName = @ParameterName
if @@rowcount = 0
  insert into System_Params (ParameterName, ShortValue) values (@ParameterName, @ShortValue)
return 0'
);

-- The version of these objects. A file whose number is lower was made by an
-- earlier version, and is brought up to this one when it is opened.
pragma user_version = 2;
