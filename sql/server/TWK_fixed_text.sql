/*
  Tellwick: an example of ptwk_calculate_fixed_text, the procedure that
  gives the line of text the alert panel shows under the alerts. Adapt it
  to what your staff want to see at a glance, then run it in the iMIS
  database as the database owner.

  The panel calls it as
      exec ptwk_calculate_fixed_text '<record id>', '<iMIS user name>'
  and shows the first column of the first row it returns. Both values arrive
  as they are, so a record id is never trusted to be numeric. Always return
  a row: without one the panel reports that no rows were returned.
*/

set nocount on
go

if exists (select * from sysobjects
           where id = object_id(N'dbo.ptwk_calculate_fixed_text')
             and OBJECTPROPERTY(id, N'IsProcedure') = 1)
  drop procedure dbo.ptwk_calculate_fixed_text
go

create procedure dbo.ptwk_calculate_fixed_text
  @ID       varchar(10),
  @UserName varchar(60)
as
begin
  set nocount on

  declare @Text nvarchar(255)

  select @Text =
           ltrim(rtrim(n.MEMBER_TYPE))
         + case ltrim(rtrim(n.STATUS))
             when 'A' then N', active'
             when 'I' then N', inactive'
             when 'S' then N', suspended'
             when 'D' then N', deceased'
             else N', status ' + ltrim(rtrim(n.STATUS))
           end
         + case
             when n.PAID_THRU is null then N''
             when n.PAID_THRU < getdate() then N', lapsed '
                  + convert(nvarchar(10), n.PAID_THRU, 120)
             else N', paid through ' + convert(nvarchar(10), n.PAID_THRU, 120)
           end
         + case
             when isnull(n.COMPANY, N'') = N'' or n.COMPANY_RECORD = 1 then N''
             else N' | ' + n.COMPANY
           end
    from Name n
   where n.ID = @ID

  if @Text is null
    select @Text = N'No iMIS record with the ID ' + isnull(@ID, N'')

  select @Text as FIXED_TEXT
end
go

grant execute on dbo.ptwk_calculate_fixed_text to public
go
