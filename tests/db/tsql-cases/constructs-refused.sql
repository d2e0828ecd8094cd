-- T-SQL that SQL Server refuses when it compiles the batch: unknown names,
-- undeclared variables, misplaced aggregates, wrong argument counts.

-- setup
create table Name (ID varchar(10), LAST_NAME varchar(30), CITY varchar(40));
insert into Name values ('1', 'Adams', 'Chicago');
create table Activity (ID varchar(10), AMOUNT int);
insert into Activity values ('1', 5);

-- case: an undeclared variable
select @nope
-- expect-error: 137

-- case: a variable declared twice
declare @n int
declare @n int
-- expect-error: 134

-- case: an unknown function
select nofunc(1)
-- expect-error: 195

-- case: an unknown column
select NOPE from Name
-- expect-error: 207

-- case: an unknown table
select * from No_Such_Table
-- expect-error: 208

-- case: an ambiguous column
select ID from Name n join Activity a on a.ID = n.ID
-- expect-error: 209

-- case: an alias that is not in the from clause
select x.ID from Name n
-- expect-error: 4104

-- case: a column neither grouped nor aggregated
select CITY, count(*) from Name group by LAST_NAME
-- expect-error: 8120

-- case: an aggregate in where
select ID from Name where count(*) > 1
-- expect-error: 147

-- case: an aggregate of an aggregate
select max(count(*)) from Name
-- expect-error: 130

-- case: order by outside a distinct select list
select distinct CITY from Name order by LAST_NAME
-- expect-error: 145

-- case: an order by position past the select list
select ID from Name order by 2
-- expect-error: 108

-- case: a union of different widths
select 1 union select 1, 2
-- expect-error: 205

-- case: too few arguments
select left('abc')
-- expect-error: 174

-- case: a type that does not exist
select convert(nosuchtype, 1)
-- expect-error: 243

-- case: a condition that is not boolean
select ID from Name where 1
-- expect-error: 4145

-- case: a select without a list
select from Name
-- expect-error: 156

-- case: break outside a loop
break
-- expect-error: 135

-- case: continue after a loop runs nothing
set nocount on
create table #t (x int)
while 1 = 0 begin
  insert #t values (1)
  continue
end
if 1 = 1 continue
-- expect-error: 136

-- case: an unknown procedure
exec no_such_procedure
-- expect-error: 2812

-- case: a name leading a batch calls that procedure without exec
selec 1
-- expect-error: 2812

-- case: a name leading a later statement is no call
select 1;
selec 1
-- expect-error: 102

-- case: a syntax error anywhere runs nothing
set nocount on
create table #t (x int)
insert #t values (1)
select x from #t where x = 1)
-- expect-error: 102

-- case: a check constraint of a #table
create table #t (x int check (x > 0))
-- expect-error: 49990

-- case: a table-level check constraint
create table #t (x int, y int, check (x < y))
-- expect-error: 49990
