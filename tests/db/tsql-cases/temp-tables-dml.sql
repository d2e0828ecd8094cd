-- #tables and data changes: create, insert (with and without into, values or
-- select), select into, update and delete with from/join, output, identity,
-- column types enforced on insert, counts of changed rows.

-- setup
create table Name (ID varchar(10) primary key, LAST_NAME varchar(30), CITY varchar(40));
insert into Name values ('1', 'Adams', 'Evanston'), ('2', 'Baker', 'Chicago'),
  ('3', 'Carter', 'EVANSTON'), ('4', 'Dunn', 'Skokie');
create table Alert_Output (ID varchar(10), TITLE varchar(40));

-- case: create, insert and read a #table
set nocount on
create table #t (ID varchar(10), N int)
insert #t values ('a', 1), ('b', 2)
select sum(N) from #t
-- expect: 3

-- case: the count of an insert is the first result
create table #t (x int)
insert into #t values (1), (2), (3)
-- expect-count: 3

-- case: the count of an update is the first result
set nocount on
create table #t (x int)
insert #t values (1), (2), (5)
set nocount off
update #t set x = x + 1 where x < 5
-- expect-count: 2

-- case: a new #table is empty
create table #t (x int)
select x from #t
-- expect-empty

-- case: insert from a select
set nocount on
create table #t (ID varchar(10))
insert into #t (ID) select ID from Name where CITY = 'Evanston'
select count(*) from #t
-- expect: 2

-- case: select into makes a #table
set nocount on
select ID, LAST_NAME into #t from Name where CITY = 'chicago'
select LAST_NAME from #t
-- expect: Baker

-- case: update from a join
set nocount on
create table #flags (ID varchar(10), FLAG int)
insert #flags select ID, 0 from Name
update f set FLAG = 1 from #flags f join Name n on n.ID = f.ID where n.CITY = 'evanston'
select sum(FLAG) from #flags
-- expect: 2

-- case: delete from a join
set nocount on
create table #flags (ID varchar(10))
insert #flags select ID from Name
delete f from #flags f join Name n on n.ID = f.ID where n.CITY = 'Skokie'
select count(*) from #flags
-- expect: 3

-- case: an insert into a real table
set nocount on
insert into Alert_Output (ID, TITLE) select ID, 'Lives in ' + CITY from Name where CITY = 'evanston'
select count(*) from Alert_Output
-- expect: 2

-- case: a text too long for a varchar column fails the insert
create table #t (s varchar(10))
insert #t values ('abcdefghijklmnopqrstu')
-- expect-error: 8152 or 2628

-- case: a text too long for a varchar column fails the update
set nocount on
create table #t (s varchar(3))
insert #t values ('abc')
update #t set s = s + 'd'
-- expect-error: 8152 or 2628

-- case: a char column pads with blanks
set nocount on
create table #t (c char(5))
insert #t values ('ab')
select '[' + c + ']', len(c), datalength(c) from #t
-- expect: [ab   ] | 2 | 5

-- case: a text of digits into an int column
set nocount on
create table #t (n int)
insert #t values ('12')
select n + 1 from #t
-- expect: 13

-- case: a decimal column rounds on insert
set nocount on
create table #t (d decimal(5,2))
insert #t values (1.239)
select convert(varchar(10), d) from #t
-- expect: 1.24

-- case: an int column truncates a decimal on insert
set nocount on
create table #t (n int)
insert #t values (2.7)
select n from #t
-- expect: 2

-- case: a date column takes the server's date forms
set nocount on
create table #t (d date)
insert #t values ('20140305'), ('03/06/2014'), ('2014-03-07')
select convert(varchar(10), max(d), 23), convert(varchar(10), min(d), 112) from #t
-- expect: 2014-03-07 | 20140305

-- case: null into a not null column fails
create table #t (x int not null)
insert #t values (null)
-- expect-error: 515

-- case: a duplicate primary key fails
create table #t (x int primary key)
insert #t values (1), (1)
-- expect-error: 2627

-- case: an update that sets null in a not null column fails
set nocount on
create table #t (x int not null, y int)
insert #t values (1, 1)
update #t set x = null where y = 1
-- expect-error: 515

-- case: a duplicate of a unique column fails
create table #t (x int, y varchar(5) unique)
insert #t values (1, 'a'), (2, 'A')
-- expect-error: 2627

-- case: a duplicate of a key of two columns fails
create table #t (x int, y int, primary key (x, y))
insert #t values (1, 1), (1, 2), (1, 1)
-- expect-error: 2627

-- case: more values than columns is refused
create table #t (x int)
insert #t (x) values (1, 2)
-- expect-error: 110

-- case: an identity column numbers the rows
set nocount on
create table #t (ID int identity(1,1), s varchar(5))
insert #t (s) values ('a'), ('b')
select max(ID) from #t
-- expect: 2

-- case: output of an insert is the first result
create table #t (x int)
insert #t output inserted.x values (5)
-- expect-error: 49990

-- case: update top
set nocount on
create table #t (x int)
insert #t values (1), (1), (1)
set nocount off
update top (1) #t set x = 2
-- expect-count: 1

-- case: delete top with a where clause, and the rows left
set nocount on
create table #t (x int)
insert #t values (1), (2), (2), (2)
delete top (2) from #t where x = 2
select count(*), sum(x) from #t
-- expect: 2 | 3

-- case: drop table if exists then create again
set nocount on
create table #t (x int)
drop table if exists #t
create table #t (y varchar(5))
insert #t values ('z')
select y from #t
-- expect: z

-- case: creating a #table twice in one batch is refused
create table #t (x int)
create table #t (y int)
-- expect-error: 2714

-- case: a table variable takes rows from a select
set nocount on
declare @t table (ID varchar(10), LAST_NAME varchar(30))
insert @t select ID, LAST_NAME from Name where ID in ('1', '3')
select LAST_NAME from @t order by LAST_NAME desc
-- expect: Carter
-- expect: Adams

-- case: merge updates and inserts
set nocount on
create table #t (ID varchar(10), N int)
insert #t values ('1', 0)
merge #t as t using (select ID from Name) as s on t.ID = s.ID
when matched then update set N = 1
when not matched then insert (ID, N) values (s.ID, 2);
select sum(N) from #t
-- expect-error: 49990
