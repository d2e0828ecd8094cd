// SPDX-License-Identifier: MIT
#pragma once

// Batches (variables, conditions, a temporary table) and conditions no record meets. Each
// definition in T-SQL, then its hand-written SQLite equivalent.
#include <array>

#include "RealisticDefinition.h"

namespace twk::bench {

inline const std::array<RealisticDefinition, 11>& RealisticBatchDefinitions() {
  static const std::array<RealisticDefinition, 11> definitions{{
      // Variables, conditions and a temporary table.
      {"FREQUENT_CALLER", "SQL",
       R"(declare @calls int
set @calls = (select count(*) from Activity where ID = @id and ACTIVITY_TYPE = 'CALL')
if @calls >= 4
  select 42 as RANK, 28 as ICON, 'Calls often' as KEYWORD,
         'Called ' + convert(varchar(10), @calls) + ' times; check for an open issue.'
           as DESCRIPTION)",
       R"(select 42 as RANK, 28 as ICON, 'Calls often' as KEYWORD,
       'Called ' || CALLS || ' times; check for an open issue.' as DESCRIPTION
  from (select count(*) as CALLS from Activity where ID = :id and ACTIVITY_TYPE = 'CALL')
 where CALLS >= 4)"},
      {"RECENT_ORDER", "SQL",
       R"(declare @since date = dateadd(day, -30, convert(date, getdate()))
select 47 as RANK, 26 as ICON, 'Ordered recently' as KEYWORD,
       convert(varchar(10), count(*)) + ' order(s) since ' + convert(varchar(10), @since, 23) + '.'
         as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'ORDER' and TRANSACTION_DATE >= @since
having count(*) > 0)",
       R"(select 47 as RANK, 26 as ICON, 'Ordered recently' as KEYWORD,
       count(*) || ' order(s) since ' || date('now', 'localtime', '-30 days') || '.'
         as DESCRIPTION
  from Activity
 where ID = :id and ACTIVITY_TYPE = 'ORDER'
   and TRANSACTION_DATE >= date('now', 'localtime', '-30 days')
having count(*) > 0)"},
      {"BIG_SPENDER", "SQL",
       R"(declare @total decimal(12, 2)
select @total = sum(AMOUNT) from Activity where ID = {id} and ACTIVITY_TYPE = 'ORDER'
if @total > 1000
  insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
  values (@@spid, {id}, 11, 5, 'Big spender',
          'Orders worth $' + convert(varchar(20), @total) + ' in total.'))",
       R"(insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select :spid, :id, 11, 5, 'Big spender', 'Orders worth $' || printf('%.2f', TOTAL) || ' in total.'
  from (select round(sum(AMOUNT), 2) as TOTAL
          from Activity where ID = :id and ACTIVITY_TYPE = 'ORDER')
 where TOTAL > 1000)",
       "Big spender"},
      {"QUIET_MEMBER", "SQL",
       R"(declare @last varchar(10)
select @last = convert(varchar(10), max(TRANSACTION_DATE), 23) from Activity where ID = @id
select 77 as RANK, 20 as ICON, 'Quiet for a year' as KEYWORD,
       'Last activity on ' + @last + '; invite them to an event.' as DESCRIPTION
  from Name
 where ID = @id and MEMBER_TYPE = 'M' and @last < convert(varchar(10), dateadd(year, -1, getdate()), 23))",
       R"(select 77 as RANK, 20 as ICON, 'Quiet for a year' as KEYWORD,
       'Last activity on ' || LAST || '; invite them to an event.' as DESCRIPTION
  from Name, (select max(TRANSACTION_DATE) as LAST from Activity where ID = :id)
 where ID = :id and MEMBER_TYPE = 'M' and LAST < date('now', 'localtime', '-1 year'))"},
      {"GREETING", "SQL",
       R"(declare @first varchar(60)
declare @type varchar(60)
select @first = n.FIRST_NAME, @type = t.DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = @id and n.COMPANY_RECORD = 0
if @type = 'Student member'
  select 98 as RANK, 16 as ICON, 'Student' as KEYWORD,
         'Greet ' + @first + ' as a student member: the student rate applies.' as DESCRIPTION)",
       R"(select 98 as RANK, 16 as ICON, 'Student' as KEYWORD,
       'Greet ' || n.FIRST_NAME || ' as a student member: the student rate applies.'
         as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = :id and n.COMPANY_RECORD = 0 and t.DESCRIPTION = 'Student member')"},
      {"EVENT_COUNT_TABLE", "SQL",
       R"(declare @upcoming int
set @upcoming = (select count(*) from Meet_Registration r
                   join Meet_Master m on m.MEETING = r.MEETING
                  where r.ID = @id and r.STATUS = 'R' and m.BEGIN_DATE >= convert(date, getdate()))
if @upcoming > 1
begin
  insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
  values (@@spid, @id, 44, 6, 'Several events',
          'Registered for ' + convert(varchar(10), @upcoming) + ' upcoming events.')
end)",
       R"(insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select :spid, :id, 44, 6, 'Several events', 'Registered for ' || UPCOMING || ' upcoming events.'
  from (select count(*) as UPCOMING
          from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
         where r.ID = :id and r.STATUS = 'R' and m.BEGIN_DATE >= date('now', 'localtime'))
 where UPCOMING > 1)",
       "Several events"},
      {"ACTIVITY_SUMMARY", "SQL",
       R"(set nocount on
create table #kinds (KIND varchar(20), N int)
insert into #kinds (KIND, N)
  select ACTIVITY_TYPE, count(*) from Activity where ID = @id group by ACTIVITY_TYPE
select 97 as RANK, 13 as ICON, 'Mostly ' + lower(KIND) as KEYWORD,
       convert(varchar(10), N) + ' of the record''s activities are of type ' + KIND + '.'
         as DESCRIPTION
  from #kinds where N >= 5 and N = (select max(N) from #kinds)
drop table #kinds
set nocount off)",
       R"(with kinds as (select ACTIVITY_TYPE as KIND, count(*) as N
                 from Activity where ID = :id group by ACTIVITY_TYPE)
select 97 as RANK, 13 as ICON, 'Mostly ' || lower(KIND) as KEYWORD,
       N || ' of the record''s activities are of type ' || KIND || '.' as DESCRIPTION
  from kinds where N >= 5 and N = (select max(N) from kinds))"},
      {"DUES_HISTORY", "SQL",
       R"(declare @paid int
select @paid = count(*) from Activity where ID = @id and ACTIVITY_TYPE = 'DUES'
if @paid = 0
  select 66 as RANK, 8 as ICON, 'Never paid dues' as KEYWORD,
         'No dues payment on file for ' + FULL_NAME + '.' as DESCRIPTION
    from Name where ID = @id and MEMBER_TYPE in ('M', 'CORP')
else
  select 96 as RANK, 8 as ICON, 'Dues paid ' + convert(varchar(10), @paid) + ' times' as KEYWORD,
         'Loyal: ' + convert(varchar(10), @paid) + ' dues payments on file.' as DESCRIPTION
    from Name where ID = @id and @paid >= 5)",
       R"(with paid as (select count(*) as PAID
                from Activity where ID = :id and ACTIVITY_TYPE = 'DUES')
select 66 as RANK, 8 as ICON, 'Never paid dues' as KEYWORD,
       'No dues payment on file for ' || FULL_NAME || '.' as DESCRIPTION
  from Name, paid where ID = :id and PAID = 0 and MEMBER_TYPE in ('M', 'CORP')
union all
select 96, 8, 'Dues paid ' || PAID || ' times', 'Loyal: ' || PAID || ' dues payments on file.'
  from Name, paid where ID = :id and PAID >= 5)"},

      // Conditions that no generated record meets: they run and yield nothing.
      {"ARCHIVED", "SQL",
       R"(select 1 as RANK, 2 as ICON, 'Archived' as KEYWORD,
       'This record is archived.' as DESCRIPTION
  from Name where ID = {id} and STATUS = 'X')",
       R"(select 1 as RANK, 2 as ICON, 'Archived' as KEYWORD,
       'This record is archived.' as DESCRIPTION
  from Name where ID = :id and STATUS = 'X')"},
      {"FUTURE_JOIN", "SQL",
       R"(select 1 as RANK, 2 as ICON, 'Joins later' as KEYWORD,
       'The join date lies in the future: ' + convert(varchar(10), JOIN_DATE, 23) as DESCRIPTION
  from Name where ID = @id and JOIN_DATE > dateadd(year, 5, getdate()))",
       R"(select 1 as RANK, 2 as ICON, 'Joins later' as KEYWORD,
       'The join date lies in the future: ' || JOIN_DATE as DESCRIPTION
  from Name where ID = :id and JOIN_DATE > datetime('now', 'localtime', '+5 years'))"},
      {"HUGE_REFUND", "SQL",
       R"(select 1 as RANK, 4 as ICON, 'Refund over $1,000,000' as KEYWORD,
       'Check this refund with Finance.' as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'ORDER' and AMOUNT < -1000000)",
       R"(select 1 as RANK, 4 as ICON, 'Refund over $1,000,000' as KEYWORD,
       'Check this refund with Finance.' as DESCRIPTION
  from Activity where ID = :id and ACTIVITY_TYPE = 'ORDER' and AMOUNT < -1000000)"},
  }};
  return definitions;
}

}  // namespace twk::bench
