-- Demo data: a small household-goods and hardware shop with two branches
-- (cost centres "1" Třebíč and "11" Jihlava) in December 2026.
--
-- Load it after schema.sql, into a MariaDB server (it uses the sequence
-- engine's seq_1_to_N tables and window functions):
--
--   mariadb -uroot -h127.0.0.1 -P<port> < sql/schema.sql
--   mariadb -uroot -h127.0.0.1 -P<port> --default-character-set=utf8mb4 velmo < sql/demo.sql
--
-- The file is UTF-8; the server converts the texts into the cp1250 columns.
-- Dates are fixed (not NOW()), so the data are the same at every load.
--
-- Numbering follows the program's series for 2026: delivery notes of centre
-- "1" 3261001.., internal issue slips 4261001..; centre "11" 32611001.. and
-- 42611001..; invoices 6261001.. and 62611001...  Receipt lines before
-- 2026-10-25 are written off through uctenky_odpis; later ones are not.

SET NAMES utf8mb4;
USE velmo;

SET @demo_dnes = '2026-12-11';

-- EAN check digit of the first 12 (or 7) digits.
DROP FUNCTION IF EXISTS demo_ean;
DELIMITER //
CREATE FUNCTION demo_ean(p VARCHAR(12)) RETURNS VARCHAR(13) DETERMINISTIC
BEGIN
  DECLARE i INT DEFAULT 1;
  DECLARE s INT DEFAULT 0;
  DECLARE n INT DEFAULT CHAR_LENGTH(p);
  WHILE i <= n DO
    -- weights 3,1,3,... counted from the right end
    SET s = s + CAST(SUBSTRING(p, i, 1) AS UNSIGNED) * IF((n - i) % 2 = 0, 3, 1);
    SET i = i + 1;
  END WHILE;
  RETURN CONCAT(p, (10 - s % 10) % 10);
END //
DELIMITER ;

TRUNCATE velmo;
INSERT INTO velmo (id, uzavreneuo) VALUES (1, '202610');

-- ---------------------------------------------------------------------------
-- Cost centres

TRUNCATE strediska;
INSERT INTO strediska (STREDISKO, NAZEV, ICO, DIC, FIRMA, ADR2, ADR3, ADR4, BANKA, UCET, OBRE) VALUES
('1',  'Prodejna Třebíč',  '28365933', 'CZ28365933', 'Železářství Kubát s.r.o.', 'Prodejna Třebíč',
 'Karlovo náměstí 47', '674 01 Třebíč', 'Komerční banka, a.s.', '107-4812650217/0100',
 'Zapsáno v obchodním rejstříku u Krajského soudu v Brně, oddíl C, vložka 61254'),
('11', 'Prodejna Jihlava', '28365933', 'CZ28365933', 'Železářství Kubát s.r.o.', 'Prodejna Jihlava',
 'Brněnská 3112/18', '586 01 Jihlava', 'Komerční banka, a.s.', '107-4812650217/0100',
 'Zapsáno v obchodním rejstříku u Krajského soudu v Brně, oddíl C, vložka 61254');

-- ---------------------------------------------------------------------------
-- Item groups and goods

TRUNCATE skupiny;
INSERT INTO skupiny (SKUPINA, NAZEV, poradi) VALUES
('NAR', 'Nářadí', 10), ('SPO', 'Spojovací materiál', 20), ('BAR', 'Barvy a laky', 30),
('ZAH', 'Zahrada', 40), ('ELE', 'Elektro', 50), ('DOM', 'Domácnost', 60), ('SLU', 'Služby', 90);

-- 50 products in 4 variants each = 200 items of centre "1".
CREATE TEMPORARY TABLE demo_vyrobek (
  b INT PRIMARY KEY, nazev VARCHAR(30), v1 VARCHAR(15), v2 VARCHAR(15), v3 VARCHAR(15), v4 VARCHAR(15),
  mj VARCHAR(3), skupina VARCHAR(10), povaha VARCHAR(1), nc DOUBLE, dph INT, cena DOUBLE
) DEFAULT CHARSET=utf8mb4;
INSERT INTO demo_vyrobek VALUES
( 1,'Kladivo zámečnické',   '300 g','500 g','800 g','1000 g',        'ks','NAR','K',145,21,NULL),
( 2,'Šroubovák plochý',     '3 mm','5 mm','6 mm','8 mm',             'ks','NAR','K', 39,21,NULL),
( 3,'Šroubovák křížový',    'PH0','PH1','PH2','PH3',                 'ks','NAR','K', 42,21,NULL),
( 4,'Kleště kombinované',   '160 mm','180 mm','200 mm','250 mm',     'ks','NAR','K',189,21,NULL),
( 5,'Pila ocaska',          '350 mm','400 mm','450 mm','500 mm',     'ks','NAR','K',129,21,NULL),
( 6,'Metr svinovací',       '3 m','5 m','8 m','10 m',                'ks','NAR','K', 65,21,NULL),
( 7,'Vodováha hliníková',   '40 cm','60 cm','80 cm','100 cm',        'ks','NAR','K',155,21,NULL),
( 8,'Sada bitů',            '10 dílů','20 dílů','32 dílů','45 dílů', 'ks','NAR','K', 99,21,NULL),
( 9,'Vrták do betonu',      '6 mm','8 mm','10 mm','12 mm',           'ks','NAR','K', 28,21,NULL),
(10,'Vrták do kovu HSS',    '3 mm','5 mm','8 mm','10 mm',            'ks','NAR','K', 22,21,NULL),
(11,'Klíč očkoplochý',      '10 mm','13 mm','17 mm','19 mm',         'ks','NAR','K', 48,21,NULL),
(12,'Štětec plochý',        '25 mm','50 mm','75 mm','100 mm',        'ks','BAR','K', 19,21,NULL),
(13,'Hřebíky stavební',     '40 mm','60 mm','80 mm','100 mm',        'kg','SPO','',  58,21,NULL),
(14,'Vruty do dřeva',       '3,5x30','4x40','5x60','6x80',           'bal','SPO','K', 45,21,NULL),
(15,'Hmoždinky',            '6 mm','8 mm','10 mm','12 mm',           'bal','SPO','K', 35,21,NULL),
(16,'Šroub šestihranný M8', '20 mm','40 mm','60 mm','80 mm',         'ks','SPO','K', 3.5,21,NULL),
(17,'Matice šestihranná',   'M6','M8','M10','M12',                   'ks','SPO','K', 0.9,21,NULL),
(18,'Podložka plochá',      'M6','M8','M10','M12',                   'ks','SPO','K', 0.6,21,NULL),
(19,'Řetěz pozinkovaný',    '3 mm','4 mm','5 mm','6 mm',             'm', 'SPO','',  38,21,NULL),
(20,'Lano polypropylenové', '4 mm','6 mm','8 mm','10 mm',            'm', 'SPO','',   6,21,NULL),
(21,'Barva syntetická bílá','0,375 l','0,75 l','2,5 l','5 l',        'ks','BAR','K', 89,21,NULL),
(22,'Fasádní barva bílá',   '5 kg','10 kg','15 kg','25 kg',          'ks','BAR','K',310,21,NULL),
(23,'Ředidlo C6000',        '0,4 l','0,7 l','4 l','9 l',             'ks','BAR','K', 45,21,NULL),
(24,'Lak na dřevo',         '0,375 l','0,75 l','2,5 l','5 l',        'ks','BAR','K',120,21,NULL),
(25,'Penetrace hloubková',  '1 kg','3 kg','5 kg','10 kg',            'ks','BAR','K', 95,21,NULL),
(26,'Váleček malířský',     '10 cm','18 cm','25 cm','30 cm',         'ks','BAR','K', 55,21,NULL),
(27,'Malířská páska',       '19 mm','25 mm','38 mm','50 mm',         'ks','BAR','K', 24,21,NULL),
(28,'Tmel akrylátový',      'bílý','šedý','hnědý','transparentní',   'ks','BAR','K', 49,21,NULL),
(29,'Hadice zahradní',      '13 mm','16 mm','19 mm','25 mm',         'm', 'ZAH','',  18,21,NULL),
(30,'Substrát zahradní',    '20 l','50 l','70 l','100 l',            'ks','ZAH','K', 59,12,NULL),
(31,'Hnojivo NPK',          'volně','granulované','trávníkové','podzimní','kg','ZAH','', 28,12,NULL),
(32,'Rýč zahradní',         'rovný','špičatý','s násadou','dětský',  'ks','ZAH','K',320,21,NULL),
(33,'Hrábě',                '12 zubů','14 zubů','16 zubů','na listí','ks','ZAH','K',175,21,NULL),
(34,'Konev plastová',       '5 l','10 l','12 l','15 l',              'ks','ZAH','K', 89,21,NULL),
(35,'Zahradní nůžky',       'na keře','jednoruční','dvouruční','na trávu','ks','ZAH','K',260,21,NULL),
(36,'Osivo trávníkové',     'parkové','sportovní','do stínu','hřišťové','kg','ZAH','',145,12,NULL),
(37,'Žárovka LED E27',      '6 W','9 W','11 W','15 W',               'ks','ELE','K', 45,21,NULL),
(38,'Prodlužovací kabel',   '3 m','5 m','10 m','25 m',               'ks','ELE','K',159,21,NULL),
(39,'Baterie alkalická',    'AA 4 ks','AAA 4 ks','C 2 ks','9V 1 ks', 'bal','ELE','K', 75,21,NULL),
(40,'Kabel CYKY',           '3x1,5','3x2,5','5x1,5','5x2,5',         'm', 'ELE','',  22,21,NULL),
(41,'Zásuvka jednonásobná', 'bílá','béžová','černá','IP44',          'ks','ELE','K', 65,21,NULL),
(42,'Izolační páska',       'černá','bílá','modrá','žlutozelená',    'ks','ELE','K', 15,21,NULL),
(43,'Kbelík plastový',      '5 l','10 l','12 l','16 l',              'ks','DOM','K', 49,21,NULL),
(44,'Rukavice pracovní',    'vel. 8','vel. 9','vel. 10','vel. 11',   'pár','DOM','K', 29,21,NULL),
(45,'Smetáček s lopatkou',  'standard','s gumou','velký','malý',     'ks','DOM','K', 55,21,NULL),
(46,'Houbička na nádobí',   '3 ks','5 ks','10 ks','20 ks',           'bal','DOM','K', 19,21,NULL),
(47,'Zámek visací',         '30 mm','40 mm','50 mm','60 mm',         'ks','DOM','K', 95,21,NULL),
(48,'Broušení',             'nožů','nůžek','řetězu','vrtáků',        'ks','SLU','P',  0,21, 60),
(49,'Řezání',               'skla','dřeva na míru','plechu','závitu','ks','SLU','P',  0,21, 45),
(50,'Doprava',              'do 10 km','do 20 km','do 50 km','nad 50 km','ks','SLU','P',0,21,250);

-- Item code 1bbb0v, EAN 8594 + code digits + check digit.
CREATE TEMPORARY TABLE demo_zbozi DEFAULT CHARSET=utf8mb4 AS
SELECT v.b, q.seq AS var,
       CAST(100000 + v.b * 10 + q.seq AS CHAR) AS jkpov,
       CONCAT(v.nazev, ' ', ELT(q.seq, v.v1, v.v2, v.v3, v.v4)) AS nazev,
       v.mj, v.skupina, v.povaha, v.dph,
       ROUND(v.nc * (1 + 0.35 * (q.seq - 1)), 2) AS nc,
       COALESCE(v.cena * (1 + 0.5 * (q.seq - 1)),
                CEIL(v.nc * (1 + 0.35 * (q.seq - 1)) * 1.42 * (1 + v.dph / 100) / 10) * 10 - 1) AS pcsd
  FROM demo_vyrobek v CROSS JOIN seq_1_to_4 q;

TRUNCATE seznam;
INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, zkratka, POVAHA, MJ, PC, DPH, PCSD, NC, PNC, EAN,
                    FOFRCISLO, SKUPINA, POPIS, POPIS2, AKTIVNI)
SELECT '1', z.jkpov, z.nazev, LEFT(UPPER(z.nazev), 20), z.povaha, z.mj,
       ROUND(z.pcsd / (1 + z.dph / 100), 2), z.dph, z.pcsd, z.nc, z.nc,
       IF(z.povaha = 'P', '', demo_ean(CONCAT('8594', LPAD(z.b * 10 + z.var, 8, '0')))),
       CASE WHEN z.b <= 15 THEN z.b * 10 + z.var WHEN z.b >= 48 THEN 900 + (z.b - 48) * 10 + z.var ELSE 0 END,
       z.skupina,
       CASE z.skupina WHEN 'NAR' THEN 'Záruka 24 měsíců' WHEN 'ELE' THEN 'Odpovídá ČSN EN 60598' ELSE '' END,
       IF(z.skupina = 'NAR' AND z.var = 4, 'Profesionální řada', ''),
       IF(z.b IN (20, 42) AND z.var = 4, 'N', 'A')
  FROM demo_zbozi z ORDER BY z.b, z.var;

-- Centre "11" carries the first 15 products (60 items), a little dearer.
INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, zkratka, POVAHA, MJ, PC, DPH, PCSD, NC, PNC, EAN,
                    FOFRCISLO, SKUPINA, POPIS, POPIS2, AKTIVNI)
SELECT '11', JKPOV, NAZEV, zkratka, POVAHA, MJ, ROUND((PCSD + 10) / (1 + DPH / 100), 2), DPH, PCSD + 10,
       NC, PNC, EAN, FOFRCISLO, SKUPINA, POPIS, POPIS2, 'A'
  FROM seznam WHERE STREDISKO = '1' AND CAST(JKPOV AS UNSIGNED) < 100160 ORDER BY JKPOV;

-- Second barcodes: the maker's multipack EAN for some goods, short EAN-8 for
-- a few small items, and one for an inactive item.
TRUNCATE seznamean;
INSERT INTO seznamean (STREDISKO, EAN, JKPOV)
SELECT STREDISKO, demo_ean(CONCAT('8594', LPAD(CAST(JKPOV AS UNSIGNED) - 100000 + 5000, 8, '0'))), JKPOV
  FROM seznam WHERE POVAHA <> 'P' AND CAST(JKPOV AS UNSIGNED) % 7 = 0 ORDER BY STREDISKO, JKPOV;
INSERT INTO seznamean (STREDISKO, EAN, JKPOV)
SELECT '1', demo_ean(CONCAT('859', LPAD(CAST(JKPOV AS UNSIGNED) % 10000, 4, '0'))), JKPOV
  FROM seznam WHERE STREDISKO = '1' AND SKUPINA = 'SPO' AND POVAHA = 'K' ORDER BY JKPOV;
INSERT INTO seznamean (STREDISKO, EAN, JKPOV) VALUES ('1', demo_ean('859400009999'), '100204');

-- ---------------------------------------------------------------------------
-- Partners, orders, cards

TRUNCATE adresar;
INSERT INTO adresar (ICO, NAZEVPODNI, SIDLO, ULICECISLO, PSC, POSTA, TELEFON, KOD_PLATCE, EMAILOBJ, SLEVA, KONTAKT) VALUES
('1',  'Prodejna Třebíč',               'Třebíč',   'Karlovo náměstí 47',    '674 01', 'Třebíč',   '568 841 207', '', 'trebic@kubat-zelezarstvi.cz', 0, 'Ivana Kubátová'),
('11', 'Prodejna Jihlava',              'Jihlava',  'Brněnská 3112/18',      '586 01', 'Jihlava',  '567 302 415', '', 'jihlava@kubat-zelezarstvi.cz', 0, 'Petr Málek'),
('5',  'Dílna a servis',                'Třebíč',   'Karlovo náměstí 47',    '674 01', 'Třebíč',   '568 841 209', '', 'dilna@kubat-zelezarstvi.cz', 0, 'Josef Holub'),
('25614975', 'Stavby Horák s.r.o.',     'Třebíč',   'Hrotovická 1142',       '674 01', 'Třebíč',   '603 218 774', 'CZ25614975', 'objednavky@stavbyhorak.cz', 5, 'Ing. Karel Horák'),
('45192855', 'Technické služby Třebíč', 'Třebíč',   'Hrotovická 184',        '674 01', 'Třebíč',   '568 896 111', 'CZ45192855', 'sklad@tstrebic.cz', 8, 'Marie Šťastná'),
('26798417', 'Zahradnictví Říha',       'Okříšky',  'Nádražní 318',          '675 21', 'Okříšky',  '737 455 902', 'CZ26798417', 'riha@zahradnictvi-riha.cz', 0, ''),
('63054175', 'Jan Dvořák – truhlářství','Náměšť nad Oslavou', 'Komenského 56', '675 71', 'Náměšť nad Oslavou', '604 117 392', '', 'truhlar.dvorak@seznam.cz', 2.5, 'Jan Dvořák'),
('08402710', 'Elektro Bureš s.r.o.',    'Jihlava',  'Znojemská 4402/29',     '586 01', 'Jihlava',  '775 210 448', 'CZ08402710', 'bures@elektrobures.cz', 0, 'Tomáš Bureš'),
('47110589', 'Bytové družstvo Borovina','Třebíč',   'Bráfova 1371/16',       '674 01', 'Třebíč',   '568 822 030', 'CZ47110589', 'sprava@bdborovina.cz', 0, 'Hana Novotná'),
('19027460', 'Obec Stařeč',             'Stařeč',   'Náměstí 1',             '675 22', 'Stařeč',   '568 860 221', '', 'obec@starec.cz', 0, 'starosta'),
('27553019', 'Malířství Pokorný s.r.o.','Jihlava',  'Havlíčkova 2201/87',    '586 01', 'Jihlava',  '721 630 515', 'CZ27553019', 'pokorny@malirstvi-pokorny.cz', 5, 'Lukáš Pokorný'),
('06172849', 'Autoservis Čermák',       'Třebíč',   'Brněnská 622',          '674 01', 'Třebíč',   '736 300 881', 'CZ06172849', 'servis@cermak-auto.cz', 0, ''),
('49836200', 'Základní škola Třebíč, Na Kopcích', 'Třebíč', 'Na Kopcích 342', '674 01', 'Třebíč', '568 846 012', '', 'hospodarka@zsnakopcich.cz', 0, 'Věra Kratochvílová'),
('22304151', 'Vodoinstalace Svoboda',   'Velké Meziříčí', 'Novosady 1860/4', '594 01', 'Velké Meziříčí', '602 745 118', 'CZ22304151', 'svoboda.voda@email.cz', 0, 'Pavel Svoboda'),
('73154989', 'Hotel Atom Třebíč a.s.',  'Třebíč',   'Komenského náměstí 1441','674 01', 'Třebíč',  '568 858 511', 'CZ73154989', 'udrzba@hotelatom.cz', 0, 'údržba');

TRUNCATE zakazky;
INSERT INTO zakazky (ZAKAZKA, ICO, NAZEVPODNI, POPIS, DATUMOD, DATUMDO) VALUES
('Z26-001', '25614975', 'Stavby Horák s.r.o.',      'Rekonstrukce MŠ Týnská',          '2026-02-01 00:00:00', '2026-06-30 23:59:59'),
('Z26-004', '25614975', 'Stavby Horák s.r.o.',      'Bytový dům Sucheniova, 2. etapa', '2026-06-15 00:00:00', '2027-05-31 23:59:59'),
('Z26-007', '45192855', 'Technické služby Třebíč',  'Údržba městské zeleně 2026',      '2026-03-01 00:00:00', '2026-11-30 23:59:59'),
('Z26-009', '45192855', 'Technické služby Třebíč',  'Zimní údržba 2026/2027',          '2026-11-01 00:00:00', '2027-03-31 23:59:59'),
('Z26-012', '47110589', 'Bytové družstvo Borovina', 'Výmalba společných prostor',      '2026-09-01 00:00:00', '2027-01-31 23:59:59'),
('Z26-015', '27553019', 'Malířství Pokorný s.r.o.', 'Fasáda ZUŠ Jihlava',              '2026-04-01 00:00:00', '2026-09-30 23:59:59'),
('Z26-018', '73154989', 'Hotel Atom Třebíč a.s.',   'Výměna osvětlení chodeb',         '2026-10-15 00:00:00', '2027-02-28 23:59:59'),
('',        '19027460', 'Obec Stařeč',              'Rámcová dohoda (bez čísla)',      '2026-01-01 00:00:00', '2026-12-31 23:59:59');

TRUNCATE zakarty;
INSERT INTO zakarty (ICO, NAZEVPODNI, DATUMZAL, SLEVA, PLATI, SUMAKC) VALUES
('',         'Marie Procházková',         '2025-03-12 10:15:00',  3, 'A',  4820),
('',         'Josef Kučera',              '2025-05-02 15:40:00',  5, 'A', 12950),
('25614975', 'Stavby Horák s.r.o.',       '2025-06-20 08:05:00', 10, 'A', 86400),
('',         'Lenka Veselá',              '2025-09-09 11:30:00',  3, 'N',   760),
('63054175', 'Jan Dvořák – truhlářství',  '2025-11-18 09:00:00',  5, 'A', 23115),
('28365933', 'Zaměstnanecká karta – Kubát','2026-01-04 07:30:00', 15, 'A',  3400),
('',         'Zdeněk Černý',              '2026-02-27 16:20:00',  3, 'A',  1985),
('',         'Alena Marková',             '2026-04-14 13:05:00',  5, 'A',  5270),
('22304151', 'Vodoinstalace Svoboda',     '2026-06-01 08:45:00',  7, 'A', 15830),
('',         'Tereza Pospíšilová',        '2026-08-22 10:10:00',  3, 'A',   640),
('',         'Miroslav Beneš',            '2026-10-05 17:35:00',  5, 'A',  2210),
('',         'Eva Šimková',               '2026-12-02 09:50:00',  3, 'A',   315);
UPDATE zakarty SET CISLOKARTY = CONCAT('209', LPAD(id, 5, '0'));

-- ---------------------------------------------------------------------------
-- Goods receipts: an opening stock in January and monthly deliveries.
-- Each receipt line is a lot; lot costs drift a little between deliveries.

TRUNCATE prijem;
TRUNCATE prirad;
INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM, NAZEVPODNI, ICO, CISLOFAKT) VALUES
(2261001, '1',  '2026-01-05', 'Převod počátečního stavu',          '',         ''),
(2261002, '1',  '2026-02-09', 'Nářadí Hlinsko s.r.o.',             '27384105', '2026000214'),
(2261003, '1',  '2026-03-11', 'Barvy Přerov a.s.',                 '45193037', 'FV-26-0381'),
(2261004, '1',  '2026-04-08', 'Zahradní potřeby Mošnov s.r.o.',    '26851725', '260412'),
(2261005, '1',  '2026-05-13', 'Spojmat Brno s.r.o.',               '46975691', '1260533'),
(2261006, '1',  '2026-06-10', 'Nářadí Hlinsko s.r.o.',             '27384105', '2026000771'),
(2261007, '1',  '2026-07-15', 'Elektro Vysočina a.s.',             '60715286', '7026118'),
(2261008, '1',  '2026-08-12', 'Barvy Přerov a.s.',                 '45193037', 'FV-26-1102'),
(2261009, '1',  '2026-09-09', 'Spojmat Brno s.r.o.',               '46975691', '1261207'),
(2261010, '1',  '2026-10-07', 'Nářadí Hlinsko s.r.o.',             '27384105', '2026001356'),
(2261011, '1',  '2026-11-11', 'Zahradní potřeby Mošnov s.r.o.',    '26851725', '261187'),
(2261012, '1',  '2026-12-02', 'Elektro Vysočina a.s.',             '60715286', '7026930'),
(22611001, '11', '2026-01-05', 'Převod počátečního stavu',          '',         ''),
(22611002, '11', '2026-05-20', 'Nářadí Hlinsko s.r.o.',             '27384105', '2026000602'),
(22611003, '11', '2026-09-23', 'Spojmat Brno s.r.o.',               '46975691', '1261311'),
(22611004, '11', '2026-12-01', 'Převod z prodejny Třebíč',          '1',        '');

-- Opening stock: every stock item of both centres (except a few that ran out
-- long ago and were never reordered).
INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, POLOZKA, ZUSTATEK)
SELECT IF(s.STREDISKO = '1', 2261001, 22611001), s.STREDISKO, s.JKPOV, s.NAZEV, s.MJ,
       @m := CASE s.MJ WHEN 'kg' THEN 8 + (s.id % 5) * 2.5 WHEN 'm' THEN 50 + (s.id % 4) * 25
                       ELSE IF(s.NC < 5, 200, 12 + s.id % 19) END,
       ROUND(s.NC * 0.97, 2), ROUND(@m * ROUND(s.NC * 0.97, 2), 2), '', @m
  FROM seznam s
 WHERE s.POVAHA <> 'P' AND s.JKPOV NOT IN ('100473', '100474', '100394')
 ORDER BY s.STREDISKO, s.JKPOV;

-- Deliveries: each item arrives in about a third of the later receipts.
INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, POLOZKA, ZUSTATEK)
SELECT h.CISLODOKLA, s.STREDISKO, s.JKPOV, s.NAZEV, s.MJ,
       @m := CASE s.MJ WHEN 'kg' THEN 10 + (s.id % 3) * 5 WHEN 'm' THEN 100 ELSE IF(s.NC < 5, 500, 10 + (s.id + h.CISLODOKLA) % 21) END,
       @c := ROUND(s.NC * (1 + ((h.CISLODOKLA % 10) % 3 - 1) * 0.04), 2),
       ROUND(@m * @c, 2), CONCAT('P', h.CISLODOKLA % 1000), @m
  FROM prijem h
  JOIN seznam s ON s.STREDISKO = h.STREDISKO AND s.POVAHA <> 'P'
 WHERE h.NAZEVPODNI NOT LIKE 'Převod počátečního%'
   AND (CAST(s.JKPOV AS UNSIGNED) + h.CISLODOKLA) % 3 = 0
   AND s.JKPOV NOT IN ('100473', '100474', '100394')
 ORDER BY h.CISLODOKLA, s.JKPOV;

-- ---------------------------------------------------------------------------
-- Issue documents

-- d: document header plan.  kind 0 delivery note, 1 internal issue slip.
CREATE TEMPORARY TABLE demo_doklad (
  n INT PRIMARY KEY, cislodokla INT, stredisko VARCHAR(10), datum DATETIME, vnitro INT,
  ico VARCHAR(15), faktura INT, zakazka VARCHAR(15), objednavka VARCHAR(15), uhrada VARCHAR(30)
) DEFAULT CHARSET=utf8mb4;

-- Centre "1": 3 delivery notes of 2025, 30 of 2026, 8 internal issue slips.
INSERT INTO demo_doklad
SELECT seq, 3251000 + seq, '1', TIMESTAMP('2025-11-03') + INTERVAL (seq * 17) DAY + INTERVAL (8 * 60 + seq * 53 % 540) MINUTE,
       0, ELT(1 + seq % 3, '25614975', '47110589', '06172849'), 1, '', '', 'Převodním příkazem'
  FROM seq_1_to_3;
INSERT INTO demo_doklad
SELECT 100 + seq, 3261000 + seq, '1',
       TIMESTAMP('2026-01-06') + INTERVAL ((seq - 1) * 116 DIV 10) DAY + INTERVAL (8 * 60 + seq * 47 % 560) MINUTE,
       0, ELT(1 + seq % 11, '25614975', '45192855', '26798417', '63054175', '47110589', '19027460',
                            '06172849', '49836200', '22304151', '73154989', '45192855'),
       IF(seq <= 26 AND seq NOT IN (19, 23), 1, 0),
       '', IF(seq % 4 = 1, CONCAT('OBJ-', 260 + seq), ''),
       ELT(1 + seq % 5, 'Převodním příkazem', 'Převodním příkazem', 'Hotově', 'Převodním příkazem', 'Kartou')
  FROM seq_1_to_30;
INSERT INTO demo_doklad
SELECT 200 + seq, 4261000 + seq, '1',
       TIMESTAMP('2026-01-20') + INTERVAL ((seq - 1) * 42) DAY + INTERVAL (9 * 60 + seq * 31 % 400) MINUTE,
       1, ELT(1 + seq % 2, '5', '11'), 0, '', '', ''
  FROM seq_1_to_8;
-- Centre "11": 8 delivery notes and 2 internal issue slips of 2026.
INSERT INTO demo_doklad
SELECT 300 + seq, 32611000 + seq, '11',
       TIMESTAMP('2026-02-10') + INTERVAL ((seq - 1) * 39) DAY + INTERVAL (8 * 60 + seq * 61 % 500) MINUTE,
       0, ELT(1 + seq % 4, '08402710', '27553019', '25614975', '22304151'),
       IF(seq <= 4, 1, 0), '', '', 'Převodním příkazem'
  FROM seq_1_to_8;
INSERT INTO demo_doklad
SELECT 400 + seq, 42611000 + seq, '11',
       TIMESTAMP('2026-06-18') + INTERVAL ((seq - 1) * 120) DAY + INTERVAL (600 + seq * 25) MINUTE,
       1, '1', 0, '', '', ''
  FROM seq_1_to_2;

-- Orders: documents of a customer with an order that was open at the date.
UPDATE demo_doklad d
  JOIN zakazky z ON z.ICO = d.ico AND z.ZAKAZKA <> '' AND d.datum BETWEEN z.DATUMOD AND z.DATUMDO
   SET d.zakazka = z.ZAKAZKA
 WHERE d.vnitro = 0;

-- Invoice numbers per centre and year in date order.
UPDATE demo_doklad d
  JOIN (SELECT n, ROW_NUMBER() OVER (PARTITION BY stredisko, YEAR(datum) ORDER BY datum) AS k
          FROM demo_doklad WHERE faktura = 1) x ON x.n = d.n
   SET d.faktura = CAST(CONCAT(YEAR(d.datum) - 1400, d.stredisko) AS UNSIGNED) * 1000 + x.k;

TRUNCATE dl;
INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, CISLOFAKT, VNITRO, KODPAR, ICO, NAZEVPODNI, SIDLO, ULICECISLO,
                PSC, POSTA, DIC, OBJEDNAVKA, ZAKAZKA, TEXT1, TEXT2, TEXT3, datumzauct, datumzaucf)
SELECT d.cislodokla, d.stredisko, d.datum, IF(d.faktura > 0, CAST(d.faktura AS CHAR), ''), d.vnitro,
       IF(d.vnitro = 0, CONCAT('O', a.id), ''), a.ICO, a.NAZEVPODNI, a.SIDLO, a.ULICECISLO, a.PSC, a.POSTA,
       a.KOD_PLATCE, d.objednavka, d.zakazka,
       IF(d.zakazka <> '', CONCAT('Dodávka pro zakázku ', d.zakazka), ''),
       IF(d.n % 7 = 3, 'Zboží převzal: stavbyvedoucí', ''),
       IF(d.faktura > 0 AND d.n % 3 = 0, 'Děkujeme za Vaši objednávku.', ''),
       IF(d.datum < '2026-11-01' AND (d.faktura > 0 OR d.vnitro = 1), LAST_DAY(d.datum), NULL),
       IF(d.faktura > 0 AND d.datum < '2026-11-01', LAST_DAY(d.datum), NULL)
  FROM demo_doklad d JOIN adresar a ON a.ICO = d.ico
 ORDER BY d.cislodokla;

-- Lines: 1 to 6 per document; services on some delivery notes.
TRUNCATE dlrad;
INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, PC, DPH, PCSD, PCR,
                   ZUSTATEK, EAN, FOFRCISLO, POVAHA, KDY, POPIS, POPIS2)
SELECT x.cislodokla, x.stredisko, s.JKPOV, s.NAZEV, s.MJ, x.mnoz, s.NC, ROUND(s.NC * x.mnoz, 2),
       IF(x.vnitro = 1, s.NC, s.PC), IF(x.vnitro = 1, 0, s.DPH), IF(x.vnitro = 1, s.NC, s.PCSD),
       ROUND(IF(x.vnitro = 1, s.NC, s.PC) * x.mnoz, 2),
       0, s.EAN, s.FOFRCISLO, s.POVAHA, x.datum + INTERVAL x.k MINUTE, s.POPIS, s.POPIS2
  FROM (SELECT d.*, q.seq AS k,
               CAST(100000 + (1 + (d.n * 13 + q.seq * 7) % IF(d.stredisko = '1', IF(d.vnitro = 1, 47, 50), 15)) * 10
                    + 1 + (d.n + q.seq) % 4 AS CHAR) AS jkp,
               0 AS mnoz
          FROM demo_doklad d JOIN seq_1_to_6 q ON q.seq <= 1 + (d.n * 7) % 6) x
  JOIN seznam s ON s.STREDISKO = x.stredisko AND s.JKPOV = x.jkp
 ORDER BY x.cislodokla, x.k;
UPDATE dlrad
   SET MNOZ = CASE MJ WHEN 'kg' THEN 0.5 * (1 + id % 9)
                      WHEN 'm'  THEN 5 * (1 + id % 6)
                      ELSE IF(POVAHA = 'P', 1, IF(NC < 5, 20 * (1 + id % 5), 1 + id % 6)) END;
UPDATE dlrad SET CENAR = ROUND(NC * MNOZ, 2), PCR = ROUND(PC * MNOZ, 2);
-- Two documents whose goods the warehouse issued on its own slips.
UPDATE dlrad SET VYDEJKA = CISLODOKLA % 1000 WHERE CISLODOKLA IN (3261004, 3261011);

-- Issued quantities leave the oldest lots first.
UPDATE prirad r
  JOIN (SELECT p.id, p.MNOZ,
               SUM(p.MNOZ) OVER (PARTITION BY p.STREDISKO, p.JKPOV ORDER BY h.DATUM, p.id) AS kum,
               COALESCE(v.vyd, 0) AS vyd
          FROM prirad p
          JOIN prijem h ON h.CISLODOKLA = p.CISLODOKLA
          LEFT JOIN (SELECT STREDISKO, JKPOV, SUM(MNOZ) AS vyd FROM dlrad GROUP BY STREDISKO, JKPOV) v
                 ON v.STREDISKO = p.STREDISKO AND v.JKPOV = p.JKPOV) x ON x.id = r.id
   SET r.ZUSTATEK = LEAST(x.MNOZ, GREATEST(0, x.kum - x.vyd));

-- ---------------------------------------------------------------------------
-- Invoices: text row, TEXT1, TEXT2, item rows each followed by its
-- description, TEXT3; header and totals on every row (rates of 2026:
-- N 12 %, V 21 %, S none: the rates from 2024).

TRUNCATE fakt;
INSERT INTO fakt (TEXT, MJ, MNOZSTVI, CENA, CELKEM, DAN, DPH, CFAKT, PORADOVEC, RADA, KS, OBJEDNAVKA, ICO,
                  KODZAK, DICO, ODB1, ODB2, ODB3, ODB4, ODBPSC, SPLATNOST, VYSTAVENI, PLNENI, STREDISKO,
                  DODACILIST, UHRADA, DISPOZICE)
SELECT r.txt, r.mj, r.mnoz, r.cena, r.celkem, r.dan, r.dph,
       d.faktura, RIGHT(d.faktura, 3), CAST(d.faktura DIV 1000 AS CHAR), '0308', h.OBJEDNAVKA, h.ICO,
       h.KODPAR, h.DIC, h.NAZEVPODNI, h.SIDLO, h.ULICECISLO, h.POSTA, h.PSC,
       DATE(h.DATUM) + INTERVAL IF(d.uhrada IN ('Hotově', 'Kartou'), 0, 14) DAY, DATE(h.DATUM), DATE(h.DATUM),
       h.STREDISKO, CAST(h.CISLODOKLA AS CHAR), d.uhrada, h.ZAKAZKA
  FROM demo_doklad d
  JOIN dl h ON h.CISLODOKLA = d.cislodokla
  JOIN (SELECT CISLODOKLA, 0 AS poradi, 0 AS sub,
               CONVERT(CONCAT('Fakturujeme Vám podle dodacího listu číslo ', CISLODOKLA) USING cp1250) AS txt,
               '' AS mj, 0 AS mnoz, 0 AS cena, 0 AS celkem, 0 AS dan, 0 AS dph FROM dl
        UNION ALL SELECT CISLODOKLA, 1, 0, TEXT1, '', 0, 0, 0, 0, 0 FROM dl WHERE TEXT1 <> ''
        UNION ALL SELECT CISLODOKLA, 2, 0, TEXT2, '', 0, 0, 0, 0, 0 FROM dl WHERE TEXT2 <> ''
        UNION ALL SELECT CISLODOKLA, 3 + id, 0, NAZEV, MJ, MNOZ, PC, PCR, DPH,
                         ROUND(CAST(PCR * DPH / 100 AS DECIMAL(16, 6)), 2) FROM dlrad
        UNION ALL SELECT CISLODOKLA, 3 + id, 1, CONCAT(POPIS, ' ', POPIS2), '', 0, 0, 0, 0, 0 FROM dlrad WHERE POPIS <> ''
        UNION ALL SELECT CISLODOKLA, 999999999, 0, TEXT3, '', 0, 0, 0, 0, 0 FROM dl WHERE TEXT3 <> '') r
    ON r.CISLODOKLA = h.CISLODOKLA
 WHERE d.faktura > 0
 ORDER BY d.faktura, r.poradi, r.sub;

UPDATE fakt f
  JOIN (SELECT CFAKT,
               SUM(IF(DAN = 0, CELKEM, 0)) AS z0, SUM(IF(DAN = 12, CELKEM, 0)) AS zn,
               SUM(IF(DAN = 21, CELKEM, 0)) AS zv, SUM(IF(DAN = 10, CELKEM, 0)) AS zs
          FROM fakt GROUP BY CFAKT) s ON s.CFAKT = f.CFAKT
   SET f.SUMA_Z0 = s.z0, f.SUMA_ZN = s.zn, f.SUMA_ZV = s.zv, f.SUMA_ZS = s.zs,
       f.SUMA_DPHN = ROUND(CAST(s.zn * 12 / 100 AS DECIMAL(16, 6)), 2),
       f.SUMA_DPHV = ROUND(CAST(s.zv * 21 / 100 AS DECIMAL(16, 6)), 2),
       f.SUMA_DPHS = ROUND(CAST(s.zs * 10 / 100 AS DECIMAL(16, 6)), 2);
UPDATE fakt SET SUMA_FA = SUMA_Z0 + SUMA_ZN + SUMA_ZV + SUMA_ZS + SUMA_DPHS + SUMA_DPHN + SUMA_DPHV;
UPDATE fakt SET ZAOK = ROUND(CAST(SUMA_FA AS DECIMAL(16, 6)), 0);
UPDATE fakt SET HALERE = ZAOK - SUMA_FA;

-- ---------------------------------------------------------------------------
-- Till: receipts of both branches from October to 10 December 2026.

TRUNCATE uctenky;
TRUNCATE uctenkynakl;

-- r: receipt plan; centre "1" about 8 a day, centre "11" about 3.
CREATE TEMPORARY TABLE demo_uctenka (
  r INT PRIMARY KEY, stredisko VARCHAR(10), cisuctenky INT, datum DATETIME, typplatby VARCHAR(20), karta VARCHAR(20)
) DEFAULT CHARSET=utf8mb4;
INSERT INTO demo_uctenka
SELECT seq, '1', 20000 + seq,
       TIMESTAMP('2026-10-01 08:05:00') + INTERVAL ((seq - 1) DIV 8) DAY + INTERVAL ((seq - 1) % 8) * 70 + seq * 17 % 45 MINUTE,
       IF(seq % 3 = 0, 'Karta', 'Hotově'), ''
  FROM seq_1_to_568;
INSERT INTO demo_uctenka
SELECT 1000 + seq, '11', 50000 + seq,
       TIMESTAMP('2026-10-01 08:30:00') + INTERVAL ((seq - 1) DIV 3) DAY + INTERVAL ((seq - 1) % 3) * 170 + seq * 23 % 90 MINUTE,
       IF(seq % 4 = 0, 'Karta', 'Hotově'), ''
  FROM seq_1_to_213;
-- Valid loyalty cards on some receipts.
UPDATE demo_uctenka u
  JOIN zakarty k ON k.id = 1 + u.r % 12 AND k.PLATI = 'A'
   SET u.karta = k.CISLOKARTY
 WHERE u.r % 9 = 4;

INSERT INTO uctenky (cisuctenky, id2, stredisko, datum, typplatby, jkpov, nazev, mnoz, nc, povaha, CENAR, DPH,
                     sleva, cenar0, cislokarty, popis2, slevaproc, ean)
SELECT u.cisuctenky, q.seq, u.stredisko, u.datum, u.typplatby, s.JKPOV, s.NAZEV,
       0, 0, s.POVAHA, 0, s.DPH, 0, s.PCSD, u.karta, '', COALESCE(k.SLEVA, 0), s.EAN
  FROM demo_uctenka u
  JOIN seq_1_to_4 q ON q.seq <= 1 + (u.r * 7) % 4
  JOIN seznam s ON s.STREDISKO = u.stredisko
               AND s.JKPOV = CAST(100000 + (1 + (u.r * 11 + q.seq * 5) % IF(u.stredisko = '1', 50, 15)) * 10
                                  + 1 + (u.r * 3 + q.seq) % 4 AS CHAR)
  LEFT JOIN zakarty k ON k.CISLOKARTY = u.karta AND u.karta <> ''
 ORDER BY u.datum, u.cisuctenky, q.seq;

-- Quantities (an occasional return), amounts with the card discount.
UPDATE uctenky
   SET mnoz = CASE WHEN id % 97 = 0 AND povaha <> 'P' THEN -1
                   WHEN (SELECT MJ FROM seznam s WHERE s.STREDISKO = uctenky.stredisko AND s.JKPOV = uctenky.jkpov) = 'kg'
                        THEN 0.25 * (1 + id % 8)
                   WHEN (SELECT MJ FROM seznam s WHERE s.STREDISKO = uctenky.stredisko AND s.JKPOV = uctenky.jkpov) = 'm'
                        THEN 0.5 * (1 + id % 12)
                   WHEN povaha = 'P' THEN 1
                   ELSE 1 + id % 3 END;
UPDATE uctenky SET cenar0 = ROUND(cenar0 * mnoz, 2);
UPDATE uctenky SET sleva = ROUND(cenar0 * slevaproc / 100, 2), CENAR = cenar0 - ROUND(cenar0 * slevaproc / 100, 2);

-- Receipt header values on every line: totals and VAT bases per rate
-- (z5/d5 12 %, z23/d23 21 %, z1/d1 10 %).
UPDATE uctenky u
  JOIN (SELECT cisuctenky, stredisko, SUM(CENAR) AS celkem,
               SUM(IF(DPH = 0, CENAR, 0)) AS s0, SUM(IF(DPH = 12, CENAR, 0)) AS s12,
               SUM(IF(DPH = 21, CENAR, 0)) AS s21, SUM(IF(DPH = 10, CENAR, 0)) AS s10
          FROM uctenky GROUP BY cisuctenky, stredisko) t
    ON t.cisuctenky = u.cisuctenky AND t.stredisko = u.stredisko
   SET u.soucetu = ROUND(t.celkem, 2),
       u.soucetuzao = IF(u.typplatby = 'Hotově', ROUND(CAST(t.celkem AS DECIMAL(16, 6)), 0), ROUND(t.celkem, 2)),
       u.z0 = t.s0,
       u.z5 = ROUND(t.s12 / 1.12, 2), u.d5 = ROUND(t.s12 - ROUND(t.s12 / 1.12, 2), 2),
       u.z23 = ROUND(t.s21 / 1.21, 2), u.d23 = ROUND(t.s21 - ROUND(t.s21 / 1.21, 2), 2),
       u.z1 = ROUND(t.s10 / 1.10, 2), u.d1 = ROUND(t.s10 - ROUND(t.s10 / 1.10, 2), 2);

-- Lines sold before 25 October are written off, as the write-off window
-- does it: one call per line, by item and quantity.
DELIMITER //
BEGIN NOT ATOMIC
  DECLARE v_konec INT DEFAULT 0;
  DECLARE v_str VARCHAR(10);
  DECLARE v_jkp VARCHAR(20);
  DECLARE v_mnoz DOUBLE;
  DECLARE v_id INT;
  DECLARE c CURSOR FOR
    SELECT stredisko, jkpov, mnoz, id FROM uctenky
     WHERE datum < '2026-10-25' AND nc = 0 AND povaha <> 'P'
     ORDER BY stredisko, jkpov, mnoz;
  DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_konec = 1;
  OPEN c;
  radky: LOOP
    FETCH c INTO v_str, v_jkp, v_mnoz, v_id;
    IF v_konec = 1 THEN
      LEAVE radky;
    END IF;
    CALL uctenky_odpis(v_str, v_jkp, CAST(v_mnoz AS CHAR), CAST(v_id AS CHAR));
  END LOOP;
  CLOSE c;
END //
DELIMITER ;

CALL seznam_stav();

-- Stock on the line when it was written: today's stock plus what it took.
UPDATE dlrad r JOIN seznam s ON s.STREDISKO = r.STREDISKO AND s.JKPOV = r.JKPOV
   SET r.ZUSTATEK = IF(r.POVAHA = 'P', 0, s.ZUSTATEK + r.MNOZ);

-- ---------------------------------------------------------------------------
-- Hand terminal: two captured lists of centre "1" waiting for a delivery note.
-- The prices were captured before the last price change of two items.

TRUNCATE dlterm;
INSERT INTO dlterm (ODBERATEL, DATUMCAS, DATUM, CAS, TERMINAL, STREDISKO, JKPOV, MNOZ, NAZEV, MJ, PC, DPH, PCSD)
SELECT '25614975', TIMESTAMP('2026-12-10 09:12:00') + INTERVAL q.seq * 2 MINUTE, '10.12.2026',
       DATE_FORMAT(TIMESTAMP('2026-12-10 09:12:00') + INTERVAL q.seq * 2 MINUTE, '%H:%i'), 1, '1',
       s.JKPOV, IF(s.MJ = 'kg', 2.5, 2 + q.seq % 4), s.NAZEV, s.MJ,
       IF(q.seq = 2, ROUND(s.PC * 0.9, 2), s.PC), s.DPH, IF(q.seq = 2, ROUND(s.PCSD * 0.9, 2), s.PCSD)
  FROM seq_1_to_6 q
  JOIN seznam s ON s.STREDISKO = '1' AND s.JKPOV = ELT(q.seq, '100011', '100093', '100142', '100134', '100321', '100212');
INSERT INTO dlterm (ODBERATEL, DATUMCAS, DATUM, CAS, TERMINAL, STREDISKO, JKPOV, MNOZ, NAZEV, MJ, PC, DPH, PCSD)
SELECT 'NOVAK', TIMESTAMP('2026-12-11 07:45:00') + INTERVAL q.seq MINUTE, '11.12.2026',
       DATE_FORMAT(TIMESTAMP('2026-12-11 07:45:00') + INTERVAL q.seq MINUTE, '%H:%i'), 2, '1',
       s.JKPOV, IF(s.MJ = 'm', 15, 1 + q.seq % 2), s.NAZEV, s.MJ,
       IF(q.seq = 1, ROUND(s.PC * 0.95, 2), s.PC), s.DPH, IF(q.seq = 1, ROUND(s.PCSD * 0.95, 2), s.PCSD)
  FROM seq_1_to_4 q
  JOIN seznam s ON s.STREDISKO = '1' AND s.JKPOV = ELT(q.seq, '100292', '100343', '100371', '100432');

-- ---------------------------------------------------------------------------
-- Inventory: last evening's count of the tools group in centre "1" (one item
-- counted on two shelves, a few differences), and an archived count of the
-- fasteners from June.

TRUNCATE sklinv;
INSERT INTO sklinv (STREDISKO, JKPOV, DATUMCAS, STAVINV, TERMINAL, SKUPINA)
SELECT s.STREDISKO, s.JKPOV, TIMESTAMP('2026-12-10 18:10:00') + INTERVAL s.id % 40 MINUTE,
       GREATEST(0, ROUND(s.STAV) + CASE s.id % 9 WHEN 0 THEN -1 WHEN 4 THEN 1 ELSE 0 END), 1, s.SKUPINA
  FROM seznam s
 WHERE s.STREDISKO = '1' AND s.SKUPINA = 'NAR' AND s.id % 2 = 0
 ORDER BY s.JKPOV;
UPDATE sklinv SET STAVINV = STAVINV - 2 WHERE JKPOV = '100012' AND STAVINV >= 2;
INSERT INTO sklinv (STREDISKO, JKPOV, DATUMCAS, STAVINV, TERMINAL, SKUPINA)
VALUES ('1', '100012', '2026-12-10 18:55:00', 2, 2, 'NAR');

TRUNCATE sklinvarch;
INSERT INTO sklinvarch (STREDISKO, JKPOV, DATUMCAS, STAVINV, TERMINAL, SKUPINA, MJ, NAZEV, POVAHA,
                        zustatekpc, prodej, rozdil, DATUM, CAS)
SELECT s.STREDISKO, s.JKPOV, TIMESTAMP('2026-06-30 17:30:00') + INTERVAL s.id % 30 MINUTE,
       @c := 40 + s.id % 60, 1, s.SKUPINA, s.MJ, s.NAZEV, s.POVAHA,
       @z := 40 + s.id % 60 + IF(s.id % 5 = 0, 2, 0),
       @p := IF(s.id % 4 = 0, 1, NULL),
       @c - @p - @z, '2026-06-30', '18:45'
  FROM seznam s
 WHERE s.STREDISKO = '1' AND s.SKUPINA = 'SPO'
 ORDER BY s.JKPOV;

DROP FUNCTION IF EXISTS demo_ean;
