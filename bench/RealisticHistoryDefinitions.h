// SPDX-License-Identifier: MIT
#pragma once

// Counts, sums and joins over the record's registrations and history. Each definition in T-SQL,
// then its hand-written SQLite equivalent.
#include <array>

#include "RealisticDefinition.h"

namespace twk::bench {

inline const std::array<RealisticDefinition, 17>& RealisticHistoryDefinitions() {
  static const std::array<RealisticDefinition, 17> definitions{{
      // Counts and sums over the record's registrations and history.
      {"REGULAR", "SQL",
       R"(select 40 as RANK, 6 as ICON,
       convert(varchar(10), count(*)) + ' events attended' as KEYWORD,
       'A regular: registered for ' + convert(varchar(10), count(*)) + ' past events.'
         as DESCRIPTION
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = @id and r.STATUS = 'R' and m.BEGIN_DATE < convert(date, getdate())
having count(*) >= 3)",
       R"(select 40 as RANK, 6 as ICON, count(*) || ' events attended' as KEYWORD,
       'A regular: registered for ' || count(*) || ' past events.' as DESCRIPTION
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = :id and r.STATUS = 'R' and m.BEGIN_DATE < date('now', 'localtime')
having count(*) >= 3)"},
      {"CANCELS", "SQL",
       R"(select 70 as RANK, 3 as ICON, 'Cancels often' as KEYWORD,
       'Cancelled ' + convert(varchar(10), count(*)) + ' registrations.' as DESCRIPTION
  from Meet_Registration where ID = {id} and STATUS = 'C'
having count(*) >= 2)",
       R"(select 70 as RANK, 3 as ICON, 'Cancels often' as KEYWORD,
       'Cancelled ' || count(*) || ' registrations.' as DESCRIPTION
  from Meet_Registration where ID = :id and STATUS = 'C'
having count(*) >= 2)"},
      {"VERY_ACTIVE", "SQL",
       R"(select 45 as RANK, 13 as ICON, 'Very active' as KEYWORD,
       convert(varchar(10), count(*)) + ' activities in the last year.' as DESCRIPTION
  from Activity
 where ID = @id and TRANSACTION_DATE >= dateadd(year, -1, convert(date, getdate()))
having count(*) > 8)",
       R"(select 45 as RANK, 13 as ICON, 'Very active' as KEYWORD,
       count(*) || ' activities in the last year.' as DESCRIPTION
  from Activity
 where ID = :id and TRANSACTION_DATE >= date('now', 'localtime', '-1 year')
having count(*) > 8)"},
      {"DORMANT", "SQL",
       R"(select 80 as RANK, 20 as ICON, 'Dormant' as KEYWORD,
       'No activity in two years for ' + FULL_NAME + '.' as DESCRIPTION
  from Name n
 where n.ID = @id and n.STATUS = 'A'
   and not exists (select * from Activity a
                    where a.ID = n.ID
                      and a.TRANSACTION_DATE >= dateadd(year, -2, convert(date, getdate()))))",
       R"(select 80 as RANK, 20 as ICON, 'Dormant' as KEYWORD,
       'No activity in two years for ' || FULL_NAME || '.' as DESCRIPTION
  from Name n
 where n.ID = :id and n.STATUS = 'A'
   and not exists (select * from Activity a
                    where a.ID = n.ID
                      and a.TRANSACTION_DATE >= date('now', 'localtime', '-2 years')))"},
      {"MAJOR_DONOR", "SQL",
       R"(select -8 as RANK, 9 as ICON, 'Major donor' as KEYWORD,
       'Gifts of $' + convert(varchar(20), convert(decimal(12, 2), sum(AMOUNT)))
         + ' in total.' as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'GIFT'
having sum(AMOUNT) >= 500)",
       R"(select -8 as RANK, 9 as ICON, 'Major donor' as KEYWORD,
       'Gifts of $' || printf('%.2f', sum(AMOUNT)) || ' in total.' as DESCRIPTION
  from Activity where ID = :id and ACTIVITY_TYPE = 'GIFT'
having sum(AMOUNT) >= 500)"},
      {"COMPLAINT", "SQL",
       R"(select -3 as RANK, 25 as ICON, 'Recent complaint' as KEYWORD,
       convert(varchar(10), count(*)) + ' complaint(s) in the last 180 days; the latest on '
         + convert(varchar(10), max(TRANSACTION_DATE), 23) + '.' as DESCRIPTION
  from Activity
 where ID = {id} and ACTIVITY_TYPE = 'COMPLAINT'
   and TRANSACTION_DATE >= dateadd(day, -180, convert(date, getdate()))
having count(*) > 0)",
       R"(select -3 as RANK, 25 as ICON, 'Recent complaint' as KEYWORD,
       count(*) || ' complaint(s) in the last 180 days; the latest on '
         || max(TRANSACTION_DATE) || '.' as DESCRIPTION
  from Activity
 where ID = :id and ACTIVITY_TYPE = 'COMPLAINT'
   and TRANSACTION_DATE >= date('now', 'localtime', '-180 days')
having count(*) > 0)"},
      {"FEES_DUE", "SQL",
       R"(select 12 as RANK, 4 as ICON, 'Event fees due' as KEYWORD,
       'Event fees outstanding: $' + convert(varchar(20), convert(decimal(12, 2), sum(AMOUNT_DUE)))
         as DESCRIPTION
  from Meet_Registration where ID = @id and STATUS = 'R' having sum(AMOUNT_DUE) > 0)",
       R"(select 12 as RANK, 4 as ICON, 'Event fees due' as KEYWORD,
       'Event fees outstanding: $' || printf('%.2f', sum(AMOUNT_DUE)) as DESCRIPTION
  from Meet_Registration where ID = :id and STATUS = 'R' having sum(AMOUNT_DUE) > 0)"},
      {"ORDERS_YEAR", "SQL",
       R"(select 85 as RANK, 26 as ICON,
       convert(varchar(10), count(*)) + ' orders this year' as KEYWORD,
       'Orders worth $' + convert(varchar(20), convert(decimal(12, 2), sum(AMOUNT)))
         + ' in the last 365 days.' as DESCRIPTION
  from Activity
 where ID = @id and ACTIVITY_TYPE = 'ORDER'
   and TRANSACTION_DATE >= dateadd(day, -365, convert(date, getdate()))
having count(*) >= 2)",
       R"(select 85 as RANK, 26 as ICON, count(*) || ' orders this year' as KEYWORD,
       'Orders worth $' || printf('%.2f', sum(AMOUNT)) || ' in the last 365 days.'
         as DESCRIPTION
  from Activity
 where ID = :id and ACTIVITY_TYPE = 'ORDER'
   and TRANSACTION_DATE >= date('now', 'localtime', '-365 days')
having count(*) >= 2)"},

      // Joins.
      {"EVENT_REG", "SQL",
       R"(select 45 as RANK, 6 as ICON, 'Registered: ' + m.MEETING as KEYWORD,
       'Registered for ' + m.TITLE + ' in ' + m.CITY + ' on '
         + convert(varchar(10), m.BEGIN_DATE, 23) + '.' as DESCRIPTION,
       n.FULL_NAME + ' - ' + coalesce(nullif(n.COMPANY, ''), 'Guest') as CLIPBOARD_TEXT,
       'Copy the name badge text' as CLIPBOARD_DESCRIPTION
  from Meet_Registration r
       join Meet_Master m on m.MEETING = r.MEETING
       join Name n on n.ID = r.ID
 where r.ID = @id and r.STATUS = 'R' and m.BEGIN_DATE >= convert(date, getdate())
 order by m.BEGIN_DATE)",
       R"(select 45 as RANK, 6 as ICON, 'Registered: ' || m.MEETING as KEYWORD,
       'Registered for ' || m.TITLE || ' in ' || m.CITY || ' on ' || m.BEGIN_DATE || '.'
         as DESCRIPTION,
       n.FULL_NAME || ' - ' || coalesce(nullif(n.COMPANY, ''), 'Guest') as CLIPBOARD_TEXT,
       'Copy the name badge text' as CLIPBOARD_DESCRIPTION
  from Meet_Registration r
       join Meet_Master m on m.MEETING = r.MEETING
       join Name n on n.ID = r.ID
 where r.ID = :id and r.STATUS = 'R' and m.BEGIN_DATE >= date('now', 'localtime')
 order by m.BEGIN_DATE)"},
      {"LAST_EVENT", "SQL",
       R"(select top 1 90 as RANK, 6 as ICON, 'Last event: ' + m.MEETING as KEYWORD,
       'Last attended ' + m.TITLE + ' on ' + convert(varchar(10), m.BEGIN_DATE, 23) + '.'
         as DESCRIPTION
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = {id} and r.STATUS = 'R' and m.BEGIN_DATE < convert(date, getdate())
 order by m.BEGIN_DATE desc)",
       R"(select 90 as RANK, 6 as ICON, 'Last event: ' || m.MEETING as KEYWORD,
       'Last attended ' || m.TITLE || ' on ' || m.BEGIN_DATE || '.' as DESCRIPTION
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = :id and r.STATUS = 'R' and m.BEGIN_DATE < date('now', 'localtime')
 order by m.BEGIN_DATE desc limit 1)"},
      {"RECENT_CONTACT", "SQL",
       R"(select top 3 95 as RANK, 13 as ICON,
       ACTIVITY_TYPE + ' on ' + convert(varchar(10), TRANSACTION_DATE, 23) as KEYWORD,
       DESCRIPTION as DESCRIPTION
  from Activity
 where ID = @id and ACTIVITY_TYPE in ('CALL', 'EMAIL', 'MEETING')
 order by TRANSACTION_DATE desc)",
       R"(select 95 as RANK, 13 as ICON, ACTIVITY_TYPE || ' on ' || TRANSACTION_DATE as KEYWORD,
       DESCRIPTION as DESCRIPTION
  from Activity
 where ID = :id and ACTIVITY_TYPE in ('CALL', 'EMAIL', 'MEETING')
 order by TRANSACTION_DATE desc limit 3)"},
      {"LAST_GIFT", "SQL",
       R"(select top (1) 33 as RANK, 9 as ICON, 'Last gift' as KEYWORD,
       'Last gift of $' + convert(varchar(20), convert(decimal(12, 2), AMOUNT)) + ' on '
         + convert(varchar(10), TRANSACTION_DATE, 23) + '.' as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'GIFT'
 order by TRANSACTION_DATE desc)",
       R"(select 33 as RANK, 9 as ICON, 'Last gift' as KEYWORD,
       'Last gift of $' || printf('%.2f', AMOUNT) || ' on ' || TRANSACTION_DATE || '.'
         as DESCRIPTION
  from Activity where ID = :id and ACTIVITY_TYPE = 'GIFT'
 order by TRANSACTION_DATE desc limit 1)"},
      {"SPEAKER", "SQL",
       R"(select 28 as RANK, 14 as ICON, 'Speaker: ' + m.MEETING as KEYWORD,
       'Speaks at ' + m.TITLE + ' on ' + convert(varchar(10), m.BEGIN_DATE, 23) + '.'
         as DESCRIPTION
  from Activity a join Meet_Master m on m.MEETING = a.PRODUCT_CODE
 where a.ID = {id} and a.ACTIVITY_TYPE = 'SPEAKER' and m.BEGIN_DATE >= convert(date, getdate()))",
       R"(select 28 as RANK, 14 as ICON, 'Speaker: ' || m.MEETING as KEYWORD,
       'Speaks at ' || m.TITLE || ' on ' || m.BEGIN_DATE || '.' as DESCRIPTION
  from Activity a join Meet_Master m on m.MEETING = a.PRODUCT_CODE
 where a.ID = :id and a.ACTIVITY_TYPE = 'SPEAKER' and m.BEGIN_DATE >= date('now', 'localtime'))"},
      {"EMPLOYER_LAPSED", "SQL",
       R"(select 22 as RANK, 8 as ICON, 'Employer lapsed' as KEYWORD,
       c.FULL_NAME + '''s corporate membership ran out on '
         + convert(varchar(10), c.PAID_THRU, 23) + '.' as DESCRIPTION
  from Name n join Name c on c.ID = n.CO_ID
 where n.ID = @id and c.COMPANY_RECORD = 1 and c.PAID_THRU < convert(date, getdate()))",
       R"(select 22 as RANK, 8 as ICON, 'Employer lapsed' as KEYWORD,
       c.FULL_NAME || '''s corporate membership ran out on ' || c.PAID_THRU || '.'
         as DESCRIPTION
  from Name n join Name c on c.ID = n.CO_ID
 where n.ID = :id and c.COMPANY_RECORD = 1 and c.PAID_THRU < date('now', 'localtime'))"},
      {"MANAGED_BY", "SQL",
       R"(select 88 as RANK, 10 as ICON, 'Managed by ' + u.FULL_NAME as KEYWORD,
       u.FULL_NAME + ' manages this account; ask them before changing it.' as DESCRIPTION
  from Name n join Users u on u.UserId = n.ACCOUNT_MANAGER
 where n.ID = @id and n.ACCOUNT_MANAGER <> {user})",
       R"(select 88 as RANK, 10 as ICON, 'Managed by ' || u.FULL_NAME as KEYWORD,
       u.FULL_NAME || ' manages this account; ask them before changing it.' as DESCRIPTION
  from Name n join Users u on u.UserId = n.ACCOUNT_MANAGER
 where n.ID = :id and n.ACCOUNT_MANAGER <> :user)"},
      {"FEES_TABLE", "SQL",
       R"(insert into ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT)
select @@spid, r.ID, 14, 4, 'Unpaid registration',
       'Fee of $' + convert(varchar(20), convert(decimal(12, 2), r.AMOUNT_DUE)) + ' unpaid for '
         + m.TITLE + '.',
       m.MEETING
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = {id} and r.STATUS = 'R' and r.AMOUNT_DUE > 0)",
       R"(insert into ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT)
select :spid, r.ID, 14, 4, 'Unpaid registration',
       'Fee of $' || printf('%.2f', r.AMOUNT_DUE) || ' unpaid for ' || m.TITLE || '.',
       m.MEETING
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = :id and r.STATUS = 'R' and r.AMOUNT_DUE > 0)",
       "Unpaid registration"},
      {"MEMBER_TYPE", "SQL",
       R"(select 99 as RANK, 27 as ICON, t.DESCRIPTION as KEYWORD,
       n.FULL_NAME + ' is a ' + lower(t.DESCRIPTION) + ' since '
         + convert(varchar(10), n.JOIN_DATE, 23) + '.' as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = {id} and t.MEMBER_TYPE in ('LIFE', 'HON'))",
       R"(select 99 as RANK, 27 as ICON, t.DESCRIPTION as KEYWORD,
       n.FULL_NAME || ' is a ' || lower(t.DESCRIPTION) || ' since ' || n.JOIN_DATE || '.'
         as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = :id and t.MEMBER_TYPE in ('LIFE', 'HON'))"},
  }};
  return definitions;
}

}  // namespace twk::bench
