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
