-- Template database of the component KPL_Presets: variable-name templates per
-- part and HMI variant, and the preset definitions of one machine.
PRAGMA journal_mode = DELETE;

CREATE TABLE Source_DEFS (
    System TEXT(20),
    Part SHORT,
    Var_Name TEXT(255)
);
INSERT INTO Source_DEFS (System, Part, Var_Name) VALUES
    ('VisiWin32', 1, '###machine.BDE.Downtime.###Var_Name'),
    ('VisiWin32', 2, '###machine.BDE.Tolerance.###Var_Name'),
    ('VisiWin32', 3, '###machine.BDE.Speed.###Var_Name'),
    ('VisiWin32', 4, '###machine.BDE.Counter.###Var_Name'),
    ('VisiWinStudio', 1, 'Ch1.###machine.BDE_Downtime_###Var_Name'),
    ('VisiWinStudio', 2, 'Ch1.###machine.BDE_Tolerance_###Var_Name'),
    ('VisiWinStudio', 3, 'Ch1.###machine.BDE_Speed_###Var_Name'),
    ('VisiWinStudio', 4, 'Ch1.###machine.BDE_Counter_###Var_Name');

-- The column order defines PRESET_DEFS: ID first, part before var_name.
CREATE TABLE Source_PRESET_DEFS (
    ID LONG,
    machine_type TEXT(50),
    type TEXT(20),
    part SHORT,
    var_name TEXT(100),
    category_id LONG,
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
INSERT INTO Source_PRESET_DEFS (ID, machine_type, type, part, var_name, category_id, isBitArray,
    offset_or_bitno, text, page_name, abs_min, abs_max, min, max, pass) VALUES
    (1, 'KPL', 'INT', 1, 'DT_Reason01', 10, 0, 0, 'Downtime reason 1 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (2, 'KPL', 'INT', 1, 'DT_Reason02', 10, 0, 2, 'Downtime reason 2 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (3, 'KPL', 'INT', 1, 'DT_Reason03', 10, 0, 4, 'Downtime reason 3 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (4, 'KPL', 'INT', 1, 'DT_Reason04', 10, 0, 6, 'Downtime reason 4 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (5, 'KPL', 'INT', 1, 'DT_Reason05', 10, 0, 8, 'Downtime reason 5 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (6, 'KPL', 'INT', 1, 'DT_Reason06', 10, 0, 10, 'Downtime reason 6 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (7, 'KPL', 'INT', 1, 'DT_Reason07', 10, 0, 12, 'Downtime reason 7 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (8, 'KPL', 'INT', 1, 'DT_Reason08', 10, 0, 14, 'Downtime reason 8 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (9, 'KPL', 'INT', 1, 'DT_Reason09', 10, 0, 16, 'Downtime reason 9 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (10, 'KPL', 'INT', 1, 'DT_Reason10', 10, 0, 18, 'Downtime reason 10 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (11, 'KPL', 'INT', 1, 'DT_Reason11', 10, 0, 20, 'Downtime reason 11 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (12, 'KPL', 'INT', 1, 'DT_Reason12', 10, 0, 22, 'Downtime reason 12 of ###machine', 'BDE_Downtime_###machine', 0, 600, 0, 300, 1),
    (13, 'KPL', 'REAL', 2, 'Tol_Limit01', 20, 0, 0, 'Tolerance limit 1 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (14, 'KPL', 'REAL', 2, 'Tol_Limit02', 20, 0, 2, 'Tolerance limit 2 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (15, 'KPL', 'REAL', 2, 'Tol_Limit03', 20, 0, 4, 'Tolerance limit 3 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (16, 'KPL', 'REAL', 2, 'Tol_Limit04', 20, 0, 6, 'Tolerance limit 4 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (17, 'KPL', 'REAL', 2, 'Tol_Limit05', 20, 0, 8, 'Tolerance limit 5 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (18, 'KPL', 'REAL', 2, 'Tol_Limit06', 20, 0, 10, 'Tolerance limit 6 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (19, 'KPL', 'REAL', 2, 'Tol_Limit07', 20, 0, 12, 'Tolerance limit 7 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (20, 'KPL', 'REAL', 2, 'Tol_Limit08', 20, 0, 14, 'Tolerance limit 8 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (21, 'KPL', 'REAL', 2, 'Tol_Limit09', 20, 0, 16, 'Tolerance limit 9 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (22, 'KPL', 'REAL', 2, 'Tol_Limit10', 20, 0, 18, 'Tolerance limit 10 (###machine)', 'BDE_Tolerance_###machine', -50, 50, -10, 10, 0),
    (23, 'KPL', 'INT', 3, 'Speed_Set01', 30, 0, 0, 'Speed preset 1 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (24, 'KPL', 'INT', 3, 'Speed_Set02', 30, 0, 2, 'Speed preset 2 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (25, 'KPL', 'INT', 3, 'Speed_Set03', 30, 0, 4, 'Speed preset 3 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (26, 'KPL', 'INT', 3, 'Speed_Set04', 30, 0, 6, 'Speed preset 4 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (27, 'KPL', 'INT', 3, 'Speed_Set05', 30, 0, 8, 'Speed preset 5 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (28, 'KPL', 'INT', 3, 'Speed_Set06', 30, 0, 10, 'Speed preset 6 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (29, 'KPL', 'INT', 3, 'Speed_Set07', 30, 0, 12, 'Speed preset 7 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (30, 'KPL', 'INT', 3, 'Speed_Set08', 30, 0, 14, 'Speed preset 8 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (31, 'KPL', 'INT', 3, 'Speed_Set09', 30, 0, 16, 'Speed preset 9 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (32, 'KPL', 'INT', 3, 'Speed_Set10', 30, 0, 18, 'Speed preset 10 on ###machine', 'BDE_Speed_###machine', 0, 3000, 100, 2500, 1),
    (33, 'KPL', 'BIT', 4, 'Cnt_Bit01', 40, 1, 0, 'Counter bit 1', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (34, 'KPL', 'BIT', 4, 'Cnt_Bit02', 40, 1, 1, 'Counter bit 2', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (35, 'KPL', 'BIT', 4, 'Cnt_Bit03', 40, 1, 2, 'Counter bit 3', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (36, 'KPL', 'BIT', 4, 'Cnt_Bit04', 40, 1, 3, 'Counter bit 4', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (37, 'KPL', 'BIT', 4, 'Cnt_Bit05', 40, 1, 4, 'Counter bit 5', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (38, 'KPL', 'BIT', 4, 'Cnt_Bit06', 40, 1, 5, 'Counter bit 6', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (39, 'KPL', 'BIT', 4, 'Cnt_Bit07', 40, 1, 6, 'Counter bit 7', 'BDE_Counter_###machine', 0, 1, 0, 1, 0),
    (40, 'KPL', 'BIT', 4, 'Cnt_Bit08', 40, 1, 7, 'Counter bit 8', 'BDE_Counter_###machine', 0, 1, 0, 1, 0);
