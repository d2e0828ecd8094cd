-- Comparison and collation: SQL_Latin1_General_CP1_CI_AS compares text without
-- regard to case, with regard to accents, and ignores trailing blanks.

-- setup
create table Name (ID varchar(10) primary key, LAST_NAME varchar(30), CITY varchar(40),
                   EMAIL varchar(100), NOTE varchar(200));
insert into Name values
  ('1001', 'adams', 'Evanston', 'Ann.Adams@Example.org', 'Board member since 2010'),
  ('1002', 'Baker', 'Chicago', 'bob@example.org', 'Committee chair'),
  ('1003', 'carter', 'EVANSTON', 'cc@example.org', NULL),
  ('1004', 'Dunn', 'Skokie', 'dd@example.org', 'former BOARD member');
create table Email_List (EMAIL varchar(100), LIST varchar(20));
insert into Email_List values ('ann.adams@example.org', 'News'), ('BOB@EXAMPLE.ORG', 'Board'),
  ('nobody@example.org', 'News');

-- case: equality ignores case against a column
select count(*) from Name where CITY = 'EVANSTON'
-- expect: 2

-- case: equality ignores trailing blanks
select case when 'abc' = 'abc   ' then 1 else 0 end
-- expect: 1

-- case: the empty text equals blanks
select case when '' = '   ' then 1 else 0 end
-- expect: 1

-- case: accents count
select case when 'resume' = 'résumé' then 1 else 0 end
-- expect: 0

-- case: a join on e-mail ignores case
select count(*) from Name n join Email_List e on e.EMAIL = n.EMAIL
-- expect: 2

-- case: less than orders letters without regard to case
select case when 'apple' < 'BANANA' then 1 else 0 end
-- expect: 1

-- case: order by ignores case
select LAST_NAME from Name order by LAST_NAME
-- expect: adams
-- expect: Baker
-- expect: carter
-- expect: Dunn

-- case: in list ignores case
select count(*) from Name where CITY in ('evanston', 'skokie')
-- expect: 3

-- case: group by folds case
select count(*) from (select CITY from Name group by CITY) g
-- expect: 3

-- case: distinct ignores trailing blanks and case
select count(distinct x) from (values ('a'), ('a  '), ('A')) v(x)
-- expect: 1

-- case: max of text ignores case
select max(x) from (values ('b'), ('a'), ('C')) v(x)
-- expect: C

-- case: union removes duplicates that differ in case
select count(*) from (select 'a' as x union select 'A') u
-- expect: 1

-- case: charindex ignores case
select charindex('board', NOTE) from Name where ID = '1001'
-- expect: 1

-- case: charindex finds an upper-case word
select count(*) from Name where charindex('board', NOTE) > 0
-- expect: 2

-- case: replace ignores case
select replace('Board BOARD board', 'board', 'x')
-- expect: x x x

-- case: exists compares without case
if exists (select * from Name where LAST_NAME = 'BAKER') select 'yes' else select 'no'
-- expect: yes

-- case: case when compares without case
select case 'Chicago' when 'CHICAGO' then 'same' else 'different' end
-- expect: same
