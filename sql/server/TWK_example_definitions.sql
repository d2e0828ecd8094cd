/*
  Tellwick: the demo's example alert definitions, for a real iMIS database on
  SQL Server 2016 and later. Run it in the iMIS database after TWK_Tables.sql,
  as the database owner or a member of twk_editors:

      sqlcmd -b -d <iMIS database> -i TWK_example_definitions.sql

  Running it again is safe: a definition whose ALERT_ID is already in
  ttwk_AlertDefinitions is left as it stands, so a site's own changes to an
  example survive. Delete a row to have this script insert it afresh.

  The definitions are the same T-SQL the embedded demo database holds; they
  expect the iMIS tables Name, Member_Types, Users, Meet_Master and
  Meet_Registration with the demo's columns. Adapt the column names to the
  site before enabling them. PRESS shows icon number 900, which the icon
  library does not have, on purpose: the panel shows its stand-in.
*/
set ansi_nulls on
set quoted_identifier on
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'ACCOUNT_HOLD')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select -15 as RANK, 24 as ICON, ''Account on hold'' as KEYWORD,
       ''Account on hold: '' + coalesce(nullif(NOTE, ''''), ''no reason recorded.'') + char(13) + char(10)
         + ''Take no orders and no cheques. Finance is told that this record was opened.''
         as DESCRIPTION,
       ''Account on hold'' as TITLE_TEXT,
       ''xdg-open mailto:finance@example.org?subject=Account%20on%20hold%20opened%20('' + ''{'' + ''ID})''
         as ACTION_TEXT,
       ''E-mail Finance about this contact'' as ACTION_DESCRIPTION,
       -1 as AUTO_POPUP, -1 as AUTO_ACTION
  from Name
 where ID = {id} and STATUS = ''S''',
    1, N'Account suspended by Finance: opens the details at once and e-mails Finance that the record was opened.', N'SQL', N'ACCOUNT_HOLD');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'DECEASED')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'insert into ttwk_AlertOutput
       (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION,
        TITLE_TEXT, LOG_TEXT, AUTO_POPUP)
select @@spid, ''ID'', ID, -20, 2, ''Deceased'',
       FULL_NAME + '' has died. '' + NOTE + char(13) + char(10)
         + ''Send no mail or renewal notices; be gentle when family members call.'',
       ''Deceased member'', ''Deceased record opened'', -1
  from Name
 where ID = @id and STATUS = ''D''',
    1, N'Deceased contact: writes an alert row that pops up so nobody sends mail or renewal notices.', N'SQL', N'DECEASED');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'VIP')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'insert ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT,
        TITLE_TEXT, CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION)
select @@spid, ID, -10, 9,
       case CATEGORY when ''BOARD'' then ''Board member'' else ''VIP'' end,
       FULL_NAME + '': '' + coalesce(nullif(NOTE, ''''), ''a valued supporter.'') + char(13) + char(10)
         + ''Offer the direct line of the Executive Director, 555-0100.'',
       ''VIP: handle with priority'',
       ''VIP contact'',
       ''Executive Director, direct line 555-0100'',
       ''Copy the Executive Director''''s direct line''
  from Name
 where ID = {id} and CATEGORY in (''VIP'', ''BOARD'')',
    1, N'Board members and other VIPs, written into the alert output table with the short T-SQL insert.', N'SQL', N'VIP');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'DO_NOT_CONTACT')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select -30 as RANK, 25 as ICON, ''Do not contact'' as KEYWORD,
       ''Do not contact: no mail, e-mail or calls.'' + char(13) + char(10)
         + ''The preference was recorded at the contact''''s request; honour it for every ''
         + ''campaign and appeal.'' as DESCRIPTION
  from Name
 where ID = @id and EXCLUDE_MAIL = 1 and STATUS <> ''D''',
    1, N'The contact asked not to be mailed, e-mailed or called.', N'SQL', N'DO_NOT_CONTACT');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'LAPSED')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 5 as RANK, 8 as ICON, ''Membership lapsed'' as KEYWORD,
       ''Membership lapsed on '' + convert(varchar(10), n.PAID_THRU, 23) + '' (''
         + convert(varchar(10), datediff(day, n.PAID_THRU, getdate())) + '' days ago).''
         + char(13) + char(10) + ''Offer to renew today: the renewal form is on the member portal.''
         as DESCRIPTION,
       ''Membership lapsed'' as TITLE_TEXT,
       case when n.EMAIL <> ''''
            then ''xdg-open mailto:'' + n.EMAIL
                 + ''?subject=Renew%20your%20membership%20(member%20'' + ''{'' + ''ID})''
            else '''' end as ACTION_TEXT,
       ''Write a renewal e-mail'' as ACTION_DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = {id} and t.DUES_PAYING = 1 and n.STATUS = ''A''
   and n.PAID_THRU < convert(date, getdate())',
    1, N'Dues-paying member whose membership has run out; the button writes a renewal e-mail.', N'SQL', N'LAPSED');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'DUES_OWED')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select case when BALANCE >= 500 then -5 else 10 end as RANK, 4 as ICON,
       ''Owes $'' + convert(varchar(20), convert(decimal(12, 2), BALANCE)) as KEYWORD,
       ''Outstanding balance of $'' + convert(varchar(20), convert(decimal(12, 2), BALANCE)) + ''.''
         + char(13) + char(10)
         + ''Ask for payment before taking a new order or registration.'' as DESCRIPTION,
       ''Balance due'' as TITLE_TEXT,
       ''Dear '' + coalesce(nullif(FIRST_NAME, ''''), FULL_NAME)
         + '', our records show an outstanding balance of $''
         + convert(varchar(20), convert(decimal(12, 2), BALANCE))
         + '' on your account. You can pay online or by phone. Thank you!'' as CLIPBOARD_TEXT,
       ''Copy a payment reminder for an e-mail'' as CLIPBOARD_DESCRIPTION
  from Name
 where ID = @id and BALANCE > 0',
    1, N'Open balance on the account; large balances rank first. The button copies a payment reminder.', N'SQL', N'DUES_OWED');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'MY_ACCOUNT')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 15 as RANK, 10 as ICON, ''Your account'' as KEYWORD,
       ''You are the account manager for '' + FULL_NAME + ''.'' as DESCRIPTION,
       ''Account manager view'' as LOG_TEXT, -1 as PLAY_SOUND
  from Name
 where ID = {id} and ACCOUNT_MANAGER = {user}',
    1, N'Tells the logged-in staff member that they manage this account ({user}).', N'SQL', N'MY_ACCOUNT');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'RENEWAL_DUE')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 20 as RANK, 23 as ICON,
       ''Renews in '' + convert(varchar(10), datediff(day, getdate(), n.PAID_THRU))
         + '' days'' as KEYWORD,
       ''Membership runs out on '' + convert(varchar(10), n.PAID_THRU, 23)
         + ''. Remind the member to renew; the renewal link can go into any e-mail.''
         as DESCRIPTION,
       ''Membership ends on '' + convert(varchar(10), n.PAID_THRU, 23) as TOOLTIP_TEXT,
       ''Renewal due'' as TITLE_TEXT,
       ''https://members.example.org/renew?id='' + n.ID as CLIPBOARD_TEXT,
       ''Copy the renewal link'' as CLIPBOARD_DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = @psId and t.DUES_PAYING = 1 and n.STATUS = ''A''
   and n.PAID_THRU between convert(date, getdate())
                       and dateadd(day, 30, convert(date, getdate()))',
    1, N'Membership runs out within 30 days; copies the renewal link.', N'SQL', N'RENEWAL_DUE');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'NEW_MEMBER')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 25 as RANK, 18 as ICON, ''New member'' as KEYWORD,
       ''Joined on '' + convert(varchar(10), JOIN_DATE, 23)
         + ''. Welcome them and mention the new-member webinar.'' as DESCRIPTION,
       ''Welcome to the Association, '' + coalesce(nullif(FIRST_NAME, ''''), FULL_NAME)
         + ''! The new-member webinar runs on the first Tuesday of every month.''
         as CLIPBOARD_TEXT,
       ''Copy a welcome note'' as CLIPBOARD_DESCRIPTION
  from Name
 where ID = {id} and MEMBER_TYPE <> ''NM'' and STATUS = ''A''
   and JOIN_DATE >= dateadd(day, -90, convert(date, getdate()))',
    1, N'Joined in the last 90 days: welcome them.', N'SQL', N'NEW_MEMBER');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'BIRTHDAY')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 30 as RANK, 7 as ICON,
       case DAYS when 0 then ''Birthday today!'' when 1 then ''Birthday tomorrow''
                 else ''Birthday in '' + convert(varchar(10), DAYS) + '' days'' end as KEYWORD,
       FIRST_NAME + '' turns '' + convert(varchar(10), datediff(year, BIRTH_DATE, NEXT))
         + '' on '' + convert(varchar(10), NEXT, 23) + ''.'' as DESCRIPTION,
       ''Happy birthday, '' + FIRST_NAME + ''! Best wishes from all of us at the Association.''
         as CLIPBOARD_TEXT,
       ''Copy a birthday greeting'' as CLIPBOARD_DESCRIPTION
  from (select FIRST_NAME, BIRTH_DATE, NEXT,
               datediff(day, convert(date, getdate()), NEXT) as DAYS
          from (select FIRST_NAME, BIRTH_DATE,
                       dateadd(year, datediff(year, BIRTH_DATE, getdate())
                                     + (case when dateadd(year, datediff(year, BIRTH_DATE, getdate()),
                                                          BIRTH_DATE) < convert(date, getdate())
                                             then 1 else 0 end),
                               BIRTH_DATE) as NEXT
                  from Name
                 where ID = @id and BIRTH_DATE is not null and STATUS <> ''D''
                   and COMPANY_RECORD = 0) b) d
 where DAYS between 0 and 7',
    1, N'Birthday today or within the next seven days; copies a greeting.', N'SQL', N'BIRTHDAY');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'DUPLICATE')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 35 as RANK, 1 as ICON, ''Possible duplicate'' as KEYWORD,
       ''Record '' + d.ID + '' ('' + d.FULL_NAME + '') has the same e-mail address, ''
         + n.EMAIL + ''.'' + char(13) + char(10) + ''Check whether the two should be merged.''
         as DESCRIPTION,
       d.ID as CLIPBOARD_TEXT, ''Copy the ID of the other record'' as CLIPBOARD_DESCRIPTION,
       ''echo Merge check requested for '' + ''{'' + ''ID} and '' + d.ID as ACTION_TEXT,
       ''Log a merge check request'' as ACTION_DESCRIPTION
  from Name n join Name d on lower(d.EMAIL) = lower(n.EMAIL) and d.ID <> n.ID
 where n.ID = @id and n.EMAIL <> ''''',
    1, N'Another record has the same e-mail address; copies its ID and logs a merge check.', N'SQL', N'DUPLICATE');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'NO_EMAIL')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'set nocount on;
insert into ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT,
        CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION)
select @@spid, ID, 40, 12, ''No e-mail'',
       ''No e-mail address on file for '' + FULL_NAME
         + ''. Ask for one while you have them on the line.'',
       ''No e-mail address on file'',
       ''Could I have an e-mail address for your record? We use it for renewals and ''
         + ''event confirmations only.'',
       ''Copy the question to ask''
  from Name
 where ID = @psId and EMAIL = '''' and COMPANY_RECORD = 0 and STATUS = ''A'';
-- The setting lasts for the connection: later definitions expect it off.
set nocount off;',
    1, N'Silent check for people without an e-mail address; writes its alert into the output table.', N'SQLSilent', N'NO_EMAIL');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'EVENT_REG')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 45 as RANK, 6 as ICON,
       case when m.BEGIN_DATE = convert(date, getdate()) then ''At '' + m.MEETING + '' today''
            else ''Registered: '' + m.MEETING end as KEYWORD,
       ''Registered for '' + m.TITLE + '' in '' + m.CITY + '' on ''
         + convert(varchar(10), m.BEGIN_DATE, 23) + ''.''
         + (case when r.AMOUNT_DUE > 0
                 then char(13) + char(10) + ''Fee outstanding: $''
                      + convert(varchar(20), convert(decimal(12, 2), r.AMOUNT_DUE))
                 else '''' end) as DESCRIPTION,
       m.TITLE as TITLE_TEXT,
       n.FULL_NAME + '' - '' + coalesce(nullif(n.COMPANY, ''''), ''Guest'') as CLIPBOARD_TEXT,
       ''Copy the name badge text'' as CLIPBOARD_DESCRIPTION,
       case when m.BEGIN_DATE = convert(date, getdate()) then -1 else 0 end as AUTO_CLIPBOARD
  from Meet_Registration r
       join Meet_Master m on m.MEETING = r.MEETING
       join Name n on n.ID = r.ID
 where r.ID = @id and r.STATUS = ''R'' and m.BEGIN_DATE >= convert(date, getdate())
 order by m.BEGIN_DATE',
    1, N'Upcoming event registrations, one alert each; on the day of the event the badge text is copied at once.', N'SQL', N'EVENT_REG');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'COMPANY')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'with e (RN, FULL_NAME) as (
  select row_number() over (order by FULL_NAME), FULL_NAME from Name where CO_ID = {id}),
staff (RN, LIST) as (
  select RN, convert(nvarchar(2000), FULL_NAME) from e where RN = 1
  union all
  select e.RN, convert(nvarchar(2000), staff.LIST + '', '' + e.FULL_NAME)
    from staff join e on e.RN = staff.RN + 1 -- the server allows 100 steps
   where staff.RN < 50)
select 50 as RANK, 11 as ICON, ''ID'' as EVENT_TYPE, c.ID as KEY_VALUE,
       c.FULL_NAME as KEYWORD,
       n.FIRST_NAME + '' works for '' + c.FULL_NAME + '' ('' + c.ID + ''), ''
         + coalesce(t.DESCRIPTION, c.MEMBER_TYPE) + ''.'' as DESCRIPTION,
       ''xdg-open https://members.example.org/company/'' + ''{'' + ''ID}'' as ACTION_TEXT,
       ''Open the company page'' as ACTION_DESCRIPTION
  from Name n
       join Name c on c.ID = n.CO_ID and c.COMPANY_RECORD = 1
       left join Member_Types t on t.MEMBER_TYPE = c.MEMBER_TYPE
 where n.ID = {id}
union all
select 50, 11, ''ID'', c.ID,
       convert(varchar(10), (select count(*) from e)) + '' staff on file'',
       ''Staff on file: '' + s.LIST
         + (case when s.RN < (select count(*) from e) then '' and others.'' else ''.'' end),
       '''', ''''
  from Name c join staff s on s.RN = (select max(RN) from staff)
 where c.ID = {id} and c.COMPANY_RECORD = 1',
    1, N'Company links: the employer of a person (the alert concerns the companys ID) or the staff of a company.', N'SQL', N'COMPANY');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'CREDIT')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 60 as RANK, 5 as ICON,
       ''Credit $'' + convert(varchar(20), convert(decimal(12, 2), -n.BALANCE)) as KEYWORD,
       ''A credit of $'' + convert(varchar(20), convert(decimal(12, 2), -n.BALANCE))
         + '' is on the account.'' + char(13) + char(10)
         + ''Offer to apply it to the next invoice or to refund it.'' as DESCRIPTION,
       ''Finance: credit on account'' as TITLE_TEXT
  from Name n join Users u on u.UserId = @sUserName
 where n.ID = @id and n.BALANCE < 0
   and '','' + replace(u.AccessKeywords, '' '', '''') + '','' like ''%,FINANCE,%''',
    1, N'Credit on the account, shown only to staff whose Users record holds the FINANCE keyword.', N'SQL', N'CREDIT');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'SURVEY_2019')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 70 as RANK, 14 as ICON, ''Survey 2019'' as KEYWORD,
       ''Ask whether they returned the 2019 member survey.'' as DESCRIPTION
  from Name
 where ID = {id} and MEMBER_TYPE = ''M''',
    0, N'Old campaign: asked members about the 2019 survey. Kept for reference, switched off.', N'SQL', N'SURVEY_2019');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'README')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'Alert definitions are T-SQL batches run for the open record. {ID} and {USER}
are replaced by the quoted record id and user name, as are the @-names of the
examples. A definition either returns rows whose columns are named like
KEYWORD, DESCRIPTION, RANK and ICON, or inserts rows into ttwk_AlertOutput
with OWNER_SPID = @@spid. Every alert needs a keyword and a description.
Only the types SQL and SQLSilent are run.',
    1, N'Notes for alert authors. Type Note: the panel never runs it.', N'Note', N'README');
go

if not exists (select * from dbo.ttwk_AlertDefinitions where ALERT_ID = N'PRESS')
  insert into dbo.ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
  values (N'select 55 as RANK, 900 as ICON, ''Press contact'' as KEYWORD,
       FULL_NAME + '' writes for '' + coalesce(nullif(COMPANY, ''''), ''the press'')
         + ''. Pass questions about the Association to the Executive Director.'' as DESCRIPTION
  from Name
 where ID = {id} and CATEGORY = ''PRESS''',
    1, N'Press contacts. Its icon number, 900, is beyond the icon library on purpose: the panel shows its stand-in.', N'SQL', N'PRESS');
go
