-- LIKE: character classes, ranges, negation, escapes, without regard to case;
-- trailing blanks of the matched text are ignored, those of the pattern count.

-- setup
create table Phone (ID varchar(10), PHONE varchar(20), LAST_NAME varchar(30));
insert into Phone values ('1', '555-0100', 'Smith'), ('2', '555-0169', 'smythe'),
  ('3', '555-0170', 'Baker'), ('4', '555-0199', 'Carter'), ('5', '555-01x5', 'a_b'),
  ('6', '555-0200', 'O''Neil');

-- case: a range class matches digits
select count(*) from Phone where PHONE like '555-01[0-6][0-9]'
-- expect: 2

-- case: a negated class
select count(*) from Phone where PHONE like '555-01[^0-6]%'
-- expect: 3

-- case: a set of single characters
select count(*) from Phone where PHONE like '555-01[79]_'
-- expect: 2

-- case: underscore matches one character
select ID from Phone where PHONE like '555-01_5'
-- expect: 5

-- case: a class of letters ignores case
select count(*) from Phone where LAST_NAME like '[s]%'
-- expect: 2

-- case: a range of letters ignores case
select case when 'Baker' like '[a-c]%' then 1 else 0 end
-- expect: 1

-- case: like keeps accents apart
select case when 'résumé' like 'resume' then 1 else 0 end
-- expect: 0

-- case: an escape character
select case when '50% off' like '50!% off' escape '!' then 1 else 0 end
-- expect: 1

-- case: a bracketed percent is literal
select case when '50% off' like '50[%] off' then 1 else 0 end
-- expect: 1

-- case: a bracketed underscore is literal
select LAST_NAME from Phone where LAST_NAME like '%[_]%'
-- expect: a_b

-- case: trailing blanks of the matched text are ignored
select case when 'abc   ' like 'abc' then 1 else 0 end
-- expect: 1

-- case: trailing blanks of the pattern count
select case when 'abc' like 'abc ' then 1 else 0 end
-- expect: 0

-- case: a pattern made of a column
select count(*) from Phone p join Phone q on q.LAST_NAME like p.LAST_NAME + '%' where p.ID = '1'
-- expect: 1
