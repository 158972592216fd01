-- Schema of DATABASE/nardelo.db. Text widths (GBK bytes) are in widths.tsv beside this file.

CREATE TABLE xjzp (
  line INTEGER PRIMARY KEY AUTOINCREMENT,
  rq TEXT,
  bz TEXT,
  zphm TEXT,
  xkr TEXT,
  shbank TEXT,
  shcode TEXT,
  et TEXT,
  an NUMERIC,
  fkhm TEXT,
  fkzh TEXT,
  kpr TEXT,
  fkrm TEXT
);
CREATE TABLE jzd (
  line INTEGER PRIMARY KEY AUTOINCREMENT,
  rq TEXT,
  bz TEXT,
  zphm TEXT,
  xkr TEXT,
  shbank TEXT,
  shcode TEXT,
  et TEXT,
  an NUMERIC,
  fkhm TEXT,
  fkzh TEXT,
  kpr TEXT
);
CREATE TABLE sescr (
  no INTEGER PRIMARY KEY,
  x1w INTEGER,
  y1w INTEGER,
  x2w INTEGER,
  y2w INTEGER,
  x3w INTEGER,
  y3w INTEGER,
  x4w INTEGER,
  y4w INTEGER,
  x5w INTEGER,
  y5w INTEGER,
  x6w INTEGER,
  y6w INTEGER,
  x7w INTEGER,
  y7w INTEGER,
  x8w INTEGER,
  y8w INTEGER,
  x9w INTEGER,
  y9w INTEGER,
  x10w INTEGER,
  y10w INTEGER,
  x11w INTEGER,
  y11w INTEGER,
  x12w INTEGER,
  y12w INTEGER,
  x13w INTEGER,
  y13w INTEGER,
  x14w INTEGER,
  y14w INTEGER,
  x15w INTEGER,
  y15w INTEGER,
  x16w INTEGER,
  y16w INTEGER,
  x17w INTEGER,
  y17w INTEGER,
  x18w INTEGER,
  y18w INTEGER,
  x19w INTEGER,
  y19w INTEGER,
  jj INTEGER,
  sex INTEGER,
  sey INTEGER
);
CREATE TABLE sefonent (
  seno INTEGER PRIMARY KEY,
  sefont1 INTEGER,
  sefont2 INTEGER,
  sefont3 INTEGER,
  senter1 INTEGER,
  senter2 INTEGER,
  senter3 INTEGER,
  senter4 INTEGER,
  sehigh1 INTEGER,
  sehigh2 INTEGER,
  sehigh3 INTEGER,
  sehigh4 INTEGER
);
CREATE TABLE prsz (
  prid INTEGER PRIMARY KEY,
  psname TEXT,
  bz TEXT
);
CREATE TABLE bankoffice (
  code INTEGER PRIMARY KEY AUTOINCREMENT,
  bankcode TEXT,
  bankoffice TEXT,
  printbank TEXT
);
CREATE TABLE skrbook (
  code INTEGER PRIMARY KEY AUTOINCREMENT,
  bs TEXT,
  skrname TEXT,
  skrcode TEXT,
  skrbank TEXT,
  prov TEXT,
  city TEXT,
  xian TEXT
);
CREATE TABLE fkrbook (
  code INTEGER PRIMARY KEY AUTOINCREMENT,
  bs TEXT,
  skrname TEXT,
  skrcode TEXT,
  skrbank TEXT,
  prov TEXT,
  city TEXT,
  xian TEXT
);
CREATE TABLE bs_1 (
  i_id INTEGER PRIMARY KEY AUTOINCREMENT,
  cid TEXT,
  ctext TEXT,
  ccode TEXT
);
CREATE TABLE myname (
  ltdname TEXT,
  prov TEXT,
  city TEXT,
  xian TEXT
);
CREATE TABLE pass (
  id INTEGER PRIMARY KEY,
  name TEXT,
  passwd TEXT
);
