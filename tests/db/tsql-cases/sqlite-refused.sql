-- SQLite-only text that SQL Server refuses: a definition proven on the demo
-- must fail there too, with the server's message number.

-- setup
create table Name (ID varchar(10), LAST_NAME varchar(30), CITY varchar(40), BALANCE money);
insert into Name values ('1', 'Adams', 'Chicago', 10), ('2', 'Baker', 'Evanston', 20);

-- case: || is not concatenation
select 'Balance ' || BALANCE from Name
-- expect-error: 102

-- case: limit
select ID from Name limit 1
-- expect-error: 102

-- case: == is not an operator
select ID from Name where ID == '1'
-- expect-error: 102

-- case: a double-quoted string names a column
select "abc"
-- expect-error: 207

-- case: a double-quoted string in a comparison names a column
select ID from Name where CITY = "Chicago"
-- expect-error: 207

-- case: ifnull
select ifnull(null, 1)
-- expect-error: 195

-- case: substr
select substr(LAST_NAME, 1, 2) from Name
-- expect-error: 195

-- case: strftime
select strftime('%Y', '2014-01-01')
-- expect-error: 195

-- case: printf
select printf('%d', 1)
-- expect-error: 195

-- case: instr
select instr('abc', 'b')
-- expect-error: 195

-- case: group_concat
select group_concat(LAST_NAME) from Name
-- expect-error: 195

-- case: julianday
select julianday('2014-01-01')
-- expect-error: 195

-- case: length
select length('abc')
-- expect-error: 195

-- case: random
select random()
-- expect-error: 195

-- case: max with two arguments
select max(1, 2)
-- expect-error: 174

-- case: a bare column beside an aggregate
select ID, count(*) from Name
-- expect-error: 8120

-- case: nulls first in order by
select ID from Name order by ID nulls first
-- expect-error: 102

-- case: insert or replace
insert or replace into Name (ID) values ('3')
-- expect-error: 156

-- case: backquoted names
select `ID` from Name
-- expect-error: 102

-- case: glob
select count(*) from Name where LAST_NAME glob 'A*'
-- expect-error: 4145
