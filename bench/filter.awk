# The same filter as vorn, for comparison: the planets whose gravity,
# temperature and radiation (columns 20 to 22, counted from 0) lie within
# the limits, printed in vorn's line format. Run as
#   mawk -v gmin=.. -v gmax=.. -v tmin=.. -v tmax=.. -v rmin=.. -v rmax=.. \
#        -f filter.awk <files>
# Lines end in CR LF. A value like "0.87g" converts by its leading number,
# as in vorn.
BEGIN {
  FS = "\t"
  RS = "\r\n"
  gmin += 0; gmax += 0; tmin += 0; tmax += 0; rmin += 0; rmax += 0
}
FNR == 1 {
  printf "Processing file %s\n\n", FILENAME
  next
}
{
  grav = $21 + 0
  if (grav < gmin || grav > gmax) next
  temp = $22 + 0
  if (temp < tmin || temp > tmax) next
  rad = $23 + 0
  if (rad < rmin || rad > rmax) next
  printf "  \"%s\" is inhabitable!\t(Grav=%1.2fg, Temp=%1.0fC, Rad=%1.0fmR)\n", $1, grav, temp, rad
}
