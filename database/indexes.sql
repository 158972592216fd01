-- Indexes of DATABASE/nardelo.db. The build creates them, and a connect adds those an older file lacks and makes
-- again those it has in another form than here (same name, other columns).
-- The registers are ordered by date in their editors and lists; the search looks up cheque numbers and payees.
-- Amounts and drawers get none: few of their searches are selective, and an index would reorder the results.

CREATE INDEX IF NOT EXISTS xjzp_rq ON xjzp (rq);
CREATE INDEX IF NOT EXISTS jzd_rq ON jzd (rq);
CREATE INDEX IF NOT EXISTS skrbook_bs ON skrbook (bs);
CREATE INDEX IF NOT EXISTS fkrbook_bs ON fkrbook (bs);
CREATE INDEX IF NOT EXISTS bs_1_cid ON bs_1 (cid);
CREATE INDEX IF NOT EXISTS xjzp_rq_fkhm ON xjzp (rq, fkhm);
CREATE INDEX IF NOT EXISTS jzd_rq_shbank ON jzd (rq, shbank);
CREATE INDEX IF NOT EXISTS xjzp_zphm ON xjzp (zphm);
-- The payee index holds the line too: it is the row id the index keeps anyway, so a payee's rows come in the same
-- order, but SQLite then takes the index for wider than the one-column ones and counts the register's rows in
-- one of those (the cheque numbers, a third of the payees' size) rather than in the payees' names.
CREATE INDEX IF NOT EXISTS xjzp_xkr ON xjzp (xkr, line);
-- Texts the lists and pickers order by, in GBK order (the collation every connection of the system carries):
-- the first rows of an ordered list come straight from the index instead of after sorting every row, and a
-- group's count and sum are read from the index alone.
CREATE INDEX IF NOT EXISTS xjzp_fkhm_gbk ON xjzp (fkhm COLLATE gbk, rq, an);
CREATE INDEX IF NOT EXISTS jzd_shbank_gbk ON jzd (shbank COLLATE gbk, rq, an);
CREATE INDEX IF NOT EXISTS skrbook_skrname_gbk ON skrbook (skrname COLLATE gbk);
CREATE INDEX IF NOT EXISTS fkrbook_skrname_gbk ON fkrbook (skrname COLLATE gbk);
-- The remarks carry their text too: the picker finds a record's place by counting the rows before it that match
-- the text searched for, and counts them in the index alone rather than looking up every row in the table.
CREATE INDEX IF NOT EXISTS bs_1_cid_gbk ON bs_1 (cid COLLATE gbk, ctext);
