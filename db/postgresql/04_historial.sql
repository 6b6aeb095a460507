-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on PostgreSQL: the history of every change.
--
-- Triggers on the catalogue and the records write one row per changed value
-- into `historial`, in the same transaction as the change, whichever client
-- makes it: when, who (the database user, and the program's user type when
-- the program made the change), the indicator (by name, which outlives it),
-- the department, year and month of a record, the field and the value before
-- and after. Indicator fields hold codes ("Tipo Indicador", "Perspectiva",
-- "Desempeño", "Unidad", "Departamento"); record fields ("Valor", "Meta",
-- "Linea Base") hold the numbers. A deletion records the indicator, its
-- departments and every number of its records, so that `Restaurar_indicador`
-- can bring it back as it was.
--
-- The program names its user type once per connection with
-- `Sesion_programa`, which keeps it in the session setting
-- velmora.tipo_usuario; the database user is the server's own session_user.
-- A batch (`lote`) is the transaction that made the change.
-- This file is loaded after the data, which are therefore not history.
-- actualizar.sh loads it again into an existing database: the table stays,
-- every function and trigger is created or replaced.

CREATE TABLE IF NOT EXISTS historial (
    id              bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    momento         timestamptz NOT NULL DEFAULT now(),
    usuario_bd      text NOT NULL DEFAULT session_user,
    tipo_usuario    text DEFAULT nullif(current_setting('velmora.tipo_usuario', true), ''),
    lote            bigint NOT NULL DEFAULT txid_current(),
    indicador       varchar(70) NOT NULL,
    id_departamento integer,          -- 0 for a principal indicator's record
    anio            integer,          -- the year itself
    mes             integer,
    campo           text NOT NULL,
    antes           double precision,
    despues         double precision
);
CREATE INDEX IF NOT EXISTS historial_indicador ON historial (indicador, id);

CREATE OR REPLACE FUNCTION historial_de_indicador() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP = 'INSERT' THEN
        INSERT INTO historial (indicador, campo, antes, despues)
            SELECT NEW.nombre, c.campo, NULL, c.valor
            FROM (VALUES (1, 'Tipo Indicador', NEW.id_tipo), (2, 'Perspectiva', NEW.id_perspectiva),
                         (3, 'Desempeño', NEW.id_desempeno), (4, 'Unidad', NEW.id_unidad))
                 AS c (orden, campo, valor)
            WHERE c.valor IS NOT NULL
            ORDER BY c.orden;
        RETURN NULL;
    ELSIF TG_OP = 'UPDATE' THEN
        INSERT INTO historial (indicador, campo, antes, despues)
            SELECT NEW.nombre, c.campo, c.antes, c.despues
            FROM (VALUES (1, 'Tipo Indicador', OLD.id_tipo, NEW.id_tipo),
                         (2, 'Perspectiva', OLD.id_perspectiva, NEW.id_perspectiva),
                         (3, 'Desempeño', OLD.id_desempeno, NEW.id_desempeno),
                         (4, 'Unidad', OLD.id_unidad, NEW.id_unidad))
                 AS c (orden, campo, antes, despues)
            WHERE c.antes IS DISTINCT FROM c.despues
            ORDER BY c.orden;
        RETURN NULL;
    END IF;
    -- A save of its records still open must land (or not) before the
    -- numbers are read: their row locks are taken first, and the statements
    -- below, each with a fresh snapshot, read what that save committed.
    -- Without it a restore brought back the numbers from before the save.
    PERFORM 1 FROM indicador_departamento d WHERE d.id_indicador = OLD.id FOR UPDATE;
    PERFORM 1 FROM registro r WHERE r.id_indicador = OLD.id FOR UPDATE;
    -- Before the indicator goes: its type first (a restore starts from that
    -- row), then its other fields, its departments and its numbers. What the
    -- cascade then removes of its links and records is not recorded again.
    INSERT INTO historial (indicador, campo, antes, despues)
        SELECT OLD.nombre, c.campo, c.valor, NULL
        FROM (VALUES (1, 'Tipo Indicador', OLD.id_tipo), (2, 'Perspectiva', OLD.id_perspectiva),
                     (3, 'Desempeño', OLD.id_desempeno), (4, 'Unidad', OLD.id_unidad))
             AS c (orden, campo, valor)
        WHERE c.valor IS NOT NULL
        ORDER BY c.orden;
    INSERT INTO historial (indicador, campo, antes, despues)
        SELECT OLD.nombre, 'Departamento', d.id_departamento, NULL
        FROM indicador_departamento d
        WHERE d.id_indicador = OLD.id
        ORDER BY d.id_departamento;
    INSERT INTO historial (indicador, id_departamento, anio, mes, campo, antes, despues)
        SELECT OLD.nombre, r.id_departamento, y.año, r.mes, n.campo, v.valor, NULL
        FROM registro r
        JOIN año y ON y.id = r.id_anio
        CROSS JOIN (VALUES (1, 'Valor'), (2, 'Meta'), (3, 'Linea Base')) AS n (orden, campo)
        CROSS JOIN LATERAL (SELECT CASE n.orden WHEN 1 THEN r.valor WHEN 2 THEN r.meta
                                                ELSE r.linea_base END AS valor) v
        WHERE r.id_indicador = OLD.id AND v.valor IS NOT NULL
        ORDER BY r.id_departamento, r.id_anio, r.mes, n.orden;
    RETURN OLD;
END $$;
CREATE OR REPLACE TRIGGER historial_indicador AFTER INSERT OR UPDATE OF id_tipo, id_perspectiva, id_desempeno, id_unidad
    ON indicador FOR EACH ROW EXECUTE FUNCTION historial_de_indicador();
CREATE OR REPLACE TRIGGER historial_indicador_baja BEFORE DELETE ON indicador
    FOR EACH ROW EXECUTE FUNCTION historial_de_indicador();

-- A record's numbers. Records come and go with their indicator or
-- department link; only a number that is there, or changes, is recorded.
-- With the indicator gone, its deletion has recorded them already.
CREATE OR REPLACE FUNCTION historial_de_registro() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    v_antes   registro;
    v_despues registro;
BEGIN
    IF TG_OP <> 'INSERT' THEN
        v_antes := OLD;
    END IF;
    IF TG_OP <> 'DELETE' THEN
        v_despues := NEW;
    END IF;
    INSERT INTO historial (indicador, id_departamento, anio, mes, campo, antes, despues)
        SELECT i.nombre, y.id_departamento, a.año, y.mes, c.campo, c.antes, c.despues
        FROM (SELECT coalesce(v_despues.id_indicador, v_antes.id_indicador) AS id_indicador,
                     coalesce(v_despues.id_departamento, v_antes.id_departamento) AS id_departamento,
                     coalesce(v_despues.id_anio, v_antes.id_anio) AS id_anio,
                     coalesce(v_despues.mes, v_antes.mes) AS mes) y
        JOIN indicador i ON i.id = y.id_indicador
        JOIN año a ON a.id = y.id_anio
        CROSS JOIN (VALUES (1, 'Valor', v_antes.valor, v_despues.valor),
                           (2, 'Meta', v_antes.meta, v_despues.meta),
                           (3, 'Linea Base', v_antes.linea_base, v_despues.linea_base))
                   AS c (orden, campo, antes, despues)
        WHERE c.antes IS DISTINCT FROM c.despues
        ORDER BY c.orden;
    RETURN NULL;
END $$;
CREATE OR REPLACE TRIGGER historial_registro AFTER UPDATE OF valor, meta, linea_base ON registro
    FOR EACH ROW EXECUTE FUNCTION historial_de_registro();
CREATE OR REPLACE TRIGGER historial_registro_alta AFTER INSERT ON registro FOR EACH ROW
    WHEN (NEW.valor IS NOT NULL OR NEW.meta IS NOT NULL OR NEW.linea_base IS NOT NULL)
    EXECUTE FUNCTION historial_de_registro();
CREATE OR REPLACE TRIGGER historial_registro_baja AFTER DELETE ON registro FOR EACH ROW
    WHEN (OLD.valor IS NOT NULL OR OLD.meta IS NOT NULL OR OLD.linea_base IS NOT NULL)
    EXECUTE FUNCTION historial_de_registro();

CREATE OR REPLACE FUNCTION historial_de_departamento() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP = 'INSERT' THEN
        INSERT INTO historial (indicador, campo, antes, despues)
            SELECT i.nombre, 'Departamento', NULL, NEW.id_departamento
            FROM indicador i WHERE i.id = NEW.id_indicador;
    ELSE
        INSERT INTO historial (indicador, campo, antes, despues)
            SELECT i.nombre, 'Departamento', OLD.id_departamento, NULL
            FROM indicador i WHERE i.id = OLD.id_indicador;
    END IF;
    RETURN NULL;
END $$;
CREATE OR REPLACE TRIGGER historial_departamento AFTER INSERT OR DELETE ON indicador_departamento
    FOR EACH ROW EXECUTE FUNCTION historial_de_departamento();

-- Sesion_programa 'tipo','cuenta': the program's user type for the rest of
-- the session. The account is the client's own name for itself; the
-- server records its authenticated user instead.
CREATE OR REPLACE FUNCTION "Sesion_programa"(p_tipo text, p_cuenta text)
RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    PERFORM set_config('velmora.tipo_usuario', coalesce(p_tipo, ''), false);
END $$;

-- The name behind an indicator field's code.
CREATE OR REPLACE FUNCTION historial_nombre(p_campo text, p_codigo double precision)
RETURNS text LANGUAGE sql STABLE AS $$
    SELECT CASE p_campo
        WHEN 'Tipo Indicador' THEN (SELECT rtrim(t."Tipo Indicador") FROM "Tipo Indicador" t
                                    WHERE t.id = p_codigo)
        WHEN 'Perspectiva' THEN (SELECT rtrim(p.perspectiva) FROM perspectivas p WHERE p.id = p_codigo)
        WHEN 'Desempeño' THEN (SELECT rtrim(x.desempeño) FROM desempeño x WHERE x.id = p_codigo)
        WHEN 'Unidad' THEN (SELECT rtrim(u.unidad) FROM "Tipo Unidad" u WHERE u.id = p_codigo)
        WHEN 'Departamento' THEN (SELECT e."Departamento" FROM departamentos e WHERE e.id = p_codigo)
    END
$$;

-- Consulta_historial 'indicador': its changes, newest first.
CREATE OR REPLACE FUNCTION "Consulta_historial"(p_indicador text)
RETURNS TABLE ("Fecha" text, "Usuario" text, "Tipo de usuario" text, "Departamento" varchar,
               "Año" integer, "Mes" varchar, "Campo" text, "Antes" double precision,
               "Después" double precision, "Antes_nombre" text, "Después_nombre" text)
LANGUAGE sql STABLE AS $$
    SELECT to_char(h.momento, 'YYYY-MM-DD HH24:MI:SS'), h.usuario_bd, h.tipo_usuario,
           d."Departamento", h.anio, m.nombre, h.campo, h.antes, h.despues,
           historial_nombre(h.campo, h.antes), historial_nombre(h.campo, h.despues)
    FROM historial h
    LEFT JOIN departamentos d ON d.id = h.id_departamento
    LEFT JOIN mes m ON m.id = h.mes
    WHERE h.indicador = rtrim(p_indicador)
    ORDER BY h.id DESC
$$;

CREATE OR REPLACE FUNCTION "Indicadores_historial"()
RETURNS TABLE ("Indicador" varchar)
LANGUAGE sql STABLE AS $$
    SELECT nombre FROM indicador
    UNION
    SELECT indicador FROM historial
    ORDER BY 1
$$;

-- Restaurar_indicador 'nombre': the indicator as its last deletion left it,
-- with its departments and numbers. The rows of that deletion are those of
-- its transaction from its "Tipo Indicador" row on.
CREATE OR REPLACE FUNCTION "Restaurar_indicador"(p_nombre text)
RETURNS void LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    v_nombre text := rtrim(coalesce(p_nombre, ''));
    v_baja   historial;
    v_id     integer;
BEGIN
    PERFORM velmora_exigir_edicion();
    -- Two restores of one name at once: the second waits for the first and
    -- then finds the indicator back (each statement below sees what the
    -- first committed), instead of failing on the unique name.
    PERFORM pg_advisory_xact_lock(hashtext('velmora.restaurar:' || v_nombre));
    IF EXISTS (SELECT 1 FROM indicador WHERE nombre = v_nombre) THEN
        RAISE EXCEPTION USING ERRCODE = '23505', MESSAGE = 'Ya existe un indicador con ese nombre';
    END IF;
    SELECT * INTO v_baja FROM historial
    WHERE indicador = v_nombre AND campo = 'Tipo Indicador' AND antes IS NOT NULL
      AND despues IS NULL
    ORDER BY id DESC LIMIT 1;
    IF NOT FOUND THEN
        RAISE EXCEPTION USING ERRCODE = 'P0002',
            MESSAGE = 'No hay una eliminación registrada de ese indicador';
    END IF;
    -- The rows that deletion left; the rows this restore adds have no value
    -- before, so they never count among them.
    INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad)
        SELECT v_nombre,
               max(antes) FILTER (WHERE campo = 'Tipo Indicador')::integer,
               max(antes) FILTER (WHERE campo = 'Perspectiva')::integer,
               max(antes) FILTER (WHERE campo = 'Desempeño')::integer,
               max(antes) FILTER (WHERE campo = 'Unidad')::integer
        FROM historial
        WHERE indicador = v_nombre AND lote = v_baja.lote AND id >= v_baja.id
          AND antes IS NOT NULL AND despues IS NULL AND mes IS NULL
        RETURNING id INTO v_id;
    INSERT INTO indicador_departamento (id_indicador, id_departamento)
        SELECT v_id, d.id
        FROM historial h JOIN departamentos d ON d.id = h.antes::integer
        WHERE h.indicador = v_nombre AND h.lote = v_baja.lote AND h.id >= v_baja.id
          AND h.antes IS NOT NULL AND h.despues IS NULL AND h.campo = 'Departamento'
        ORDER BY d.id;
    UPDATE registro g
       SET valor = n.valor, meta = n.meta, linea_base = n.linea_base
      FROM (SELECT h.id_departamento, y.id AS id_anio, h.mes,
                   max(h.antes) FILTER (WHERE h.campo = 'Valor') AS valor,
                   max(h.antes) FILTER (WHERE h.campo = 'Meta') AS meta,
                   max(h.antes) FILTER (WHERE h.campo = 'Linea Base') AS linea_base
            FROM historial h JOIN año y ON y.año = h.anio
            WHERE h.indicador = v_nombre AND h.lote = v_baja.lote AND h.id >= v_baja.id
              AND h.antes IS NOT NULL AND h.despues IS NULL AND h.mes IS NOT NULL
            GROUP BY h.id_departamento, y.id, h.mes) n
     WHERE g.id_indicador = v_id AND g.id_departamento = n.id_departamento
       AND g.id_anio = n.id_anio AND g.mes = n.mes;
END $$;
