-- Errors the server raises while a batch runs: each fails the definition with
-- the server's message number.

-- setup
create table Item (ID int, QTY int, CODE varchar(10));
insert into Item values (1, 5, '12'), (2, 0, 'x'), (3, 2, '7');

-- case: divide by zero
select 1 / 0
-- expect-error: 8134

-- case: modulo by zero
select 5 % 0
-- expect-error: 8134

-- case: divide by zero on a row
select count(*) from Item where 10 / QTY > 1
-- expect-error: 8134

-- case: divide by zero fails before the next result
select 1 / 0
select 2
-- expect-error: 8134

-- case: a text that is no number cast to int
select cast('abc' as int)
-- expect-error: 245

-- case: a text column converted on a row that is no number
select sum(convert(int, CODE)) from Item
-- expect-error: 245

-- case: a text that is no number compared with an int column
select count(*) from Item where ID = 'x'
-- expect-error: 245

-- case: a text that is no number cast to decimal
select cast('1,5' as decimal(5,2))
-- expect-error: 8114

-- case: a month that does not exist
select cast('2014-13-01' as date)
-- expect-error: 241

-- case: a text that is no date compared with a date
select case when cast('2014-01-01' as date) > 'someday' then 1 else 0 end
-- expect-error: 241

-- case: int overflow in a sum
select sum(x) from (values (2147483647), (1)) v(x)
-- expect-error: 8115

-- case: a sum of ints within int, and over a window
select sum(x), max(s) from (select x, sum(x) over (order by x) s from (values (2147483646), (1)) v(x)) w
-- expect: 2147483647 | 2147483647

-- case: a decimal too large for an int
select cast(3000000000.5 as int)
-- expect-error: 8115

-- case: a subquery returns more than one value
select (select ID from Item)
-- expect-error: 512

-- case: a subquery compared with a value returns more than one value
select count(*) from Item where ID = (select ID from Item where ID > 1)
-- expect-error: 512

-- case: a subquery of one row, of none and of one value per outer row
select (select ID from Item where ID = 2), (select ID from Item where ID = 99), (select count(*) from Item i where i.ID <= o.ID) from Item o where o.ID = 2
-- expect: 2 | NULL | 2

-- case: a correlated subquery that finds two rows for one outer row
select (select i.ID from Item i where i.ID >= o.ID) from Item o
-- expect-error: 512

-- case: sum of text is refused
select sum(CODE) from Item
-- expect-error: 8117

-- case: an error after a result still reaches the caller later, the first result stands
select 'first'
select 1 / 0
-- expect: first
