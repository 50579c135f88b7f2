-- PRESET_DEFS as an earlier configuration run left it, for machine @machine
-- with the variable names of HMI variant @system, and with the values a
-- technician tuned on the machine: every third preset's limits moved by
-- @tune, its pass value flipped. The old column name CATEGORIE is kept, as
-- older databases have it. One record belongs to a preset that no longer
-- exists in the templates.
CREATE TABLE PRESET_DEFS (
    ID LONG,
    machine_type TEXT(50),
    type TEXT(20),
    part SHORT,
    var_name TEXT(100),
    CATEGORIE LONG,
    isBitArray BIT,
    offset_or_bitno LONG,
    text TEXT(255),
    page_name TEXT(50),
    abs_min DOUBLE,
    abs_max DOUBLE,
    min DOUBLE,
    max DOUBLE,
    pass LONG
);
INSERT INTO PRESET_DEFS
SELECT p.ID, p.machine_type, p.type, p.part,
       replace(replace(d.Var_Name, '###machine', @machine), '###Var_Name', p.var_name),
       p.category_id, p.isBitArray, p.offset_or_bitno,
       replace(p.text, '###machine', @machine), replace(p.page_name, '###machine', @machine),
       p.abs_min, p.abs_max,
       CASE WHEN p.ID % 3 = 0 THEN p.min + @tune ELSE p.min END,
       CASE WHEN p.ID % 3 = 0 THEN p.max - @tune ELSE p.max END,
       CASE WHEN p.ID % 3 = 0 THEN 1 - p.pass ELSE p.pass END
FROM Source_PRESET_DEFS AS p
JOIN Source_DEFS AS d ON d.Part = p.part AND upper(d.System) = upper(@system)
ORDER BY p.ID;
INSERT INTO PRESET_DEFS (ID, machine_type, type, part, var_name, CATEGORIE, isBitArray,
    offset_or_bitno, text, page_name, abs_min, abs_max, min, max, pass)
VALUES (41, 'KPL', 'INT', 1, @machine || '.BDE.Downtime.DT_Retired', 10, 0, 99,
        'Retired preset', 'BDE_Downtime_' || @machine, 0, 600, 5, 500, 1);
