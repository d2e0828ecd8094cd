-- @@functions and the system functions definitions use: @@rowcount (rows of
-- the last statement, selects included), @@identity, @@error, @@spid,
-- @@trancount, object_id, db_name, suser_sname.

-- setup
create table Name (ID varchar(10) primary key, CITY varchar(40));
insert into Name values ('1', 'Evanston'), ('2', 'Chicago'), ('3', 'Evanston');

-- case: rowcount after an assigning select counts its rows
set nocount on
declare @n varchar(10)
create table #t (x int)
insert #t values (1), (2), (3)
update #t set x = 0 where x = 1
select @n = ID from Name
select @@rowcount
-- expect: 3

-- case: rowcount after an update
set nocount on
create table #t (x int)
insert #t values (1), (2), (3)
update #t set x = 0 where x < 3
select @@rowcount
-- expect: 2

-- case: rowcount after a set is one
set nocount on
declare @n int
create table #t (x int)
insert #t values (1), (2), (3)
set @n = 5
select @@rowcount
-- expect: 1

-- case: rowcount read into a variable after a select into
set nocount on
declare @n int
select ID into #t from Name where CITY = 'Evanston'
set @n = @@rowcount
select @n
-- expect: 2

-- case: identity of the last insert
set nocount on
create table #t (ID int identity(1,1), s varchar(5))
insert #t (s) values ('a')
insert #t (s) values ('b')
select @@identity
-- expect: 2

-- case: scope_identity of the last insert
set nocount on
create table #t (ID int identity(10,5), s varchar(5))
insert #t (s) values ('a'), ('b')
select scope_identity()
-- expect: 15
-- xfail: fails with number 49990: an identity that steps by other than 1 is refused

-- case: scope_identity after a seeded identity
set nocount on
create table #t (ID int identity(10,1), s varchar(5))
insert #t (s) values ('a'), ('b')
select scope_identity()
-- expect: 11

-- case: scope_identity before any insert
select scope_identity()
-- expect: NULL

-- case: error is zero after success
select @@error
-- expect: 0

-- case: error after a caught failure
declare @n int, @e int
begin try
  set @n = 1 / 0
end try
begin catch
  set @e = error_number()
end catch
select @e
-- expect: 8134

-- case: spid is a positive number
select case when @@spid > 0 then 1 else 0 end
-- expect: 1

-- case: trancount outside a transaction
select @@trancount
-- expect: 0

-- case: datefirst under us_english
select @@datefirst
-- expect: 7

-- case: object_id of a table
select case when object_id('Name') is not null then 1 else 0 end, case when object_id('dbo.Name') is not null then 1 else 0 end
-- expect: 1 | 1

-- case: object_id of a missing table
select object_id('No_Such_Table')
-- expect: NULL

-- case: object_id of a #table
create table #t (x int)
select case when object_id('tempdb..#t') is not null then 1 else 0 end
-- expect: 1

-- case: drop a #table when it is there
set nocount on
create table #t (x int)
if object_id('tempdb..#t') is not null drop table #t
create table #t (y int)
insert #t values (4)
select y from #t
-- expect: 4

-- case: db_name and suser_sname are known
select case when db_name() is not null then 1 else 0 end, case when suser_sname() is not null then 1 else 0 end
-- expect: 1 | 1

-- case: newid gives 36 characters
select len(convert(varchar(36), newid()))
-- expect: 36

-- case: object_id of a #table without tempdb and of one dropped
create table #t (x int)
declare @before int = object_id('#t')
drop table #t
select case when @before is not null then 1 else 0 end, object_id('tempdb..#t')
-- expect: 1 | NULL

-- case: object_id with a type finds only an object of that type
select case when object_id('[dbo].[Name]', 'U') is not null then 1 else 0 end, object_id('Name', 'V'), object_id('Name', 'P')
-- expect: 1 | NULL | NULL

-- case: object_id of a table is its number for every call
select case when object_id('Name') = object_id('NAME') then 1 else 0 end
-- expect: 1

-- case: newid differs from one call to the next
select case when newid() <> newid() then 1 else 0 end
-- expect: 1
