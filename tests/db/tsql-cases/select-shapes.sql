-- The shapes of a select: top, distinct, union, joins, derived tables, common
-- table expressions, group by and having, order by, offset, alias forms.

-- setup
create table Name (ID varchar(10) primary key, LAST_NAME varchar(30), CITY varchar(40),
                   MEMBER_TYPE varchar(5), DUES money);
insert into Name values ('1', 'Adams', 'Chicago', 'M', 100), ('2', 'Baker', 'Evanston', 'M', 100),
  ('3', 'Carter', 'Chicago', 'S', 50), ('4', 'Dunn', 'Skokie', NULL, NULL),
  ('5', 'Evans', 'Evanston', 'M', 120);
create table Member_Types (MEMBER_TYPE varchar(5), DESCRIPTION varchar(30), DUES_PAYING bit);
insert into Member_Types values ('M', 'Member', 1), ('S', 'Student', 0);
create table Activity (ID varchar(10), ACTIVITY_TYPE varchar(20), AMOUNT int);
insert into Activity values ('1', 'DUES', 100), ('1', 'GIFT', 25), ('2', 'DUES', 100), ('5', 'GIFT', 10);

-- case: top with order by
select top 2 ID from Name order by ID
-- expect: 1
-- expect: 2

-- case: top of a variable
declare @n int = 3
select top (@n) ID from Name order by ID desc
-- expect: 5
-- expect: 4
-- expect: 3

-- case: a trailing line comment keeps the top
select top 3 ID from Name order by ID -- three
-- expect: 1
-- expect: 2
-- expect: 3

-- case: top belongs to the first query of a union
select top 1 CITY from Name where CITY = 'Chicago' union all select MEMBER_TYPE from Member_Types order by 1
-- expect: Chicago
-- expect: M
-- expect: S

-- case: distinct top
select distinct top 2 CITY from Name order by CITY
-- expect: Chicago
-- expect: Evanston

-- case: top with ties
select top 1 with ties CITY from Name order by CITY
-- expect: Chicago
-- expect: Chicago
-- xfail: fails with number 49990: TOP ... WITH TIES is refused by name

-- case: top percent
select top 40 percent ID from Name order by ID
-- expect: 1
-- expect: 2

-- case: top percent of rows that a where clause keeps, and of none
declare @p int = 20
select (select count(*) from (select top (@p) percent ID from Name where ID > '1') t), (select count(*) from (select top 10 percent ID from Name where 1 = 0) u)
-- expect: 1 | 0

-- case: distinct
select distinct MEMBER_TYPE from Name where MEMBER_TYPE is not null order by MEMBER_TYPE
-- expect: M
-- expect: S

-- case: inner join
select n.LAST_NAME, t.DESCRIPTION from Name n join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE where n.ID = '3'
-- expect: Carter | Student

-- case: left join keeps rows without a match
select n.ID, t.DESCRIPTION from Name n left join Member_Types t on t.MEMBER_TYPE = n.MEMBER_TYPE where n.ID in ('3', '4') order by n.ID
-- expect: 3 | Student
-- expect: 4 | NULL

-- case: left join finds the rows without a match
select count(*) from Name n left outer join Activity a on a.ID = n.ID where a.ID is null
-- expect: 2

-- case: right join
select count(*) from Activity a right join Name n on n.ID = a.ID
-- expect: 6

-- case: a join on two conditions
select count(*) from Name n join Activity a on a.ID = n.ID and a.ACTIVITY_TYPE = 'gift'
-- expect: 2

-- case: derived table
select x.c from (select count(*) as c from Name where CITY = 'Evanston') x
-- expect: 2

-- case: common table expression
with c as (select ID from Name where CITY = 'Chicago') select count(*) from c
-- expect: 2

-- case: recursive common table expression
with n (i) as (select 1 union all select i + 1 from n where i < 5) select sum(i) from n
-- expect: 15

-- case: a recursion the query lets run past 100 levels
with n (i) as (select 1 union all select i + 1 from n where i < 150)
select count(*) from n option (maxrecursion 0)
-- expect: 150

-- case: a recursion past 100 levels without a hint stops
with n (i) as (select 1 union all select i + 1 from n where i < 150) select count(*) from n
-- expect-error: 530
-- xfail: no recursion is bounded, it gives 150

-- case: group by with having
select CITY, count(*) from Name group by CITY having count(*) > 1 order by CITY
-- expect: Chicago | 2
-- expect: Evanston | 2

-- case: group by a null
select MEMBER_TYPE, count(*) from Name group by MEMBER_TYPE order by MEMBER_TYPE
-- expect: NULL | 1
-- expect: M | 3
-- expect: S | 1

-- case: count distinct
select count(distinct CITY), count(distinct MEMBER_TYPE) from Name
-- expect: 3 | 2

-- case: union removes duplicates
select CITY from Name where ID in ('1', '3') union select 'Chicago'
-- expect: Chicago

-- case: except and intersect
select (select count(*) from (select ID from Name except select ID from Activity) e), (select count(*) from (select ID from Name intersect select ID from Activity) i)
-- expect: 2 | 3

-- case: order by a position and descending
select LAST_NAME, DUES from Name where DUES is not null order by 2 desc, 1
-- expect: Evans | 120
-- expect: Adams | 100
-- expect: Baker | 100
-- expect: Carter | 50

-- case: nulls sort first
select ID from Name order by MEMBER_TYPE, ID
-- expect: 4
-- expect: 1
-- expect: 2
-- expect: 5
-- expect: 3

-- case: offset and fetch
select ID from Name order by ID offset 1 rows fetch next 2 rows only
-- expect: 2
-- expect: 3

-- case: a name assigned with an equals sign
select KEYWORD = 'k', ICON = 23
-- expect: k | 23

-- case: a table named with its schema
select count(*) from dbo.Name
-- expect: 5

-- case: a double-quoted name is a column
select "LAST_NAME" from Name where ID = '2'
-- expect: Baker

-- case: exists with a correlated subquery
select count(*) from Name n where exists (select * from Activity a where a.ID = n.ID and a.AMOUNT > 20)
-- expect: 2

-- case: only the first result counts
select 'a' select 'b'
-- expect: a

-- case: a values constructor
select sum(x) from (values (1), (2), (3)) as v (x)
-- expect: 6
