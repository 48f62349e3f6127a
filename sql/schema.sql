-- Database velmo: every table Dorvik reads or writes, and the two stored
-- procedures it calls.  For development, tests and a new, empty installation:
-- it drops and recreates every table, so never load it into a database in use.
--
--   mariadb -uroot -h127.0.0.1 -P<port> < sql/schema.sql
--
-- Rules that the program's statements depend on:
--  * Every NOT NULL column has a DEFAULT.  Scratch tables are made with
--    CREATE TABLE tmp<PC>xx ... (select * from xx LIMIT 0,0), which copies the
--    column definitions with their defaults (but not AUTO_INCREMENT or keys),
--    and a new scratch row is posted with only the columns the program sets.
--    A strict server refuses such a row if a NOT NULL column has no default.
--    A copied id column becomes "INT NOT NULL DEFAULT 0"; copying the row back
--    with id 0 makes the permanent table assign the next id.
--  * Text is cp1250 with the case-insensitive, trailing-space-ignoring
--    collation, so '' and ' ' compare equal (cislofakt = " ").
--  * Text widths: a value copied from one table into another by the program's
--    own UPDATE/INSERT ... SELECT must fit the target under strict mode
--    (seznam NAZEV -> dlterm NAZEV 40, zakarty nazevpodni -> uctenky popis2, ...).
--  * Quantities and money are DOUBLE.  Dates where a missing value means
--    something (not posted, not archived) are nullable.
--  * A stored procedure keeps the sql_mode it was created under; both are
--    written to run under strict mode and ONLY_FULL_GROUP_BY.

CREATE DATABASE IF NOT EXISTS velmo CHARACTER SET cp1250 COLLATE cp1250_general_ci;
USE velmo;

DROP PROCEDURE IF EXISTS seznam_stav;
DROP PROCEDURE IF EXISTS uctenky_odpis;

DROP TABLE IF EXISTS dl, dlrad, fakt, adresar, zakazky, zakarty, dlterm,
  seznam, seznamean, strediska, prijem, prirad, uctenky, uctenkynakl,
  sklinv, sklinvarch, velmo, skupiny;

-- Issue document headers.  Numbers: delivery notes (VNITRO = 0) and internal
-- issue slips (VNITRO = 1) of a cost centre form two series; the editor takes
-- the highest number above the series base plus one.
CREATE TABLE dl (
  CISLODOKLA  INT          NOT NULL DEFAULT 0,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  DATUM       DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  CISLOFAKT   VARCHAR(20)  NOT NULL DEFAULT '',   -- '' = not invoiced
  VNITRO      INT          NOT NULL DEFAULT 0,    -- delivery notes keep the default
  KODPAR      VARCHAR(10)  NOT NULL DEFAULT '',
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  NAZEVPODNI  VARCHAR(50)  NOT NULL DEFAULT '',
  SIDLO       VARCHAR(40)  NOT NULL DEFAULT '',
  ULICECISLO  VARCHAR(40)  NOT NULL DEFAULT '',
  PSC         VARCHAR(6)   NOT NULL DEFAULT '',
  POSTA       VARCHAR(40)  NOT NULL DEFAULT '',
  DIC         VARCHAR(20)  NOT NULL DEFAULT '',
  OBJEDNAVKA  VARCHAR(15)  NOT NULL DEFAULT '',
  ZAKAZKA     VARCHAR(15)  NOT NULL DEFAULT '',
  TEXT1       VARCHAR(100) NOT NULL DEFAULT '',
  TEXT2       VARCHAR(100) NOT NULL DEFAULT '',
  TEXT3       VARCHAR(100) NOT NULL DEFAULT '',
  datumzauct  DATE         NULL DEFAULT NULL,     -- posted when after 1999-11-11
  datumzaucf  DATE         NULL DEFAULT NULL,
  PRIMARY KEY (CISLODOKLA),
  KEY STRCIS (STREDISKO, CISLODOKLA),
  KEY DATUM (DATUM),
  KEY ZAKAZKA (ZAKAZKA)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Issue document lines.  Kinds and widths are fixed: the line grids bind them.
CREATE TABLE dlrad (
  id          INT          NOT NULL AUTO_INCREMENT,
  CISLODOKLA  INT          NOT NULL DEFAULT 0,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  MNOZ        DOUBLE       NOT NULL DEFAULT 0,
  NC          DOUBLE       NOT NULL DEFAULT 0,
  CENAR       DOUBLE       NOT NULL DEFAULT 0,
  PC          DOUBLE       NOT NULL DEFAULT 0,
  DPH         SMALLINT     NOT NULL DEFAULT 0,
  PCSD        DOUBLE       NOT NULL DEFAULT 0,
  PCR         DOUBLE       NOT NULL DEFAULT 0,
  ZUSTATEK    DOUBLE       NOT NULL DEFAULT 0,
  EAN         VARCHAR(20)  NOT NULL DEFAULT '',
  FOFRCISLO   INT          NOT NULL DEFAULT 0,
  POVAHA      VARCHAR(1)   NOT NULL DEFAULT '',
  POLOZKA     VARCHAR(20)  NOT NULL DEFAULT '',
  VYDEJKA     INT          NOT NULL DEFAULT 0,
  KDY         DATETIME     NULL DEFAULT NULL,
  POPIS       VARCHAR(50)  NOT NULL DEFAULT '',
  POPIS2      VARCHAR(50)  NOT NULL DEFAULT '',
  VOCASEK     DOUBLE       NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY CISLODOKLA (CISLODOKLA),
  KEY STRJKP (STREDISKO, JKPOV, MNOZ)   -- MNOZ: the stock sums read the index alone
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Invoice rows; the header and totals repeat on every row of one CFAKT.
-- id order is print order, so it must stay AUTO_INCREMENT.
CREATE TABLE fakt (
  id          INT          NOT NULL AUTO_INCREMENT,
  TEXT        VARCHAR(120) NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  MNOZSTVI    DOUBLE       NOT NULL DEFAULT 0,
  CENA        DOUBLE       NOT NULL DEFAULT 0,
  CELKEM      DOUBLE       NOT NULL DEFAULT 0,
  DAN         INT          NOT NULL DEFAULT 0,
  DPH         DOUBLE       NOT NULL DEFAULT 0,
  CFAKT       BIGINT       NOT NULL DEFAULT 0,
  PORADOVEC   VARCHAR(3)   NOT NULL DEFAULT '',
  RADA        VARCHAR(16)  NOT NULL DEFAULT '',
  KS          VARCHAR(4)   NOT NULL DEFAULT '',
  OBJEDNAVKA  VARCHAR(15)  NOT NULL DEFAULT '',
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  KODZAK      VARCHAR(10)  NOT NULL DEFAULT '',
  DICO        VARCHAR(20)  NOT NULL DEFAULT '',
  ODB1        VARCHAR(50)  NOT NULL DEFAULT '',
  ODB2        VARCHAR(40)  NOT NULL DEFAULT '',
  ODB3        VARCHAR(40)  NOT NULL DEFAULT '',
  ODB4        VARCHAR(40)  NOT NULL DEFAULT '',
  ODBPSC      VARCHAR(6)   NOT NULL DEFAULT '',
  SPLATNOST   DATE         NULL DEFAULT NULL,
  VYSTAVENI   DATE         NULL DEFAULT NULL,
  PLNENI      DATE         NULL DEFAULT NULL,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  DODACILIST  VARCHAR(12)  NOT NULL DEFAULT '',
  UHRADA      VARCHAR(30)  NOT NULL DEFAULT '',
  DISPOZICE   VARCHAR(15)  NOT NULL DEFAULT '',
  SUMA_Z0     DOUBLE       NOT NULL DEFAULT 0,
  SUMA_ZN     DOUBLE       NOT NULL DEFAULT 0,
  SUMA_ZV     DOUBLE       NOT NULL DEFAULT 0,
  SUMA_ZS     DOUBLE       NOT NULL DEFAULT 0,
  SUMA_DPHN   DOUBLE       NOT NULL DEFAULT 0,
  SUMA_DPHV   DOUBLE       NOT NULL DEFAULT 0,
  SUMA_DPHS   DOUBLE       NOT NULL DEFAULT 0,
  SUMA_FA     DOUBLE       NOT NULL DEFAULT 0,
  ZAOK        DOUBLE       NOT NULL DEFAULT 0,
  HALERE      DOUBLE       NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY CFAKT (CFAKT),
  KEY STRCFAKT (STREDISKO, CFAKT),
  KEY VYSTAVENI (VYSTAVENI),
  KEY PLNENI (PLNENI)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Partners.  ICO of at most 3 characters = an internal unit.
CREATE TABLE adresar (
  id          INT          NOT NULL AUTO_INCREMENT,
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  NAZEVPODNI  VARCHAR(50)  NOT NULL DEFAULT '',
  SIDLO       VARCHAR(40)  NOT NULL DEFAULT '',
  ULICECISLO  VARCHAR(40)  NOT NULL DEFAULT '',
  PSC         VARCHAR(6)   NOT NULL DEFAULT '',
  POSTA       VARCHAR(40)  NOT NULL DEFAULT '',
  TELEFON     VARCHAR(20)  NOT NULL DEFAULT '',
  KOD_PLATCE  VARCHAR(20)  NOT NULL DEFAULT '',
  EMAILOBJ    VARCHAR(60)  NOT NULL DEFAULT '',
  SLEVA       DOUBLE       NOT NULL DEFAULT 0,
  KONTAKT     VARCHAR(40)  NOT NULL DEFAULT '',   -- not shown by Dorvik; carried along by the copy
  POZNAMKA    VARCHAR(100) NOT NULL DEFAULT '',
  PRIMARY KEY (id),
  KEY ICO (ICO),
  KEY NAZEVPODNI (NAZEVPODNI)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Orders (jobs).  Open = DATUMDO not before now.
CREATE TABLE zakazky (
  id          INT          NOT NULL AUTO_INCREMENT,
  ZAKAZKA     VARCHAR(15)  NOT NULL DEFAULT '',
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  NAZEVPODNI  VARCHAR(50)  NOT NULL DEFAULT '',
  POPIS       VARCHAR(60)  NOT NULL DEFAULT '',
  DATUMOD     DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  DATUMDO     DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (id),
  KEY ZAKAZKA (ZAKAZKA),
  KEY ICO (ICO)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Loyalty cards; CISLOKARTY = "209" + id padded to 5 digits.
CREATE TABLE zakarty (
  id          INT          NOT NULL AUTO_INCREMENT,
  CISLOKARTY  VARCHAR(20)  NOT NULL DEFAULT '',
  PLATI       VARCHAR(1)   NOT NULL DEFAULT 'A',
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  NAZEVPODNI  VARCHAR(50)  NOT NULL DEFAULT '',
  DATUMZAL    DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  SLEVA       DOUBLE       NOT NULL DEFAULT 0,
  SUMAKC      DOUBLE       NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY CISLOKARTY (CISLOKARTY)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Lines captured by the hand terminal.  Kinds and widths are fixed: the
-- terminal list window binds them.
CREATE TABLE dlterm (
  id          INT          NOT NULL AUTO_INCREMENT,
  ODBERATEL   VARCHAR(10)  NOT NULL DEFAULT '',
  DATUMCAS    DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  DATUM       VARCHAR(10)  NOT NULL DEFAULT '',
  CAS         VARCHAR(5)   NOT NULL DEFAULT '',
  TERMINAL    SMALLINT     NOT NULL DEFAULT 0,
  STREDISKO   VARCHAR(3)   NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  MNOZ        DOUBLE       NOT NULL DEFAULT 0,
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  PC          DOUBLE       NOT NULL DEFAULT 0,
  DPH         SMALLINT     NOT NULL DEFAULT 0,
  PCSD        DOUBLE       NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY STRODB (STREDISKO, ODBERATEL),
  KEY STRJKP (STREDISKO, JKPOV)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Goods list, one row per cost centre and item.  ZUSTATEK and STAV are
-- recalculated by seznam_stav().
CREATE TABLE seznam (
  id          INT          NOT NULL AUTO_INCREMENT,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  zkratka     VARCHAR(20)  NOT NULL DEFAULT '',
  POVAHA      VARCHAR(1)   NOT NULL DEFAULT '',   -- P service, K whole pieces
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  PC          DOUBLE       NOT NULL DEFAULT 0,
  DPH         SMALLINT     NOT NULL DEFAULT 0,
  PCSD        DOUBLE       NOT NULL DEFAULT 0,
  NC          DOUBLE       NOT NULL DEFAULT 0,
  PNC         DOUBLE       NOT NULL DEFAULT 0,
  EAN         VARCHAR(20)  NOT NULL DEFAULT '',
  FOFRCISLO   INT          NOT NULL DEFAULT 0,    -- > 0: the item has a fast number
  ZUSTATEK    DOUBLE       NOT NULL DEFAULT 0,
  STAV        DOUBLE       NOT NULL DEFAULT 0,
  MNOZ        DOUBLE       NOT NULL DEFAULT 0,
  SKUPINA     VARCHAR(10)  NOT NULL DEFAULT '',
  POPIS       VARCHAR(50)  NOT NULL DEFAULT '',
  POPIS2      VARCHAR(50)  NOT NULL DEFAULT '',
  AKTIVNI     VARCHAR(1)   NOT NULL DEFAULT 'A',
  PRIMARY KEY (id),
  UNIQUE KEY STRJKP (STREDISKO, JKPOV),
  KEY STREAN (STREDISKO, EAN),
  KEY STRFOFR (STREDISKO, FOFRCISLO),
  KEY STRNAZEV (STREDISKO, NAZEV)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Further EAN codes of items.
CREATE TABLE seznamean (
  id          INT          NOT NULL AUTO_INCREMENT,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  EAN         VARCHAR(20)  NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  PRIMARY KEY (id),
  KEY STREAN (STREDISKO, EAN),
  KEY STRJKP (STREDISKO, JKPOV)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Cost centres with the owner's company data (the supplier block of invoices).
CREATE TABLE strediska (
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  DIC         VARCHAR(20)  NOT NULL DEFAULT '',
  FIRMA       VARCHAR(60)  NOT NULL DEFAULT '',
  ADR2        VARCHAR(60)  NOT NULL DEFAULT '',
  ADR3        VARCHAR(60)  NOT NULL DEFAULT '',
  ADR4        VARCHAR(60)  NOT NULL DEFAULT '',
  BANKA       VARCHAR(40)  NOT NULL DEFAULT '',
  UCET        VARCHAR(30)  NOT NULL DEFAULT '',
  OBRE        VARCHAR(100) NOT NULL DEFAULT '',
  PRIMARY KEY (STREDISKO)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Goods receipt headers; lines join them on CISLODOKLA alone.
CREATE TABLE prijem (
  CISLODOKLA  INT          NOT NULL DEFAULT 0,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  DATUM       DATE         NULL DEFAULT NULL,
  NAZEVPODNI  VARCHAR(50)  NOT NULL DEFAULT '',
  ICO         VARCHAR(15)  NOT NULL DEFAULT '',
  CISLOFAKT   VARCHAR(20)  NOT NULL DEFAULT '',   -- supplier's invoice
  PRIMARY KEY (CISLODOKLA),
  KEY DATUM (DATUM),
  KEY STREDISKO (STREDISKO)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Goods receipt lines; each is a stock lot, ZUSTATEK = what is left of it.
CREATE TABLE prirad (
  id          INT          NOT NULL AUTO_INCREMENT,
  CISLODOKLA  INT          NOT NULL DEFAULT 0,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  MNOZ        DOUBLE       NOT NULL DEFAULT 0,
  NC          DOUBLE       NOT NULL DEFAULT 0,
  CENAR       DOUBLE       NOT NULL DEFAULT 0,
  POLOZKA     VARCHAR(20)  NOT NULL DEFAULT '',
  ZUSTATEK    DOUBLE       NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY CISLODOKLA (CISLODOKLA),
  KEY STRJKP (STREDISKO, JKPOV, MNOZ)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Point-of-sale receipt lines; the receipt header repeats on each line.
-- nc = 0: not yet written off.  povaha "P" lines are never written off.
CREATE TABLE uctenky (
  id          INT          NOT NULL AUTO_INCREMENT,
  cisuctenky  INT          NOT NULL DEFAULT 0,
  id2         INT          NOT NULL DEFAULT 0,
  stredisko   VARCHAR(10)  NOT NULL DEFAULT '',
  datum       DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  typplatby   VARCHAR(20)  NOT NULL DEFAULT '',
  soucetu     DOUBLE       NOT NULL DEFAULT 0,
  soucetuzao  DOUBLE       NOT NULL DEFAULT 0,
  z0          DOUBLE       NOT NULL DEFAULT 0,
  z5          DOUBLE       NOT NULL DEFAULT 0,
  d5          DOUBLE       NOT NULL DEFAULT 0,
  z23         DOUBLE       NOT NULL DEFAULT 0,
  d23         DOUBLE       NOT NULL DEFAULT 0,
  z1          DOUBLE       NOT NULL DEFAULT 0,
  d1          DOUBLE       NOT NULL DEFAULT 0,
  jkpov       VARCHAR(20)  NOT NULL DEFAULT '',
  nazev       VARCHAR(40)  NOT NULL DEFAULT '',
  mnoz        DOUBLE       NOT NULL DEFAULT 0,
  nc          DOUBLE       NOT NULL DEFAULT 0,
  povaha      VARCHAR(1)   NOT NULL DEFAULT '',
  CENAR       DOUBLE       NOT NULL DEFAULT 0,
  DPH         SMALLINT     NOT NULL DEFAULT 0,
  sleva       DOUBLE       NOT NULL DEFAULT 0,
  cenar0      DOUBLE       NOT NULL DEFAULT 0,
  cislokarty  VARCHAR(20)  NOT NULL DEFAULT '',
  popis2      VARCHAR(50)  NOT NULL DEFAULT '',   -- takes zakarty.NAZEVPODNI in the card report
  slevaproc   DOUBLE       NOT NULL DEFAULT 0,
  ean         VARCHAR(20)  NOT NULL DEFAULT '',   -- takes zakarty.ICO in the card report
  PRIMARY KEY (id),
  KEY STRNC (stredisko, nc),
  -- unwritten lines: the write-off's selection in its own order, and the
  -- stock sum of seznam_stav(), both from the index alone
  KEY NEODEPSANE (nc, stredisko, jkpov, mnoz, povaha),
  KEY STRJKPDAT (stredisko, jkpov, datum),
  KEY DATUM (datum),
  KEY CISUCTENKY (cisuctenky)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Costing of written-off receipt lines (one row per line, written by
-- uctenky_odpis); the stock reports count these as issues.
CREATE TABLE uctenkynakl (
  id          INT          NOT NULL AUTO_INCREMENT,
  CISLODOKLA  INT          NOT NULL DEFAULT 0,    -- the receipt number (uctenky.cisuctenky)
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  DATUM       DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  MNOZ        DOUBLE       NOT NULL DEFAULT 0,
  NC          DOUBLE       NOT NULL DEFAULT 0,
  CENAR       DOUBLE       NOT NULL DEFAULT 0,
  VOCASEK     DOUBLE       NOT NULL DEFAULT 0,
  IDUCTENKY   INT          NOT NULL DEFAULT 0,    -- uctenky.id of the line
  PRIMARY KEY (id),
  KEY STRJKP (STREDISKO, JKPOV, MNOZ),
  KEY DATUM (DATUM),
  KEY IDUCTENKY (IDUCTENKY)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Inventory counts from the hand terminal.  The inventory report copies the
-- structure, fills zustatekpc/prodej/rozdil itself and archives the copy into
-- sklinvarch with "select *", so both tables keep the same columns in the same
-- order.  prodej and rozdil are nullable as the terminal leaves them; the
-- report writes 0 sold for an item without later sales, so both get a value.
CREATE TABLE sklinv (
  id          INT          NOT NULL AUTO_INCREMENT,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  DATUMCAS    DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  STAVINV     DOUBLE       NOT NULL DEFAULT 0,
  TERMINAL    SMALLINT     NOT NULL DEFAULT 0,
  SKUPINA     VARCHAR(10)  NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  POVAHA      VARCHAR(1)   NOT NULL DEFAULT '',
  zustatekpc  DOUBLE       NOT NULL DEFAULT 0,
  prodej      DOUBLE       NULL DEFAULT NULL,
  rozdil      DOUBLE       NULL DEFAULT NULL,
  DATUM       VARCHAR(10)  NOT NULL DEFAULT '',   -- archive stamp "yyyy-mm-dd"
  CAS         VARCHAR(5)   NOT NULL DEFAULT '',   -- archive stamp "hh:mm"
  PRIMARY KEY (id),
  KEY STRJKP (STREDISKO, JKPOV)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- Archived inventory results; archived rows arrive with id 0 and get their own.
CREATE TABLE sklinvarch (
  id          INT          NOT NULL AUTO_INCREMENT,
  STREDISKO   VARCHAR(10)  NOT NULL DEFAULT '',
  JKPOV       VARCHAR(20)  NOT NULL DEFAULT '',
  DATUMCAS    DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  STAVINV     DOUBLE       NOT NULL DEFAULT 0,
  TERMINAL    SMALLINT     NOT NULL DEFAULT 0,
  SKUPINA     VARCHAR(10)  NOT NULL DEFAULT '',
  MJ          VARCHAR(3)   NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  POVAHA      VARCHAR(1)   NOT NULL DEFAULT '',
  zustatekpc  DOUBLE       NOT NULL DEFAULT 0,
  prodej      DOUBLE       NULL DEFAULT NULL,
  rozdil      DOUBLE       NULL DEFAULT NULL,
  DATUM       VARCHAR(10)  NOT NULL DEFAULT '',
  CAS         VARCHAR(5)   NOT NULL DEFAULT '',
  PRIMARY KEY (id),
  KEY STRDATCAS (STREDISKO, DATUM, CAS),
  KEY DATCAS (DATUM, CAS)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

-- The suite's settings, one row.  uzavreneuo = last closed accounting month "yyyymm".
CREATE TABLE velmo (
  id          INT          NOT NULL AUTO_INCREMENT,
  uzavreneuo  VARCHAR(6)   NOT NULL DEFAULT '',
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;

INSERT INTO velmo (id, uzavreneuo) VALUES (1, '202510');

-- Item groups (seznam.SKUPINA) in display order.
CREATE TABLE skupiny (
  id          INT          NOT NULL AUTO_INCREMENT,
  SKUPINA     VARCHAR(10)  NOT NULL DEFAULT '',
  NAZEV       VARCHAR(40)  NOT NULL DEFAULT '',
  poradi      INT          NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  UNIQUE KEY SKUPINA (SKUPINA),
  KEY poradi (poradi)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;


DELIMITER //

-- seznam_stav(): stock of every goods-list row, from the movements.
--
--   ZUSTATEK = sum(prirad.MNOZ) - sum(dlrad.MNOZ) - sum(uctenkynakl.MNOZ)
--   STAV     = ZUSTATEK - sum(uctenky.mnoz where nc = 0 and povaha <> 'P')
--
-- each sum per (STREDISKO, JKPOV) of the line itself (not of its document
-- header), a missing sum counting 0: receipts minus issue lines minus
-- written-off sales, and STAV also less what the till has sold but not yet
-- written off.  ZUSTATEK is computed with the same sums subtracted in the same
-- order as the stock control report does, so equal data compare equal there.
-- Rows of items without any movement get 0.  Set-based: one grouped insert
-- per movement table into a keyed temporary table, then one joined UPDATE.
CREATE PROCEDURE seznam_stav()
  MODIFIES SQL DATA
  SQL SECURITY INVOKER
BEGIN
  DROP TEMPORARY TABLE IF EXISTS stav_prijem, stav_vydej, stav_odpis, stav_pokladna;

  CREATE TEMPORARY TABLE stav_prijem (
    STREDISKO VARCHAR(10) NOT NULL, JKPOV VARCHAR(20) NOT NULL, MNOZ DOUBLE NOT NULL,
    PRIMARY KEY (STREDISKO, JKPOV)) DEFAULT CHARSET=cp1250 COLLATE cp1250_general_ci;
  CREATE TEMPORARY TABLE stav_vydej LIKE stav_prijem;
  CREATE TEMPORARY TABLE stav_odpis LIKE stav_prijem;
  CREATE TEMPORARY TABLE stav_pokladna LIKE stav_prijem;

  INSERT INTO stav_prijem (STREDISKO, JKPOV, MNOZ)
    SELECT STREDISKO, JKPOV, SUM(MNOZ) FROM prirad GROUP BY STREDISKO, JKPOV;
  INSERT INTO stav_vydej (STREDISKO, JKPOV, MNOZ)
    SELECT STREDISKO, JKPOV, SUM(MNOZ) FROM dlrad GROUP BY STREDISKO, JKPOV;
  INSERT INTO stav_odpis (STREDISKO, JKPOV, MNOZ)
    SELECT STREDISKO, JKPOV, SUM(MNOZ) FROM uctenkynakl GROUP BY STREDISKO, JKPOV;
  INSERT INTO stav_pokladna (STREDISKO, JKPOV, MNOZ)
    SELECT stredisko, jkpov, SUM(mnoz) FROM uctenky
     WHERE nc = 0 AND povaha <> 'P'
     GROUP BY stredisko, jkpov;

  UPDATE seznam s
    LEFT JOIN stav_prijem p   ON p.STREDISKO = s.STREDISKO AND p.JKPOV = s.JKPOV
    LEFT JOIN stav_vydej v    ON v.STREDISKO = s.STREDISKO AND v.JKPOV = s.JKPOV
    LEFT JOIN stav_odpis o    ON o.STREDISKO = s.STREDISKO AND o.JKPOV = s.JKPOV
    LEFT JOIN stav_pokladna k ON k.STREDISKO = s.STREDISKO AND k.JKPOV = s.JKPOV
     SET s.ZUSTATEK = COALESCE(p.MNOZ, 0) - COALESCE(v.MNOZ, 0) - COALESCE(o.MNOZ, 0),
         s.STAV     = COALESCE(p.MNOZ, 0) - COALESCE(v.MNOZ, 0) - COALESCE(o.MNOZ, 0)
                      - COALESCE(k.MNOZ, 0);

  DROP TEMPORARY TABLE IF EXISTS stav_prijem, stav_vydej, stav_odpis, stav_pokladna;
END //


-- uctenky_odpis(stredisko, jkpov, mnoz, id): writes off till line `id`.
--
-- The line is found by id; item, cost centre, quantity, receipt number and
-- sale time are taken from the stored line (the other arguments are what the
-- caller read from that same line).  In one transaction:
--
--  * Sale (mnoz > 0): consumes the cost centre's lots of the item (prirad rows
--    with ZUSTATEK > 0), first in first out by receipt date (prijem.DATUM via
--    CISLODOKLA; a lot without a receipt header counts as oldest), ties by
--    prirad.id.  Cost = sum of consumed quantity x lot NC.
--  * Not enough stock in the lots: what the lots hold is consumed, the rest is
--    costed at the item's last known cost (NC of its newest lot, else
--    seznam.NC, else 0).  No lot goes below 0; the shortfall shows as negative
--    stock through seznam_stav(), which counts the costing row.
--  * Return (mnoz < 0): the quantity goes back into the newest lot of the item
--    (ZUSTATEK increased) at that lot's NC; without any lot it is costed at
--    seznam.NC and no lot changes.  mnoz = 0 consumes nothing.
--  * Always exactly one costing row in uctenkynakl: CISLODOKLA = cisuctenky,
--    DATUM = the sale time, MNOZ = the line's quantity, CENAR = cost value
--    (2 decimals), NC = CENAR / MNOZ before rounding (4 decimals; the last
--    cost when MNOZ = 0), VOCASEK 0, IDUCTENKY = id.
--  * The line's nc becomes the unit cost.  A unit cost of 0 (free lots, no
--    known cost) would leave the line looking unwritten and the next run would
--    book it again, so nc then gets the marker 0.0001; the true cost (0) is in
--    the costing row, which is what the reports add up.
--  * A line that is already written off (nc <> 0), a service line (povaha
--    'P', never stock) and an unknown id are left alone: nothing is booked.
--
-- The line row is locked first (SELECT ... FOR UPDATE) and checked inside the
-- transaction, so two workstations writing off the same line book it once.
-- The procedure starts its own transaction (callers run it with autocommit
-- on); any error rolls the whole write-off back.
CREATE PROCEDURE uctenky_odpis(
  IN p_stredisko VARCHAR(10),
  IN p_jkpov     VARCHAR(20),
  IN p_mnoz      VARCHAR(30),
  IN p_id        VARCHAR(20))
  MODIFIES SQL DATA
  SQL SECURITY INVOKER
BEGIN
  DECLARE v_id       INT;
  DECLARE v_nenalez  INT DEFAULT 0;
  DECLARE v_str      VARCHAR(10);
  DECLARE v_jkp      VARCHAR(20);
  DECLARE v_mnoz     DOUBLE;
  DECLARE v_nc       DOUBLE;
  DECLARE v_povaha   VARCHAR(1);
  DECLARE v_cis      INT;
  DECLARE v_datum    DATETIME;
  DECLARE v_nazev    VARCHAR(40);
  DECLARE v_mj       VARCHAR(3) DEFAULT '';
  DECLARE v_snazev   VARCHAR(40) DEFAULT '';
  DECLARE v_snc      DOUBLE DEFAULT 0;
  DECLARE v_zbyva    DOUBLE;            -- quantity still to take from lots
  DECLARE v_hodnota  DOUBLE DEFAULT 0;  -- cost value booked
  DECLARE v_lot      INT;
  DECLARE v_lotzus   DOUBLE;
  DECLARE v_lotnc    DOUBLE;
  DECLARE v_vezmi    DOUBLE;
  DECLARE v_poslnc   DOUBLE;            -- last known unit cost
  DECLARE v_posllot  INT DEFAULT NULL;  -- newest lot
  DECLARE v_jednc    DOUBLE;
  DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_nenalez = 1;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    ROLLBACK;
    RESIGNAL;
  END;

  SET v_id = p_id;

  START TRANSACTION;

  SET v_nenalez = 0;
  SELECT stredisko, jkpov, mnoz, nc, povaha, cisuctenky, datum, nazev
    INTO v_str, v_jkp, v_mnoz, v_nc, v_povaha, v_cis, v_datum, v_nazev
    FROM uctenky WHERE id = v_id FOR UPDATE;

  IF v_nenalez = 1 OR v_nc <> 0 OR v_povaha = 'P' THEN
    COMMIT;
  ELSE
    SET v_nenalez = 0;
    SELECT MJ, NAZEV, NC INTO v_mj, v_snazev, v_snc
      FROM seznam WHERE STREDISKO = v_str AND JKPOV = v_jkp LIMIT 1;

    -- Newest lot (any remaining quantity): the item's last known cost.
    SET v_nenalez = 0;
    SELECT r.id, r.NC INTO v_posllot, v_poslnc
      FROM prirad r
     WHERE r.STREDISKO = v_str AND r.JKPOV = v_jkp
     ORDER BY (SELECT h.DATUM FROM prijem h WHERE h.CISLODOKLA = r.CISLODOKLA) DESC, r.id DESC
     LIMIT 1 FOR UPDATE;
    IF v_nenalez = 1 THEN
      SET v_posllot = NULL;
      SET v_poslnc = v_snc;
    END IF;

    IF v_mnoz > 0 THEN
      SET v_zbyva = v_mnoz;
      lots: WHILE v_zbyva > 0 DO
        SET v_nenalez = 0;
        SELECT r.id, r.ZUSTATEK, r.NC INTO v_lot, v_lotzus, v_lotnc
          FROM prirad r
         WHERE r.STREDISKO = v_str AND r.JKPOV = v_jkp AND r.ZUSTATEK > 0
         ORDER BY (SELECT h.DATUM FROM prijem h WHERE h.CISLODOKLA = r.CISLODOKLA), r.id
         LIMIT 1 FOR UPDATE;
        IF v_nenalez = 1 THEN
          LEAVE lots;
        END IF;
        IF v_lotzus <= v_zbyva THEN
          SET v_vezmi = v_lotzus;
          UPDATE prirad SET ZUSTATEK = 0 WHERE id = v_lot;
        ELSE
          SET v_vezmi = v_zbyva;
          -- rounded to drop binary noise below the 4 decimals of a quantity
          UPDATE prirad SET ZUSTATEK = ROUND(ZUSTATEK - v_vezmi, 6) WHERE id = v_lot;
        END IF;
        SET v_hodnota = v_hodnota + v_vezmi * v_lotnc;
        SET v_zbyva = ROUND(v_zbyva - v_vezmi, 6);
      END WHILE;
      IF v_zbyva > 0 THEN
        SET v_hodnota = v_hodnota + v_zbyva * COALESCE(v_poslnc, 0);
      END IF;
    ELSEIF v_mnoz < 0 THEN
      IF v_posllot IS NOT NULL THEN
        UPDATE prirad SET ZUSTATEK = ROUND(ZUSTATEK - v_mnoz, 6) WHERE id = v_posllot;
      END IF;
      SET v_hodnota = v_mnoz * COALESCE(v_poslnc, 0);
    END IF;

    IF v_mnoz <> 0 THEN
      SET v_jednc = ROUND(v_hodnota / v_mnoz, 4);
    ELSE
      SET v_jednc = ROUND(COALESCE(v_poslnc, 0), 4);
    END IF;

    INSERT INTO uctenkynakl
      (CISLODOKLA, STREDISKO, DATUM, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, VOCASEK, IDUCTENKY)
    VALUES
      (v_cis, v_str, v_datum, v_jkp,
       IF(COALESCE(v_nazev, '') = '', COALESCE(v_snazev, ''), v_nazev),
       COALESCE(v_mj, ''), v_mnoz, v_jednc, ROUND(v_hodnota, 2), 0, v_id);

    UPDATE uctenky SET nc = IF(v_jednc = 0, 0.0001, v_jednc) WHERE id = v_id;

    COMMIT;
  END IF;
END //

DELIMITER ;
