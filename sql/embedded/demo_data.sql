-- Tellwick: the demo data set. Contacts of a small professional association,
-- two staff logins, the iMIS version entries, and sample alert definitions
-- that show what definitions can do.
--
-- Dates that the alerts compare with today are written relative to the day
-- the database is created, so a fresh demo always shows its renewals,
-- birthdays and events. Birthdays fire again every year; lapses stay lapsed.

insert into System_Params (ParameterName, ShortValue) values
  ('System_Control.Version', '20.2.26.0004'),
  ('System_Control.Checksum', '5F3A9C17'),
  ('System_Control.OrganizationName', 'Tellwick Demo Association'),
  -- The reminder about a changed iMIS is already cleared for these values.
  ('QUOR.TWK.Imis_Version', '20.2.26.0004'),
  ('QUOR.TWK.Imis_Checksum', '5F3A9C17');

insert into Users (UserId, CONTACT_ID, FULL_NAME, AccessKeywords) values
  ('MANAGER', '1027', 'Morgan Reyes', 'ADMIN,FINANCE,TWKEdit'),
  ('STAFF', '1028', 'Sam Patel', 'MEMBERSHIP,EVENTS');

insert into Member_Types (MEMBER_TYPE, DESCRIPTION, DUES_PAYING) values
  ('M', 'Member', 1),
  ('STU', 'Student member', 1),
  ('LIFE', 'Life member', 0),
  ('HON', 'Honorary member', 0),
  ('CORP', 'Corporate member', 1),
  ('NM', 'Non-member', 0),
  ('STAFF', 'Association staff', 0);

-- Contacts. Ids 1001 to 1029 are people, 2001 to 2003 companies.
insert into Name (ID, FULL_NAME, FIRST_NAME, LAST_NAME, COMPANY, CO_ID, COMPANY_RECORD,
                  MEMBER_TYPE, STATUS, CATEGORY, PAID_THRU, JOIN_DATE, BIRTH_DATE, EMAIL,
                  WORK_PHONE, CITY, STATE_PROVINCE, COUNTRY, BALANCE, EXCLUDE_MAIL,
                  ACCOUNT_MANAGER, NOTE) values
  ('1001', 'Margaret Ashford', 'Margaret', 'Ashford', 'Ashford & Lane LLP', '', 0,
   'M', 'A', 'BOARD', date('now', '+200 days'), '2009-04-17', '1961-08-02',
   'margaret.ashford@example.com', '555-0142', 'Chicago', 'IL', 'USA', 0, 0,
   'MANAGER', 'Chair of the Board since 2022.'),
  ('1002', 'Daniel Okafor', 'Daniel', 'Okafor', '', '', 0,
   'M', 'A', '', date('now', '-45 days'), '2015-09-01', '1983-11-20',
   'd.okafor@example.net', '555-0178', 'Milwaukee', 'WI', 'USA', 185.00, 0, '', ''),
  ('1003', 'Priya Raman', 'Priya', 'Raman', 'Lakeside Clinic', '', 0,
   'M', 'A', '', date('now', '+12 days'), '2012-02-10', date('now', '-41 years'),
   'priya.raman@example.org', '555-0113', 'Evanston', 'IL', 'USA', 0, 0, '', ''),
  ('1004', 'Thomas Brennan', 'Thomas', 'Brennan', '', '', 0,
   'NM', 'A', '', null, '2021-06-30', date('now', '-57 years', '+3 days'),
   '', '555-0190', 'Gary', 'IN', 'USA', 0, 0, '', ''),
  ('1005', 'Sofia Lindqvist', 'Sofia', 'Lindqvist', 'State University', '', 0,
   'STU', 'A', '', date('now', '+345 days'), date('now', '-20 days'), '2001-05-09',
   'sofia.lindqvist@example.edu', '', 'Madison', 'WI', 'USA', 0, 0, '', ''),
  ('1006', 'Henry Caldwell', 'Henry', 'Caldwell', '', '', 0,
   'M', 'D', '', date('now', '+60 days'), '1988-01-12', '1937-02-25',
   'henry.caldwell@example.com', '', 'Oak Park', 'IL', 'USA', 0, 1, '',
   'His daughter Ellen Caldwell (555-0166) handles his affairs.'),
  ('1007', 'Grace Whitfield', 'Grace', 'Whitfield', 'Whitfield Design', '', 0,
   'M', 'A', '', date('now', '+150 days'), '2004-10-05', '1970-12-01',
   'grace@example.net', '555-0121', 'Naperville', 'IL', 'USA', 0, 1, '', ''),
  ('1008', 'Victor Moreau', 'Victor', 'Moreau', 'Moreau Imports', '', 0,
   'M', 'S', '', date('now', '+100 days'), '2017-03-22', '1975-07-14',
   'victor.moreau@example.com', '555-0155', 'Detroit', 'MI', 'USA', 1250.00, 0, '',
   'Cheque 4471 for the conference fee was returned unpaid.'),
  ('1009', 'Aisha Bello', 'Aisha', 'Bello', 'Northwind Engineering', '2001', 0,
   'M', 'A', '', date('now', '+220 days'), '2016-05-18', '1990-09-30',
   'aisha.bello@example.com', '555-0131', 'Chicago', 'IL', 'USA', 0, 0, '', ''),
  ('1010', 'Liam O''Connor', 'Liam', 'O''Connor', '', '', 0,
   'LIFE', 'A', '', null, '1995-11-03', '1950-03-08',
   'liam.oconnor@example.ie', '555-0109', 'Dublin', '', 'Ireland', -50.00, 0, '', ''),
  ('1011', 'Emma Schultz', 'Emma', 'Schultz', '', '', 0,
   'M', 'A', '', date('now', '+90 days'), '2019-08-08', '1986-06-21',
   'emma.schultz@example.org', '555-0188', 'Rockford', 'IL', 'USA', 0, 0, '', ''),
  ('1012', 'Robert Nguyen', 'Robert', 'Nguyen', 'Nguyen Family Foundation', '', 0,
   'HON', 'A', 'VIP', null, '2001-01-15', '1958-10-11',
   'robert.nguyen@example.org', '555-0100', 'Chicago', 'IL', 'USA', 0, 0, '',
   'Keynote donor; his foundation funds the student scholarship.'),
  ('1013', 'Chen Wei', 'Wei', 'Chen', 'Harbor Health Trust', '2002', 0,
   'M', 'A', '', date('now', '+130 days'), '2014-04-01', '1979-01-27',
   'chen.wei@example.com', '555-0174', 'Gary', 'IN', 'USA', 0, 0, '', ''),
  ('1014', 'Olivia Martins', 'Olivia', 'Martins', '', '', 0,
   'M', 'A', '', date('now', '+300 days'), '2010-07-19', '1982-04-04',
   'olivia.martins@example.com', '555-0117', 'Joliet', 'IL', 'USA', 0, 0, '', ''),
  ('1015', 'James Whitaker', 'James', 'Whitaker', 'State University', '', 0,
   'STU', 'A', '', date('now', '+250 days'), '2023-09-01', '2002-02-14',
   'james.whitaker@example.edu', '', 'Madison', 'WI', 'USA', 0, 0, '', ''),
  ('1016', 'Fatima Haddad', 'Fatima', 'Haddad', '', '', 0,
   'M', 'A', '', date('now', '+305 days'), date('now', '-60 days'), '1993-08-19',
   'fatima.haddad@example.com', '555-0162', 'Chicago', 'IL', 'USA', 0, 0, '', ''),
  ('1017', 'Benjamin Cole', 'Benjamin', 'Cole', 'Cole & Sons', '', 0,
   'NM', 'A', '', null, '2022-03-14', '1968-05-29',
   'ben.cole@example.com', '555-0139', 'Peoria', 'IL', 'USA', 0, 0, '', ''),
  ('1018', 'Hannah Fischer', 'Hannah', 'Fischer', '', '', 0,
   'M', 'I', '', '2019-12-31', '2011-01-01', '1965-09-09',
   'hannah.fischer@example.de', '', 'Munich', '', 'Germany', 0, 0, '', 'Retired in 2020.'),
  ('1019', 'Marcus Johnson', 'Marcus', 'Johnson', 'Johnson Consulting', '', 0,
   'M', 'A', '', date('now', '+5 days'), '2018-06-11', '1977-11-02',
   'marcus.johnson@example.com', '555-0183', 'Springfield', 'IL', 'USA', 0, 0, '', ''),
  ('1020', 'Isabel Duarte', 'Isabel', 'Duarte', 'Northwind Engineering', '2001', 0,
   'M', 'A', '', date('now', '+220 days'), '2020-02-02', '1988-03-17',
   'isabel.duarte@example.com', '555-0132', 'Chicago', 'IL', 'USA', 0, 0, '', ''),
  ('1021', 'Kenji Watanabe', 'Kenji', 'Watanabe', 'State University', '', 0,
   'STU', 'A', '', date('now', '+120 days'), '2022-09-01', '2000-12-24',
   'kenji.watanabe@example.edu', '', 'Madison', 'WI', 'USA', 0, 0, '', ''),
  ('1022', 'Amelia Brooks', 'Amelia', 'Brooks', '', '', 0,
   'M', 'A', '', date('now', '+75 days'), '2013-05-05', '1974-07-01',
   'amelia.brooks@example.com', '555-0127', 'Aurora', 'IL', 'USA', 0, 0, '', ''),
  ('1023', 'Noah Schneider', 'Noah', 'Schneider', 'Schneider Print', '', 0,
   'NM', 'A', 'PRESS', null, '2024-01-09', '1991-10-10',
   'noah@example.com', '555-0150', 'Elgin', 'IL', 'USA', 0, 0, '', ''),
  ('1024', 'Emma Schulz', 'Emma', 'Schulz', '', '', 0,
   'NM', 'A', '', null, '2023-11-20', null,
   'Emma.Schultz@example.org', '', 'Rockford', 'IL', 'USA', 0, 0, '',
   'Created from a conference badge scan.'),
  ('1025', 'Chloe Dubois', 'Chloe', 'Dubois', '', '', 0,
   'M', 'A', '', date('now', '+180 days'), '2008-09-15', '1969-01-30',
   'chloe.dubois@example.fr', '', 'Montreal', 'QC', 'Canada', 0, 0, '', ''),
  ('1026', 'Samuel Adeyemi', 'Samuel', 'Adeyemi', '', '', 0,
   'M', 'A', '', date('now', '+40 days'), '2016-10-10', '1985-04-22',
   'samuel.adeyemi@example.com', '555-0145', 'Chicago', 'IL', 'USA', 40.00, 0, '', ''),
  ('1027', 'Morgan Reyes', 'Morgan', 'Reyes', 'Tellwick Demo Association', '', 0,
   'STAFF', 'A', '', null, '2015-01-05', '1980-06-06',
   'morgan.reyes@example.org', '555-0101', 'Chicago', 'IL', 'USA', 0, 0, '', 'Membership manager.'),
  ('1028', 'Sam Patel', 'Sam', 'Patel', 'Tellwick Demo Association', '', 0,
   'STAFF', 'A', '', null, '2021-08-16', '1994-02-11',
   'sam.patel@example.org', '555-0102', 'Chicago', 'IL', 'USA', 0, 0, '', 'Member services.'),
  -- A new board member with a full panel: nine alerts and more, two pages.
  ('1029', 'Isla Kowalski', 'Isla', 'Kowalski', 'Bluebird Publishing', '2003', 0,
   'M', 'A', 'BOARD', date('now', '+28 days'), date('now', '-30 days'),
   date('now', '-44 years', '+2 days'),
   'isla.kowalski@example.com', '555-0196', 'Evanston', 'IL', 'USA', 75.00, 1,
   'MANAGER', 'Joined the Board at the spring election.'),
  ('2001', 'Northwind Engineering', '', '', 'Northwind Engineering', '', 1,
   'CORP', 'A', '', date('now', '+300 days'), '2012-01-01', null,
   'office@northwind.example.com', '555-0130', 'Chicago', 'IL', 'USA', 0, 0,
   'MANAGER', ''),
  ('2002', 'Harbor Health Trust', '', '', 'Harbor Health Trust', '', 1,
   'CORP', 'A', '', date('now', '-20 days'), '2014-04-01', null,
   'accounts@harborhealth.example.org', '555-0170', 'Gary', 'IN', 'USA', 2400.00, 0, '', ''),
  ('2003', 'Bluebird Publishing', '', '', 'Bluebird Publishing', '', 1,
   'NM', 'A', '', null, '2020-05-05', null,
   '', '555-0199', 'Evanston', 'IL', 'USA', 0, 0, '', '');

insert into Meet_Master (MEETING, TITLE, BEGIN_DATE, CITY) values
  ('ANNUAL', 'Annual Conference', date('now', '+25 days'), 'Chicago'),
  ('ETHICS', 'Ethics in Practice workshop', date('now'), 'Evanston'),
  ('WEBINAR', 'New-member webinar', date('now', '-10 days'), 'online');

insert into Meet_Registration (ID, MEETING, REGISTERED_ON, STATUS, AMOUNT_DUE) values
  ('1005', 'ANNUAL', date('now', '-5 days'), 'R', 95.00),
  ('1009', 'ETHICS', date('now', '-30 days'), 'R', 0),
  ('1009', 'ANNUAL', date('now', '-30 days'), 'R', 0),
  ('1017', 'ANNUAL', date('now', '-12 days'), 'R', 0),
  ('1016', 'WEBINAR', date('now', '-40 days'), 'R', 0),
  ('1014', 'ANNUAL', date('now', '-50 days'), 'C', 0),
  ('1029', 'ANNUAL', date('now', '-3 days'), 'R', 95.00),
  ('1029', 'ETHICS', date('now', '-3 days'), 'R', 0);


-- Alert definitions. CRITERIA is T-SQL that runs unchanged on SQL Server and
-- through the embedded engine; sql/server/TWK_example_definitions.sql holds
-- the same definitions for a real database. A literal {ID} that must reach
-- the command line is built as '{' + 'ID}', since {id} in any case is a
-- placeholder.

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select -15 as RANK, 24 as ICON, ''Account on hold'' as KEYWORD,
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
  1, 'Account suspended by Finance: opens the details at once and e-mails Finance that the record was opened.', 'SQL', 'ACCOUNT_HOLD');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('insert into ttwk_AlertOutput
       (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION,
        TITLE_TEXT, LOG_TEXT, AUTO_POPUP)
select @@spid, ''ID'', ID, -20, 2, ''Deceased'',
       FULL_NAME + '' has died. '' + NOTE + char(13) + char(10)
         + ''Send no mail or renewal notices; be gentle when family members call.'',
       ''Deceased member'', ''Deceased record opened'', -1
  from Name
 where ID = @id and STATUS = ''D''',
  1, 'Deceased contact: writes an alert row that pops up so nobody sends mail or renewal notices.', 'SQL', 'DECEASED');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('insert ttwk_AlertOutput
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
  1, 'Board members and other VIPs, written into the alert output table with the short T-SQL insert.', 'SQL', 'VIP');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select -30 as RANK, 25 as ICON, ''Do not contact'' as KEYWORD,
       ''Do not contact: no mail, e-mail or calls.'' + char(13) + char(10)
         + ''The preference was recorded at the contact''''s request; honour it for every ''
         + ''campaign and appeal.'' as DESCRIPTION
  from Name
 where ID = @id and EXCLUDE_MAIL = 1 and STATUS <> ''D''',
  1, 'The contact asked not to be mailed, e-mailed or called.', 'SQL', 'DO_NOT_CONTACT');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 5 as RANK, 8 as ICON, ''Membership lapsed'' as KEYWORD,
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
  1, 'Dues-paying member whose membership has run out; the button writes a renewal e-mail.', 'SQL', 'LAPSED');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select case when BALANCE >= 500 then -5 else 10 end as RANK, 4 as ICON,
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
  1, 'Open balance on the account; large balances rank first. The button copies a payment reminder.', 'SQL', 'DUES_OWED');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 15 as RANK, 10 as ICON, ''Your account'' as KEYWORD,
       ''You are the account manager for '' + FULL_NAME + ''.'' as DESCRIPTION,
       ''Account manager view'' as LOG_TEXT, -1 as PLAY_SOUND
  from Name
 where ID = {id} and ACCOUNT_MANAGER = {user}',
  1, 'Tells the logged-in staff member that they manage this account ({user}).', 'SQL', 'MY_ACCOUNT');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 20 as RANK, 23 as ICON,
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
  1, 'Membership runs out within 30 days; copies the renewal link.', 'SQL', 'RENEWAL_DUE');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 25 as RANK, 18 as ICON, ''New member'' as KEYWORD,
       ''Joined on '' + convert(varchar(10), JOIN_DATE, 23)
         + ''. Welcome them and mention the new-member webinar.'' as DESCRIPTION,
       ''Welcome to the Association, '' + coalesce(nullif(FIRST_NAME, ''''), FULL_NAME)
         + ''! The new-member webinar runs on the first Tuesday of every month.''
         as CLIPBOARD_TEXT,
       ''Copy a welcome note'' as CLIPBOARD_DESCRIPTION
  from Name
 where ID = {id} and MEMBER_TYPE <> ''NM'' and STATUS = ''A''
   and JOIN_DATE >= dateadd(day, -90, convert(date, getdate()))',
  1, 'Joined in the last 90 days: welcome them.', 'SQL', 'NEW_MEMBER');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 30 as RANK, 7 as ICON,
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
  1, 'Birthday today or within the next seven days; copies a greeting.', 'SQL', 'BIRTHDAY');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 35 as RANK, 1 as ICON, ''Possible duplicate'' as KEYWORD,
       ''Record '' + d.ID + '' ('' + d.FULL_NAME + '') has the same e-mail address, ''
         + n.EMAIL + ''.'' + char(13) + char(10) + ''Check whether the two should be merged.''
         as DESCRIPTION,
       d.ID as CLIPBOARD_TEXT, ''Copy the ID of the other record'' as CLIPBOARD_DESCRIPTION,
       ''echo Merge check requested for '' + ''{'' + ''ID} and '' + d.ID as ACTION_TEXT,
       ''Log a merge check request'' as ACTION_DESCRIPTION
  from Name n join Name d on lower(d.EMAIL) = lower(n.EMAIL) and d.ID <> n.ID
 where n.ID = @id and n.EMAIL <> ''''',
  1, 'Another record has the same e-mail address; copies its ID and logs a merge check.', 'SQL', 'DUPLICATE');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('set nocount on;
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
  1, 'Silent check for people without an e-mail address; writes its alert into the output table.', 'SQLSilent', 'NO_EMAIL');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 45 as RANK, 6 as ICON,
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
  1, 'Upcoming event registrations, one alert each; on the day of the event the badge text is copied at once.', 'SQL', 'EVENT_REG');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('with e (RN, FULL_NAME) as (
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
  1, 'Company links: the employer of a person (the alert concerns the companys ID) or the staff of a company.', 'SQL', 'COMPANY');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 60 as RANK, 5 as ICON,
       ''Credit $'' + convert(varchar(20), convert(decimal(12, 2), -n.BALANCE)) as KEYWORD,
       ''A credit of $'' + convert(varchar(20), convert(decimal(12, 2), -n.BALANCE))
         + '' is on the account.'' + char(13) + char(10)
         + ''Offer to apply it to the next invoice or to refund it.'' as DESCRIPTION,
       ''Finance: credit on account'' as TITLE_TEXT
  from Name n join Users u on u.UserId = @sUserName
 where n.ID = @id and n.BALANCE < 0
   and '','' + replace(u.AccessKeywords, '' '', '''') + '','' like ''%,FINANCE,%''',
  1, 'Credit on the account, shown only to staff whose Users record holds the FINANCE keyword.', 'SQL', 'CREDIT');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 70 as RANK, 14 as ICON, ''Survey 2019'' as KEYWORD,
       ''Ask whether they returned the 2019 member survey.'' as DESCRIPTION
  from Name
 where ID = {id} and MEMBER_TYPE = ''M''',
  0, 'Old campaign: asked members about the 2019 survey. Kept for reference, switched off.', 'SQL', 'SURVEY_2019');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('Alert definitions are T-SQL batches run for the open record. {ID} and {USER}
are replaced by the quoted record id and user name, as are the @-names of the
examples. A definition either returns rows whose columns are named like
KEYWORD, DESCRIPTION, RANK and ICON, or inserts rows into ttwk_AlertOutput
with OWNER_SPID = @@spid. Every alert needs a keyword and a description.
Only the types SQL and SQLSilent are run.',
  1, 'Notes for alert authors. Type Note: the panel never runs it.', 'Note', 'README');

insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID)
values ('select 55 as RANK, 900 as ICON, ''Press contact'' as KEYWORD,
       FULL_NAME + '' writes for '' + coalesce(nullif(COMPANY, ''''), ''the press'')
         + ''. Pass questions about the Association to the Executive Director.'' as DESCRIPTION
  from Name
 where ID = {id} and CATEGORY = ''PRESS''',
  1, 'Press contacts. Its icon number, 900, is beyond the icon library on purpose: the panel shows its stand-in.', 'SQL', 'PRESS');
