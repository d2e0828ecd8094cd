/*
  Tellwick: the tables and the stored procedure that TWK needs in the iMIS
  database. Run this script in the iMIS database as the database owner
  (for example with sqlcmd -d <iMIS database> -i TWK_Tables.sql). Running it
  again changes nothing: existing objects and their data are kept, except the
  procedure, which is replaced by this version.

  ttwk_AlertDefinitions  the alert definitions, maintained in the TWK Editor.
                         The editor reads a definition with select * and
                         takes the fields by position, so the column order
                         below must not change.
  ttwk_AlertOutput       alerts that a definition writes instead of
                         returning them; each connection sees only the rows
                         whose OWNER_SPID is its own @@spid.
  ptwk_WriteSystemParams stores one value in System_Params, adding the row
                         when the name is not there yet.
*/

set nocount on
go

if not exists (select * from sysobjects
               where id = object_id(N'dbo.ttwk_AlertDefinitions')
                 and OBJECTPROPERTY(id, N'IsUserTable') = 1)
begin
  /* varchar, not char: the panel compares ALERT_TYPE exactly, so no
     trailing blanks may be stored. The lengths match the editor's form;
     the type, which the form does not limit, gets room to spare. */
  create table dbo.ttwk_AlertDefinitions (
    SEQN        int identity(1, 1) not null
                constraint PK_ttwk_AlertDefinitions primary key,
    CRITERIA    nvarchar(3072) not null
                constraint DF_ttwk_AlertDefinitions_CRITERIA default (N''),
    ENABLED     bit not null
                constraint DF_ttwk_AlertDefinitions_ENABLED default (1),
    DESCRIPTION nvarchar(255) not null
                constraint DF_ttwk_AlertDefinitions_DESCRIPTION default (N''),
    ALERT_TYPE  nvarchar(255) not null
                constraint DF_ttwk_AlertDefinitions_ALERT_TYPE default ('SQL'),
    ALERT_ID    nvarchar(20) not null
                constraint DF_ttwk_AlertDefinitions_ALERT_ID default (N'')
  )
end
go

if not exists (select * from sysobjects
               where id = object_id(N'dbo.ttwk_AlertOutput')
                 and OBJECTPROPERTY(id, N'IsUserTable') = 1)
begin
  /* RANK and ICON are read as 16-bit numbers, the flags as truth values
     (any non-zero value is True). Texts default to empty, since the panel
     reports a null where it expects text; only CLIPBOARD_TEXT may be null. */
  /* Nullable with defaults: a definition that writes a NULL still gets
     its alert, and the panel reports the NULL instead of losing the row. */
  create table dbo.ttwk_AlertOutput (
    OWNER_SPID            int not null,
    EVENT_TYPE            nvarchar(20) null
                          constraint DF_ttwk_AlertOutput_EVENT_TYPE default (N'ID'),
    KEY_VALUE             nvarchar(60) null
                          constraint DF_ttwk_AlertOutput_KEY_VALUE default (N''),
    RANK                  smallint null
                          constraint DF_ttwk_AlertOutput_RANK default (0),
    ICON                  smallint null
                          constraint DF_ttwk_AlertOutput_ICON default (0),
    KEYWORD               nvarchar(100) null
                          constraint DF_ttwk_AlertOutput_KEYWORD default (N''),
    DESCRIPTION           nvarchar(2000) null
                          constraint DF_ttwk_AlertOutput_DESCRIPTION default (N''),
    TOOLTIP_TEXT          nvarchar(255) null
                          constraint DF_ttwk_AlertOutput_TOOLTIP_TEXT default (N''),
    TITLE_TEXT            nvarchar(255) null
                          constraint DF_ttwk_AlertOutput_TITLE_TEXT default (N''),
    CLIPBOARD_TEXT        nvarchar(2000) null,
    CLIPBOARD_DESCRIPTION nvarchar(255) null
                          constraint DF_ttwk_AlertOutput_CLIPBOARD_DESCRIPTION default (N''),
    ACTION_TEXT           nvarchar(1000) null
                          constraint DF_ttwk_AlertOutput_ACTION_TEXT default (N''),
    ACTION_DESCRIPTION    nvarchar(255) null
                          constraint DF_ttwk_AlertOutput_ACTION_DESCRIPTION default (N''),
    LOG_TEXT              nvarchar(1000) null
                          constraint DF_ttwk_AlertOutput_LOG_TEXT default (N''),
    PLAY_SOUND            bit null
                          constraint DF_ttwk_AlertOutput_PLAY_SOUND default (0),
    AUTO_POPUP            bit null
                          constraint DF_ttwk_AlertOutput_AUTO_POPUP default (0),
    AUTO_CLIPBOARD        bit null
                          constraint DF_ttwk_AlertOutput_AUTO_CLIPBOARD default (0),
    AUTO_ACTION           bit null
                          constraint DF_ttwk_AlertOutput_AUTO_ACTION default (0)
  )
end
go

if not exists (select * from sysindexes
               where id = object_id(N'dbo.ttwk_AlertOutput')
                 and name = N'IX_ttwk_AlertOutput_OWNER_SPID')
  create index IX_ttwk_AlertOutput_OWNER_SPID on dbo.ttwk_AlertOutput (OWNER_SPID)
go

/* Definitions and the panel run under the staff members' logins. */
grant select, insert, update, delete on dbo.ttwk_AlertDefinitions to public
grant select, insert, update, delete on dbo.ttwk_AlertOutput to public
go

if exists (select * from sysobjects
           where id = object_id(N'dbo.ptwk_WriteSystemParams')
             and OBJECTPROPERTY(id, N'IsProcedure') = 1)
  drop procedure dbo.ptwk_WriteSystemParams
go

create procedure dbo.ptwk_WriteSystemParams
  @ParameterName varchar(60),
  @ShortValue    varchar(255)
as
begin
  set nocount on

  update System_Params
     set ShortValue = @ShortValue
   where ParameterName = @ParameterName

  if @@rowcount = 0
    insert into System_Params (ParameterName, ShortValue)
    values (@ParameterName, @ShortValue)
end
go

grant execute on dbo.ptwk_WriteSystemParams to public
go
