-- The built-in text functions, null handling functions, and joining text with
-- + around case expressions. Text whose blanks matter is shown between [ ].

-- setup
create table Name (ID varchar(10), LAST_NAME varchar(30), FIRST_NAME varchar(20), CITY varchar(40));
insert into Name values ('1', 'Adams', 'Ann', 'Evanston'), ('2', 'Baker', NULL, 'Chicago'),
  ('3', 'Carter', 'Cy', 'Evanston'), ('4', 'A&B', 'Al', 'Skokie');

-- case: left and right
select left('Evanston', 4), right('Evanston', 3)
-- expect: Evan | ton

-- case: left of a number converts it to text
select left(12345, 2)
-- expect: 12

-- case: substring
select substring('Evanston', 2, 3), substring('abc', 2, 10)
-- expect: van | bc

-- case: len does not count trailing blanks
select len('abc   '), len('  abc'), len('')
-- expect: 3 | 5 | 0

-- case: datalength counts bytes and trailing blanks
select datalength('abc   '), datalength(N'abc')
-- expect: 6 | 6

-- case: charindex with a start
select charindex('b', 'abcb', 3), charindex('z', 'abc')
-- expect: 4 | 0

-- case: patindex
select patindex('%[0-9]%', 'abc123'), patindex('%B%', 'abc')
-- expect: 4 | 2

-- case: replace
select replace('a-b-c', '-', '')
-- expect: abc

-- case: stuff
select stuff('abcdef', 2, 3, 'XY')
-- expect: aXYef

-- case: replicate and reverse
select replicate('ab', 3), reverse('abc')
-- expect: ababab | cba

-- case: space
select '[' + space(3) + ']'
-- expect: [   ]

-- case: str right-aligns in ten characters
select '[' + str(5) + ']'
-- expect: [         5]

-- case: str with length and decimals rounds
select '[' + str(123.456, 8, 2) + ']'
-- expect: [  123.46]

-- case: ltrim and rtrim
select '[' + ltrim('  a ') + ']', '[' + rtrim('  a ') + ']'
-- expect: [a ] | [  a]

-- case: trim
select '[' + trim('  a b  ') + ']'
-- expect: [a b]

-- case: upper and lower
select upper('abc'), lower('ABC'), upper('é')
-- expect: ABC | abc | É

-- case: ascii and char
select ascii('A'), char(66), ascii('')
-- expect: 65 | B | NULL

-- case: nchar and unicode
select nchar(946), unicode(N'β')
-- expect: β | 946

-- case: concat skips nulls and converts numbers
select concat('a', null, 1, 'b')
-- expect: a1b

-- case: concat_ws
select concat_ws('-', 'a', null, 'b')
-- expect: a-b

-- case: quotename
select quotename('ab]c'), quotename('x', '''')
-- expect: [ab]]c] | 'x'

-- case: string_agg in order
select string_agg(LAST_NAME, ',') within group (order by LAST_NAME) from Name where CITY = 'evanston'
-- expect-error: 49990

-- case: stuff over for xml path joins names
select stuff((select ',' + LAST_NAME from Name where CITY = 'Evanston' order by LAST_NAME for xml path('')), 1, 1, '')
-- expect: Adams,Carter

-- case: for xml path escapes ampersands
select (select LAST_NAME + ';' from Name where ID = '4' for xml path(''))
-- expect: A&amp;B;

-- case: isnull
select isnull(FIRST_NAME, '(none)') from Name where ID = '2'
-- expect: (none)

-- case: isnull takes the type of its first argument
declare @s varchar(2) = null select isnull(@s, 'abcdef')
-- expect: ab

-- case: isnull of an int converts its replacement to int
declare @n int = null
select isnull(@n, '12') + 1, isnull(@n, 2.7)
-- expect: 13 | 2

-- case: isnull of an int with a replacement that is no number fails
declare @n int = null
select isnull(@n, 'x')
-- expect-error: 245

-- case: coalesce
select coalesce(null, FIRST_NAME, LAST_NAME) from Name where ID = '2'
-- expect: Baker

-- case: nullif
select nullif(1, 1), nullif(1, 2), nullif('abc', 'ABC')
-- expect: NULL | 1 | NULL

-- case: iif
select iif(1 > 2, 'y', 'n')
-- expect: n

-- case: choose
select choose(2, 'a', 'b', 'c'), choose(5, 'a', 'b')
-- expect: b | NULL

-- case: text joined to a case expression
select 'x' + case when 1 = 1 then 'y' end
-- expect: xy

-- case: a case expression joined to text
select case when LAST_NAME = 'adams' then 'A' else 'other' end + '!' from Name where ID = '1'
-- expect: A!

-- case: a text that is no number joined to a number fails
select 'Renews in ' + 12
-- expect-error: 245

-- case: coalesce of a long column and a short literal keeps the column's text whole
set nocount on
create table #n (FULL_NAME nvarchar(255), NOTE nvarchar(max))
insert #n values ('Mateo Moreau', 'Prefers contact by e-mail in the morning.')
select FULL_NAME + ': ' + coalesce(nullif(NOTE, ''), 'a valued supporter.') from #n
-- expect: Mateo Moreau: Prefers contact by e-mail in the morning.
