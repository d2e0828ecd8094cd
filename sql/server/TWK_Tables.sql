/*
  Tellwick: the tables, the stored procedure and the role that TWK needs in
  the iMIS database, for SQL Server 2016 and later (an earlier server gets
  everything but the row-level security, see below). Run it in the iMIS
  database as the database owner (or a member of db_owner), for example

      sqlcmd -b -d <iMIS database> -i TWK_Tables.sql

  It stops, changing nothing, in a database that lacks the iMIS tables it
  relies on (System_Params, Name, Users) or when the login may not create
  objects there.

  Running it again is safe: tables and their data are kept; tables made by an
  earlier version are checked column by column and widened where this
  version stores more (each change is printed); the procedure is altered in
  place, so permissions a site granted on it survive; the permissions below
  are set again.

  ttwk_AlertDefinitions  the alert definitions, maintained in the TWK Editor.
                         The editor reads a definition with select * and
                         takes the fields by position, so the column order
                         below must not change.
  ttwk_AlertOutput       alerts that a definition writes instead of
                         returning them; each connection sees and changes
                         only the rows whose OWNER_SPID is its own @@spid
                         (the security policy stwk_AlertOutputOwner with
                         the function ftwk_AlertOutputOwner). KEY_VALUE (the
                         record the alert is about, usually {id}) is
                         required; EVENT_TYPE defaults to 'ID'.
  ptwk_WriteSystemParams stores one of TWK's own values (names starting with
                         QUOR.TWK.) in System_Params, adding the row when the
                         name is not there yet. QUOR.TWK.Version is taken up
                         to the version of this script only; the iMIS
                         version and checksum that clear the reminder of a
                         changed iMIS only from twk_editors and db_owner.
  twk_editors            the role whose members may change the definitions,
                         disable them, and clear that reminder.

  Permissions
  -----------
  A definition is SQL that every panel runs under the login of whoever opens
  a record, so only the role twk_editors (and the database owner) may insert,
  change or delete definitions. To let a staff member edit alerts, give them
  the access keyword TWKEdit in iMIS (the editor checks it) and add their
  database user to the role (the database checks it):

      alter role twk_editors add member [<database user>]

  Every login that runs the panel or the editor needs, and gets from public:
    select on ttwk_AlertDefinitions (setting ENABLED is for twk_editors; a
      site that lets every login disable alerts adds, after each run,
      grant update (ENABLED) on dbo.ttwk_AlertDefinitions to public);
    select, insert, update and delete on ttwk_AlertOutput (definitions write
      their rows there and may correct them; the panel reads and clears its
      own). Row-level security confines all four to the connection's own
      @@spid; on a server before SQL Server 2016 the script says so and
      skips it, and only the check constraint remains, which stops rows
      written for another connection but not reading, changing or deleting
      another connection's rows;
    execute on ptwk_WriteSystemParams (the version check records the TWK
      version on first start), and on ptwk_calculate_fixed_text
      (TWK_fixed_text.sql).
  These grants also make the objects visible: SQL Server shows a login only
  the objects it holds a permission on, so without one the start-up check
  finds the object missing in sysobjects and reports "Critical: missing
  objects" although it exists. A site that wants to admit only the iMIS
  staff role instead of public replaces public by that role in the grants
  below (keep the revoke from public). Logins also need select on
  System_Params, and the editor's users select on Users; iMIS grants those.
*/

set ansi_nulls on
set quoted_identifier on
set nocount on
go

/* Everything after this batch is skipped (set noexec on) when the script is
   in the wrong place: sqlcmd without -b would otherwise go on and create
   the objects in master or in whatever database the login opened. */
declare @Database sysname = db_name()
declare @Missing nvarchar(200) = N''

if object_id(N'dbo.System_Params', N'U') is null set @Missing = @Missing + N' System_Params'
if object_id(N'dbo.Name', N'U') is null set @Missing = @Missing + N' Name'
if object_id(N'dbo.Users', N'U') is null set @Missing = @Missing + N' Users'

if @Database in (N'master', N'model', N'msdb', N'tempdb')
begin
  raiserror(N'TWK_Tables.sql stopped: %s is a system database. Run the script in the iMIS database (sqlcmd -d <iMIS database> -i TWK_Tables.sql). Nothing was changed.',
            16, 1, @Database)
  set noexec on
end
else if @Missing <> N''
begin
  raiserror(N'TWK_Tables.sql stopped: the database %s lacks the iMIS tables:%s, so it is not an iMIS database. Run the script in the iMIS database. Nothing was changed.',
            16, 1, @Database, @Missing)
  set noexec on
end
else if isnull(is_member(N'db_owner'), 0) = 0
begin
  raiserror(N'TWK_Tables.sql stopped: it creates tables, a procedure and a role and grants permissions in %s, so run it as the database owner or a member of db_owner. Nothing was changed.',
            16, 1, @Database)
  set noexec on
end
go

if object_id(N'dbo.ttwk_AlertDefinitions', N'U') is null
begin
  /* nvarchar, not char: the panel compares ALERT_TYPE exactly, so no
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
                constraint DF_ttwk_AlertDefinitions_ALERT_TYPE default (N'SQL'),
    ALERT_ID    nvarchar(20) not null
                constraint DF_ttwk_AlertDefinitions_ALERT_ID default (N'')
  )
end
go

if object_id(N'dbo.ttwk_AlertOutput', N'U') is null
begin
  /* RANK and ICON are read as 16-bit numbers, the flags as truth values.
     The panel accepts texts of any length, so the long ones are max: a
     narrower column would make a longer alert's insert fail, and a failing
     definition shows nothing.
     Nullable with defaults: a definition that writes a NULL still gets its
     alert, and the panel reports the NULL instead of losing the row. The
     exceptions: KEY_VALUE has no sensible default (an empty one makes the
     panel drop the row without a word), so an insert that omits it fails
     and says why; EVENT_TYPE is 'ID' unless written.
     The check keeps a connection from planting alerts, and the command
     lines they start, in another staff member's panel. */
  create table dbo.ttwk_AlertOutput (
    OWNER_SPID            int not null
                          constraint CK_ttwk_AlertOutput_OWNER_SPID check (OWNER_SPID = @@spid),
    EVENT_TYPE            nvarchar(60) not null
                          constraint DF_ttwk_AlertOutput_EVENT_TYPE default (N'ID'),
    KEY_VALUE             nvarchar(255) not null,
    RANK                  smallint null
                          constraint DF_ttwk_AlertOutput_RANK default (0),
    ICON                  smallint null
                          constraint DF_ttwk_AlertOutput_ICON default (0),
    KEYWORD               nvarchar(4000) null
                          constraint DF_ttwk_AlertOutput_KEYWORD default (N''),
    DESCRIPTION           nvarchar(max) null
                          constraint DF_ttwk_AlertOutput_DESCRIPTION default (N''),
    TOOLTIP_TEXT          nvarchar(max) null
                          constraint DF_ttwk_AlertOutput_TOOLTIP_TEXT default (N''),
    TITLE_TEXT            nvarchar(4000) null
                          constraint DF_ttwk_AlertOutput_TITLE_TEXT default (N''),
    CLIPBOARD_TEXT        nvarchar(max) null,
    CLIPBOARD_DESCRIPTION nvarchar(4000) null
                          constraint DF_ttwk_AlertOutput_CLIPBOARD_DESCRIPTION default (N''),
    ACTION_TEXT           nvarchar(max) null
                          constraint DF_ttwk_AlertOutput_ACTION_TEXT default (N''),
    ACTION_DESCRIPTION    nvarchar(4000) null
                          constraint DF_ttwk_AlertOutput_ACTION_DESCRIPTION default (N''),
    LOG_TEXT              nvarchar(max) null
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

  /* Every panel refresh deletes and reads by OWNER_SPID; clustered on it,
     the churn stays in the connection's own pages instead of a heap. */
  create clustered index IX_ttwk_AlertOutput_OWNER_SPID on dbo.ttwk_AlertOutput (OWNER_SPID)
end
go

/* Upgrade of tables made by an earlier version. Each column is compared with
   what this version creates: text columns are widened (never narrowed) to
   nvarchar of at least this version's width, nullability and defaults are
   brought in line where that loses nothing, and anything else that differs
   is reported and left to the administrator. The statements are built at
   run time because an earlier table may lack a column this batch names. */
declare @Columns table (
  Seq         int identity(1, 1) primary key,
  TableName   sysname not null,
  ColumnName  sysname not null,
  TypeName    sysname not null,
  Width       int null,            -- characters of a text column, -1 for max
  IsNullable  bit not null,
  DefaultText nvarchar(40) null    -- the default this version sets, null for none
)

insert into @Columns (TableName, ColumnName, TypeName, Width, IsNullable, DefaultText)
values (N'ttwk_AlertDefinitions', N'SEQN',        N'int',      null, 0, null),
       (N'ttwk_AlertDefinitions', N'CRITERIA',    N'nvarchar', 3072, 0, N'(N'''')'),
       (N'ttwk_AlertDefinitions', N'ENABLED',     N'bit',      null, 0, N'(1)'),
       (N'ttwk_AlertDefinitions', N'DESCRIPTION', N'nvarchar', 255,  0, N'(N'''')'),
       (N'ttwk_AlertDefinitions', N'ALERT_TYPE',  N'nvarchar', 255,  0, N'(N''SQL'')'),
       (N'ttwk_AlertDefinitions', N'ALERT_ID',    N'nvarchar', 20,   0, N'(N'''')'),
       (N'ttwk_AlertOutput', N'OWNER_SPID',            N'int',      null, 0, null),
       (N'ttwk_AlertOutput', N'EVENT_TYPE',            N'nvarchar', 60,   0, N'(N''ID'')'),
       (N'ttwk_AlertOutput', N'KEY_VALUE',             N'nvarchar', 255,  0, null),
       (N'ttwk_AlertOutput', N'RANK',                  N'smallint', null, 1, N'(0)'),
       (N'ttwk_AlertOutput', N'ICON',                  N'smallint', null, 1, N'(0)'),
       (N'ttwk_AlertOutput', N'KEYWORD',               N'nvarchar', 4000, 1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'DESCRIPTION',           N'nvarchar', -1,   1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'TOOLTIP_TEXT',          N'nvarchar', -1,   1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'TITLE_TEXT',            N'nvarchar', 4000, 1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'CLIPBOARD_TEXT',        N'nvarchar', -1,   1, null),
       (N'ttwk_AlertOutput', N'CLIPBOARD_DESCRIPTION', N'nvarchar', 4000, 1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'ACTION_TEXT',           N'nvarchar', -1,   1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'ACTION_DESCRIPTION',    N'nvarchar', 4000, 1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'LOG_TEXT',              N'nvarchar', -1,   1, N'(N'''')'),
       (N'ttwk_AlertOutput', N'PLAY_SOUND',            N'bit',      null, 1, N'(0)'),
       (N'ttwk_AlertOutput', N'AUTO_POPUP',            N'bit',      null, 1, N'(0)'),
       (N'ttwk_AlertOutput', N'AUTO_CLIPBOARD',        N'bit',      null, 1, N'(0)'),
       (N'ttwk_AlertOutput', N'AUTO_ACTION',           N'bit',      null, 1, N'(0)')

declare @Seq int = 0, @Table sysname, @Column sysname, @Type sysname, @Width int,
        @Nullable bit, @Default nvarchar(40),
        @HasType sysname, @HasWidth int, @HasNullable bit, @HasDefault sysname,
        @Widen bit, @Renull bit, @NewWidth int, @TypeText nvarchar(40), @NewType nvarchar(40),
        @Target nvarchar(300), @Sql nvarchar(max)

while 1 = 1
begin
  select top (1) @Seq = Seq, @Table = TableName, @Column = ColumnName, @Type = TypeName,
         @Width = Width, @Nullable = IsNullable, @Default = DefaultText
    from @Columns
   where Seq > @Seq
   order by Seq
  if @@rowcount = 0 break

  set @Target = N'dbo.' + quotename(@Table)
  -- The policy hides other connections' rows from the changes below and
  -- binds OWNER_SPID; the batches after this one make it again. The
  -- definitions' rows come first, so a stop for one of them leaves it on.
  if @Table = N'ttwk_AlertOutput'
     and exists (select * from sys.objects
                 where object_id = object_id(N'dbo.stwk_AlertOutputOwner') and type = 'SP')
    exec (N'drop security policy dbo.stwk_AlertOutputOwner')
  set @HasType = null
  select @HasType = t.name,
         @HasWidth = case when t.name in (N'text', N'ntext') or c.max_length = -1 then -1
                          when t.name in (N'nchar', N'nvarchar') then c.max_length / 2
                          else c.max_length end,
         @HasNullable = c.is_nullable,
         @HasDefault = object_name(c.default_object_id)
    from sys.columns c
    join sys.types t on t.user_type_id = c.system_type_id
   where c.object_id = object_id(@Target) and c.name = @Column

  if @HasType is null and @Table = N'ttwk_AlertDefinitions'
  begin
    -- Added at the end it would shift the fields the editor reads by position.
    raiserror(N'TWK_Tables.sql stopped: dbo.ttwk_AlertDefinitions has no column %s. Rename the table, run the script again and copy the definitions over.',
              16, 1, @Column)
    set noexec on
    break
  end

  if @HasType is null
  begin
    -- Added nullable; the steps below make it what this version needs.
    set @TypeText = @Type + case when @Width = -1 then N'(max)'
                                 when @Width is not null then N'(' + cast(@Width as nvarchar(10)) + N')'
                                 else N'' end
    set @Sql = N'alter table ' + @Target + N' add ' + quotename(@Column) + N' ' + @TypeText + N' null'
    exec (@Sql)
    print N'TWK_Tables.sql: added ' + @Table + N'.' + @Column + N' ' + @TypeText
    select @HasType = @Type, @HasWidth = @Width, @HasNullable = 1, @HasDefault = null
  end

  set @TypeText = @HasType + case when @HasType in (N'char', N'varchar', N'nchar', N'nvarchar')
                                  then N'(' + case when @HasWidth = -1 then N'max'
                                                   else cast(@HasWidth as nvarchar(10)) end + N')'
                                  else N'' end

  -- Text of another type, or narrower: nvarchar of the larger width.
  set @Widen = case when @Width is not null
                         and @HasType in (N'char', N'varchar', N'nchar', N'nvarchar', N'text', N'ntext')
                         and (@HasType <> N'nvarchar'
                              or (@HasWidth <> -1 and (@Width = -1 or @HasWidth < @Width)))
                    then 1 else 0 end
  set @NewWidth = case when @Widen = 0 then @HasWidth
                       when @Width = -1 or @HasWidth = -1 or @HasWidth > 4000 then -1
                       when @HasWidth > @Width then @HasWidth
                       else @Width end
  -- Allowing NULL loses nothing; requiring it is done only for the output
  -- table, whose rows live until their connection's next refresh.
  set @Renull = case when @HasNullable = @Nullable then 0
                     when @Widen = 0 and @HasType not in (N'char', N'varchar', N'nchar', N'nvarchar',
                                                          N'bit', N'tinyint', N'smallint', N'int', N'bigint')
                       then 0
                     when @Nullable = 0 and @Table = N'ttwk_AlertDefinitions' then 0
                     else 1 end

  if @Width is null and @HasType <> @Type
    print N'TWK_Tables.sql: note: ' + @Table + N'.' + @Column + N' is ' + @TypeText
        + N', this version creates ' + @Type + N'; left as it is.'
  else if @Width is not null and @Widen = 0 and @HasType <> N'nvarchar'
    print N'TWK_Tables.sql: note: ' + @Table + N'.' + @Column + N' is ' + @TypeText
        + N', not text; left as it is.'
  if @HasNullable <> @Nullable and @Renull = 0
    print N'TWK_Tables.sql: note: ' + @Table + N'.' + @Column
        + case when @HasNullable = 1 then N' allows NULL' else N' allows no NULL' end
        + N', unlike what this version creates; left as it is.'

  if @Widen = 1 or @Renull = 1
  begin
    if @Renull = 1 and @Nullable = 0
    begin
      -- A row without a key value was never shown; a missing event type is 'ID'.
      set @Sql = case when @Default is null
                      then N'delete from ' + @Target + N' where ' + quotename(@Column) + N' is null'
                      else N'update ' + @Target + N' set ' + quotename(@Column) + N' = ' + @Default
                         + N' where ' + quotename(@Column) + N' is null' end
      exec (@Sql)
    end
    -- A default blocks a change of type; the one this version names is put back below.
    if @HasDefault is not null
    begin
      set @Sql = N'alter table ' + @Target + N' drop constraint ' + quotename(@HasDefault)
      exec (@Sql)
      if @Default is null
        print N'TWK_Tables.sql: removed the default of ' + @Table + N'.' + @Column
      set @HasDefault = null
    end
    set @NewType = case when @Widen = 1
                        then N'nvarchar(' + case when @NewWidth = -1 then N'max'
                                                 else cast(@NewWidth as nvarchar(10)) end + N')'
                        else @TypeText end
    set @Sql = N'alter table ' + @Target + N' alter column ' + quotename(@Column) + N' ' + @NewType
             + case when (@Renull = 1 and @Nullable = 1) or (@Renull = 0 and @HasNullable = 1)
                    then N' null' else N' not null' end
    exec (@Sql)
    if @Widen = 1
      print N'TWK_Tables.sql: widened ' + @Table + N'.' + @Column + N' from ' + @TypeText + N' to ' + @NewType
    if @Renull = 1
      print N'TWK_Tables.sql: ' + @Table + N'.' + @Column
          + case when @Nullable = 1 then N' now allows NULL' else N' is now required (not null)' end
    if @Widen = 1 and @HasType in (N'char', N'nchar')
    begin
      -- A fixed width padded every value with blanks, which the panel would compare.
      set @Sql = N'update ' + @Target + N' set ' + quotename(@Column) + N' = rtrim(' + quotename(@Column)
               + N') where datalength(' + quotename(@Column) + N') <> datalength(rtrim('
               + quotename(@Column) + N'))'
      exec (@Sql)
    end
  end

  if @Default is null and @HasDefault is not null
  begin
    set @Sql = N'alter table ' + @Target + N' drop constraint ' + quotename(@HasDefault)
    exec (@Sql)
    print N'TWK_Tables.sql: removed the default of ' + @Table + N'.' + @Column
  end
  else if @Default is not null and @HasDefault is null
  begin
    set @Sql = N'alter table ' + @Target + N' add constraint ' + quotename(N'DF_' + @Table + N'_' + @Column)
             + N' default ' + @Default + N' for ' + quotename(@Column)
    exec (@Sql)
    print N'TWK_Tables.sql: set the default of ' + @Table + N'.' + @Column + N' to ' + @Default
  end
end

-- A heap, as earlier versions made it; a clustered index a site made itself stays.
if not exists (select * from sys.indexes
               where object_id = object_id(N'dbo.ttwk_AlertOutput') and type = 1)
begin
  if exists (select * from sys.indexes
             where object_id = object_id(N'dbo.ttwk_AlertOutput')
               and name = N'IX_ttwk_AlertOutput_OWNER_SPID')
    drop index IX_ttwk_AlertOutput_OWNER_SPID on dbo.ttwk_AlertOutput
  create clustered index IX_ttwk_AlertOutput_OWNER_SPID on dbo.ttwk_AlertOutput (OWNER_SPID)
  print N'TWK_Tables.sql: ttwk_AlertOutput is now clustered on OWNER_SPID'
end

if not exists (select * from sys.check_constraints
               where parent_object_id = object_id(N'dbo.ttwk_AlertOutput')
                 and name = N'CK_ttwk_AlertOutput_OWNER_SPID')
begin
  -- nocheck: rows that other connections left behind stay until they are cleared.
  alter table dbo.ttwk_AlertOutput with nocheck
    add constraint CK_ttwk_AlertOutput_OWNER_SPID check (OWNER_SPID = @@spid)
  print N'TWK_Tables.sql: ttwk_AlertOutput now accepts only rows of the writing connection'
end
go

/* Row-level security keeps each connection to the rows of its own @@spid in
   every statement: the filter hides other rows from select, update and
   delete, the block predicates refuse rows written for another connection
   and changes of OWNER_SPID. The check constraint stays for servers without
   it. The function and the policy are made anew on every run, so that an
   upgrade gets this version's predicate; the policy binds the function and
   goes first. */
if exists (select * from sys.objects
           where object_id = object_id(N'dbo.stwk_AlertOutputOwner') and type = 'SP')
  exec (N'drop security policy dbo.stwk_AlertOutputOwner')
if object_id(N'dbo.ftwk_AlertOutputOwner', N'IF') is not null
  drop function dbo.ftwk_AlertOutputOwner
go

create function dbo.ftwk_AlertOutputOwner(@OwnerSpid int)
returns table
with schemabinding
as
return select 1 as IsOwner where @OwnerSpid = @@spid
go

/* Built at run time: a server before SQL Server 2016, which has no
   sys.security_policies, cannot even compile the statement. */
if object_id(N'sys.security_policies') is null
  print N'TWK_Tables.sql: note: this server has no row-level security (SQL Server 2016 and later); only the check constraint guards ttwk_AlertOutput, which keeps a connection from writing rows for another one but not from reading, changing or deleting them.'
else
begin
  exec (N'create security policy dbo.stwk_AlertOutputOwner
  add filter predicate dbo.ftwk_AlertOutputOwner(OWNER_SPID) on dbo.ttwk_AlertOutput,
  add block predicate dbo.ftwk_AlertOutputOwner(OWNER_SPID) on dbo.ttwk_AlertOutput after insert,
  add block predicate dbo.ftwk_AlertOutputOwner(OWNER_SPID) on dbo.ttwk_AlertOutput after update,
  add block predicate dbo.ftwk_AlertOutputOwner(OWNER_SPID) on dbo.ttwk_AlertOutput before update,
  add block predicate dbo.ftwk_AlertOutputOwner(OWNER_SPID) on dbo.ttwk_AlertOutput before delete
  with (state = on, schemabinding = on)')
  print N'TWK_Tables.sql: ttwk_AlertOutput shows and lets change only the rows of the connection itself'
end
go

if exists (select * from sys.database_principals where name = N'twk_editors' and type <> 'R')
begin
  raiserror(N'TWK_Tables.sql stopped: twk_editors exists in this database but is not a role. Rename it and run the script again.',
            16, 1)
  set noexec on
end
else if database_principal_id(N'twk_editors') is null
  exec (N'create role twk_editors authorization dbo')
go

/* Earlier versions let public change definitions, and set ENABLED; that is
   what these revokes take back. The grants are the complete list of what
   the libraries execute: see the header. */
revoke insert, update, delete on dbo.ttwk_AlertDefinitions from public
revoke update (ENABLED) on dbo.ttwk_AlertDefinitions from public
grant select on dbo.ttwk_AlertDefinitions to public
grant select, insert, update, delete on dbo.ttwk_AlertOutput to public
grant select, insert, update, delete on dbo.ttwk_AlertDefinitions to twk_editors
go

if object_id(N'dbo.ptwk_WriteSystemParams', N'P') is null
  exec (N'create procedure dbo.ptwk_WriteSystemParams as return 0')
go

/* Wide parameters, so that nothing is cut short before the checks see it. */
alter procedure dbo.ptwk_WriteSystemParams
  @ParameterName varchar(8000),
  @ShortValue    varchar(8000)
as
begin
  set nocount on
  -- Any error rolls the whole write back and leaves no transaction open on
  -- the caller's connection, which TWK keeps and shares.
  set xact_abort on

  -- Through ownership chaining this procedure may change any row for any
  -- caller; TWK only ever writes its own names.
  if @ParameterName is null or len(@ParameterName) <= 9 or left(@ParameterName, 9) <> 'QUOR.TWK.'
  begin
    raiserror(N'ptwk_WriteSystemParams stores only names that start with QUOR.TWK.; %s was refused.',
              16, 1, @ParameterName)
    return 1
  end

  -- TWK compares these names without regard to case, so the guards do too.
  -- The reminder of a changed iMIS version is for a manager to clear.
  if @ParameterName collate Latin1_General_CI_AS in ('QUOR.TWK.Imis_Version', 'QUOR.TWK.Imis_Checksum')
     and isnull(is_member(N'twk_editors'), 0) = 0 and isnull(is_member(N'db_owner'), 0) = 0
  begin
    raiserror(N'ptwk_WriteSystemParams: only members of twk_editors or db_owner may write %s, which clears the reminder of a changed iMIS version.',
              16, 1, @ParameterName)
    return 1
  end

  -- A stored version above every installed copy's stops them all with
  -- "Newer version in use", so it is taken only in the form TWK writes and
  -- its start-up check reads (three numbers of 1 to 9 digits) and never
  -- above the version of the objects that TWK_Tables.sql installed here.
  -- The script sets that version when it alters this procedure.
  declare @InstalledVersion varchar(30) = '1.00.000'
  if @ParameterName collate Latin1_General_CI_AS = 'QUOR.TWK.Version'
  begin
    declare @Dot1 int = charindex('.', @ShortValue)
    declare @Dot2 int = charindex('.', @ShortValue, @Dot1 + 1)
    -- The appended dot keeps trailing blanks, which like would ignore.
    if @ShortValue is null
       or (@ShortValue + '.') collate Latin1_General_BIN like '%[^0-9.]%'
       or @Dot1 not between 2 and 10
       or @Dot2 - @Dot1 not between 2 and 10
       or len(@ShortValue) - @Dot2 not between 1 and 9
       or charindex('.', @ShortValue, @Dot2 + 1) > 0
    begin
      raiserror(N'ptwk_WriteSystemParams: QUOR.TWK.Version takes a version such as %s (three numbers of 1 to 9 digits); %s was refused.',
                16, 1, @InstalledVersion, @ShortValue)
      return 1
    end
    -- Numbers padded to one width compare as their digits do.
    declare @Key char(27) = right(replicate('0', 9) + parsename(@ShortValue, 3), 9)
                          + right(replicate('0', 9) + parsename(@ShortValue, 2), 9)
                          + right(replicate('0', 9) + parsename(@ShortValue, 1), 9)
    declare @InstalledKey char(27) = right(replicate('0', 9) + parsename(@InstalledVersion, 3), 9)
                                   + right(replicate('0', 9) + parsename(@InstalledVersion, 2), 9)
                                   + right(replicate('0', 9) + parsename(@InstalledVersion, 1), 9)
    if @Key collate Latin1_General_BIN > @InstalledKey
    begin
      raiserror(N'ptwk_WriteSystemParams: TWK %s is newer than the TWK objects in this database (%s). Run TWK_Tables.sql of version %s as the database owner first; QUOR.TWK.Version was not changed.',
                16, 1, @ShortValue, @InstalledVersion, @ShortValue)
      return 1
    end
  end

  declare @NameWidth int = columnproperty(object_id(N'dbo.System_Params'), N'ParameterName', 'Precision')
  declare @ValueWidth int = columnproperty(object_id(N'dbo.System_Params'), N'ShortValue', 'Precision')
  if (@NameWidth > 0 and len(@ParameterName + 'x') - 1 > @NameWidth)
     or (@ValueWidth > 0 and len(@ShortValue + 'x') - 1 > @ValueWidth)
  begin
    raiserror(N'ptwk_WriteSystemParams: the name or the value for %s is longer than System_Params holds.',
              16, 1, @ParameterName)
    return 1
  end

  -- The range lock makes a second caller wait for the first one's row
  -- instead of inserting it a second time.
  begin transaction

  update dbo.System_Params with (updlock, serializable)
     set ShortValue = @ShortValue
   where ParameterName = @ParameterName

  if @@rowcount = 0
    insert into dbo.System_Params (ParameterName, ShortValue)
    values (@ParameterName, @ShortValue)

  commit transaction
  return 0
end
go

grant execute on dbo.ptwk_WriteSystemParams to public
go

print N'TWK_Tables.sql: finished in ' + db_name() + N'.'
go

set noexec off
go
