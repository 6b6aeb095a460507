-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on PostgreSQL: the fifteen procedures.
--
-- The program runs "Exec nombre 'a','b'" as SELECT * FROM "nombre"(?, ?) with
-- the arguments bound as text. Arguments arrive as the lists send them:
-- names padded with blanks, periods in any letter case.
--
-- Readers are plain SQL functions (the planner inlines them, so their
-- queries use the indexes as a SELECT would). Stores check everything before
-- they change anything and refuse bad input with a Spanish message and an
-- SQLSTATE of class 22, 23 or P0; a call either lands whole or not at all.

-- A number sent as text, with a decimal comma or point (and maybe an
-- exponent, as large numbers are written) and blanks around; a blank text
-- is Null. The rule is the program's own reading of a number: a thousands
-- group ("1.000", "12,500") is refused, as it means a thousand times more
-- in one locale than in another, and so is anything a double cannot hold.
-- Anything else is refused with the given message.
CREATE FUNCTION velmora_numero(p_texto text, p_mensaje text) RETURNS double precision
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    t text := replace(btrim(coalesce(p_texto, ''), ' '), ',', '.');
BEGIN
    IF t = '' THEN
        RETURN NULL;
    END IF;
    IF t !~ '^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$'
       OR t ~ '^[+-]?[1-9][0-9]{0,2}\.[0-9]{3}$' THEN
        RAISE EXCEPTION USING ERRCODE = '22P02', MESSAGE = p_mensaje;
    END IF;
    RETURN t::double precision;
EXCEPTION WHEN numeric_value_out_of_range THEN
    RAISE EXCEPTION USING ERRCODE = '22003', MESSAGE = p_mensaje;
END $$;

-- Readers ---------------------------------------------------------------

CREATE FUNCTION "Reporte_Principal"(p_perspectiva text, p_anio text, p_periodo text, p_tipo text)
RETURNS TABLE ("Indicador" varchar, "Meta C/P" double precision, "Valor" double precision,
               "Nivel Base" double precision, "Id_Desempeño" integer)
LANGUAGE sql STABLE AS $$
    SELECT i.nombre, r.meta, r.valor, r.linea_base, i.id_desempeno
    FROM indicador i
    LEFT JOIN registro r
           ON r.id_indicador = i.id AND r.id_departamento = 0
          AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
          AND r.mes = (SELECT id_mes FROM periodo WHERE clave = lower(btrim(p_periodo)))
    WHERE i.id_perspectiva = (SELECT id FROM perspectivas
                              WHERE rtrim(perspectiva) = rtrim(p_perspectiva))
      AND i.id_tipo::text = btrim(p_tipo)
    ORDER BY i.id
$$;

CREATE FUNCTION "Reporte_Departamentos"(p_departamento text, p_anio text, p_periodo text,
                                        p_tipo text)
RETURNS TABLE ("Indicador" varchar, "Meta C/P" double precision, "Valor" double precision,
               "Nivel Base" double precision, "Id_Desempeño" integer)
LANGUAGE sql STABLE AS $$
    SELECT i.nombre, r.meta, r.valor, r.linea_base, i.id_desempeno
    FROM indicador_departamento d
    JOIN indicador i ON i.id = d.id_indicador
    LEFT JOIN registro r
           ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento
          AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
          AND r.mes = (SELECT id_mes FROM periodo WHERE clave = lower(btrim(p_periodo)))
    WHERE d.id_departamento = (SELECT id FROM departamentos
                               WHERE "Departamento" = rtrim(p_departamento))
      AND i.id_tipo::text = btrim(p_tipo)
    ORDER BY i.id
$$;

CREATE FUNCTION "Ten_Des"(p_tipo text, p_anio text, p_indicador text)
RETURNS TABLE ("Meta C/P" double precision, "Valor" double precision,
               "Nivel Base" double precision, "Id_Desempeño" integer)
LANGUAGE sql STABLE AS $$
    SELECT r.meta, r.valor, r.linea_base, i.id_desempeno
    FROM mes m
    LEFT JOIN indicador i ON i.nombre = rtrim(p_indicador)
    LEFT JOIN registro r
           ON r.id_indicador = i.id AND r.id_departamento = 0
          AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
          AND r.mes = m.id
    ORDER BY m.id
$$;

CREATE FUNCTION "Ten_Des2"(p_tipo text, p_anio text, p_indicador text, p_departamento text)
RETURNS TABLE ("Meta" double precision, "Valor" double precision,
               "Linea_Base" double precision, "Id_Desempeño" integer)
LANGUAGE sql STABLE AS $$
    SELECT r.meta, r.valor, r.linea_base, i.id_desempeno
    FROM mes m
    LEFT JOIN indicador i ON i.nombre = rtrim(p_indicador)
    LEFT JOIN registro r
           ON r.id_indicador = i.id
          AND r.id_departamento = (SELECT id FROM departamentos
                                   WHERE "Departamento" = rtrim(p_departamento))
          AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
          AND r.mes = m.id
    ORDER BY m.id
$$;

CREATE FUNCTION "Ten_Des_1_2"(p_tipo text, p_anio text, p_indicador text, p_periodo text)
RETURNS TABLE ("Nombre1" varchar)
LANGUAGE sql STABLE AS $$
    SELECT dp."Departamento"
    FROM indicador i
    JOIN indicador_departamento d ON d.id_indicador = i.id
    JOIN departamentos dp ON dp.id = d.id_departamento
    WHERE i.nombre = rtrim(p_indicador)
    ORDER BY dp.id
$$;

CREATE FUNCTION "Consulta_KPI_2"(p_indicador text, p_periodo text, p_anio text)
RETURNS TABLE ("Nombre1" varchar)
LANGUAGE sql STABLE AS $$
    SELECT dp."Departamento"
    FROM indicador i
    JOIN indicador_departamento d ON d.id_indicador = i.id
    JOIN departamentos dp ON dp.id = d.id_departamento
    WHERE i.nombre = rtrim(p_indicador)
    ORDER BY dp.id
$$;

CREATE FUNCTION "Principales_o_Departametnales"(p_tipo text)
RETURNS TABLE ("Indicador" varchar, "Nombre" varchar)
LANGUAGE sql STABLE AS $$
    SELECT nombre, nombre FROM indicador WHERE id_tipo::text = btrim(p_tipo) ORDER BY id
$$;

CREATE FUNCTION "Consulta_KPI"(p_indicador text, p_periodo text, p_anio text)
RETURNS TABLE ("Tipo Indicador" bpchar, "unidad" bpchar, "Nivel Base" double precision,
               "Valor" double precision, "Meta C/P" double precision, "año" integer,
               "ID" integer, "Tipo_Indicador" bpchar)
LANGUAGE sql STABLE AS $$
    SELECT t."Tipo Indicador", u.unidad, r.linea_base, r.valor, r.meta, a.año, r.id,
           t."Tipo Indicador"
    FROM indicador i
    JOIN "Tipo Indicador" t ON t.id = i.id_tipo
    JOIN "Tipo Unidad" u ON u.id = i.id_unidad
    LEFT JOIN registro r
           ON r.id_indicador = i.id AND r.id_departamento = 0
          AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
          AND r.mes = (SELECT id_mes FROM periodo WHERE clave = lower(btrim(p_periodo)))
    LEFT JOIN año a ON a.id = r.id_anio
    WHERE i.nombre = rtrim(p_indicador)
$$;

CREATE FUNCTION "Consulta_KPI_DEPARTAMENTOS"(p_indicador text, p_periodo text, p_anio text,
                                             p_departamento text)
RETURNS TABLE ("Tipo_Indicador" bpchar, "Tipo_Unidad" bpchar, "Linea_Base" double precision,
               "Valor" double precision, "Meta" double precision, "año" integer,
               "Id1" integer)
LANGUAGE sql STABLE AS $$
    SELECT t."Tipo Indicador", u.unidad, r.linea_base, r.valor, r.meta, a.año, r.id
    FROM indicador i
    JOIN indicador_departamento d ON d.id_indicador = i.id
    JOIN "Tipo Indicador" t ON t.id = i.id_tipo
    JOIN "Tipo Unidad" u ON u.id = i.id_unidad
    LEFT JOIN registro r
           ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento
          AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
          AND r.mes = (SELECT id_mes FROM periodo WHERE clave = lower(btrim(p_periodo)))
    LEFT JOIN año a ON a.id = r.id_anio
    WHERE i.nombre = rtrim(p_indicador)
      AND d.id_departamento = (SELECT id FROM departamentos
                               WHERE "Departamento" = rtrim(p_departamento))
$$;

CREATE FUNCTION "Consulta_modificar"(p_indicador text, p_anio text)
RETURNS TABLE ("Valor" double precision, "Meta C/P" double precision,
               "Nivel Base" double precision, "Id1" integer)
LANGUAGE sql STABLE AS $$
    SELECT r.valor, r.meta, r.linea_base, r.id
    FROM registro r
    WHERE r.id_indicador = (SELECT id FROM indicador WHERE nombre = rtrim(p_indicador))
      AND r.id_anio = (SELECT id FROM año WHERE año::text = btrim(p_anio))
    ORDER BY r.id_departamento, r.mes
$$;

-- Consulta_registro 'id': one record, read again and locked inside a save's
-- transaction, so nobody changes it between the check and the store.
CREATE FUNCTION "Consulta_registro"(p_id text)
RETURNS TABLE ("Valor" double precision, "Meta C/P" double precision,
               "Nivel Base" double precision, "Id1" integer)
LANGUAGE sql VOLATILE AS $$
    SELECT r.valor, r.meta, r.linea_base, r.id
    FROM registro r
    WHERE btrim(coalesce(p_id, '')) ~ '^[0-9]{1,9}$'
      AND r.id = CASE WHEN btrim(coalesce(p_id, '')) ~ '^[0-9]{1,9}$' THEN btrim(p_id)::integer END
    FOR UPDATE
$$;

CREATE FUNCTION "Exportar"()
RETURNS TABLE ("año" integer, "Mes" varchar, "Indicador" varchar, "Tipo Indicador" bpchar,
               "desempeño" bpchar, "unidad" bpchar, "Nivel Base" double precision,
               "Valor" double precision, "Meta C/P" double precision)
LANGUAGE sql STABLE AS $$
    SELECT a.año, m.nombre, i.nombre, t."Tipo Indicador", d.desempeño, u.unidad,
           r.linea_base, r.valor, r.meta
    FROM registro r
    JOIN año a ON a.id = r.id_anio
    JOIN mes m ON m.id = r.mes
    JOIN indicador i ON i.id = r.id_indicador
    JOIN "Tipo Indicador" t ON t.id = i.id_tipo
    JOIN desempeño d ON d.id = i.id_desempeno
    JOIN "Tipo Unidad" u ON u.id = i.id_unidad
    WHERE r.valor IS NOT NULL OR r.meta IS NOT NULL OR r.linea_base IS NOT NULL
    ORDER BY r.id_anio, r.mes, r.id_indicador, r.id_departamento
$$;

-- Stores ----------------------------------------------------------------

-- modificar 'base','valor','meta','id'
CREATE FUNCTION modificar(p_base text, p_valor text, p_meta text, p_id text)
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
    v_base  double precision := velmora_numero(p_base, 'La Linea Base no es un número');
    v_valor double precision := velmora_numero(p_valor, 'El Valor no es un número');
    v_meta  double precision := velmora_numero(p_meta, 'La Meta no es un número');
    v_id    integer;
BEGIN
    IF btrim(coalesce(p_id, '')) ~ '^[0-9]{1,9}$' THEN
        v_id := btrim(p_id)::integer;
    END IF;
    UPDATE registro SET linea_base = v_base, valor = v_valor, meta = v_meta WHERE id = v_id;
    IF NOT FOUND THEN
        RAISE EXCEPTION USING ERRCODE = 'P0002', MESSAGE = 'No existe el registro indicado';
    END IF;
END $$;

-- Nuevo_Indicador 'nombre','tipo': a principal indicator starts in the first
-- perspective, a departmental one in the first department; both start
-- increasing, in the first unit, until a monthly record sets them.
CREATE FUNCTION "Nuevo_Indicador"(p_nombre text, p_tipo text)
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
    v_nombre text := rtrim(coalesce(p_nombre, ''));
    v_tipo   integer;
    v_id     integer;
BEGIN
    IF btrim(v_nombre) = '' THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Falta el nombre del indicador';
    END IF;
    IF length(v_nombre) > 70 THEN
        RAISE EXCEPTION USING ERRCODE = '22001',
            MESSAGE = 'El nombre del indicador no puede pasar de 70 caracteres';
    END IF;
    IF v_nombre ~ '[\x01-\x1f\x7f-\x9f]' THEN
        RAISE EXCEPTION USING ERRCODE = '22023',
            MESSAGE = 'El nombre del indicador no puede tener caracteres de control';
    END IF;
    IF EXISTS (SELECT 1 FROM indicador WHERE nombre = v_nombre) THEN
        RAISE EXCEPTION USING ERRCODE = '23505', MESSAGE = 'Ya existe un indicador con ese nombre';
    END IF;
    SELECT id INTO v_tipo FROM "Tipo Indicador" WHERE id::text = btrim(p_tipo);
    IF v_tipo IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Tipo de indicador desconocido';
    END IF;
    INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad)
        VALUES (v_nombre, v_tipo,
                CASE WHEN v_tipo = 1 THEN (SELECT min(id) FROM perspectivas) END,
                (SELECT min(id) FROM desempeño), (SELECT min(id) FROM "Tipo Unidad"))
        RETURNING id INTO v_id;
    IF v_tipo = 2 THEN
        INSERT INTO indicador_departamento (id_indicador, id_departamento)
            SELECT v_id, min(id) FROM departamentos HAVING min(id) IS NOT NULL;
    END IF;
END $$;

-- eliminar 'nombre': the indicator, its department links and its records.
CREATE FUNCTION eliminar(p_nombre text)
RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    DELETE FROM indicador WHERE nombre = rtrim(coalesce(p_nombre, ''));
    IF NOT FOUND THEN
        RAISE EXCEPTION USING ERRCODE = 'P0002', MESSAGE = 'No existe el indicador';
    END IF;
END $$;

-- Nuevo_registro 'año','mes','indicador','desempeño','perspectiva','tipo',
-- 'unidad','base','meta','valor': codes by id, the month by name. The codes
-- set the indicator's attributes (the type is checked, not changed) and the
-- numbers go into its records of that year and month (one per department
-- for a departmental indicator).
CREATE FUNCTION "Nuevo_registro"(p_anio text, p_mes text, p_indicador text, p_desempeno text,
                                 p_perspectiva text, p_tipo text, p_unidad text, p_base text,
                                 p_meta text, p_valor text)
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
    v_anio        integer;
    v_mes         integer;
    v_indicador   integer;
    v_desempeno   integer;
    v_perspectiva integer;
    v_tipo        integer;
    v_unidad      integer;
    v_base        double precision;
    v_meta        double precision;
    v_valor       double precision;
BEGIN
    SELECT id INTO v_anio FROM año WHERE id::text = btrim(p_anio);
    IF v_anio IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Año desconocido';
    END IF;
    SELECT id INTO v_mes FROM mes WHERE lower(nombre) = lower(btrim(p_mes));
    IF v_mes IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Mes desconocido';
    END IF;
    SELECT id INTO v_indicador FROM indicador WHERE nombre = rtrim(p_indicador);
    IF v_indicador IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = 'P0002', MESSAGE = 'No existe el indicador';
    END IF;
    SELECT id INTO v_desempeno FROM desempeño WHERE id::text = btrim(p_desempeno);
    IF v_desempeno IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Desempeño desconocido';
    END IF;
    SELECT id INTO v_perspectiva FROM perspectivas WHERE id::text = btrim(p_perspectiva);
    IF v_perspectiva IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Perspectiva desconocida';
    END IF;
    SELECT id INTO v_tipo FROM "Tipo Indicador" WHERE id::text = btrim(p_tipo);
    IF v_tipo IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Tipo de indicador desconocido';
    END IF;
    SELECT id INTO v_unidad FROM "Tipo Unidad" WHERE id::text = btrim(p_unidad);
    IF v_unidad IS NULL THEN
        RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = 'Unidad desconocida';
    END IF;
    v_base := velmora_numero(p_base, 'La Linea Base no es un número');
    v_meta := velmora_numero(p_meta, 'La Meta no es un número');
    v_valor := velmora_numero(p_valor, 'El Valor no es un número');
    UPDATE indicador
       SET id_desempeno = v_desempeno, id_perspectiva = v_perspectiva, id_unidad = v_unidad
     WHERE id = v_indicador;
    UPDATE registro SET linea_base = v_base, meta = v_meta, valor = v_valor
     WHERE id_indicador = v_indicador AND id_anio = v_anio AND mes = v_mes;
END $$;
