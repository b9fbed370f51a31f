# What the end-to-end scripts share (golden/run, hostile/run, linux/run,
# docs/check_examples, install/check_install and packaging/check): failing
# with a message, a scratch folder, the line ends of a Windows build, the
# expected listing and comparing with it, and planet files made at test
# time. Sourced, not run.
# shellcheck shell=sh

# Reports a failure and goes on, so that one run reports every failure; the
# script ends with `exit $failed`.
# shellcheck disable=SC2034 # read by the scripts that source this one
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

# A scratch folder, $work, removed when the script ends, even where a case
# took away its permissions.
make_work() {
  work=$(mktemp -d) || exit 2
  trap 'chmod -R u+rwx "$work" 2> /dev/null; rm -rf "$work"' EXIT
}

# Gives a file of expected output the program's line ends: with crlf every
# line ends in CR LF, as a Windows build writes its standard output (a text
# stream); with lf the file stays as it is.
set_line_ends() { # lf|crlf file
  [ "$1" != crlf ] || sed -i 's/$/\r/' "$2"
}

# Compares output with the expected bytes. Where they differ, fails and shows
# the first byte that differs and the lines that do, with every control
# character made visible (cat -A: ^M for CR, ^I for tab, $ at a line's end),
# cut short where the output is long.
compare() { # what expected actual
  cmp -s "$2" "$3" && return 0
  fail "$1 differs from the expected bytes:"
  cmp "$2" "$3" 2>&1
  diff "$2" "$3" | head -n 40 | cut -c 1-200 | cat -A
}

expect_status() { # actual expected
  [ "$1" = "$2" ] || fail "exit status $1, expected $2"
}

# The expected listing, in the file that $expected names: expect_head starts
# it with the banner and the six limits as vorn echoes them; expect_file,
# expect_planet (name, gravity, temperature, radiation as printed) and
# expect_end add a planet file's block.
# shellcheck disable=SC2154 # $expected is the caller's
expect_head() {
  {
    printf '\nVorn: list inhabitable planets\n by the Vorn developers\n'
    printf '\nVorn ranges:\n\n'
    printf '  - Grav: %sg  .. %sg\n  - Temp: %sC  .. %sC\n' "$1" "$2" "$3" "$4"
    printf '  - Rad:  %smR .. %smR\n\n' "$5" "$6"
  } > "$expected"
}
expect_file() { printf 'Processing file %s\n\n' "$1" >> "$expected"; }
expect_planet() {
  printf '  "%s" is inhabitable!\t(Grav=%sg, Temp=%sC, Rad=%smR)\n' \
    "$1" "$2" "$3" "$4" >> "$expected"
}
expect_end() { printf '\n' >> "$expected"; }

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
