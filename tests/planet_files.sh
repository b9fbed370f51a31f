# Planet files and expected listings for the end-to-end scripts that make
# their cases at test time (hostile/run, linux/run); sourced, not run.

# The banner and the ranges, for the six limits as vorn prints them.
expect_head() {
  printf '\nVorn: list inhabitable planets\n by the Vorn developers\n'
  printf '\nVorn ranges:\n\n'
  printf '  - Grav: %sg  .. %sg\n  - Temp: %sC  .. %sC\n' "$1" "$2" "$3" "$4"
  printf '  - Rad:  %smR .. %smR\n\n' "$5" "$6"
}

# A header with "Grav" in column 20, and a planet line (name, gravity,
# temperature, radiation) with its values in columns 20 to 22; both end in
# CR LF, as the game writes them.
header() {
  printf 'Name'
  i=1
  while [ $i -le 19 ]; do printf '\tcol%d' $i; i=$((i + 1)); done
  printf '\tGrav\tTemp\tRad\r\n'
}
planet_start() {
  printf '%s' "$1"
  i=1
  while [ $i -le 19 ]; do printf '\t-'; i=$((i + 1)); done
  printf '\t%s\t%s\t%s' "$2" "$3" "$4"
}
planet() { planet_start "$@"; printf '\r\n'; }
