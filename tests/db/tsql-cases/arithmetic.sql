-- Arithmetic and types: integer division, precedence, implicit conversion,
-- overflow, the mathematical built-ins.

-- setup
create table Item (ID int, QTY int, PRICE decimal(8,2), SCORE int);
insert into Item values (1, 10, 2.50, 40), (2, 20, 3.75, 55), (3, 25, 1.00, 53), (4, 0, 0.10, NULL);

-- case: integer division truncates
select 7 / 2
-- expect: 3

-- case: integer division of columns
select QTY / 3 from Item where ID = 2
-- expect: 6

-- case: a decimal literal makes the division decimal
select convert(varchar(20), 7 / 2.0)
-- expect: 3.500000

-- case: avg of integers is an integer
select avg(QTY) from Item where ID < 4
-- expect: 18

-- case: avg ignores nulls
select avg(SCORE) from Item
-- expect: 49

-- case: avg of a decimal keeps six decimals
select convert(varchar(40), avg(x)) from (values (1.0), (2.0), (4.0)) v(x)
-- expect: 2.333333

-- case: sum and count of a column with a null
select sum(SCORE), count(SCORE), count(*) from Item
-- expect: 148 | 3 | 4

-- case: multiplication binds before addition
select 2 + 3 * 4
-- expect: 14

-- case: decimal addition is exact
select case when 0.1 + 0.2 = 0.3 then 1 else 0 end
-- expect: 1

-- case: decimal differences and products keep their scale exactly
select case when 0.3 - 0.1 = 0.2 then 1 else 0 end, case when 1.1 * 1.1 = 1.21 then 1 else 0 end, case when cast(0.1 as money) + cast(0.2 as money) = 0.3 then 1 else 0 end
-- expect: 1 | 1 | 1

-- case: a text of digits added to a number is a number
select 1 + '2'
-- expect: 3

-- case: a number plus null is null
select 1 + null
-- expect: NULL

-- case: the type of case is the highest of its branches
select convert(varchar(10), case when 1 = 1 then 1 else 2.5 end)
-- expect: 1.0

-- case: int overflow is an error
select 2147483647 + 1
-- expect-error: 8115

-- case: int overflow below and in a product
declare @n int = -2147483647
select @n - 2
-- expect-error: 8115

-- case: int product past 32 bits
select 65536 * 65536
-- expect-error: 8115

-- case: bigint arithmetic goes past 32 bits
select cast(2147483647 as bigint) + 1, 2147483647 + 1.0
-- expect: 2147483648 | 2147483648

-- case: a literal past int is a decimal
select 2147483648 + 1
-- expect: 2147483649

-- case: cast to int truncates
select cast(3.7 as int), cast(-3.7 as int)
-- expect: 3 | -3

-- case: cast to tinyint out of range
select cast(300 as tinyint)
-- expect-error: 220

-- case: cast of a text with a fraction to int fails
select cast('3.7' as int)
-- expect-error: 245

-- case: the empty text converts to zero
select cast('' as int)
-- expect: 0

-- case: bit from numbers and text
select cast(5 as bit), cast(0 as bit), cast('true' as bit), cast('FALSE' as bit)
-- expect: 1 | 0 | 1 | 0

-- case: ceiling and floor
select ceiling(1.2), floor(-1.2), ceiling(-1.2), floor(1.8)
-- expect: 2 | -2 | -1 | 1

-- case: abs, sign and sqrt
select abs(-5), sign(-3), sign(0), sqrt(16)
-- expect: 5 | -1 | 0 | 4

-- case: round keeps the scale
select convert(varchar(10), round(2.567, 2))
-- expect: 2.570

-- case: round halves away from zero
select round(2.5, 0), round(-2.5, 0)
-- expect: 3 | -3

-- case: round with truncation
select convert(varchar(10), round(2.567, 1, 1))
-- expect: 2.500

-- case: power
select power(2, 10), power(2.0, 3)
-- expect: 1024 | 8

-- case: power of an int stays an int
select power(2, -1)
-- expect: 0

-- case: float to text keeps six digits
select convert(varchar(20), 1e0 / 3)
-- expect: 0.333333

-- case: decimal column times an int keeps its scale
select convert(varchar(20), PRICE * QTY) from Item where ID = 2
-- expect: 75.00

-- case: sum of a decimal column keeps its scale
select convert(varchar(20), sum(PRICE)) from Item
-- expect: 7.35
