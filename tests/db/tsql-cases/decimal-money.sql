-- decimal and money keep their scale through variables, casts, columns and
-- arithmetic; money's convert styles 0, 1 and 2.

-- setup
create table Invoice (ID int, AMOUNT decimal(12,2), FEE money, RATE decimal(5,4));
insert into Invoice values (1, 75, 2400, 0.05), (2, 10.5, 19.99, 0.125);

-- case: a declared decimal keeps its scale as text
declare @d decimal(12,2) = 75 select convert(varchar(20), @d)
-- expect: 75.00

-- case: a decimal set later keeps its scale
declare @d decimal(10,3) set @d = 1.5 select convert(varchar(20), @d)
-- expect: 1.500

-- case: a decimal column keeps its scale as text
select convert(varchar(20), AMOUNT) from Invoice where ID = 1
-- expect: 75.00

-- case: a cast to decimal keeps its scale as text
select cast(cast(75 as decimal(12,2)) as varchar(20))
-- expect: 75.00

-- case: a decimal literal keeps its scale
select convert(varchar(10), 1.50)
-- expect: 1.50

-- case: a decimal times an int keeps the scale
select convert(varchar(30), AMOUNT * 2) from Invoice where ID = 1
-- expect: 150.00

-- case: the sum of two decimals takes the larger scale
select convert(varchar(30), AMOUNT + RATE) from Invoice where ID = 1
-- expect: 75.0500

-- case: decimal division by an int variable takes the scale of the rule
declare @i int = 3
select convert(varchar(30), cast(1 as decimal(10,2)) / @i)
-- expect: 0.3333333333333

-- case: a cast to a smaller scale rounds
select convert(varchar(20), cast(2.345 as decimal(5,2))), convert(varchar(20), cast(2.344 as decimal(5,2)))
-- expect: 2.35 | 2.34

-- case: a decimal too large for its precision
select cast(12345.6 as decimal(5,2))
-- expect-error: 8115

-- case: a decimal assigned to an int variable is truncated
declare @i int = 2.9 select @i
-- expect: 2

-- case: the sum of a decimal column keeps its scale
select convert(varchar(20), sum(AMOUNT)) from Invoice
-- expect: 85.50

-- case: money style 0
select convert(varchar(30), FEE) from Invoice where ID = 1
-- expect: 2400.00

-- case: money style 1 has thousands separators
select convert(varchar(30), FEE, 1) from Invoice where ID = 1
-- expect: 2,400.00

-- case: money style 2 has four decimals
select convert(varchar(30), FEE, 2) from Invoice where ID = 1
-- expect: 2400.0000

-- case: money style 1 on millions
declare @m money = 1234567.891 select convert(varchar(30), @m, 1)
-- expect: 1,234,567.89

-- case: money style 2 keeps four decimals of a variable
declare @m money = 1234.5678 select convert(varchar(30), @m, 2)
-- expect: 1234.5678

-- case: money as text rounds to two decimals
declare @m money = 1234.5678 select convert(varchar(30), @m)
-- expect: 1234.57

-- case: money divided by an int stays money
select convert(varchar(30), cast(10 as money) / 3, 2)
-- expect: 3.3333

-- case: cast of money to int rounds
select cast(cast(19.99 as money) as int)
-- expect: 20

-- case: a decimal(5,4) column as text
select convert(varchar(10), RATE) from Invoice where ID = 2
-- expect: 0.1250
