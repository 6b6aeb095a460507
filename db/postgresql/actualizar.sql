-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on PostgreSQL: what a database loaded by an
-- earlier version lacks besides its procedures (actualizar.sh loads
-- 02_procedimientos.sql again first). Every row and id stays.

-- Indicator names are kept in NFC. A name that is not becomes its NFC form,
-- its history rows with it, unless another indicator already has that name:
-- then both stay as they are (the checks on names look at new names only).
CREATE TEMP TABLE velmora_nfc ON COMMIT DROP AS
    SELECT i.id, i.nombre AS antes, normalize(i.nombre, NFC) AS despues
    FROM indicador i
    WHERE i.nombre IS NOT NFC NORMALIZED
      AND NOT EXISTS (SELECT 1 FROM indicador o WHERE o.nombre = normalize(i.nombre, NFC));
-- An old name may hold an invisible character: it stays, so the check on
-- new names waits.
ALTER TABLE indicador DISABLE TRIGGER indicador_nombre_valido;
UPDATE indicador i SET nombre = n.despues FROM velmora_nfc n WHERE i.id = n.id;
ALTER TABLE indicador ENABLE TRIGGER indicador_nombre_valido;

DO $$
BEGIN
    IF to_regclass('historial') IS NOT NULL THEN
        UPDATE historial h SET indicador = n.despues FROM velmora_nfc n WHERE h.indicador = n.antes;
        -- A deleted indicator's too, so that a restore brings it back in NFC.
        UPDATE historial h SET indicador = normalize(h.indicador, NFC)
         WHERE h.indicador IS NOT NFC NORMALIZED
           AND NOT EXISTS (SELECT 1 FROM indicador i
                           WHERE i.nombre IN (h.indicador, normalize(h.indicador, NFC)));
    END IF;
    -- The checks on names an earlier run added held on every update of an
    -- old row: the trigger of 02_procedimientos.sql looks at new names only.
    ALTER TABLE indicador DROP CONSTRAINT IF EXISTS indicador_nombre_nfc;
    ALTER TABLE indicador DROP CONSTRAINT IF EXISTS indicador_nombre_visible;
END $$;

-- Rights: 05_permisos.sql (loaded before this file) gave them to the two
-- groups. An account that had rights of its own on the tables or the
-- procedures loses them, since they let it change rows without a store;
-- actualizar.sh then names the group each one needs: velmora_edicion for an
-- account that could change something, velmora_lectura for one that read.
-- The tables' owner (run by a superuser, the script still means that role).
SELECT relowner AS velmora_dueno FROM pg_class WHERE oid = 'indicador'::regclass \gset
CREATE TEMP TABLE velmora_derechos ON COMMIT DROP AS
    SELECT 'TABLE' AS clase, c.oid::regclass::text AS objeto, c.relname::text AS nombre, a.grantee,
           a.privilege_type
    FROM pg_class c CROSS JOIN LATERAL aclexplode(c.relacl) a
    WHERE c.relnamespace = 'public'::regnamespace AND c.relowner = :velmora_dueno
    UNION ALL
    SELECT 'FUNCTION', p.oid::regprocedure::text, p.proname::text, a.grantee, a.privilege_type
    FROM pg_proc p CROSS JOIN LATERAL aclexplode(p.proacl) a
    WHERE p.pronamespace = 'public'::regnamespace AND p.proowner = :velmora_dueno;
DELETE FROM velmora_derechos
 WHERE grantee = 0 OR grantee = :velmora_dueno
    OR pg_get_userbyid(grantee) IN ('velmora_lectura', 'velmora_edicion');

CREATE TEMP TABLE velmora_cuentas ON COMMIT DROP AS
    SELECT pg_get_userbyid(grantee)::text AS cuenta,
           bool_or(privilege_type IN ('INSERT', 'UPDATE', 'DELETE', 'TRUNCATE')
                   OR nombre IN ('modificar', 'Nuevo_Indicador', 'eliminar', 'Nuevo_registro',
                                 'Restaurar_indicador', 'Consulta_registro')) AS modificaba
    FROM velmora_derechos
    GROUP BY grantee;

DO $$
DECLARE
    d record;
BEGIN
    FOR d IN SELECT DISTINCT clase, objeto, pg_get_userbyid(grantee) AS cuenta FROM velmora_derechos LOOP
        EXECUTE format('REVOKE ALL ON %s %s FROM %I', d.clase, d.objeto, d.cuenta);
    END LOOP;
END $$;

\o
SELECT format('La base está al día. Solo las cuentas de velmora_lectura (consultan) y de velmora_edicion (también crean, modifican, eliminan y restauran) leen sus datos; la cuenta dueña, %s, lo puede todo: que ninguna persona trabaje con ella, pues el historial nombra la cuenta.',
              :velmora_dueno::oid::regrole);
SELECT 'A cada persona, una cuenta propia en su grupo (o db/postgresql/cuenta.sh <conexión> <cuenta> lectura|edicion):';
SELECT '  CREATE ROLE ana LOGIN PASSWORD ''...''; GRANT velmora_edicion TO ana;';
SELECT 'Se quitaron los permisos propios de estas cuentas; concédales su grupo:'
 WHERE EXISTS (SELECT 1 FROM velmora_cuentas);
SELECT format('  GRANT %s TO %I;', CASE WHEN modificaba THEN 'velmora_edicion' ELSE 'velmora_lectura' END, cuenta)
  FROM velmora_cuentas ORDER BY cuenta;
