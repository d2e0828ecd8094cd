-- Tellwick: an example of ptwk_calculate_fixed_text for the embedded
-- database, the line of text the alert panel shows under the alerts. The
-- panel calls it with the record id and the iMIS user name and shows the
-- first column of the first row; the procedure always returns one row.

insert or replace into twk_procedures (name, parameters, body) values (
  'ptwk_calculate_fixed_text',
  '@ID, @UserName',
  'select coalesce(
     (select coalesce(t.DESCRIPTION, n.MEMBER_TYPE)
             || case n.STATUS
                  when ''A'' then '', active''
                  when ''I'' then '', inactive''
                  when ''S'' then '', suspended''
                  when ''D'' then '', deceased''
                  else '', status '' || coalesce(n.STATUS, ''none'')
                end
             || case
                  when n.PAID_THRU is null or t.DUES_PAYING = 0 then ''''
                  when n.PAID_THRU < date(''now'') then '', lapsed '' || n.PAID_THRU
                  else '', paid through '' || n.PAID_THRU
                end
             || case
                  when n.COMPANY_RECORD = 1 or coalesce(n.COMPANY, '''') = '''' then ''''
                  else '' | '' || n.COMPANY
                end
        from Name n left join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
       where n.ID = @ID),
     ''No iMIS record with the ID '' || coalesce(@ID, '''')) as FIXED_TEXT;'
);
