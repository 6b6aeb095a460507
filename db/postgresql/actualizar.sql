-- Velmora scorecard database on PostgreSQL: what a database loaded by an
-- earlier version lacks besides its procedures (actualizar.sh loads
-- 02_procedimientos.sql again first). Every row and id stays.

-- Indicator names are kept in NFC. A name that is not becomes its NFC form,
-- its history rows with it, unless another indicator already has that name:
-- then both stay as they are (the checks below hold for new names only).
CREATE TEMP TABLE velmora_nfc ON COMMIT DROP AS
    SELECT i.id, i.nombre AS antes, normalize(i.nombre, NFC) AS despues
    FROM indicador i
    WHERE i.nombre IS NOT NFC NORMALIZED
      AND NOT EXISTS (SELECT 1 FROM indicador o WHERE o.nombre = normalize(i.nombre, NFC));
UPDATE indicador i SET nombre = n.despues FROM velmora_nfc n WHERE i.id = n.id;

DO $$
BEGIN
    IF to_regclass('historial') IS NOT NULL THEN
        UPDATE historial h SET indicador = n.despues FROM velmora_nfc n WHERE h.indicador = n.antes;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_constraint WHERE conname = 'indicador_nombre_nfc') THEN
        ALTER TABLE indicador ADD CONSTRAINT indicador_nombre_nfc CHECK (nombre IS NFC NORMALIZED) NOT VALID;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_constraint WHERE conname = 'indicador_nombre_visible') THEN
        ALTER TABLE indicador ADD CONSTRAINT indicador_nombre_visible
            CHECK (nombre !~ '[\u061C\u200B-\u200F\u2028-\u202E\u2060\u2066-\u2069\uFEFF]') NOT VALID;
    END IF;
END $$;
