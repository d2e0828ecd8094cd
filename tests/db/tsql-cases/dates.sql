-- Dates: literals in the server's forms against date columns, dateadd,
-- datediff (boundaries crossed), datepart, datename, eomonth, datefromparts,
-- datetime + number, format of dates. No case depends on today's date.

-- setup
create table Name (ID varchar(10), PAID_THRU date, JOIN_DATE datetime);
insert into Name values ('1', '2013-12-31', '2010-06-15 08:00:00.000'),
  ('2', '2014-06-30', '2014-01-31 10:00:00.000'), ('3', '2015-01-01', '2014-01-31 00:00:00.000');
create table Activity (ID varchar(10), ACTIVITY_TYPE varchar(20), TRANSACTION_DATE datetime);
insert into Activity values ('1', 'DUES', '2014-01-01 00:00:00.000'),
  ('1', 'EVENT', '2014-01-31 10:00:00.000'), ('2', 'DUES', '2014-02-01 00:00:00.000');

-- case: a yyyymmdd literal against a date column
select count(*) from Name where PAID_THRU >= '20140101'
-- expect: 2

-- case: an mm/dd/yyyy literal against a date column
select ID from Name where PAID_THRU = '06/30/2014'
-- expect: 2

-- case: a date literal against a datetime column
select count(*) from Name where JOIN_DATE >= '20140131'
-- expect: 2

-- case: between ends at midnight of its last day
select count(*) from Activity where TRANSACTION_DATE between '2014-01-01' and '2014-01-31'
-- expect: 1

-- case: convert to date drops the time
select count(*) from Activity where convert(date, TRANSACTION_DATE) = '2014-01-31'
-- expect: 1

-- case: datediff in days
select datediff(day, '2014-01-31', '2014-03-01')
-- expect: 29

-- case: datediff in hours counts boundaries crossed
select datediff(hour, '2014-01-01 10:59', '2014-01-01 11:01')
-- expect: 1

-- case: datediff in minutes counts boundaries crossed
select datediff(minute, '2014-01-01 10:00:59', '2014-01-01 10:01:00')
-- expect: 1

-- case: datediff in months counts boundaries crossed
select datediff(month, '2014-01-31', '2014-02-01')
-- expect: 1

-- case: datediff in years counts boundaries crossed
select datediff(year, '2013-12-31', '2014-01-01')
-- expect: 1

-- case: datediff in weeks counts Sundays
select datediff(week, '2014-01-04', '2014-01-05'), datediff(week, '2014-01-05', '2014-01-11')
-- expect: 1 | 0

-- case: datediff over a column
select ID, datediff(day, PAID_THRU, '2015-01-01') from Name order by ID
-- expect: 1 | 366
-- expect: 2 | 185
-- expect: 3 | 0

-- case: dateadd of days
select convert(varchar(10), dateadd(day, 30, '2014-01-15'), 23)
-- expect: 2014-02-14

-- case: dateadd of a month keeps within the shorter month
select convert(varchar(10), dateadd(month, 1, '2014-01-31'), 23)
-- expect: 2014-02-28

-- case: dateadd of a year from a leap day
select convert(varchar(10), dateadd(year, 1, '2016-02-29'), 23)
-- expect: 2017-02-28

-- case: dateadd on a date column
select convert(varchar(10), dateadd(day, 1, PAID_THRU), 23) from Name where ID = '1'
-- expect: 2014-01-01

-- case: the first of the month from datediff and dateadd
select convert(varchar(10), dateadd(month, datediff(month, 0, '2014-03-05'), 0), 23)
-- expect: 2014-03-01

-- case: datetime plus a number of days
select convert(varchar(10), cast('2014-01-31' as datetime) + 1, 23)
-- expect: 2014-02-01

-- case: datetime plus half a day
select convert(varchar(19), cast('2014-01-01' as datetime) + 0.5, 120)
-- expect: 2014-01-01 12:00:00

-- case: datetime minus a day and a quarter, and plus a float
select convert(varchar(19), cast('2014-01-02' as datetime) - 1.25, 120), convert(varchar(19), cast('2014-01-01' as datetime) + cast(0.75 as float), 120)
-- expect: 2013-12-31 18:00:00 | 2014-01-01 18:00:00

-- case: date plus a number is refused
select cast('2014-01-01' as date) + 1
-- expect-error: 206

-- case: datepart of the usual parts
select datepart(year, '2014-03-05'), datepart(quarter, '2014-08-01'), datepart(month, '2014-03-05'), datepart(day, '2014-03-05')
-- expect: 2014 | 3 | 3 | 5

-- case: datepart of weekday with Sunday first
select datepart(weekday, '2014-03-05'), datepart(dw, '2014-03-09')
-- expect: 4 | 1

-- case: datepart of dayofyear and week
select datepart(dayofyear, '2014-03-05'), datepart(week, '2014-01-05'), datepart(week, '2014-01-04')
-- expect: 64 | 2 | 1

-- case: year, month and day
select year(JOIN_DATE), month(JOIN_DATE), day(JOIN_DATE) from Name where ID = '1'
-- expect: 2010 | 6 | 15

-- case: datename of month and weekday
select datename(month, '2014-03-05'), datename(weekday, '2014-03-05'), datename(dw, '2014-03-09')
-- expect: March | Wednesday | Sunday

-- case: eomonth
select convert(varchar(10), eomonth('2014-02-10'), 23), convert(varchar(10), eomonth('2016-02-10'), 23)
-- expect: 2014-02-28 | 2016-02-29

-- case: eomonth with a month offset
select convert(varchar(10), eomonth('2014-01-31', 1), 23), convert(varchar(10), eomonth('2014-03-15', -1), 23)
-- expect: 2014-02-28 | 2014-02-28

-- case: datefromparts
select convert(varchar(10), datefromparts(2014, 3, 5), 23)
-- expect: 2014-03-05

-- case: datefromparts of a day that does not exist
select datefromparts(2014, 2, 30)
-- expect-error: 289

-- case: a date text that does not exist
select cast('2014-02-30' as date)
-- expect-error: 241

-- case: a datetime text that does not exist
select cast('02/30/2014' as datetime)
-- expect-error: 242

-- case: format a date with a pattern
select format(cast('2014-03-05' as date), 'yyyy-MM-dd'), format(cast('2014-03-05' as date), 'dd/MM/yyyy')
-- expect: 2014-03-05 | 05/03/2014

-- case: format a date with month and day names
select format(cast('2014-03-05' as date), 'MMMM d, yyyy'), format(cast('2014-03-05' as date), 'dddd')
-- expect: March 5, 2014 | Wednesday

-- case: format the time of a datetime
select format(cast('2014-03-05 14:07:09' as datetime), 'HH:mm'), format(cast('2014-03-05 14:07:09' as datetime), 'hh:mm tt')
-- expect: 14:07 | 02:07 PM

-- case: getdate is a datetime of today
select case when getdate() > '2000-01-01' and getdate() < '2200-01-01' then 1 else 0 end
-- expect: 1

-- case: sysdatetime and getdate agree
select case when abs(datediff(second, getdate(), sysdatetime())) <= 2 then 1 else 0 end
-- expect: 1

-- case: getutcdate is within a day of getdate
select case when abs(datediff(hour, getutcdate(), getdate())) <= 14 then 1 else 0 end
-- expect: 1

-- case: current_timestamp is getdate
select case when abs(datediff(second, current_timestamp, getdate())) <= 2 then 1 else 0 end
-- expect: 1

-- case: the clock is read once for a statement, however many rows it reads
with d(i) as (select i from (values (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)) v(i))
select count(distinct convert(varchar(27), sysdatetime(), 121))
  from d a cross join d b cross join d c cross join d e cross join d f
-- expect: 1

-- case: the clock moves between runs of one statement
set nocount on
declare @first datetime2, @last datetime2, @i int = 0
while @i < 20000
begin
  set @last = sysdatetime()
  if @first is null set @first = @last
  set @i += 1
end
select case when @last > @first then 'moved' else 'stood' end
-- expect: moved
