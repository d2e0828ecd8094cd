// SPDX-License-Identifier: MIT
#pragma once

// Fifty alert definitions of the shapes real sites write, in the T-SQL that
// runs unchanged on SQL Server: lookups of the record by id, counts and sums
// over its registrations and history, joins, top, declare/set, if, the
// output table, and a few whose condition no record meets. They read the
// tables that RealisticDatabase generates.
#include <array>

namespace twk::bench {

struct RealisticDefinition {
  const char* sAlertId;
  const char* sType;  ///< "SQL" or "SQLSilent"
  const char* sCriteria;
  /// For a definition that writes the output table: the keyword its rows
  /// carry, so that those rows can be told apart from the others'.
  const char* sTableKeyword = nullptr;
};

inline const std::array<RealisticDefinition, 50>& RealisticDefinitions() {
  static const std::array<RealisticDefinition, 50> definitions{{
      // Lookups of the record itself.
      {"ACCOUNT_HOLD", "SQL", R"(select -15 as RANK, 24 as ICON, 'Account on hold' as KEYWORD,
       'Account on hold: ' + coalesce(nullif(NOTE, ''), 'no reason recorded.') as DESCRIPTION,
       'Account on hold' as TITLE_TEXT, -1 as AUTO_POPUP
  from Name where ID = {id} and STATUS = 'S')"},
      {"DECEASED", "SQL", R"(insert into ttwk_AlertOutput
       (OWNER_SPID, EVENT_TYPE, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TITLE_TEXT, LOG_TEXT)
select @@spid, 'ID', ID, -20, 2, 'Deceased',
       FULL_NAME + ' has died. Send no mail or renewal notices.', 'Deceased member',
       'Deceased record opened'
  from Name where ID = @id and STATUS = 'D')",
       "Deceased"},
      {"VIP", "SQL", R"(insert ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT,
        CLIPBOARD_TEXT, CLIPBOARD_DESCRIPTION)
select @@spid, ID, -10, 9, 'VIP',
       FULL_NAME + ': ' + coalesce(nullif(NOTE, ''), 'a valued supporter.'),
       'VIP: handle with priority', 'Executive Director, direct line 555-0100',
       'Copy the Executive Director''s direct line'
  from Name where ID = {id} and CATEGORY in ('VIP', 'BOARD'))",
       "VIP"},
      {"DO_NOT_CONTACT", "SQL", R"(select 0 as RANK, 22 as ICON, 'Do not contact' as KEYWORD,
       'No mail, e-mail or calls: recorded at the contact''s request.' as DESCRIPTION
  from Name where ID = @id and EXCLUDE_MAIL = 1 and STATUS <> 'D')"},
      {"DUES_OWED", "SQL",
       R"(select case when BALANCE >= 500 then -5 else 10 end as RANK, 4 as ICON,
       'Owes $' + convert(varchar(20), convert(decimal(12, 2), BALANCE)) as KEYWORD,
       'Outstanding balance of $' + convert(varchar(20), convert(decimal(12, 2), BALANCE))
         + '. Ask for payment before taking a new order.' as DESCRIPTION
  from Name where ID = @id and BALANCE > 0)"},
      {"CREDIT", "SQL", R"(select 60 as RANK, 5 as ICON,
       'Credit $' + convert(varchar(20), convert(decimal(12, 2), -n.BALANCE)) as KEYWORD,
       'A credit is on the account: offer to apply it to the next invoice.' as DESCRIPTION
  from Name n join Users u on u.UserId = @sUserName
 where n.ID = @id and n.BALANCE < 0
   and ',' + replace(u.AccessKeywords, ' ', '') + ',' like '%,FINANCE,%')"},
      {"MY_ACCOUNT", "SQL", R"(select 15 as RANK, 10 as ICON, 'Your account' as KEYWORD,
       'You are the account manager for ' + FULL_NAME + '.' as DESCRIPTION
  from Name where ID = {id} and ACCOUNT_MANAGER = {user})"},
      {"LAPSED", "SQL", R"(select 5 as RANK, 8 as ICON, 'Membership lapsed' as KEYWORD,
       'Membership lapsed on ' + convert(varchar(10), n.PAID_THRU, 23) + ' ('
         + convert(varchar(10), datediff(day, n.PAID_THRU, getdate())) + ' days ago).'
         as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = {id} and t.DUES_PAYING = 1 and n.STATUS = 'A'
   and n.PAID_THRU < convert(date, getdate()))"},
      {"RENEWAL_DUE", "SQL", R"(select 20 as RANK, 23 as ICON,
       'Renews in ' + convert(varchar(10), datediff(day, getdate(), n.PAID_THRU)) + ' days'
         as KEYWORD,
       'Membership runs out on ' + convert(varchar(10), n.PAID_THRU, 23) + '.' as DESCRIPTION,
       'https://members.example.org/renew?id=' + n.ID as CLIPBOARD_TEXT
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = @psId and t.DUES_PAYING = 1 and n.STATUS = 'A'
   and n.PAID_THRU between convert(date, getdate())
                       and dateadd(day, 30, convert(date, getdate())))"},
      {"NEW_MEMBER", "SQL", R"(select 25 as RANK, 18 as ICON, 'New member' as KEYWORD,
       'Joined on ' + convert(varchar(10), JOIN_DATE, 23) + '. Welcome them.' as DESCRIPTION
  from Name
 where ID = {id} and MEMBER_TYPE <> 'NM' and STATUS = 'A'
   and JOIN_DATE >= dateadd(day, -90, convert(date, getdate())))"},
      {"BIRTHDAY", "SQL", R"(select 30 as RANK, 7 as ICON,
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
 where DAYS between 0 and 14)"},
      {"NO_EMAIL", "SQLSilent", R"(set nocount on;
insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select @@spid, ID, 40, 12, 'No e-mail',
       'No e-mail address on file for ' + FULL_NAME + '. Ask for one.'
  from Name where ID = @psId and EMAIL = '' and COMPANY_RECORD = 0 and STATUS = 'A';
set nocount off;)",
       "No e-mail"},
      {"PRESS", "SQL", R"(select 55 as RANK, 19 as ICON, 'Press contact' as KEYWORD,
       FULL_NAME + ' writes for ' + coalesce(nullif(COMPANY, ''), 'the press') + '.'
         as DESCRIPTION
  from Name where ID = {id} and CATEGORY = 'PRESS')"},
      {"OLD_STUDENT", "SQL", R"(select 35 as RANK, 16 as ICON, 'Student over 30' as KEYWORD,
       'Student membership, but ' + FIRST_NAME + ' is '
         + convert(varchar(10), datediff(year, BIRTH_DATE, getdate()))
         + ': check the student status.' as DESCRIPTION
  from Name
 where ID = @id and MEMBER_TYPE = 'STU' and datediff(year, BIRTH_DATE, getdate()) > 30)"},
      {"NO_PHONE", "SQL", R"(select 75 as RANK, 21 as ICON, 'No phone' as KEYWORD,
       'No work phone on file for ' + FULL_NAME + '.' as DESCRIPTION
  from Name where ID = {id} and WORK_PHONE = '' and STATUS = 'A' and COMPANY_RECORD = 0)"},
      {"INTERNATIONAL", "SQL", R"(select 65 as RANK, 15 as ICON, 'International' as KEYWORD,
       'Lives in ' + CITY + ', ' + COUNTRY + ': quote prices with shipping.' as DESCRIPTION
  from Name where ID = @id and COUNTRY not in ('USA', ''))"},
      {"DUPLICATE", "SQL", R"(select 35 as RANK, 1 as ICON, 'Possible duplicate' as KEYWORD,
       'Record ' + d.ID + ' (' + d.FULL_NAME + ') has the same e-mail address, '
         + n.EMAIL + '.' as DESCRIPTION,
       d.ID as CLIPBOARD_TEXT, 'Copy the ID of the other record' as CLIPBOARD_DESCRIPTION
  from Name n join Name d on d.EMAIL = n.EMAIL and d.ID <> n.ID
 where n.ID = @id and n.EMAIL <> '')"},
      {"EMPLOYER", "SQL", R"(select 50 as RANK, 11 as ICON, 'ID' as EVENT_TYPE, c.ID as KEY_VALUE,
       c.FULL_NAME as KEYWORD,
       n.FIRST_NAME + ' works for ' + c.FULL_NAME + ' (' + c.ID + '), '
         + coalesce(t.DESCRIPTION, c.MEMBER_TYPE) + '.' as DESCRIPTION
  from Name n
       join Name c on c.ID = n.CO_ID and c.COMPANY_RECORD = 1
       left join Member_Types t on t.MEMBER_TYPE = c.MEMBER_TYPE
 where n.ID = {id})"},
      {"COMPANY_STAFF", "SQL", R"(select 50 as RANK, 11 as ICON,
       convert(varchar(10), count(*)) + ' staff on file' as KEYWORD,
       'People of this company on file: ' + convert(varchar(10), count(*))
         + ', of whom ' + convert(varchar(10), sum(case when STATUS = 'A' then 1 else 0 end))
         + ' active.' as DESCRIPTION
  from Name where CO_ID = {id} having count(*) > 0)"},
      {"NOTE_ON_FILE", "SQL", R"(select 85 as RANK, 29 as ICON, 'Note on file' as KEYWORD,
       NOTE as DESCRIPTION
  from Name where ID = @id and NOTE <> '' and STATUS <> 'D')"},
      {"STAFF_RECORD", "SQLSilent", R"(set nocount on
insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
select @@spid, ID, 2, 10, 'Staff record', 'This is the record of a member of staff.'
  from Name where ID = {id} and MEMBER_TYPE = 'STAFF'
set nocount off)",
       "Staff record"},
      {"INACTIVE", "SQL", R"(select 45 as RANK, 17 as ICON, 'Inactive record' as KEYWORD,
       'This record is inactive; reactivate it before an order.' as DESCRIPTION
  from Name where ID = @id and STATUS = 'I')"},

      // Counts and sums over the record's registrations and history.
      {"REGULAR", "SQL", R"(select 40 as RANK, 6 as ICON,
       convert(varchar(10), count(*)) + ' events attended' as KEYWORD,
       'A regular: registered for ' + convert(varchar(10), count(*)) + ' past events.'
         as DESCRIPTION
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = @id and r.STATUS = 'R' and m.BEGIN_DATE < convert(date, getdate())
having count(*) >= 3)"},
      {"CANCELS", "SQL", R"(select 70 as RANK, 3 as ICON, 'Cancels often' as KEYWORD,
       'Cancelled ' + convert(varchar(10), count(*)) + ' registrations.' as DESCRIPTION
  from Meet_Registration where ID = {id} and STATUS = 'C'
having count(*) >= 2)"},
      {"VERY_ACTIVE", "SQL", R"(select 45 as RANK, 13 as ICON, 'Very active' as KEYWORD,
       convert(varchar(10), count(*)) + ' activities in the last year.' as DESCRIPTION
  from Activity
 where ID = @id and TRANSACTION_DATE >= dateadd(year, -1, convert(date, getdate()))
having count(*) > 8)"},
      {"DORMANT", "SQL", R"(select 80 as RANK, 20 as ICON, 'Dormant' as KEYWORD,
       'No activity in two years for ' + FULL_NAME + '.' as DESCRIPTION
  from Name n
 where n.ID = @id and n.STATUS = 'A'
   and not exists (select * from Activity a
                    where a.ID = n.ID
                      and a.TRANSACTION_DATE >= dateadd(year, -2, convert(date, getdate()))))"},
      {"MAJOR_DONOR", "SQL", R"(select -8 as RANK, 9 as ICON, 'Major donor' as KEYWORD,
       'Gifts of $' + convert(varchar(20), convert(decimal(12, 2), sum(AMOUNT)))
         + ' in total.' as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'GIFT'
having sum(AMOUNT) >= 500)"},
      {"COMPLAINT", "SQL", R"(select -3 as RANK, 25 as ICON, 'Recent complaint' as KEYWORD,
       convert(varchar(10), count(*)) + ' complaint(s) in the last 180 days; the latest on '
         + convert(varchar(10), max(TRANSACTION_DATE), 23) + '.' as DESCRIPTION
  from Activity
 where ID = {id} and ACTIVITY_TYPE = 'COMPLAINT'
   and TRANSACTION_DATE >= dateadd(day, -180, convert(date, getdate()))
having count(*) > 0)"},
      {"FEES_DUE", "SQL", R"(select 12 as RANK, 4 as ICON, 'Event fees due' as KEYWORD,
       'Event fees outstanding: $' + convert(varchar(20), convert(decimal(12, 2), sum(AMOUNT_DUE)))
         as DESCRIPTION
  from Meet_Registration where ID = @id and STATUS = 'R' having sum(AMOUNT_DUE) > 0)"},
      {"ORDERS_YEAR", "SQL", R"(select 85 as RANK, 26 as ICON,
       convert(varchar(10), count(*)) + ' orders this year' as KEYWORD,
       'Orders worth $' + convert(varchar(20), convert(decimal(12, 2), sum(AMOUNT)))
         + ' in the last 365 days.' as DESCRIPTION
  from Activity
 where ID = @id and ACTIVITY_TYPE = 'ORDER'
   and TRANSACTION_DATE >= dateadd(day, -365, convert(date, getdate()))
having count(*) >= 2)"},

      // Joins.
      {"EVENT_REG", "SQL", R"(select 45 as RANK, 6 as ICON, 'Registered: ' + m.MEETING as KEYWORD,
       'Registered for ' + m.TITLE + ' in ' + m.CITY + ' on '
         + convert(varchar(10), m.BEGIN_DATE, 23) + '.' as DESCRIPTION,
       n.FULL_NAME + ' - ' + coalesce(nullif(n.COMPANY, ''), 'Guest') as CLIPBOARD_TEXT,
       'Copy the name badge text' as CLIPBOARD_DESCRIPTION
  from Meet_Registration r
       join Meet_Master m on m.MEETING = r.MEETING
       join Name n on n.ID = r.ID
 where r.ID = @id and r.STATUS = 'R' and m.BEGIN_DATE >= convert(date, getdate())
 order by m.BEGIN_DATE)"},
      {"LAST_EVENT", "SQL",
       R"(select top 1 90 as RANK, 6 as ICON, 'Last event: ' + m.MEETING as KEYWORD,
       'Last attended ' + m.TITLE + ' on ' + convert(varchar(10), m.BEGIN_DATE, 23) + '.'
         as DESCRIPTION
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = {id} and r.STATUS = 'R' and m.BEGIN_DATE < convert(date, getdate())
 order by m.BEGIN_DATE desc)"},
      {"RECENT_CONTACT", "SQL", R"(select top 3 95 as RANK, 13 as ICON,
       ACTIVITY_TYPE + ' on ' + convert(varchar(10), TRANSACTION_DATE, 23) as KEYWORD,
       DESCRIPTION as DESCRIPTION
  from Activity
 where ID = @id and ACTIVITY_TYPE in ('CALL', 'EMAIL', 'MEETING')
 order by TRANSACTION_DATE desc)"},
      {"LAST_GIFT", "SQL", R"(select top (1) 33 as RANK, 9 as ICON, 'Last gift' as KEYWORD,
       'Last gift of $' + convert(varchar(20), convert(decimal(12, 2), AMOUNT)) + ' on '
         + convert(varchar(10), TRANSACTION_DATE, 23) + '.' as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'GIFT'
 order by TRANSACTION_DATE desc)"},
      {"SPEAKER", "SQL", R"(select 28 as RANK, 14 as ICON, 'Speaker: ' + m.MEETING as KEYWORD,
       'Speaks at ' + m.TITLE + ' on ' + convert(varchar(10), m.BEGIN_DATE, 23) + '.'
         as DESCRIPTION
  from Activity a join Meet_Master m on m.MEETING = a.PRODUCT_CODE
 where a.ID = {id} and a.ACTIVITY_TYPE = 'SPEAKER' and m.BEGIN_DATE >= convert(date, getdate()))"},
      {"EMPLOYER_LAPSED", "SQL", R"(select 22 as RANK, 8 as ICON, 'Employer lapsed' as KEYWORD,
       c.FULL_NAME + '''s corporate membership ran out on '
         + convert(varchar(10), c.PAID_THRU, 23) + '.' as DESCRIPTION
  from Name n join Name c on c.ID = n.CO_ID
 where n.ID = @id and c.COMPANY_RECORD = 1 and c.PAID_THRU < convert(date, getdate()))"},
      {"MANAGED_BY", "SQL",
       R"(select 88 as RANK, 10 as ICON, 'Managed by ' + u.FULL_NAME as KEYWORD,
       u.FULL_NAME + ' manages this account; ask them before changing it.' as DESCRIPTION
  from Name n join Users u on u.UserId = n.ACCOUNT_MANAGER
 where n.ID = @id and n.ACCOUNT_MANAGER <> {user})"},
      {"FEES_TABLE", "SQL", R"(insert into ttwk_AlertOutput
       (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION, TOOLTIP_TEXT)
select @@spid, r.ID, 14, 4, 'Unpaid registration',
       'Fee of $' + convert(varchar(20), convert(decimal(12, 2), r.AMOUNT_DUE)) + ' unpaid for '
         + m.TITLE + '.',
       m.MEETING
  from Meet_Registration r join Meet_Master m on m.MEETING = r.MEETING
 where r.ID = {id} and r.STATUS = 'R' and r.AMOUNT_DUE > 0)",
       "Unpaid registration"},
      {"MEMBER_TYPE", "SQL", R"(select 99 as RANK, 27 as ICON, t.DESCRIPTION as KEYWORD,
       n.FULL_NAME + ' is a ' + lower(t.DESCRIPTION) + ' since '
         + convert(varchar(10), n.JOIN_DATE, 23) + '.' as DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = {id} and t.MEMBER_TYPE in ('LIFE', 'HON'))"},

      // Variables, conditions and a temporary table.
      {"FREQUENT_CALLER", "SQL", R"(declare @calls int
set @calls = (select count(*) from Activity where ID = @id and ACTIVITY_TYPE = 'CALL')
if @calls >= 4
  select 42 as RANK, 28 as ICON, 'Calls often' as KEYWORD,
         'Called ' + convert(varchar(10), @calls) + ' times; check for an open issue.'
           as DESCRIPTION)"},
      {"RECENT_ORDER", "SQL", R"(declare @since date = dateadd(day, -30, convert(date, getdate()))
select 47 as RANK, 26 as ICON, 'Ordered recently' as KEYWORD,
       convert(varchar(10), count(*)) + ' order(s) since ' + convert(varchar(10), @since, 23) + '.'
         as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'ORDER' and TRANSACTION_DATE >= @since
having count(*) > 0)"},
      {"BIG_SPENDER", "SQL", R"(declare @total decimal(12, 2)
select @total = sum(AMOUNT) from Activity where ID = {id} and ACTIVITY_TYPE = 'ORDER'
if @total > 1000
  insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
  values (@@spid, {id}, 11, 5, 'Big spender',
          'Orders worth $' + convert(varchar(20), @total) + ' in total.'))",
       "Big spender"},
      {"QUIET_MEMBER", "SQL", R"(declare @last varchar(10)
select @last = convert(varchar(10), max(TRANSACTION_DATE), 23) from Activity where ID = @id
select 77 as RANK, 20 as ICON, 'Quiet for a year' as KEYWORD,
       'Last activity on ' + @last + '; invite them to an event.' as DESCRIPTION
  from Name
 where ID = @id and MEMBER_TYPE = 'M' and @last < convert(varchar(10), dateadd(year, -1, getdate()), 23))"},
      {"GREETING", "SQL", R"(declare @first varchar(60)
declare @type varchar(60)
select @first = n.FIRST_NAME, @type = t.DESCRIPTION
  from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE
 where n.ID = @id and n.COMPANY_RECORD = 0
if @type = 'Student member'
  select 98 as RANK, 16 as ICON, 'Student' as KEYWORD,
         'Greet ' + @first + ' as a student member: the student rate applies.' as DESCRIPTION)"},
      {"EVENT_COUNT_TABLE", "SQL", R"(declare @upcoming int
set @upcoming = (select count(*) from Meet_Registration r
                   join Meet_Master m on m.MEETING = r.MEETING
                  where r.ID = @id and r.STATUS = 'R' and m.BEGIN_DATE >= convert(date, getdate()))
if @upcoming > 1
begin
  insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, RANK, ICON, KEYWORD, DESCRIPTION)
  values (@@spid, @id, 44, 6, 'Several events',
          'Registered for ' + convert(varchar(10), @upcoming) + ' upcoming events.')
end)",
       "Several events"},
      {"ACTIVITY_SUMMARY", "SQL", R"(set nocount on
create table #kinds (KIND varchar(20), N int)
insert into #kinds (KIND, N)
  select ACTIVITY_TYPE, count(*) from Activity where ID = @id group by ACTIVITY_TYPE
select 97 as RANK, 13 as ICON, 'Mostly ' + lower(KIND) as KEYWORD,
       convert(varchar(10), N) + ' of the record''s activities are of type ' + KIND + '.'
         as DESCRIPTION
  from #kinds where N >= 5 and N = (select max(N) from #kinds)
drop table #kinds
set nocount off)"},
      {"DUES_HISTORY", "SQL", R"(declare @paid int
select @paid = count(*) from Activity where ID = @id and ACTIVITY_TYPE = 'DUES'
if @paid = 0
  select 66 as RANK, 8 as ICON, 'Never paid dues' as KEYWORD,
         'No dues payment on file for ' + FULL_NAME + '.' as DESCRIPTION
    from Name where ID = @id and MEMBER_TYPE in ('M', 'CORP')
else
  select 96 as RANK, 8 as ICON, 'Dues paid ' + convert(varchar(10), @paid) + ' times' as KEYWORD,
         'Loyal: ' + convert(varchar(10), @paid) + ' dues payments on file.' as DESCRIPTION
    from Name where ID = @id and @paid >= 5)"},

      // Conditions that no generated record meets: they run and yield nothing.
      {"ARCHIVED", "SQL", R"(select 1 as RANK, 2 as ICON, 'Archived' as KEYWORD,
       'This record is archived.' as DESCRIPTION
  from Name where ID = {id} and STATUS = 'X')"},
      {"FUTURE_JOIN", "SQL", R"(select 1 as RANK, 2 as ICON, 'Joins later' as KEYWORD,
       'The join date lies in the future: ' + convert(varchar(10), JOIN_DATE, 23) as DESCRIPTION
  from Name where ID = @id and JOIN_DATE > dateadd(year, 5, getdate()))"},
      {"HUGE_REFUND", "SQL", R"(select 1 as RANK, 4 as ICON, 'Refund over $1,000,000' as KEYWORD,
       'Check this refund with Finance.' as DESCRIPTION
  from Activity where ID = @id and ACTIVITY_TYPE = 'ORDER' and AMOUNT < -1000000)"},
  }};
  return definitions;
}

}  // namespace twk::bench
