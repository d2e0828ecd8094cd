-- cast, convert and their styles, try_cast, try_convert, isnumeric, format of
-- numbers. The datetime of most cases: 2014-03-05 14:07:09.123 (a Wednesday).

-- setup
create table Name (ID varchar(10), JOIN_DATE datetime, PAID_THRU date, CODE varchar(10));
insert into Name values ('1001', '2014-03-05 14:07:09.123', '2014-03-05', '42'),
  ('1002', '2014-11-20 09:30:00.000', '2014-12-31', 'x1');

-- case: style 0 is the default text of a datetime
select convert(varchar(30), JOIN_DATE, 0) from Name where ID = '1001'
-- expect: Mar  5 2014  2:07PM

-- case: style 100
select convert(varchar(30), JOIN_DATE, 100) from Name where ID = '1002'
-- expect: Nov 20 2014  9:30AM

-- case: cast of a datetime to varchar uses style 0
select cast(JOIN_DATE as varchar(30)) from Name where ID = '1001'
-- expect: Mar  5 2014  2:07PM

-- case: cast of a date to varchar is ISO
select cast(PAID_THRU as varchar(20)) from Name where ID = '1001'
-- expect: 2014-03-05

-- case: styles 1 and 101
select convert(varchar(10), JOIN_DATE, 1), convert(varchar(10), JOIN_DATE, 101) from Name where ID = '1001'
-- expect: 03/05/14 | 03/05/2014

-- case: styles 2 and 102
select convert(varchar(10), JOIN_DATE, 2), convert(varchar(10), JOIN_DATE, 102) from Name where ID = '1001'
-- expect: 14.03.05 | 2014.03.05

-- case: styles 3 and 103
select convert(varchar(10), JOIN_DATE, 3), convert(varchar(10), JOIN_DATE, 103) from Name where ID = '1001'
-- expect: 05/03/14 | 05/03/2014

-- case: styles 4 and 104
select convert(varchar(10), JOIN_DATE, 4), convert(varchar(10), JOIN_DATE, 104) from Name where ID = '1001'
-- expect: 05.03.14 | 05.03.2014

-- case: styles 5 and 105
select convert(varchar(10), JOIN_DATE, 5), convert(varchar(10), JOIN_DATE, 105) from Name where ID = '1001'
-- expect: 05-03-14 | 05-03-2014

-- case: styles 6 and 106
select convert(varchar(11), JOIN_DATE, 6), convert(varchar(11), JOIN_DATE, 106) from Name where ID = '1001'
-- expect: 05 Mar 14 | 05 Mar 2014

-- case: styles 7 and 107
select convert(varchar(12), JOIN_DATE, 7), convert(varchar(12), JOIN_DATE, 107) from Name where ID = '1001'
-- expect: Mar 05, 14 | Mar 05, 2014

-- case: styles 8 and 108
select convert(varchar(8), JOIN_DATE, 8), convert(varchar(8), JOIN_DATE, 108) from Name where ID = '1001'
-- expect: 14:07:09 | 14:07:09

-- case: style 109 has milliseconds
select convert(varchar(30), JOIN_DATE, 109) from Name where ID = '1001'
-- expect: Mar  5 2014  2:07:09:123PM

-- case: style 9 is style 109
select convert(varchar(30), JOIN_DATE, 9) from Name where ID = '1002'
-- expect: Nov 20 2014  9:30:00:000AM

-- case: styles 10 and 110
select convert(varchar(10), JOIN_DATE, 10), convert(varchar(10), JOIN_DATE, 110) from Name where ID = '1001'
-- expect: 03-05-14 | 03-05-2014

-- case: styles 11 and 111
select convert(varchar(10), JOIN_DATE, 11), convert(varchar(10), JOIN_DATE, 111) from Name where ID = '1001'
-- expect: 14/03/05 | 2014/03/05

-- case: styles 12 and 112
select convert(varchar(8), JOIN_DATE, 12), convert(varchar(8), JOIN_DATE, 112) from Name where ID = '1001'
-- expect: 140305 | 20140305

-- case: style 113
select convert(varchar(30), JOIN_DATE, 113) from Name where ID = '1001'
-- expect: 05 Mar 2014 14:07:09:123

-- case: styles 14 and 114
select convert(varchar(12), JOIN_DATE, 14), convert(varchar(12), JOIN_DATE, 114) from Name where ID = '1001'
-- expect: 14:07:09:123 | 14:07:09:123

-- case: styles 20 and 120
select convert(varchar(19), JOIN_DATE, 20), convert(varchar(19), JOIN_DATE, 120) from Name where ID = '1001'
-- expect: 2014-03-05 14:07:09 | 2014-03-05 14:07:09

-- case: styles 21 and 121
select convert(varchar(23), JOIN_DATE, 21), convert(varchar(23), JOIN_DATE, 121) from Name where ID = '1001'
-- expect: 2014-03-05 14:07:09.123 | 2014-03-05 14:07:09.123

-- case: style 23
select convert(varchar(10), JOIN_DATE, 23) from Name where ID = '1001'
-- expect: 2014-03-05

-- case: style 126
select convert(varchar(30), JOIN_DATE, 126) from Name where ID = '1001'
-- expect: 2014-03-05T14:07:09.123

-- case: style 101 of a date column
select convert(varchar(10), PAID_THRU, 101) from Name where ID = '1002'
-- expect: 12/31/2014

-- case: a style 103 text read as a date
select convert(varchar(10), convert(datetime, '05/03/2014', 103), 23)
-- expect: 2014-03-05

-- case: a text read as a date in mdy order
select convert(varchar(10), convert(date, '03/05/2014'), 23)
-- expect: 2014-03-05

-- case: varchar without a length keeps 30 characters
select len(cast(replicate('x', 40) as varchar))
-- expect: 30

-- case: convert to a short varchar cuts the text
select convert(varchar(3), 'abcdef'), cast('abcdef' as varchar(2))
-- expect: abc | ab

-- case: an int too long for its varchar gives an asterisk
select convert(varchar(2), 123)
-- expect: *

-- case: a decimal too long for its varchar fails
select cast(1.5 as varchar(1))
-- expect-error: 8115

-- case: char pads with blanks
select '[' + convert(char(5), 'ab') + ']'
-- expect: [ab   ]

-- case: the empty text is the first of January 1900
select convert(varchar(23), cast('' as datetime), 121)
-- expect: 1900-01-01 00:00:00.000

-- case: a number converts to a datetime as days since 1900
select convert(varchar(10), cast(1 as datetime), 23)
-- expect: 1900-01-02

-- case: datetime rounds milliseconds to its ticks
select convert(varchar(23), cast('2014-01-01 10:00:00.001' as datetime), 121), convert(varchar(23), cast('2014-01-01 10:00:00.002' as datetime), 121)
-- expect: 2014-01-01 10:00:00.000 | 2014-01-01 10:00:00.003

-- case: try_cast of a text that is no number is null
select try_cast('x' as int), try_convert(int, '12')
-- expect: NULL | 12

-- case: try_convert of a day that does not exist is null
select try_convert(date, '2014-02-30')
-- expect: NULL

-- case: isnumeric
select isnumeric('12.5'), isnumeric('abc'), isnumeric(''), isnumeric('1e5'), isnumeric('$')
-- expect: 1 | 0 | 0 | 1 | 1

-- case: format a number with thousands
select format(1234.5, 'N2')
-- expect: 1,234.50

-- case: format a number with a custom pattern
select format(1234.5, '#,##0.00'), format(5, '000')
-- expect: 1,234.50 | 005

-- case: format a number as currency
select format(1234.5, 'C')
-- expect: $1,234.50
