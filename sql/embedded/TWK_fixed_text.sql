-- Tellwick: an example of ptwk_calculate_fixed_text for the embedded
-- database, the line of text the alert panel shows under the alerts. The
-- panel calls it with the record id and the iMIS user name and shows the
-- first column of the first row; the procedure always returns one row. The
-- body is the server's example, joined with the member types' descriptions
-- that the demo keeps.

insert or replace into twk_procedures (name, parameters, body) values (
  'ptwk_calculate_fixed_text',
  '@ID varchar(8000), @UserName varchar(8000)',
  'set nocount on
declare @Text nvarchar(max)
-- Every part copes with NULL, which would otherwise blank the whole text.
select top (1) @Text =
         coalesce(t.DESCRIPTION, n.MEMBER_TYPE)
       + case n.STATUS
           when ''A'' then '', active''
           when ''I'' then '', inactive''
           when ''S'' then '', suspended''
           when ''D'' then '', deceased''
           else '', status '' + coalesce(n.STATUS, ''none'')
         end
       + case
           when n.PAID_THRU is null or t.DUES_PAYING = 0 then ''''
           -- Paid through a day means paid on that day too.
           when n.PAID_THRU < cast(getdate() as date)
             then '', lapsed '' + convert(varchar(10), n.PAID_THRU, 120)
           else '', paid through '' + convert(varchar(10), n.PAID_THRU, 120)
         end
       + case
           when n.COMPANY_RECORD = 1 or coalesce(n.COMPANY, '''') = '''' then ''''
           else '' | '' + n.COMPANY
         end
  from Name n left join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = @ID
if @Text is null set @Text = ''No iMIS record with the ID '' + isnull(@ID, '''')
select @Text as FIXED_TEXT'
);
