Name	Ident	Sector	X	Y	Z	Size	Mass	Moons	Rings	Albedo	Axial	Day	Year	Ore	Ice	Gas	Crust	Core	Magnet	Grav	Temp	Rad	Notes
Lanternfell	401	Far-2	307	213	33	8	1.30	1	no	0.20	1	21	417	31	19	23	basalt	iron	1.25	1.12g	25C	60mR	twin suns
Mirefast	402	Far-2	314	226	36	9	1.40	2	yes	0.30	12	22	434	62	38	46	granite	iron	1.50	0.49g	25C	60mR	
