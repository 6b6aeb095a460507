-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on PostgreSQL: who may read and who may change.
--
-- Two group roles: velmora_lectura reads what the screens read and runs the
-- read procedures, nothing else; velmora_edicion may also run the stores
-- (create, delete, restore, save). A person's account is a login role
-- granted one of them (cuenta.sh). Neither may insert, update or delete a
-- row, alter or drop a table or disable a trigger: those need the owner.
-- Every change goes through a store, which runs with the owner's rights
-- (SECURITY DEFINER, a fixed search_path) and refuses an account outside
-- velmora_edicion itself, whatever user type the client claimed with
-- Sesion_programa. The history is written by the triggers alone and nobody
-- but the owner may update, delete or truncate it; it names the login role
-- (session_user), not the owner the store runs as.
--
-- Roles belong to the whole server: every Velmora database on it shares the
-- two groups. Loaded last by cargar.sh and by actualizar.sh, which loads the
-- procedures again: a function made anew gets its rights here again.

DO $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'velmora_lectura') THEN
        CREATE ROLE velmora_lectura NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'velmora_edicion') THEN
        CREATE ROLE velmora_edicion NOLOGIN IN ROLE velmora_lectura;
    END IF;
EXCEPTION WHEN insufficient_privilege THEN
    RAISE EXCEPTION USING ERRCODE = '42501',
        MESSAGE = format('Faltan los grupos velmora_lectura y velmora_edicion, y %s no puede crearlos',
                         current_user),
        HINT = 'Dele CREATEROLE (ALTER ROLE ... CREATEROLE) o pida a un superusuario: '
               'CREATE ROLE velmora_lectura; CREATE ROLE velmora_edicion IN ROLE velmora_lectura;';
END $$;

-- Whether this connection's person may change data: an account in
-- velmora_edicion, or the tables' owner (a superuser too). The login role
-- decides, not the owner's rights a store runs with.
CREATE OR REPLACE FUNCTION velmora_puede_modificar() RETURNS boolean
LANGUAGE sql STABLE SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS $$
    SELECT pg_has_role(session_user, 'velmora_edicion', 'MEMBER')
        OR pg_has_role(session_user, (SELECT relowner FROM pg_class WHERE oid = 'public.indicador'::regclass),
                       'MEMBER')
$$;

-- The first step of every store.
CREATE OR REPLACE FUNCTION velmora_exigir_edicion() RETURNS void
LANGUAGE plpgsql STABLE SET search_path = pg_catalog, public, pg_temp AS $$
BEGIN
    IF NOT velmora_puede_modificar() THEN
        RAISE EXCEPTION USING ERRCODE = '42501',
            MESSAGE = format('La cuenta %s de la base de datos solo puede consultar', session_user);
    END IF;
END $$;

-- Consulta_permisos: the account and whether it may change data (1 or 0).
-- The program asks at login, so that a user who may only read is told then.
CREATE OR REPLACE FUNCTION "Consulta_permisos"()
RETURNS TABLE ("Usuario" text, "Modificar" integer)
LANGUAGE sql STABLE SECURITY DEFINER SET search_path = public, pg_temp AS $$
    SELECT session_user::text, CASE WHEN velmora_puede_modificar() THEN 1 ELSE 0 END
$$;

-- A superuser loading for the owner (actualizar.sh run as postgres): what
-- it made is the owner's, or the owner's stores could not call it and would
-- run with the superuser's rights.
DO $$
DECLARE
    v_dueno regrole := (SELECT relowner FROM pg_class WHERE oid = 'public.indicador'::regclass);
    o record;
BEGIN
    IF v_dueno <> current_user::regrole THEN
        FOR o IN SELECT 'FUNCTION' AS clase, p.oid::regprocedure::text AS objeto FROM pg_proc p
                  WHERE p.pronamespace = 'public'::regnamespace AND p.proowner = current_user::regrole
                 UNION ALL
                 SELECT 'TABLE', c.oid::regclass::text FROM pg_class c
                  WHERE c.relnamespace = 'public'::regnamespace AND c.relowner = current_user::regrole
                    AND c.relkind IN ('r', 'v', 'p')
        LOOP
            EXECUTE format('ALTER %s %s OWNER TO %s', o.clase, o.objeto, v_dueno);
        END LOOP;
    END IF;
    -- Nothing for anyone else: functions are everyone's to run unless
    -- revoked, and every later one of the owner's too.
    EXECUTE format('ALTER DEFAULT PRIVILEGES FOR ROLE %s REVOKE EXECUTE ON FUNCTIONS FROM PUBLIC', v_dueno);
END $$;
REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC, velmora_lectura, velmora_edicion;
REVOKE ALL ON ALL SEQUENCES IN SCHEMA public FROM PUBLIC, velmora_lectura, velmora_edicion;
REVOKE ALL ON ALL FUNCTIONS IN SCHEMA public FROM PUBLIC, velmora_lectura, velmora_edicion;
-- No tables of anyone else's beside ours (PostgreSQL 15 makes the schema
-- so; a database upgraded from an earlier server may still allow it, and
-- only the schema's owner can take it back).
DO $$
BEGIN
    REVOKE CREATE ON SCHEMA public FROM PUBLIC;
EXCEPTION WHEN insufficient_privilege THEN
    RAISE WARNING 'Cualquier cuenta puede crear tablas en el esquema public: el dueño del esquema debe quitarlo (REVOKE CREATE ON SCHEMA public FROM PUBLIC)';
END $$;

GRANT USAGE ON SCHEMA public TO velmora_lectura;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO velmora_lectura;
GRANT EXECUTE ON FUNCTION
    "Reporte_Principal"(text, text, text, text),
    "Reporte_Departamentos"(text, text, text, text),
    "Ten_Des"(text, text, text),
    "Ten_Des2"(text, text, text, text),
    "Ten_Des_1_2"(text, text, text, text),
    "Consulta_KPI_2"(text, text, text),
    "Principales_o_Departametnales"(text),
    "Consulta_KPI"(text, text, text),
    "Consulta_KPI_DEPARTAMENTOS"(text, text, text, text),
    "Consulta_modificar"(text, text),
    "Exportar"(),
    "Consulta_historial"(text),
    historial_nombre(text, double precision),
    "Indicadores_historial"(),
    "Sesion_programa"(text, text),
    "Consulta_permisos"()
    TO velmora_lectura;
-- velmora_edicion is in velmora_lectura: it reads as a reader does.
GRANT EXECUTE ON FUNCTION
    modificar(text, text, text, text),
    "Nuevo_Indicador"(text, text),
    eliminar(text),
    "Nuevo_registro"(text, text, text, text, text, text, text, text, text, text),
    "Restaurar_indicador"(text),
    "Consulta_registro"(text)
    TO velmora_edicion;
