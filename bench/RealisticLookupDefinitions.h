// SPDX-License-Identifier: MIT
#pragma once

// Lookups of the record itself. Each definition in T-SQL,
// then its hand-written SQLite equivalent.
#include <array>

#include "RealisticDefinition.h"

namespace twk::bench {

inline const std::array<RealisticDefinition, 22>& RealisticLookupDefinitions() {
  static const std::array<RealisticDefinition, 22> definitions{{
      // Lookups of the record itself.
      {"ACCOUNT_HOLD", "SQL",
       R"(select -15 as RANK, 24 as ICON, 'Account on hold' as KEYWORD,
       'Account on hold: ' + coalesce(nullif(NOTE, ''), 'no reason recorded.') as DESCRIPTION,
       'Account on hold' as TITLE_TEXT, -1 as AUTO_POPUP
  from Name where ID = {id} and STATUS = 'S')",
       R"(select -15 as RANK, 24 as ICON, 'Account on hold' as KEYWORD,
       'Account on hold: ' || coalesce(nullif(NOTE, ''), 'no reason recorded.') as DESCRIPTION,
       'Account on hold' as TITLE_TEXT, -1 as AUTO_POPUP
  from Name where ID = :id and STATUS = 'S')"},
      {"DECEASED", "SQL",
       R"(insert into ttwk_AlertOutput
       (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TITLE_TEXT, LOG_TEXT)
select @@spid, 'ID', ID, -20, 2, 'Deceased',
       FULL_NAME + ' has died. Send no mail or renewal notices.', 'Deceased member',
       'Deceased record opened'
  from Name where ID = @id and STATUS = 'D')",
       R"(insert into ttwk_AlertOutput
       (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TITLE_TEXT, LOG_TEXT)
select :spid, 'ID', ID, -20, 2, 'Deceased',
       FULL_NAME || ' has died. Send no mail or renewal notices.', 'Deceased member',
       'Deceased record opened'
  from Name where ID = :id and STATUS = 'D')",
       "Deceased"},
      {"VIP", "SQL",
       R"(insert ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT,
        CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION)
select @@spid, ID, -10, 9, 'VIP',
       FULL_NAME + ': ' + coalesce(nullif(NOTE, ''), 'a valued supporter.'),
       'VIP: handle with priority', 'Executive Director, direct line 555-0100',
       'Copy the Executive Director''s direct line'
  from Name where ID = {id} and CATEGORY in ('VIP', 'BOARD'))",
       R"(insert into ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT,
        CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION)
select :spid, ID, -10, 9, 'VIP',
       FULL_NAME || ': ' || coalesce(nullif(NOTE, ''), 'a valued supporter.'),
       'VIP: handle with priority', 'Executive Director, direct line 555-0100',
       'Copy the Executive Director''s direct line'
  from Name where ID = :id and CATEGORY in ('VIP', 'BOARD'))",
       "VIP"},
      {"DO_NOT_CONTACT", "SQL",
       R"(select 0 as RANK, 22 as ICON, 'Do not contact' as KEYWORD,
       'No mail, e-mail or calls: recorded at the contact''s request.' as DESCRIPTION
  from Name where ID = @id and EXCLUDE_MAIL = 1 and STATUS <> 'D')",
       R"(select 0 as RANK, 22 as ICON, 'Do not contact' as KEYWORD,
       'No mail, e-mail or calls: recorded at the contact''s request.' as DESCRIPTION
  from Name where ID = :id and EXCLUDE_MAIL = 1 and STATUS <> 'D')"},
      {"DUES_OWED", "SQL",
       R"(select case when BALANCE >= 500 then -5 else 10 end as RANK, 4 as ICON,
       'Owes $' + convert(varchar(20), convert(decimal(12, 2), BALANCE)) as KEYWORD,
       'Outstanding balance of $' + convert(varchar(20), convert(decimal(12, 2), BALANCE))
         + '. Ask for payment before taking a new order.' as DESCRIPTION
  from Name where ID = @id and BALANCE > 0)",
       R"(select case when BALANCE >= 500 then -5 else 10 end as RANK, 4 as ICON,
       'Owes $' || printf('%.2f', BALANCE) as KEYWORD,
       'Outstanding balance of $' || printf('%.2f', BALANCE)
         || '. Ask for payment before taking a new order.' as DESCRIPTION
  from Name where ID = :id and BALANCE > 0)"},
      {"CREDIT", "SQL",
       R"(select 60 as RANK, 5 as ICON,
       'Credit $' + convert(varchar(20), convert(decimal(12, 2), -n.BALANCE)) as KEYWORD,
       'A credit is on the account: offer to apply it to the next invoice.' as DESCRIPTION
  from Name n join Users u on u.UserId = @sUserName
 where n.ID = @id and n.BALANCE < 0
   and ',' + replace(u.AccessKeywords, ' ', '') + ',' like '%,FINANCE,%')",
       R"(select 60 as RANK, 5 as ICON, 'Credit $' || printf('%.2f', -n.BALANCE) as KEYWORD,
       'A credit is on the account: offer to apply it to the next invoice.' as DESCRIPTION
  from Name n join Users u on u.UserId = :user
 where n.ID = :id and n.BALANCE < 0
   and ',' || replace(u.AccessKeywords, ' ', '') || ',' like '%,FINANCE,%')"},
      {"MY_ACCOUNT", "SQL",
       R"(select 15 as RANK, 10 as ICON, 'Your account' as KEYWORD,
       'You are the account manager for ' + FULL_NAME + '.' as DESCRIPTION
  from Name where ID = {id} and ACCOUNT_MANAGER = {user})",
       R"(select 15 as RANK, 10 as ICON, 'Your account' as KEYWORD,
       'You are the account manager for ' || FULL_NAME || '.' as DESCRIPTION
  from Name where ID = :id and ACCOUNT_MANAGER = :user)"},
      {"LAPSED", "SQL",
       R"(select 5 as RANK, 8 as ICON, 'Membership lapsed' as KEYWORD,
       'Membership lapsed on ' + convert(varchar(10), n.PAID_THRU, 23) + ' ('
         + convert(varchar(10), datediff(day, n.PAID_THRU, getdate())) + ' days ago).'
         as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = {id} and t.DUES_PAYING = 1 and n.STATUS = 'A'
   and n.PAID_THRU < convert(date, getdate()))",
       R"(select 5 as RANK, 8 as ICON, 'Membership lapsed' as KEYWORD,
       'Membership lapsed on ' || n.PAID_THRU || ' ('
         || cast(julianday('now', 'localtime', 'start of day') - julianday(n.PAID_THRU) as integer)
         || ' days ago).' as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = :id and t.DUES_PAYING = 1 and n.STATUS = 'A'
   and n.PAID_THRU < date('now', 'localtime'))"},
      {"RENEWAL_DUE", "SQL",
       R"(select 20 as RANK, 23 as ICON,
       'Renews in ' + convert(varchar(10), datediff(day, getdate(), n.PAID_THRU)) + ' days'
         as KEYWORD,
       'Membership runs out on ' + convert(varchar(10), n.PAID_THRU, 23) + '.' as DESCRIPTION,
       'https://members.example.org/renew?id=' + n.ID as CLIPBOARD_TEXT
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = @psId and t.DUES_PAYING = 1 and n.STATUS = 'A'
   and n.PAID_THRU between convert(date, getdate())
                       and dateadd(day, 30, convert(date, getdate())))",
       R"(select 20 as RANK, 23 as ICON,
       'Renews in '
         || cast(julianday(n.PAID_THRU) - julianday('now', 'localtime', 'start of day') as integer)
         || ' days' as KEYWORD,
       'Membership runs out on ' || n.PAID_THRU || '.' as DESCRIPTION,
       'https://members.example.org/renew?id=' || n.ID as CLIPBOARD_TEXT
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = :id and t.DUES_PAYING = 1 and n.STATUS = 'A'
   and n.PAID_THRU between date('now', 'localtime') and date('now', 'localtime', '+30 days'))"},
      {"NEW_MEMBER", "SQL",
       R"(select 25 as RANK, 18 as ICON, 'New member' as KEYWORD,
       'Joined on ' + convert(varchar(10), JOIN_DATE, 23) + '. Welcome them.' as DESCRIPTION
  from Name
 where ID = {id} and MEMBER_TYPE <> 'NM' and STATUS = 'A'
   and JOIN_DATE >= dateadd(day, -90, convert(date, getdate())))",
       R"(select 25 as RANK, 18 as ICON, 'New member' as KEYWORD,
       'Joined on ' || JOIN_DATE || '. Welcome them.' as DESCRIPTION
  from Name
 where ID = :id and MEMBER_TYPE <> 'NM' and STATUS = 'A'
   and JOIN_DATE >= date('now', 'localtime', '-90 days'))"},
      {"BIRTHDAY", "SQL",
       R"(select 30 as RANK, 7 as ICON,
       case DAYS when 0 then 'Birthday today!' else 'Birthday in '
         + convert(varchar(10), DAYS) + ' days' end as KEYWORD,
       FIRST_NAME + ' has a birthday on ' + convert(varchar(10), NEXT, 23) + '.' as DESCRIPTION
  from (select FIRST_NAME, NEXT, datediff(day, convert(date, getdate()), NEXT) as DAYS
          from (select FIRST_NAME,
                       dateadd(year, datediff(year, BIRTH_DATE, getdate())
                                     + (case when dateadd(year, datediff(year, BIRTH_DATE, getdate()),
                                                          BIRTH_DATE) < convert(date, getdate())
                                             then 1 else 0 end),
                               BIRTH_DATE) as NEXT
                  from Name
                 where ID = @id and BIRTH_DATE is not null and STATUS <> 'D'
                   and COMPANY_RECORD = 0) b) d
 where DAYS between 0 and 14)",
       R"(with b as (select FIRST_NAME, BIRTH_DATE, date('now', 'localtime') as TODAY,
                  cast(strftime('%Y', 'now', 'localtime') as integer) as YEAR
             from Name
            where ID = :id and BIRTH_DATE is not null and STATUS <> 'D'
              and COMPANY_RECORD = 0),
     years as (select *, YEAR as Y from b union all select *, YEAR + 1 from b),
     -- 29 February falls on the 28th in a year that has none, as on the server.
     days as (select FIRST_NAME, TODAY,
                     printf('%04d', Y) || case when substr(BIRTH_DATE, 6, 5) = '02-29'
                                                and strftime('%d', Y || '-02-29') <> '29'
                                               then '-02-28' else substr(BIRTH_DATE, 5, 6) end
                       as NEXT
                from years),
     d as (select FIRST_NAME, NEXT, cast(julianday(NEXT) - julianday(TODAY) as integer) as DAYS
             from days where NEXT >= TODAY order by NEXT limit 1)
select 30 as RANK, 7 as ICON,
       case DAYS when 0 then 'Birthday today!' else 'Birthday in ' || DAYS || ' days' end
         as KEYWORD,
       FIRST_NAME || ' has a birthday on ' || NEXT || '.' as DESCRIPTION
  from d where DAYS between 0 and 14)"},
      {"NO_EMAIL", "SQLSilent",
       R"(set nocount on;
insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select @@spid, ID, 40, 12, 'No e-mail',
       'No e-mail address on file for ' + FULL_NAME + '. Ask for one.'
  from Name where ID = @psId and EMAIL = '' and COMPANY_RECORD = 0 and STATUS = 'A';
set nocount off;)",
       R"(insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select :spid, ID, 40, 12, 'No e-mail',
       'No e-mail address on file for ' || FULL_NAME || '. Ask for one.'
  from Name where ID = :id and EMAIL = '' and COMPANY_RECORD = 0 and STATUS = 'A')",
       "No e-mail"},
      {"PRESS", "SQL",
       R"(select 55 as RANK, 19 as ICON, 'Press contact' as KEYWORD,
       FULL_NAME + ' writes for ' + coalesce(nullif(COMPANY, ''), 'the press') + '.'
         as DESCRIPTION
  from Name where ID = {id} and CATEGORY = 'PRESS')",
       R"(select 55 as RANK, 19 as ICON, 'Press contact' as KEYWORD,
       FULL_NAME || ' writes for ' || coalesce(nullif(COMPANY, ''), 'the press') || '.'
         as DESCRIPTION
  from Name where ID = :id and CATEGORY = 'PRESS')"},
      {"OLD_STUDENT", "SQL",
       R"(select 35 as RANK, 16 as ICON, 'Student over 30' as KEYWORD,
       'Student membership, but ' + FIRST_NAME + ' is '
         + convert(varchar(10), datediff(year, BIRTH_DATE, getdate()))
         + ': check the student status.' as DESCRIPTION
  from Name
 where ID = @id and MEMBER_TYPE = 'STU' and datediff(year, BIRTH_DATE, getdate()) > 30)",
       R"(select 35 as RANK, 16 as ICON, 'Student over 30' as KEYWORD,
       'Student membership, but ' || FIRST_NAME || ' is '
         || (strftime('%Y', 'now', 'localtime') - strftime('%Y', BIRTH_DATE))
         || ': check the student status.' as DESCRIPTION
  from Name
 where ID = :id and MEMBER_TYPE = 'STU'
   and strftime('%Y', 'now', 'localtime') - strftime('%Y', BIRTH_DATE) > 30)"},
      {"NO_PHONE", "SQL",
       R"(select 75 as RANK, 21 as ICON, 'No phone' as KEYWORD,
       'No work phone on file for ' + FULL_NAME + '.' as DESCRIPTION
  from Name where ID = {id} and WORK_PHONE = '' and STATUS = 'A' and COMPANY_RECORD = 0)",
       R"(select 75 as RANK, 21 as ICON, 'No phone' as KEYWORD,
       'No work phone on file for ' || FULL_NAME || '.' as DESCRIPTION
  from Name where ID = :id and WORK_PHONE = '' and STATUS = 'A' and COMPANY_RECORD = 0)"},
      {"INTERNATIONAL", "SQL",
       R"(select 65 as RANK, 15 as ICON, 'International' as KEYWORD,
       'Lives in ' + CITY + ', ' + COUNTRY + ': quote prices with shipping.' as DESCRIPTION
  from Name where ID = @id and COUNTRY not in ('USA', ''))",
       R"(select 65 as RANK, 15 as ICON, 'International' as KEYWORD,
       'Lives in ' || CITY || ', ' || COUNTRY || ': quote prices with shipping.' as DESCRIPTION
  from Name where ID = :id and COUNTRY not in ('USA', ''))"},
      {"DUPLICATE", "SQL",
       R"(select 35 as RANK, 1 as ICON, 'Possible duplicate' as KEYWORD,
       'Record ' + d.ID + ' (' + d.FULL_NAME + ') has the same e-mail address, '
         + n.EMAIL + '.' as DESCRIPTION,
       d.ID as CLIPBOARD_TEXT, 'Copy the ID of the other record' as CLIPBOARD_DESCRIPTION
  from Name n join Name d on d.EMAIL = n.EMAIL and d.ID <> n.ID
 where n.ID = @id and n.EMAIL <> '')",
       R"(select 35 as RANK, 1 as ICON, 'Possible duplicate' as KEYWORD,
       'Record ' || d.ID || ' (' || d.FULL_NAME || ') has the same e-mail address, '
         || n.EMAIL || '.' as DESCRIPTION,
       d.ID as CLIPBOARD_TEXT, 'Copy the ID of the other record' as CLIPBOARD_DESCRIPTION
  from Name n join Name d on d.EMAIL = n.EMAIL and d.ID <> n.ID
 where n.ID = :id and n.EMAIL <> '')"},
      {"EMPLOYER", "SQL",
       R"(select 50 as RANK, 11 as ICON, 'ID' as EVENT_TYPE, c.ID as KEY_VALUE,
       c.FULL_NAME as KEYWORD,
       n.FIRST_NAME + ' works for ' + c.FULL_NAME + ' (' + c.ID + '), '
         + coalesce(t.DESCRIPTION, c.MEMBER_TYPE) + '.' as DESCRIPTION
  from Name n
       join Name c on c.ID = n.CO_ID and c.COMPANY_RECORD = 1
       left join Member_Types t on t.MEMBER_TYPE = c.MEMBER_TYPE
 where n.ID = {id})",
       R"(select 50 as RANK, 11 as ICON, 'ID' as EVENT_TYPE, c.ID as KEY_VALUE,
       c.FULL_NAME as KEYWORD,
       n.FIRST_NAME || ' works for ' || c.FULL_NAME || ' (' || c.ID || '), '
         || coalesce(t.DESCRIPTION, c.MEMBER_TYPE) || '.' as DESCRIPTION
  from Name n
       join Name c on c.ID = n.CO_ID and c.COMPANY_RECORD = 1
       left join Member_Types t on t.MEMBER_TYPE = c.MEMBER_TYPE
 where n.ID = :id)"},
      {"COMPANY_STAFF", "SQL",
       R"(select 50 as RANK, 11 as ICON,
       convert(varchar(10), count(*)) + ' staff on file' as KEYWORD,
       'People of this company on file: ' + convert(varchar(10), count(*))
         + ', of whom ' + convert(varchar(10), sum(case when STATUS = 'A' then 1 else 0 end))
         + ' active.' as DESCRIPTION
  from Name where CO_ID = {id} having count(*) > 0)",
       R"(select 50 as RANK, 11 as ICON, count(*) || ' staff on file' as KEYWORD,
       'People of this company on file: ' || count(*) || ', of whom ' || sum(STATUS = 'A')
         || ' active.' as DESCRIPTION
  from Name where CO_ID = :id having count(*) > 0)"},
      {"NOTE_ON_FILE", "SQL",
       R"(select 85 as RANK, 29 as ICON, 'Note on file' as KEYWORD,
       NOTE as DESCRIPTION
  from Name where ID = @id and NOTE <> '' and STATUS <> 'D')",
       R"(select 85 as RANK, 29 as ICON, 'Note on file' as KEYWORD, NOTE as DESCRIPTION
  from Name where ID = :id and NOTE <> '' and STATUS <> 'D')"},
      {"STAFF_RECORD", "SQLSilent",
       R"(set nocount on
insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select @@spid, ID, 2, 10, 'Staff record', 'This is the record of a member of staff.'
  from Name where ID = {id} and MEMBER_TYPE = 'STAFF'
set nocount off)",
       R"(insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select :spid, ID, 2, 10, 'Staff record', 'This is the record of a member of staff.'
  from Name where ID = :id and MEMBER_TYPE = 'STAFF')",
       "Staff record"},
      {"INACTIVE", "SQL",
       R"(select 45 as RANK, 17 as ICON, 'Inactive record' as KEYWORD,
       'This record is inactive; reactivate it before an order.' as DESCRIPTION
  from Name where ID = @id and STATUS = 'I')",
       R"(select 45 as RANK, 17 as ICON, 'Inactive record' as KEYWORD,
       'This record is inactive; reactivate it before an order.' as DESCRIPTION
  from Name where ID = :id and STATUS = 'I')"},
  }};
  return definitions;
}

}  // namespace twk::bench
