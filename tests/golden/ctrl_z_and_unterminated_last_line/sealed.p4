Name	Code	Zone	Px	Py	Pz	Girth	Heft	Sats	Belt	Shine	Tilt	Spin	Orbit	Metal	Frost	Vapor	Shell	Heart	Field	Grav	Heat	Dose	Remarks
Dawnrise	1	2	3	4	5	6	7	8	9	10	11	12	13	14	15	16	17	18	19	1	7	7
Endmark	1	2	3	4	5	6	7	8	9	10	11	12	13	14	15	16	17	18	19	0.5	5	5