SELECT t.rid FROM CtSvcPerson t -- it's a comment
/* n'' */ WHERE DATE_FORMAT(BIRTHDAY, '%%M-%%D') between '01-01' and '12-31'