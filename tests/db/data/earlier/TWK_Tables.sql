-- Tellwick: the tables and stored procedures of TWK for the embedded
-- database. Plain SQLite SQL; the embedded engine keeps stored procedures as
-- rows of twk_procedures and runs their bodies with the arguments bound to
-- the @names listed in "parameters", in call order.

create table if not exists twk_procedures (
  name       text primary key collate nocase,
  parameters text not null default '',
  body       text not null
);

-- The editor reads a definition with select * and takes the fields by
-- position, so the column order is fixed. The limits are those of the
-- editor's form; the server's columns have the same lengths.
create table if not exists ttwk_AlertDefinitions (
  SEQN        integer primary key autoincrement,
  CRITERIA    text not null default '' check (length(CRITERIA) <= 3072),
  ENABLED     integer not null default 1 check (ENABLED in (0, 1)),
  DESCRIPTION text not null default '' check (length(DESCRIPTION) <= 255),
  ALERT_TYPE  text not null default 'SQL',
  ALERT_ID    text not null default '' check (length(ALERT_ID) <= 20)
);

-- Alerts that a definition writes instead of returning them. Each
-- connection reads and clears only the rows that carry its own @@spid.
-- Flags hold -1 (or 1) for True and 0 for False.
-- Nullable with defaults: a definition that writes a NULL still gets its
-- alert, and the panel reports the NULL instead of losing the row.
create table if not exists ttwk_AlertOutput (
  OWNER_SPID            integer not null,
  EVENT_TYPE            text default 'ID',
  KEY_VALUE             text default '',
  RANK                  integer default 0,
  ICON                  integer default 0,
  KEYWORD               text default '',
  DESCRIPTION           text default '',
  TOOLTIP_TEXT          text default '',
  TITLE_TEXT            text default '',
  CLIPBOARD_TEXT        text,
  CLIPBOARD_DESCRIPTION text default '',
  ACTION_TEXT           text default '',
  ACTION_DESCRIPTION    text default '',
  LOG_TEXT              text default '',
  PLAY_SOUND            integer default 0,
  AUTO_POPUP            integer default 0,
  AUTO_CLIPBOARD        integer default 0,
  AUTO_ACTION           integer default 0
);

create index if not exists IX_ttwk_AlertOutput_OWNER_SPID on ttwk_AlertOutput (OWNER_SPID);

-- Stores one value in System_Params, adding the row when the name is new.
insert or replace into twk_procedures (name, parameters, body) values (
  'ptwk_WriteSystemParams',
  '@ParameterName, @ShortValue',
  'insert into System_Params (ParameterName, ShortValue)
   values (@ParameterName, @ShortValue)
   on conflict (ParameterName) do update set ShortValue = excluded.ShortValue;'
);
