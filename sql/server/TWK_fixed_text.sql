/*
  Tellwick: an example of ptwk_calculate_fixed_text, the procedure that
  gives the line of text the alert panel shows under the alerts, for
  SQL Server 2016 and later. Run it in the iMIS database as the database
  owner, after TWK_Tables.sql:

      sqlcmd -b -d <iMIS database> -i TWK_fixed_text.sql

  What the panel needs, and a site's own version must keep:
  - the name dbo.ptwk_calculate_fixed_text and two text arguments, the
    record id and the iMIS user name, in that order. The panel calls
        exec ptwk_calculate_fixed_text '<record id>', '<iMIS user name>'
    with both values as they are: an id is never trusted to be numeric, and
    may be of any length.
  - the text in the first column of the first row of the first result. So
    set nocount on comes first: with it off, the count of an earlier
    statement would be that first result and the panel would find no row.
    Always return a row; without one the panel reports that no rows were
    returned.
  - execute permission for every login (granted to public below): SQL Server
    shows a login only the objects it may use, and the panel's start-up
    check reports "Critical: missing objects" for a procedure it cannot see.

  What a site may change: everything between begin and end below, that is
  which iMIS tables are read and what the text says. Running the script
  again alters the procedure in place, so permissions granted on it survive.

  This version reads only columns of Name and says: the member type, the
  status, the paid-through date (lapsed only after that last paid day) and
  the company of a person. A site that keeps descriptions of its member types
  may join its own table of them, as the embedded demo does.
*/

set ansi_nulls on
set quoted_identifier on
set nocount on
go

/* Everything after this batch is skipped (set noexec on) in a database
   that is not an iMIS database. */
declare @Database sysname = db_name()
declare @Missing nvarchar(200) = N''

if object_id(N'dbo.Name', N'U') is null set @Missing = @Missing + N' Name'

if @Database in (N'master', N'model', N'msdb', N'tempdb')
begin
  raiserror(N'TWK_fixed_text.sql stopped: %s is a system database. Run the script in the iMIS database (sqlcmd -d <iMIS database> -i TWK_fixed_text.sql). Nothing was changed.',
            16, 1, @Database)
  set noexec on
end
else if @Missing <> N''
begin
  raiserror(N'TWK_fixed_text.sql stopped: the database %s lacks the iMIS tables:%s, so it is not an iMIS database. Run the script in the iMIS database. Nothing was changed.',
            16, 1, @Database, @Missing)
  set noexec on
end
else if isnull(is_member(N'db_owner'), 0) = 0
begin
  raiserror(N'TWK_fixed_text.sql stopped: it creates a procedure and grants a permission in %s, so run it as the database owner or a member of db_owner. Nothing was changed.',
            16, 1, @Database)
  set noexec on
end
go

if object_id(N'dbo.ptwk_calculate_fixed_text', N'P') is null
  exec (N'create procedure dbo.ptwk_calculate_fixed_text as return 0')
go

/* varchar(8000): a narrower argument would cut a long id short, and the
   shortened id could name another record. */
alter procedure dbo.ptwk_calculate_fixed_text
  @ID       varchar(8000),
  @UserName varchar(8000)
as
begin
  set nocount on

  declare @Text nvarchar(max)

  -- Every part copes with NULL, which would otherwise blank the whole text.
  select top (1) @Text =
           coalesce(nullif(ltrim(rtrim(n.MEMBER_TYPE)), N''), N'No member type')
         + case ltrim(rtrim(n.STATUS))
             when 'A' then N', active'
             when 'I' then N', inactive'
             when 'S' then N', suspended'
             when 'D' then N', deceased'
             else N', status ' + coalesce(nullif(ltrim(rtrim(n.STATUS)), N''), N'none')
           end
         + case
             when n.PAID_THRU is null then N''
             -- Paid through a day means paid on that day too.
             when n.PAID_THRU < cast(getdate() as date)
               then N', lapsed ' + convert(nvarchar(10), n.PAID_THRU, 120)
             else N', paid through ' + convert(nvarchar(10), n.PAID_THRU, 120)
           end
         + case
             when n.COMPANY_RECORD = 1 or isnull(ltrim(rtrim(n.COMPANY)), N'') = N'' then N''
             else N' | ' + ltrim(rtrim(n.COMPANY))
           end
    from dbo.Name n
   where n.ID = @ID

  if @Text is null
    set @Text = N'No iMIS record with the ID ' + isnull(@ID, '')

  select @Text as FIXED_TEXT
end
go

grant execute on dbo.ptwk_calculate_fixed_text to public
go

print N'TWK_fixed_text.sql: finished in ' + db_name() + N'.'
go

set noexec off
go
