-- Variables and control flow: declare, set, compound assignment, select
-- assignment, if/else, while with break and continue, try/catch, throw,
-- raiserror, transactions, print, return, exec of text.

-- setup
create table Item (ID int, NAME varchar(20), QTY int);
insert into Item values (1, 'a', 5), (2, 'b', 7), (3, 'c', 2);

-- case: declare then set
declare @n int
set @n = 5
select @n
-- expect: 5

-- case: declare several with values
declare @n int = 5, @s varchar(10) = 'x'
select @s + convert(varchar(10), @n)
-- expect: x5

-- case: compound assignment of numbers
declare @n int = 1
set @n += 1
set @n *= 10
set @n -= 3
select @n
-- expect: 17

-- case: compound assignment of text
declare @s varchar(10) = 'a'
set @s += 'b'
select @s
-- expect: ab

-- case: varchar without a length declares one character
declare @s varchar
set @s = 'abc'
select @s
-- expect: a

-- case: assignment cuts text to the variable's length
declare @s varchar(3) = 'abcdef'
select @s
-- expect: abc

-- case: select assignment runs over the rows in order
declare @s varchar(100) = ''
select @s = @s + NAME + ',' from Item order by NAME
select @s
-- expect: a,b,c,

-- case: select assignment in descending order cuts each row's text to the variable
declare @s varchar(2) = ''
select @s = concat(@s, NAME) from Item order by NAME desc
select @s
-- expect: cb

-- case: compound assignment in a select adds every row
declare @n int = 1
select @n += QTY from Item where ID > 1
select @n
-- expect: 10

-- case: select assignment reads what the earlier rows assigned inside a case
declare @n int = 0
select @n = case when @n > 4 then @n else @n + QTY end from Item order by ID
select @n
-- expect: 5

-- case: select assignment keeps the last row
declare @n int
select @n = QTY from Item order by ID
select @n
-- expect: 2

-- case: select assignment without rows keeps the value
declare @n int = 7
select @n = QTY from Item where 1 = 0
select @n
-- expect: 7

-- case: if and else
declare @n int = 3
if @n > 2 select 'big' else select 'small'
-- expect: big

-- case: if with begin and end
declare @n int = 0
if 1 = 1
begin
  set @n = 1
  set @n = @n + 1
end
select @n
-- expect: 2

-- case: if exists compares without case
if exists (select * from Item where NAME = 'A') select 'yes' else select 'no'
-- expect: yes

-- case: while loop
declare @i int = 0, @s int = 0
while @i < 5
begin
  set @i = @i + 1
  set @s = @s + @i
end
select @s
-- expect: 15

-- case: while with break
declare @i int = 0
while 1 = 1
begin
  set @i += 1
  if @i >= 3 break
end
select @i
-- expect: 3

-- case: while with continue
declare @i int = 0, @s int = 0
while @i < 6
begin
  set @i += 1
  if @i % 2 = 0 continue
  set @s += @i
end
select @s
-- expect: 9

-- case: try and catch read the error
declare @n int
begin try
  set @n = 1 / 0
end try
begin catch
  select error_number(), error_message()
end catch
-- expect: 8134 | Divide by zero error encountered.

-- case: try and catch of a conversion failure
begin try
  declare @n int = 'x'
end try
begin catch
  select error_number()
end catch
-- expect: 245

-- case: throw inside try
begin try
  throw 50001, 'custom', 1
end try
begin catch
  select error_number(), error_message()
end catch
-- expect: 50001 | custom

-- case: throw fails the batch
throw 50001, 'custom', 1
-- expect-error: 50001

-- case: raiserror with a message fails the batch
raiserror('boom', 16, 1)
-- expect-error: 50000

-- case: print gives no result
print 'hello'
select 'after'
-- expect: after

-- case: return ends the batch
set nocount on
declare @n int = 1
if @n = 1 return
select 'not reached'
-- expect-count

-- case: a table variable
set nocount on
declare @t table (ID int, NAME varchar(10))
insert @t values (1, 'a'), (2, 'b')
select count(*) from @t
-- expect: 2

-- case: the insert count comes first without nocount
declare @t table (x int)
insert @t values (1), (2)
select count(*) from @t
-- expect-count: 2

-- case: rollback undoes the insert
set nocount on
create table #t (x int)
begin tran
insert #t values (1)
rollback
select count(*) from #t
-- expect: 0

-- case: trancount inside a transaction
begin tran
declare @n int = @@trancount
commit
select @n
-- expect: 1

-- case: exec of a text
exec ('select 42')
-- expect: 42

-- case: sp_executesql with a parameter
exec sp_executesql N'select @x + 1', N'@x int', @x = 41
-- expect: 42

-- case: sp_executesql with parameters by position, a decimal among them
declare @d decimal(10, 2) = 1.25
exec sp_executesql N'select @a * @b', N'@a decimal(10, 2), @b int', @d, 4
-- expect: 5.00

-- case: sp_executesql without parameters
exec sp_executesql N'select 7'
-- expect: 7

-- case: a cursor walks the rows
declare @n int, @s int = 0
declare c cursor local fast_forward for select QTY from Item
open c
fetch next from c into @n
while @@fetch_status = 0
begin
  set @s += @n
  fetch next from c into @n
end
close c
deallocate c
select @s
-- expect-error: 49990
