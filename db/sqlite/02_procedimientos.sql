-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on SQLite: the procedures.
--
-- Readers are single SELECTs, so their rows stream and every number comes
-- from a table column (the ODBC driver types a column by its declared type;
-- an expression would come back as text). Arguments arrive as the lists send
-- them: names padded with blanks, periods in any letter case.
--
-- Stores are single INSERTs into a request view whose INSTEAD OF trigger
-- checks everything first and raises a Spanish message (SQLITE_CONSTRAINT)
-- on bad input; the statement then leaves nothing behind.

-- The ODBC driver hands a REAL back through a text of 15 significant digits,
-- which is not always the stored double (0.6666666666666666 comes back as
-- 0.666666666666667, the largest double as infinity). So the readers return
-- each number as its text of 18 significant digits, which reads back as the
-- same double, in a column declared "DOUBLE TEXT": the driver reports it as a
-- double and converts that text (correctly rounded), while SQLite keeps it a
-- text (TEXT affinity).
ALTER TABLE registro ADD COLUMN valor_exacto "DOUBLE TEXT"
    GENERATED ALWAYS AS (CASE WHEN valor IS NOT NULL THEN printf('%!.18g', valor) END) VIRTUAL;
ALTER TABLE registro ADD COLUMN meta_exacta "DOUBLE TEXT"
    GENERATED ALWAYS AS (CASE WHEN meta IS NOT NULL THEN printf('%!.18g', meta) END) VIRTUAL;
ALTER TABLE registro ADD COLUMN linea_base_exacta "DOUBLE TEXT"
    GENERATED ALWAYS AS (CASE WHEN linea_base IS NOT NULL THEN printf('%!.18g', linea_base) END) VIRTUAL;

-- Numbers arrive in one of two ways. The program binds the double it read
-- from the typed text itself (correctly rounded: SQLite's own CAST of a text
-- is not, and 0.937278 would become 0.9372780000000001); `parametros` marks
-- those arguments with an "n". Any other client may send a text with a
-- decimal comma or point (and maybe an exponent) and blanks around; a blank
-- text is Null. The rule for a text is the program's own reading of a
-- number: no thousands group ("1.000" and "12,500" mean a thousand times more
-- in one locale than in another, so they are refused), nothing a double
-- cannot hold (CAST would give infinity, or zero for a tiny nonzero number).
-- A bound number must be finite. The stores put their arguments here and
-- read them back checked and converted; `texto` has no declared type, so a
-- bound double stays the same double.
CREATE TABLE entrada (
    campo TEXT PRIMARY KEY,
    texto
);

CREATE VIEW entrada_numero AS
    SELECT campo,
           CASE WHEN typeof(texto) IN ('real', 'integer') THEN coalesce(texto - texto = 0, 0)
                WHEN t = '' THEN 1
                WHEN m NOT GLOB '*[^0-9.+-]*' AND substr(m, 2) NOT GLOB '*[+-]*'
                     AND m GLOB '*[0-9]*' AND length(m) - length(replace(m, '.', '')) <= 1
                     AND x NOT GLOB '*[^0-9+-]*' AND substr(x, 2) NOT GLOB '*[+-]*'
                     AND x GLOB '*[0-9]*'
                     AND NOT (e = 0 AND (s GLOB '[1-9].[0-9][0-9][0-9]'
                                         OR s GLOB '[1-9][0-9].[0-9][0-9][0-9]'
                                         OR s GLOB '[1-9][0-9][0-9].[0-9][0-9][0-9]'))
                     AND abs(CAST(t AS REAL)) <= 1.7976931348623157e308
                     AND (CAST(t AS REAL) <> 0 OR m NOT GLOB '*[1-9]*')
                THEN 1 ELSE 0 END AS valido,
           CASE WHEN typeof(texto) IN ('real', 'integer') THEN CAST(texto AS REAL)
                WHEN t = '' THEN NULL ELSE CAST(t AS REAL) END AS numero,
           CASE WHEN typeof(texto) = 'integer' THEN texto
                WHEN typeof(texto) = 'real' THEN NULL
                WHEN t <> '' AND t NOT GLOB '*[^0-9]*' AND length(t) <= 18
                THEN CAST(t AS INTEGER) END AS entero
    FROM (SELECT campo, texto, t, e, m, x,
                 CASE WHEN substr(m, 1, 1) IN ('+', '-') THEN substr(m, 2) ELSE m END AS s
          FROM (SELECT campo, texto, t, e,
                       CASE WHEN e = 0 THEN t ELSE substr(t, 1, e - 1) END AS m,
                       CASE WHEN e = 0 THEN '0' ELSE substr(t, e + 1) END AS x
                FROM (SELECT campo, texto, t, instr(lower(t), 'e') AS e
                      FROM (SELECT campo, texto,
                                   CASE WHEN typeof(texto) IN ('real', 'integer') THEN ''
                                        ELSE replace(trim(coalesce(texto, '')), ',', '.') END AS t
                            FROM entrada))));

-- modificar 'base','valor','meta','id'
CREATE VIEW pedido_modificar AS
    SELECT NULL AS base, NULL AS valor, NULL AS meta, NULL AS id WHERE 0;

CREATE TRIGGER pedido_modificar INSTEAD OF INSERT ON pedido_modificar
BEGIN
    DELETE FROM entrada;
    INSERT INTO entrada VALUES ('base', NEW.base), ('valor', NEW.valor), ('meta', NEW.meta),
                               ('id', NEW.id);
    SELECT RAISE(ABORT, 'La Linea Base no es un número')
        FROM entrada_numero WHERE campo = 'base' AND NOT valido;
    SELECT RAISE(ABORT, 'El Valor no es un número')
        FROM entrada_numero WHERE campo = 'valor' AND NOT valido;
    SELECT RAISE(ABORT, 'La Meta no es un número')
        FROM entrada_numero WHERE campo = 'meta' AND NOT valido;
    SELECT RAISE(ABORT, 'No existe el registro indicado')
        WHERE NOT EXISTS (SELECT 1 FROM registro
                          WHERE id = (SELECT entero FROM entrada_numero WHERE campo = 'id'));
    UPDATE registro
       SET linea_base = (SELECT numero FROM entrada_numero WHERE campo = 'base'),
           valor = (SELECT numero FROM entrada_numero WHERE campo = 'valor'),
           meta = (SELECT numero FROM entrada_numero WHERE campo = 'meta')
     WHERE id = (SELECT entero FROM entrada_numero WHERE campo = 'id');
    DELETE FROM entrada;
END;

-- Indicator names are kept in Unicode NFC, so that a name typed with a
-- precomposed letter and one typed with a combining accent are the same
-- name. SQLite cannot normalise a text, so a new name is composed here: each
-- letter followed by a combining diacritical mark (U+0300 to U+036F) becomes
-- its precomposed letter, letters with one accent before those with two.
-- (The program sends its names in NFC already; this holds for any client.)
CREATE TABLE composicion (
    orden     INTEGER PRIMARY KEY,
    separado  TEXT NOT NULL,
    compuesto TEXT NOT NULL
);
INSERT INTO composicion VALUES
    (1, char(65, 768), char(192)), (2, char(65, 769), char(193)), (3, char(65, 770), char(194)),
    (4, char(65, 771), char(195)), (5, char(65, 776), char(196)), (6, char(65, 778), char(197)),
    (7, char(67, 807), char(199)), (8, char(69, 768), char(200)), (9, char(69, 769), char(201)),
    (10, char(69, 770), char(202)), (11, char(69, 776), char(203)), (12, char(73, 768), char(204)),
    (13, char(73, 769), char(205)), (14, char(73, 770), char(206)), (15, char(73, 776), char(207)),
    (16, char(78, 771), char(209)), (17, char(79, 768), char(210)), (18, char(79, 769), char(211)),
    (19, char(79, 770), char(212)), (20, char(79, 771), char(213)), (21, char(79, 776), char(214)),
    (22, char(85, 768), char(217)), (23, char(85, 769), char(218)), (24, char(85, 770), char(219)),
    (25, char(85, 776), char(220)), (26, char(89, 769), char(221)), (27, char(97, 768), char(224)),
    (28, char(97, 769), char(225)), (29, char(97, 770), char(226)), (30, char(97, 771), char(227)),
    (31, char(97, 776), char(228)), (32, char(97, 778), char(229)), (33, char(99, 807), char(231)),
    (34, char(101, 768), char(232)), (35, char(101, 769), char(233)),
    (36, char(101, 770), char(234)), (37, char(101, 776), char(235)),
    (38, char(105, 768), char(236)), (39, char(105, 769), char(237)),
    (40, char(105, 770), char(238)), (41, char(105, 776), char(239)),
    (42, char(110, 771), char(241)), (43, char(111, 768), char(242)),
    (44, char(111, 769), char(243)), (45, char(111, 770), char(244)),
    (46, char(111, 771), char(245)), (47, char(111, 776), char(246)),
    (48, char(117, 768), char(249)), (49, char(117, 769), char(250)),
    (50, char(117, 770), char(251)), (51, char(117, 776), char(252)),
    (52, char(121, 769), char(253)), (53, char(121, 776), char(255)),
    (54, char(65, 772), char(256)), (55, char(97, 772), char(257)), (56, char(65, 774), char(258)),
    (57, char(97, 774), char(259)), (58, char(65, 808), char(260)), (59, char(97, 808), char(261)),
    (60, char(67, 769), char(262)), (61, char(99, 769), char(263)), (62, char(67, 770), char(264)),
    (63, char(99, 770), char(265)), (64, char(67, 775), char(266)), (65, char(99, 775), char(267)),
    (66, char(67, 780), char(268)), (67, char(99, 780), char(269)), (68, char(68, 780), char(270)),
    (69, char(100, 780), char(271)), (70, char(69, 772), char(274)),
    (71, char(101, 772), char(275)), (72, char(69, 774), char(276)),
    (73, char(101, 774), char(277)), (74, char(69, 775), char(278)),
    (75, char(101, 775), char(279)), (76, char(69, 808), char(280)),
    (77, char(101, 808), char(281)), (78, char(69, 780), char(282)),
    (79, char(101, 780), char(283)), (80, char(71, 770), char(284)),
    (81, char(103, 770), char(285)), (82, char(71, 774), char(286)),
    (83, char(103, 774), char(287)), (84, char(71, 775), char(288)),
    (85, char(103, 775), char(289)), (86, char(71, 807), char(290)),
    (87, char(103, 807), char(291)), (88, char(72, 770), char(292)),
    (89, char(104, 770), char(293)), (90, char(73, 771), char(296)),
    (91, char(105, 771), char(297)), (92, char(73, 772), char(298)),
    (93, char(105, 772), char(299)), (94, char(73, 774), char(300)),
    (95, char(105, 774), char(301)), (96, char(73, 808), char(302)),
    (97, char(105, 808), char(303)), (98, char(73, 775), char(304)),
    (99, char(74, 770), char(308)), (100, char(106, 770), char(309)),
    (101, char(75, 807), char(310)), (102, char(107, 807), char(311)),
    (103, char(76, 769), char(313)), (104, char(108, 769), char(314)),
    (105, char(76, 807), char(315)), (106, char(108, 807), char(316)),
    (107, char(76, 780), char(317)), (108, char(108, 780), char(318)),
    (109, char(78, 769), char(323)), (110, char(110, 769), char(324)),
    (111, char(78, 807), char(325)), (112, char(110, 807), char(326)),
    (113, char(78, 780), char(327)), (114, char(110, 780), char(328)),
    (115, char(79, 772), char(332)), (116, char(111, 772), char(333)),
    (117, char(79, 774), char(334)), (118, char(111, 774), char(335)),
    (119, char(79, 779), char(336)), (120, char(111, 779), char(337)),
    (121, char(82, 769), char(340)), (122, char(114, 769), char(341)),
    (123, char(82, 807), char(342)), (124, char(114, 807), char(343)),
    (125, char(82, 780), char(344)), (126, char(114, 780), char(345)),
    (127, char(83, 769), char(346)), (128, char(115, 769), char(347)),
    (129, char(83, 770), char(348)), (130, char(115, 770), char(349)),
    (131, char(83, 807), char(350)), (132, char(115, 807), char(351)),
    (133, char(83, 780), char(352)), (134, char(115, 780), char(353)),
    (135, char(84, 807), char(354)), (136, char(116, 807), char(355)),
    (137, char(84, 780), char(356)), (138, char(116, 780), char(357)),
    (139, char(85, 771), char(360)), (140, char(117, 771), char(361)),
    (141, char(85, 772), char(362)), (142, char(117, 772), char(363)),
    (143, char(85, 774), char(364)), (144, char(117, 774), char(365)),
    (145, char(85, 778), char(366)), (146, char(117, 778), char(367)),
    (147, char(85, 779), char(368)), (148, char(117, 779), char(369)),
    (149, char(85, 808), char(370)), (150, char(117, 808), char(371)),
    (151, char(87, 770), char(372)), (152, char(119, 770), char(373)),
    (153, char(89, 770), char(374)), (154, char(121, 770), char(375)),
    (155, char(89, 776), char(376)), (156, char(90, 769), char(377)),
    (157, char(122, 769), char(378)), (158, char(90, 775), char(379)),
    (159, char(122, 775), char(380)), (160, char(90, 780), char(381)),
    (161, char(122, 780), char(382)), (162, char(79, 795), char(416)),
    (163, char(111, 795), char(417)), (164, char(85, 795), char(431)),
    (165, char(117, 795), char(432)), (166, char(65, 780), char(461)),
    (167, char(97, 780), char(462)), (168, char(73, 780), char(463)),
    (169, char(105, 780), char(464)), (170, char(79, 780), char(465)),
    (171, char(111, 780), char(466)), (172, char(85, 780), char(467)),
    (173, char(117, 780), char(468)), (174, char(198, 772), char(482)),
    (175, char(230, 772), char(483)), (176, char(71, 780), char(486)),
    (177, char(103, 780), char(487)), (178, char(75, 780), char(488)),
    (179, char(107, 780), char(489)), (180, char(79, 808), char(490)),
    (181, char(111, 808), char(491)), (182, char(439, 780), char(494)),
    (183, char(658, 780), char(495)), (184, char(106, 780), char(496)),
    (185, char(71, 769), char(500)), (186, char(103, 769), char(501)),
    (187, char(78, 768), char(504)), (188, char(110, 768), char(505)),
    (189, char(198, 769), char(508)), (190, char(230, 769), char(509)),
    (191, char(216, 769), char(510)), (192, char(248, 769), char(511)),
    (193, char(65, 783), char(512)), (194, char(97, 783), char(513)),
    (195, char(65, 785), char(514)), (196, char(97, 785), char(515)),
    (197, char(69, 783), char(516)), (198, char(101, 783), char(517)),
    (199, char(69, 785), char(518)), (200, char(101, 785), char(519)),
    (201, char(73, 783), char(520)), (202, char(105, 783), char(521)),
    (203, char(73, 785), char(522)), (204, char(105, 785), char(523)),
    (205, char(79, 783), char(524)), (206, char(111, 783), char(525)),
    (207, char(79, 785), char(526)), (208, char(111, 785), char(527)),
    (209, char(82, 783), char(528)), (210, char(114, 783), char(529)),
    (211, char(82, 785), char(530)), (212, char(114, 785), char(531)),
    (213, char(85, 783), char(532)), (214, char(117, 783), char(533)),
    (215, char(85, 785), char(534)), (216, char(117, 785), char(535)),
    (217, char(83, 806), char(536)), (218, char(115, 806), char(537)),
    (219, char(84, 806), char(538)), (220, char(116, 806), char(539)),
    (221, char(72, 780), char(542)), (222, char(104, 780), char(543)),
    (223, char(65, 775), char(550)), (224, char(97, 775), char(551)),
    (225, char(69, 807), char(552)), (226, char(101, 807), char(553)),
    (227, char(79, 775), char(558)), (228, char(111, 775), char(559)),
    (229, char(89, 772), char(562)), (230, char(121, 772), char(563)),
    (231, char(168, 769), char(901)), (232, char(913, 769), char(902)),
    (233, char(917, 769), char(904)), (234, char(919, 769), char(905)),
    (235, char(921, 769), char(906)), (236, char(927, 769), char(908)),
    (237, char(933, 769), char(910)), (238, char(937, 769), char(911)),
    (239, char(921, 776), char(938)), (240, char(933, 776), char(939)),
    (241, char(945, 769), char(940)), (242, char(949, 769), char(941)),
    (243, char(951, 769), char(942)), (244, char(953, 769), char(943)),
    (245, char(953, 776), char(970)), (246, char(965, 776), char(971)),
    (247, char(959, 769), char(972)), (248, char(965, 769), char(973)),
    (249, char(969, 769), char(974)), (250, char(978, 769), char(979)),
    (251, char(978, 776), char(980)), (252, char(1045, 768), char(1024)),
    (253, char(1045, 776), char(1025)), (254, char(1043, 769), char(1027)),
    (255, char(1030, 776), char(1031)), (256, char(1050, 769), char(1036)),
    (257, char(1048, 768), char(1037)), (258, char(1059, 774), char(1038)),
    (259, char(1048, 774), char(1049)), (260, char(1080, 774), char(1081)),
    (261, char(1077, 768), char(1104)), (262, char(1077, 776), char(1105)),
    (263, char(1075, 769), char(1107)), (264, char(1110, 776), char(1111)),
    (265, char(1082, 769), char(1116)), (266, char(1080, 768), char(1117)),
    (267, char(1091, 774), char(1118)), (268, char(1140, 783), char(1142)),
    (269, char(1141, 783), char(1143)), (270, char(1046, 774), char(1217)),
    (271, char(1078, 774), char(1218)), (272, char(1040, 774), char(1232)),
    (273, char(1072, 774), char(1233)), (274, char(1040, 776), char(1234)),
    (275, char(1072, 776), char(1235)), (276, char(1045, 774), char(1238)),
    (277, char(1077, 774), char(1239)), (278, char(1240, 776), char(1242)),
    (279, char(1241, 776), char(1243)), (280, char(1046, 776), char(1244)),
    (281, char(1078, 776), char(1245)), (282, char(1047, 776), char(1246)),
    (283, char(1079, 776), char(1247)), (284, char(1048, 772), char(1250)),
    (285, char(1080, 772), char(1251)), (286, char(1048, 776), char(1252)),
    (287, char(1080, 776), char(1253)), (288, char(1054, 776), char(1254)),
    (289, char(1086, 776), char(1255)), (290, char(1256, 776), char(1258)),
    (291, char(1257, 776), char(1259)), (292, char(1069, 776), char(1260)),
    (293, char(1101, 776), char(1261)), (294, char(1059, 772), char(1262)),
    (295, char(1091, 772), char(1263)), (296, char(1059, 776), char(1264)),
    (297, char(1091, 776), char(1265)), (298, char(1059, 779), char(1266)),
    (299, char(1091, 779), char(1267)), (300, char(1063, 776), char(1268)),
    (301, char(1095, 776), char(1269)), (302, char(1067, 776), char(1272)),
    (303, char(1099, 776), char(1273)), (304, char(65, 805), char(7680)),
    (305, char(97, 805), char(7681)), (306, char(66, 775), char(7682)),
    (307, char(98, 775), char(7683)), (308, char(66, 803), char(7684)),
    (309, char(98, 803), char(7685)), (310, char(66, 817), char(7686)),
    (311, char(98, 817), char(7687)), (312, char(68, 775), char(7690)),
    (313, char(100, 775), char(7691)), (314, char(68, 803), char(7692)),
    (315, char(100, 803), char(7693)), (316, char(68, 817), char(7694)),
    (317, char(100, 817), char(7695)), (318, char(68, 807), char(7696)),
    (319, char(100, 807), char(7697)), (320, char(68, 813), char(7698)),
    (321, char(100, 813), char(7699)), (322, char(69, 813), char(7704)),
    (323, char(101, 813), char(7705)), (324, char(69, 816), char(7706)),
    (325, char(101, 816), char(7707)), (326, char(70, 775), char(7710)),
    (327, char(102, 775), char(7711)), (328, char(71, 772), char(7712)),
    (329, char(103, 772), char(7713)), (330, char(72, 775), char(7714)),
    (331, char(104, 775), char(7715)), (332, char(72, 803), char(7716)),
    (333, char(104, 803), char(7717)), (334, char(72, 776), char(7718)),
    (335, char(104, 776), char(7719)), (336, char(72, 807), char(7720)),
    (337, char(104, 807), char(7721)), (338, char(72, 814), char(7722)),
    (339, char(104, 814), char(7723)), (340, char(73, 816), char(7724)),
    (341, char(105, 816), char(7725)), (342, char(75, 769), char(7728)),
    (343, char(107, 769), char(7729)), (344, char(75, 803), char(7730)),
    (345, char(107, 803), char(7731)), (346, char(75, 817), char(7732)),
    (347, char(107, 817), char(7733)), (348, char(76, 803), char(7734)),
    (349, char(108, 803), char(7735)), (350, char(76, 817), char(7738)),
    (351, char(108, 817), char(7739)), (352, char(76, 813), char(7740)),
    (353, char(108, 813), char(7741)), (354, char(77, 769), char(7742)),
    (355, char(109, 769), char(7743)), (356, char(77, 775), char(7744)),
    (357, char(109, 775), char(7745)), (358, char(77, 803), char(7746)),
    (359, char(109, 803), char(7747)), (360, char(78, 775), char(7748)),
    (361, char(110, 775), char(7749)), (362, char(78, 803), char(7750)),
    (363, char(110, 803), char(7751)), (364, char(78, 817), char(7752)),
    (365, char(110, 817), char(7753)), (366, char(78, 813), char(7754)),
    (367, char(110, 813), char(7755)), (368, char(80, 769), char(7764)),
    (369, char(112, 769), char(7765)), (370, char(80, 775), char(7766)),
    (371, char(112, 775), char(7767)), (372, char(82, 775), char(7768)),
    (373, char(114, 775), char(7769)), (374, char(82, 803), char(7770)),
    (375, char(114, 803), char(7771)), (376, char(82, 817), char(7774)),
    (377, char(114, 817), char(7775)), (378, char(83, 775), char(7776)),
    (379, char(115, 775), char(7777)), (380, char(83, 803), char(7778)),
    (381, char(115, 803), char(7779)), (382, char(84, 775), char(7786)),
    (383, char(116, 775), char(7787)), (384, char(84, 803), char(7788)),
    (385, char(116, 803), char(7789)), (386, char(84, 817), char(7790)),
    (387, char(116, 817), char(7791)), (388, char(84, 813), char(7792)),
    (389, char(116, 813), char(7793)), (390, char(85, 804), char(7794)),
    (391, char(117, 804), char(7795)), (392, char(85, 816), char(7796)),
    (393, char(117, 816), char(7797)), (394, char(85, 813), char(7798)),
    (395, char(117, 813), char(7799)), (396, char(86, 771), char(7804)),
    (397, char(118, 771), char(7805)), (398, char(86, 803), char(7806)),
    (399, char(118, 803), char(7807)), (400, char(87, 768), char(7808)),
    (401, char(119, 768), char(7809)), (402, char(87, 769), char(7810)),
    (403, char(119, 769), char(7811)), (404, char(87, 776), char(7812)),
    (405, char(119, 776), char(7813)), (406, char(87, 775), char(7814)),
    (407, char(119, 775), char(7815)), (408, char(87, 803), char(7816)),
    (409, char(119, 803), char(7817)), (410, char(88, 775), char(7818)),
    (411, char(120, 775), char(7819)), (412, char(88, 776), char(7820)),
    (413, char(120, 776), char(7821)), (414, char(89, 775), char(7822)),
    (415, char(121, 775), char(7823)), (416, char(90, 770), char(7824)),
    (417, char(122, 770), char(7825)), (418, char(90, 803), char(7826)),
    (419, char(122, 803), char(7827)), (420, char(90, 817), char(7828)),
    (421, char(122, 817), char(7829)), (422, char(104, 817), char(7830)),
    (423, char(116, 776), char(7831)), (424, char(119, 778), char(7832)),
    (425, char(121, 778), char(7833)), (426, char(383, 775), char(7835)),
    (427, char(65, 803), char(7840)), (428, char(97, 803), char(7841)),
    (429, char(65, 777), char(7842)), (430, char(97, 777), char(7843)),
    (431, char(69, 803), char(7864)), (432, char(101, 803), char(7865)),
    (433, char(69, 777), char(7866)), (434, char(101, 777), char(7867)),
    (435, char(69, 771), char(7868)), (436, char(101, 771), char(7869)),
    (437, char(73, 777), char(7880)), (438, char(105, 777), char(7881)),
    (439, char(73, 803), char(7882)), (440, char(105, 803), char(7883)),
    (441, char(79, 803), char(7884)), (442, char(111, 803), char(7885)),
    (443, char(79, 777), char(7886)), (444, char(111, 777), char(7887)),
    (445, char(85, 803), char(7908)), (446, char(117, 803), char(7909)),
    (447, char(85, 777), char(7910)), (448, char(117, 777), char(7911)),
    (449, char(89, 768), char(7922)), (450, char(121, 768), char(7923)),
    (451, char(89, 803), char(7924)), (452, char(121, 803), char(7925)),
    (453, char(89, 777), char(7926)), (454, char(121, 777), char(7927)),
    (455, char(89, 771), char(7928)), (456, char(121, 771), char(7929)),
    (457, char(945, 787), char(7936)), (458, char(945, 788), char(7937)),
    (459, char(913, 787), char(7944)), (460, char(913, 788), char(7945)),
    (461, char(949, 787), char(7952)), (462, char(949, 788), char(7953)),
    (463, char(917, 787), char(7960)), (464, char(917, 788), char(7961)),
    (465, char(951, 787), char(7968)), (466, char(951, 788), char(7969)),
    (467, char(919, 787), char(7976)), (468, char(919, 788), char(7977)),
    (469, char(953, 787), char(7984)), (470, char(953, 788), char(7985)),
    (471, char(921, 787), char(7992)), (472, char(921, 788), char(7993)),
    (473, char(959, 787), char(8000)), (474, char(959, 788), char(8001)),
    (475, char(927, 787), char(8008)), (476, char(927, 788), char(8009)),
    (477, char(965, 787), char(8016)), (478, char(965, 788), char(8017)),
    (479, char(933, 788), char(8025)), (480, char(969, 787), char(8032)),
    (481, char(969, 788), char(8033)), (482, char(937, 787), char(8040)),
    (483, char(937, 788), char(8041)), (484, char(945, 768), char(8048)),
    (485, char(949, 768), char(8050)), (486, char(951, 768), char(8052)),
    (487, char(953, 768), char(8054)), (488, char(959, 768), char(8056)),
    (489, char(965, 768), char(8058)), (490, char(969, 768), char(8060)),
    (491, char(945, 774), char(8112)), (492, char(945, 772), char(8113)),
    (493, char(945, 837), char(8115)), (494, char(945, 834), char(8118)),
    (495, char(913, 774), char(8120)), (496, char(913, 772), char(8121)),
    (497, char(913, 768), char(8122)), (498, char(913, 837), char(8124)),
    (499, char(168, 834), char(8129)), (500, char(951, 837), char(8131)),
    (501, char(951, 834), char(8134)), (502, char(917, 768), char(8136)),
    (503, char(919, 768), char(8138)), (504, char(919, 837), char(8140)),
    (505, char(8127, 768), char(8141)), (506, char(8127, 769), char(8142)),
    (507, char(8127, 834), char(8143)), (508, char(953, 774), char(8144)),
    (509, char(953, 772), char(8145)), (510, char(953, 834), char(8150)),
    (511, char(921, 774), char(8152)), (512, char(921, 772), char(8153)),
    (513, char(921, 768), char(8154)), (514, char(8190, 768), char(8157)),
    (515, char(8190, 769), char(8158)), (516, char(8190, 834), char(8159)),
    (517, char(965, 774), char(8160)), (518, char(965, 772), char(8161)),
    (519, char(961, 787), char(8164)), (520, char(961, 788), char(8165)),
    (521, char(965, 834), char(8166)), (522, char(933, 774), char(8168)),
    (523, char(933, 772), char(8169)), (524, char(933, 768), char(8170)),
    (525, char(929, 788), char(8172)), (526, char(168, 768), char(8173)),
    (527, char(969, 837), char(8179)), (528, char(969, 834), char(8182)),
    (529, char(927, 768), char(8184)), (530, char(937, 768), char(8186)),
    (531, char(937, 837), char(8188)), (532, char(8592, 824), char(8602)),
    (533, char(8594, 824), char(8603)), (534, char(8596, 824), char(8622)),
    (535, char(8656, 824), char(8653)), (536, char(8660, 824), char(8654)),
    (537, char(8658, 824), char(8655)), (538, char(8707, 824), char(8708)),
    (539, char(8712, 824), char(8713)), (540, char(8715, 824), char(8716)),
    (541, char(8739, 824), char(8740)), (542, char(8741, 824), char(8742)),
    (543, char(8764, 824), char(8769)), (544, char(8771, 824), char(8772)),
    (545, char(8773, 824), char(8775)), (546, char(8776, 824), char(8777)),
    (547, char(61, 824), char(8800)), (548, char(8801, 824), char(8802)),
    (549, char(8781, 824), char(8813)), (550, char(60, 824), char(8814)),
    (551, char(62, 824), char(8815)), (552, char(8804, 824), char(8816)),
    (553, char(8805, 824), char(8817)), (554, char(8818, 824), char(8820)),
    (555, char(8819, 824), char(8821)), (556, char(8822, 824), char(8824)),
    (557, char(8823, 824), char(8825)), (558, char(8826, 824), char(8832)),
    (559, char(8827, 824), char(8833)), (560, char(8834, 824), char(8836)),
    (561, char(8835, 824), char(8837)), (562, char(8838, 824), char(8840)),
    (563, char(8839, 824), char(8841)), (564, char(8866, 824), char(8876)),
    (565, char(8872, 824), char(8877)), (566, char(8873, 824), char(8878)),
    (567, char(8875, 824), char(8879)), (568, char(8828, 824), char(8928)),
    (569, char(8829, 824), char(8929)), (570, char(8849, 824), char(8930)),
    (571, char(8850, 824), char(8931)), (572, char(8882, 824), char(8938)),
    (573, char(8883, 824), char(8939)), (574, char(8884, 824), char(8940)),
    (575, char(8885, 824), char(8941)), (576, char(220, 772), char(469)),
    (577, char(252, 772), char(470)), (578, char(220, 769), char(471)),
    (579, char(252, 769), char(472)), (580, char(220, 780), char(473)),
    (581, char(252, 780), char(474)), (582, char(220, 768), char(475)),
    (583, char(252, 768), char(476)), (584, char(196, 772), char(478)),
    (585, char(228, 772), char(479)), (586, char(550, 772), char(480)),
    (587, char(551, 772), char(481)), (588, char(490, 772), char(492)),
    (589, char(491, 772), char(493)), (590, char(197, 769), char(506)),
    (591, char(229, 769), char(507)), (592, char(214, 772), char(554)),
    (593, char(246, 772), char(555)), (594, char(213, 772), char(556)),
    (595, char(245, 772), char(557)), (596, char(558, 772), char(560)),
    (597, char(559, 772), char(561)), (598, char(970, 769), char(912)),
    (599, char(971, 769), char(944)), (600, char(199, 769), char(7688)),
    (601, char(231, 769), char(7689)), (602, char(274, 768), char(7700)),
    (603, char(275, 768), char(7701)), (604, char(274, 769), char(7702)),
    (605, char(275, 769), char(7703)), (606, char(552, 774), char(7708)),
    (607, char(553, 774), char(7709)), (608, char(207, 769), char(7726)),
    (609, char(239, 769), char(7727)), (610, char(7734, 772), char(7736)),
    (611, char(7735, 772), char(7737)), (612, char(213, 769), char(7756)),
    (613, char(245, 769), char(7757)), (614, char(213, 776), char(7758)),
    (615, char(245, 776), char(7759)), (616, char(332, 768), char(7760)),
    (617, char(333, 768), char(7761)), (618, char(332, 769), char(7762)),
    (619, char(333, 769), char(7763)), (620, char(7770, 772), char(7772)),
    (621, char(7771, 772), char(7773)), (622, char(346, 775), char(7780)),
    (623, char(347, 775), char(7781)), (624, char(352, 775), char(7782)),
    (625, char(353, 775), char(7783)), (626, char(7778, 775), char(7784)),
    (627, char(7779, 775), char(7785)), (628, char(360, 769), char(7800)),
    (629, char(361, 769), char(7801)), (630, char(362, 776), char(7802)),
    (631, char(363, 776), char(7803)), (632, char(194, 769), char(7844)),
    (633, char(226, 769), char(7845)), (634, char(194, 768), char(7846)),
    (635, char(226, 768), char(7847)), (636, char(194, 777), char(7848)),
    (637, char(226, 777), char(7849)), (638, char(194, 771), char(7850)),
    (639, char(226, 771), char(7851)), (640, char(7840, 770), char(7852)),
    (641, char(7841, 770), char(7853)), (642, char(258, 769), char(7854)),
    (643, char(259, 769), char(7855)), (644, char(258, 768), char(7856)),
    (645, char(259, 768), char(7857)), (646, char(258, 777), char(7858)),
    (647, char(259, 777), char(7859)), (648, char(258, 771), char(7860)),
    (649, char(259, 771), char(7861)), (650, char(7840, 774), char(7862)),
    (651, char(7841, 774), char(7863)), (652, char(202, 769), char(7870)),
    (653, char(234, 769), char(7871)), (654, char(202, 768), char(7872)),
    (655, char(234, 768), char(7873)), (656, char(202, 777), char(7874)),
    (657, char(234, 777), char(7875)), (658, char(202, 771), char(7876)),
    (659, char(234, 771), char(7877)), (660, char(7864, 770), char(7878)),
    (661, char(7865, 770), char(7879)), (662, char(212, 769), char(7888)),
    (663, char(244, 769), char(7889)), (664, char(212, 768), char(7890)),
    (665, char(244, 768), char(7891)), (666, char(212, 777), char(7892)),
    (667, char(244, 777), char(7893)), (668, char(212, 771), char(7894)),
    (669, char(244, 771), char(7895)), (670, char(7884, 770), char(7896)),
    (671, char(7885, 770), char(7897)), (672, char(416, 769), char(7898)),
    (673, char(417, 769), char(7899)), (674, char(416, 768), char(7900)),
    (675, char(417, 768), char(7901)), (676, char(416, 777), char(7902)),
    (677, char(417, 777), char(7903)), (678, char(416, 771), char(7904)),
    (679, char(417, 771), char(7905)), (680, char(416, 803), char(7906)),
    (681, char(417, 803), char(7907)), (682, char(431, 769), char(7912)),
    (683, char(432, 769), char(7913)), (684, char(431, 768), char(7914)),
    (685, char(432, 768), char(7915)), (686, char(431, 777), char(7916)),
    (687, char(432, 777), char(7917)), (688, char(431, 771), char(7918)),
    (689, char(432, 771), char(7919)), (690, char(431, 803), char(7920)),
    (691, char(432, 803), char(7921)), (692, char(7936, 768), char(7938)),
    (693, char(7937, 768), char(7939)), (694, char(7936, 769), char(7940)),
    (695, char(7937, 769), char(7941)), (696, char(7936, 834), char(7942)),
    (697, char(7937, 834), char(7943)), (698, char(7944, 768), char(7946)),
    (699, char(7945, 768), char(7947)), (700, char(7944, 769), char(7948)),
    (701, char(7945, 769), char(7949)), (702, char(7944, 834), char(7950)),
    (703, char(7945, 834), char(7951)), (704, char(7952, 768), char(7954)),
    (705, char(7953, 768), char(7955)), (706, char(7952, 769), char(7956)),
    (707, char(7953, 769), char(7957)), (708, char(7960, 768), char(7962)),
    (709, char(7961, 768), char(7963)), (710, char(7960, 769), char(7964)),
    (711, char(7961, 769), char(7965)), (712, char(7968, 768), char(7970)),
    (713, char(7969, 768), char(7971)), (714, char(7968, 769), char(7972)),
    (715, char(7969, 769), char(7973)), (716, char(7968, 834), char(7974)),
    (717, char(7969, 834), char(7975)), (718, char(7976, 768), char(7978)),
    (719, char(7977, 768), char(7979)), (720, char(7976, 769), char(7980)),
    (721, char(7977, 769), char(7981)), (722, char(7976, 834), char(7982)),
    (723, char(7977, 834), char(7983)), (724, char(7984, 768), char(7986)),
    (725, char(7985, 768), char(7987)), (726, char(7984, 769), char(7988)),
    (727, char(7985, 769), char(7989)), (728, char(7984, 834), char(7990)),
    (729, char(7985, 834), char(7991)), (730, char(7992, 768), char(7994)),
    (731, char(7993, 768), char(7995)), (732, char(7992, 769), char(7996)),
    (733, char(7993, 769), char(7997)), (734, char(7992, 834), char(7998)),
    (735, char(7993, 834), char(7999)), (736, char(8000, 768), char(8002)),
    (737, char(8001, 768), char(8003)), (738, char(8000, 769), char(8004)),
    (739, char(8001, 769), char(8005)), (740, char(8008, 768), char(8010)),
    (741, char(8009, 768), char(8011)), (742, char(8008, 769), char(8012)),
    (743, char(8009, 769), char(8013)), (744, char(8016, 768), char(8018)),
    (745, char(8017, 768), char(8019)), (746, char(8016, 769), char(8020)),
    (747, char(8017, 769), char(8021)), (748, char(8016, 834), char(8022)),
    (749, char(8017, 834), char(8023)), (750, char(8025, 768), char(8027)),
    (751, char(8025, 769), char(8029)), (752, char(8025, 834), char(8031)),
    (753, char(8032, 768), char(8034)), (754, char(8033, 768), char(8035)),
    (755, char(8032, 769), char(8036)), (756, char(8033, 769), char(8037)),
    (757, char(8032, 834), char(8038)), (758, char(8033, 834), char(8039)),
    (759, char(8040, 768), char(8042)), (760, char(8041, 768), char(8043)),
    (761, char(8040, 769), char(8044)), (762, char(8041, 769), char(8045)),
    (763, char(8040, 834), char(8046)), (764, char(8041, 834), char(8047)),
    (765, char(7936, 837), char(8064)), (766, char(7937, 837), char(8065)),
    (767, char(7944, 837), char(8072)), (768, char(7945, 837), char(8073)),
    (769, char(7968, 837), char(8080)), (770, char(7969, 837), char(8081)),
    (771, char(7976, 837), char(8088)), (772, char(7977, 837), char(8089)),
    (773, char(8032, 837), char(8096)), (774, char(8033, 837), char(8097)),
    (775, char(8040, 837), char(8104)), (776, char(8041, 837), char(8105)),
    (777, char(8048, 837), char(8114)), (778, char(940, 837), char(8116)),
    (779, char(8118, 837), char(8119)), (780, char(8052, 837), char(8130)),
    (781, char(942, 837), char(8132)), (782, char(8134, 837), char(8135)),
    (783, char(970, 768), char(8146)), (784, char(970, 834), char(8151)),
    (785, char(971, 768), char(8162)), (786, char(971, 834), char(8167)),
    (787, char(8060, 837), char(8178)), (788, char(974, 837), char(8180)),
    (789, char(8182, 837), char(8183)), (790, char(7938, 837), char(8066)),
    (791, char(7939, 837), char(8067)), (792, char(7940, 837), char(8068)),
    (793, char(7941, 837), char(8069)), (794, char(7942, 837), char(8070)),
    (795, char(7943, 837), char(8071)), (796, char(7946, 837), char(8074)),
    (797, char(7947, 837), char(8075)), (798, char(7948, 837), char(8076)),
    (799, char(7949, 837), char(8077)), (800, char(7950, 837), char(8078)),
    (801, char(7951, 837), char(8079)), (802, char(7970, 837), char(8082)),
    (803, char(7971, 837), char(8083)), (804, char(7972, 837), char(8084)),
    (805, char(7973, 837), char(8085)), (806, char(7974, 837), char(8086)),
    (807, char(7975, 837), char(8087)), (808, char(7978, 837), char(8090)),
    (809, char(7979, 837), char(8091)), (810, char(7980, 837), char(8092)),
    (811, char(7981, 837), char(8093)), (812, char(7982, 837), char(8094)),
    (813, char(7983, 837), char(8095)), (814, char(8034, 837), char(8098)),
    (815, char(8035, 837), char(8099)), (816, char(8036, 837), char(8100)),
    (817, char(8037, 837), char(8101)), (818, char(8038, 837), char(8102)),
    (819, char(8039, 837), char(8103)), (820, char(8042, 837), char(8106)),
    (821, char(8043, 837), char(8107)), (822, char(8044, 837), char(8108)),
    (823, char(8045, 837), char(8109)), (824, char(8046, 837), char(8110)),
    (825, char(8047, 837), char(8111));

-- Invisible characters and direction controls make a name look like
-- another one, or reorder what the lists show: refused whoever stores them.
CREATE TRIGGER indicador_nombre_visible BEFORE INSERT ON indicador
WHEN NEW.nombre GLOB '*[' || char(1564, 8203, 8204, 8205, 8206, 8207, 8232, 8233, 8234, 8235, 8236,
                                  8237, 8238, 8288, 8294, 8295, 8296, 8297, 65279) || ']*'
BEGIN
    SELECT RAISE(ABORT, 'El nombre del indicador no puede tener caracteres invisibles ni de dirección del texto');
END;

CREATE TRIGGER indicador_nombre_visible_cambio BEFORE UPDATE OF nombre ON indicador
WHEN NEW.nombre GLOB '*[' || char(1564, 8203, 8204, 8205, 8206, 8207, 8232, 8233, 8234, 8235, 8236,
                                  8237, 8238, 8288, 8294, 8295, 8296, 8297, 65279) || ']*'
BEGIN
    SELECT RAISE(ABORT, 'El nombre del indicador no puede tener caracteres invisibles ni de dirección del texto');
END;

-- The name in entrada ('nombre'), composed.
CREATE VIEW nombre_compuesto AS
    WITH RECURSIVE paso(n, t) AS (
        SELECT 0, texto FROM entrada WHERE campo = 'nombre'
        UNION ALL
        SELECT p.n + 1, CASE WHEN instr(p.t, c.separado) > 0 THEN replace(p.t, c.separado, c.compuesto)
                             ELSE p.t END
        FROM paso p JOIN composicion c ON c.orden = p.n + 1)
    SELECT t AS nombre FROM paso ORDER BY n DESC LIMIT 1;

-- Nuevo_Indicador 'nombre','tipo': a principal indicator starts in the first
-- perspective, a departmental one in the first department; both start
-- increasing, in the first unit, until a monthly record sets them.
CREATE VIEW pedido_nuevo_indicador AS
    SELECT NULL AS nombre, NULL AS tipo WHERE 0;

CREATE TRIGGER pedido_nuevo_indicador INSTEAD OF INSERT ON pedido_nuevo_indicador
BEGIN
    SELECT RAISE(ABORT, 'Falta el nombre del indicador')
        WHERE trim(coalesce(NEW.nombre, '')) = '';
    SELECT RAISE(ABORT, 'El nombre del indicador no puede pasar de 70 caracteres')
        WHERE length(rtrim(NEW.nombre)) > 70;
    SELECT RAISE(ABORT, 'El nombre del indicador no puede tener caracteres de control')
        WHERE NEW.nombre GLOB '*[' || char(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                           19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 127, 128,
                                           129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140,
                                           141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152,
                                           153, 154, 155, 156, 157, 158, 159) || ']*';
    DELETE FROM entrada;
    INSERT INTO entrada VALUES ('nombre', rtrim(NEW.nombre));
    UPDATE entrada SET texto = (SELECT nombre FROM nombre_compuesto) WHERE campo = 'nombre';
    SELECT RAISE(ABORT, 'Ya existe un indicador con ese nombre')
        WHERE EXISTS (SELECT 1 FROM indicador
                      WHERE nombre = (SELECT texto FROM entrada WHERE campo = 'nombre'));
    SELECT RAISE(ABORT, 'Tipo de indicador desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Tipo Indicador" WHERE CAST(id AS TEXT) = trim(NEW.tipo));
    INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad)
        VALUES ((SELECT texto FROM entrada WHERE campo = 'nombre'), CAST(trim(NEW.tipo) AS INTEGER),
                CASE WHEN trim(NEW.tipo) = '1' THEN (SELECT min(id) FROM Perspectivas) END,
                (SELECT min(id) FROM "Desempeño"), (SELECT min(id) FROM "Tipo Unidad"));
    INSERT INTO indicador_departamento (id_indicador, id_departamento)
        SELECT i.id, (SELECT min(id) FROM Departamentos) FROM indicador i
        WHERE i.nombre = (SELECT texto FROM entrada WHERE campo = 'nombre') AND i.id_tipo = 2
          AND EXISTS (SELECT 1 FROM Departamentos);
    DELETE FROM entrada;
END;

-- eliminar 'nombre': the indicator, its department links and its records.
CREATE VIEW pedido_eliminar AS
    SELECT NULL AS nombre WHERE 0;

CREATE TRIGGER pedido_eliminar INSTEAD OF INSERT ON pedido_eliminar
BEGIN
    SELECT RAISE(ABORT, 'No existe el indicador')
        WHERE NOT EXISTS (SELECT 1 FROM indicador WHERE nombre = rtrim(NEW.nombre));
    DELETE FROM indicador WHERE nombre = rtrim(NEW.nombre);
END;

-- Nuevo_registro 'año','mes','indicador','desempeño','perspectiva','tipo',
-- 'unidad','base','meta','valor': codes by id, the month by name. The codes
-- set the indicator's attributes (the type is checked, not changed) and the
-- numbers go into its records of that year and month (one per department
-- for a departmental indicator).
CREATE VIEW pedido_nuevo_registro AS
    SELECT NULL AS anio, NULL AS mes, NULL AS indicador, NULL AS desempeno,
           NULL AS perspectiva, NULL AS tipo, NULL AS unidad, NULL AS base, NULL AS meta,
           NULL AS valor
    WHERE 0;

CREATE TRIGGER pedido_nuevo_registro INSTEAD OF INSERT ON pedido_nuevo_registro
BEGIN
    SELECT RAISE(ABORT, 'Año desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Año" WHERE CAST(id AS TEXT) = trim(NEW.anio));
    SELECT RAISE(ABORT, 'Mes desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM mes WHERE lower(nombre) = lower(trim(NEW.mes)));
    SELECT RAISE(ABORT, 'No existe el indicador')
        WHERE NOT EXISTS (SELECT 1 FROM indicador WHERE nombre = rtrim(NEW.indicador));
    SELECT RAISE(ABORT, 'Desempeño desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Desempeño" WHERE CAST(id AS TEXT) = trim(NEW.desempeno));
    SELECT RAISE(ABORT, 'Perspectiva desconocida')
        WHERE NOT EXISTS (SELECT 1 FROM Perspectivas WHERE CAST(id AS TEXT) = trim(NEW.perspectiva));
    SELECT RAISE(ABORT, 'Tipo de indicador desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Tipo Indicador" WHERE CAST(id AS TEXT) = trim(NEW.tipo));
    SELECT RAISE(ABORT, 'Unidad desconocida')
        WHERE NOT EXISTS (SELECT 1 FROM "Tipo Unidad" WHERE CAST(id AS TEXT) = trim(NEW.unidad));
    DELETE FROM entrada;
    INSERT INTO entrada VALUES ('base', NEW.base), ('meta', NEW.meta), ('valor', NEW.valor);
    SELECT RAISE(ABORT, 'La Linea Base no es un número')
        FROM entrada_numero WHERE campo = 'base' AND NOT valido;
    SELECT RAISE(ABORT, 'La Meta no es un número')
        FROM entrada_numero WHERE campo = 'meta' AND NOT valido;
    SELECT RAISE(ABORT, 'El Valor no es un número')
        FROM entrada_numero WHERE campo = 'valor' AND NOT valido;
    UPDATE indicador
       SET id_desempeno = CAST(trim(NEW.desempeno) AS INTEGER),
           id_perspectiva = CAST(trim(NEW.perspectiva) AS INTEGER),
           id_unidad = CAST(trim(NEW.unidad) AS INTEGER)
     WHERE nombre = rtrim(NEW.indicador);
    UPDATE registro
       SET linea_base = (SELECT numero FROM entrada_numero WHERE campo = 'base'),
           meta = (SELECT numero FROM entrada_numero WHERE campo = 'meta'),
           valor = (SELECT numero FROM entrada_numero WHERE campo = 'valor')
     WHERE id_indicador = (SELECT id FROM indicador WHERE nombre = rtrim(NEW.indicador))
       AND id_anio = CAST(trim(NEW.anio) AS INTEGER)
       AND mes = (SELECT id FROM mes WHERE lower(nombre) = lower(trim(NEW.mes)));
    DELETE FROM entrada;
END;

-- The procedures. Arguments are bound in the order `parametros` lists them;
-- an argument marked "n" is a number (see entrada).
INSERT OR REPLACE INTO procedimientos (nombre, paso, sentencia, parametros) VALUES

('Reporte_Principal', 1, '
WITH p AS (SELECT
    (SELECT id FROM Perspectivas WHERE rtrim(perspectiva) = rtrim(?)) AS id_perspectiva,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    trim(?) AS tipo)
SELECT i.nombre AS "Indicador", r.meta_exacta AS "Meta C/P", r.valor_exacto AS "Valor",
       r.linea_base_exacta AS "Nivel Base", i.id_desempeno AS "Id_Desempeño"
FROM p
JOIN indicador i ON i.id_perspectiva = p.id_perspectiva AND CAST(i.id_tipo AS TEXT) = p.tipo
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = 0
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
ORDER BY i.id', '1,2,3,4'),

('Reporte_Departamentos', 1, '
WITH p AS (SELECT
    (SELECT id FROM Departamentos WHERE "Departamento" = rtrim(?)) AS id_departamento,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    trim(?) AS tipo)
SELECT i.nombre AS "Indicador", r.meta_exacta AS "Meta C/P", r.valor_exacto AS "Valor",
       r.linea_base_exacta AS "Nivel Base", i.id_desempeno AS "Id_Desempeño"
FROM p
JOIN indicador_departamento d ON d.id_departamento = p.id_departamento
JOIN indicador i ON i.id = d.id_indicador AND CAST(i.id_tipo AS TEXT) = p.tipo
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
ORDER BY i.id', '1,2,3,4'),

('Ten_Des', 1, '
WITH p AS (SELECT
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador)
SELECT r.meta_exacta AS "Meta C/P", r.valor_exacto AS "Valor", r.linea_base_exacta AS "Nivel Base",
       i.id_desempeno AS "Id_Desempeño"
FROM p CROSS JOIN mes m
LEFT JOIN indicador i ON i.id = p.id_indicador
LEFT JOIN registro r ON r.id_indicador = p.id_indicador AND r.id_departamento = 0
                    AND r.id_anio = p.id_anio AND r.mes = m.id
ORDER BY m.id', '2,3'),

('Ten_Des2', 1, '
WITH p AS (SELECT
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador,
    (SELECT id FROM Departamentos WHERE "Departamento" = rtrim(?)) AS id_departamento)
SELECT r.meta_exacta AS "Meta", r.valor_exacto AS "Valor", r.linea_base_exacta AS "Linea_Base",
       i.id_desempeno AS "Id_Desempeño"
FROM p CROSS JOIN mes m
LEFT JOIN indicador i ON i.id = p.id_indicador
LEFT JOIN registro r ON r.id_indicador = p.id_indicador AND r.id_departamento = p.id_departamento
                    AND r.id_anio = p.id_anio AND r.mes = m.id
ORDER BY m.id', '2,3,4'),

('Ten_Des_1_2', 1, '
SELECT dp."Departamento" AS "Nombre1"
FROM indicador i
JOIN indicador_departamento d ON d.id_indicador = i.id
JOIN Departamentos dp ON dp.id = d.id_departamento
WHERE i.nombre = rtrim(?)
ORDER BY dp.id', '3'),

('Consulta_KPI_2', 1, '
SELECT dp."Departamento" AS "Nombre1"
FROM indicador i
JOIN indicador_departamento d ON d.id_indicador = i.id
JOIN Departamentos dp ON dp.id = d.id_departamento
WHERE i.nombre = rtrim(?)
ORDER BY dp.id', '1'),

('Principales_o_Departametnales', 1, '
SELECT nombre AS "Indicador", nombre AS "Nombre"
FROM indicador
WHERE CAST(id_tipo AS TEXT) = trim(?)
ORDER BY id', '1'),

('Consulta_KPI', 1, '
WITH p AS (SELECT
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio)
SELECT t."Tipo Indicador" AS "Tipo Indicador", u.unidad AS "unidad",
       r.linea_base_exacta AS "Nivel Base", r.valor_exacto AS "Valor", r.meta_exacta AS "Meta C/P",
       a."año" AS "año", r.id AS "ID", t."Tipo Indicador" AS "Tipo_Indicador"
FROM p
JOIN indicador i ON i.id = p.id_indicador
JOIN "Tipo Indicador" t ON t.id = i.id_tipo
JOIN "Tipo Unidad" u ON u.id = i.id_unidad
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = 0
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
LEFT JOIN "Año" a ON a.id = r.id_anio', '1,2,3'),

('Consulta_KPI_DEPARTAMENTOS', 1, '
WITH p AS (SELECT
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id FROM Departamentos WHERE "Departamento" = rtrim(?)) AS id_departamento)
SELECT t."Tipo Indicador" AS "Tipo_Indicador", u.unidad AS "Tipo_Unidad",
       r.linea_base_exacta AS "Linea_Base", r.valor_exacto AS "Valor", r.meta_exacta AS "Meta",
       a."año" AS "año", r.id AS "Id1"
FROM p
JOIN indicador i ON i.id = p.id_indicador
JOIN indicador_departamento d ON d.id_indicador = i.id AND d.id_departamento = p.id_departamento
JOIN "Tipo Indicador" t ON t.id = i.id_tipo
JOIN "Tipo Unidad" u ON u.id = i.id_unidad
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
LEFT JOIN "Año" a ON a.id = r.id_anio', '1,2,3,4'),

('Consulta_modificar', 1, '
SELECT r.valor_exacto AS "Valor", r.meta_exacta AS "Meta C/P", r.linea_base_exacta AS "Nivel Base", r.id AS "Id1"
FROM registro r
WHERE r.id_indicador = (SELECT id FROM indicador WHERE nombre = rtrim(?))
  AND r.id_anio = (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?))
ORDER BY r.id_departamento, r.mes', '1,2'),

-- One record by its identifier, read again inside a save's transaction (the
-- store transaction already holds the write lock) to see whether anyone
-- changed it after the screen fetched it, with what it is a record of: the
-- indicator, year and month.
('Consulta_registro', 1, '
SELECT r.valor_exacto AS "Valor", r.meta_exacta AS "Meta C/P", r.linea_base_exacta AS "Nivel Base", r.id AS "Id1",
       i.nombre AS "Indicador", a."año" AS "año", m.nombre AS "Mes"
FROM registro r
JOIN indicador i ON i.id = r.id_indicador
JOIN "Año" a ON a.id = r.id_anio
JOIN mes m ON m.id = r.mes
WHERE r.id = CAST(trim(?) AS INTEGER) AND trim(?) GLOB ''[0-9]*'' AND trim(?) NOT GLOB ''*[^0-9]*''', '1,1,1'),

-- CROSS JOIN keeps the records as the outer loop: they are walked in the
-- order of registro_periodo and stream without a sort.
('Exportar', 1, '
SELECT a."año" AS "año", m.nombre AS "Mes", i.nombre AS "Indicador",
       t."Tipo Indicador" AS "Tipo Indicador", d."desempeño" AS "desempeño",
       u.unidad AS "unidad", r.linea_base_exacta AS "Nivel Base", r.valor_exacto AS "Valor",
       r.meta_exacta AS "Meta C/P"
FROM registro r
CROSS JOIN "Año" a ON a.id = r.id_anio
CROSS JOIN mes m ON m.id = r.mes
CROSS JOIN indicador i ON i.id = r.id_indicador
CROSS JOIN "Tipo Indicador" t ON t.id = i.id_tipo
CROSS JOIN "Desempeño" d ON d.id = i.id_desempeno
CROSS JOIN "Tipo Unidad" u ON u.id = i.id_unidad
WHERE r.valor IS NOT NULL OR r.meta IS NOT NULL OR r.linea_base IS NOT NULL
ORDER BY r.id_anio, r.mes, r.id_indicador, r.id_departamento', ''),

('modificar', 1, '
INSERT INTO pedido_modificar (base, valor, meta, id) VALUES (?, ?, ?, ?)', '1n,2n,3n,4'),

('Nuevo_Indicador', 1, '
INSERT INTO pedido_nuevo_indicador (nombre, tipo) VALUES (?, ?)', '1,2'),

('eliminar', 1, '
INSERT INTO pedido_eliminar (nombre) VALUES (?)', '1'),

('Nuevo_registro', 1, '
INSERT INTO pedido_nuevo_registro
    (anio, mes, indicador, desempeno, perspectiva, tipo, unidad, base, meta, valor)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)', '1,2,3,4,5,6,7,8n,9n,10n');
