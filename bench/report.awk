# bench/run's report, from its log of timings, one line per run:
# "<game> <round> <tool> <wall seconds> <cpu seconds>". Round 0 warmed the
# caches: the figures count rounds from 1. bench/run hands in the sizes,
# the planets listed and the memory figures:
#   awk -v large_bytes=... -v typical_bytes=... -v large_planets=...
#       -v large_listed=... -v rss_tiny=... -v rss_large=...
#       -v rss_unlisted=... -f bench/report.awk <log>
function median(list, n,    sorted, i, j, t) {
  for (i = 1; i <= n; i++) sorted[i] = list[i]
  for (i = 2; i <= n; i++)
    for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) {
      t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
    }
  return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}
function spread(list, n,    lo, hi, i) {
  lo = hi = list[1]
  for (i = 2; i <= n; i++) {
    if (list[i] < lo) lo = list[i]
    if (list[i] > hi) hi = list[i]
  }
  return sprintf("[%.3f - %.3f]", lo, hi)
}
function tool_line(game, tool, bytes,    n, r, wall, cpu, m) {
  n = 0
  for (r = 1; (game, r, tool) in WALL; r++) {
    wall[++n] = WALL[game, r, tool]; cpu[n] = CPU[game, r, tool]
  }
  m = median(wall, n)
  printf "  %-10s %8.4f s %-19s %7.0f MB/s   CPU %8.4f s %s\n", tool, m,
    spread(wall, n), bytes / 1e6 / m, median(cpu, n), spread(cpu, n)
}
# The ratio of two tools in each round, then its median and spread.
function ratio_line(game, top, bottom, what, goal, at_most,    n, r, q, c, m, mc) {
  n = 0
  for (r = 1; (game, r, top) in WALL; r++) {
    q[++n] = WALL[game, r, top] / WALL[game, r, bottom]
    c[n] = CPU[game, r, top] / CPU[game, r, bottom]
  }
  m = median(q, n); mc = median(c, n)
  printf "  %-28s %6.2f %-17s (CPU %5.2f %s)", what, m, spread(q, n), mc, spread(c, n)
  if (goal)
    printf "  goal %s %g: %s", at_most ? "<=" : ">=", goal,
      (at_most ? m <= goal : m >= goal) ? "met" : "NOT met"
  printf "\n"
}
{ WALL[$1, $2, $3] = $4; CPU[$1, $2, $3] = $5 }
END {
  printf "\nLarge game: 16 files, %.1f MB, %d planets, %d listed (%.2f%%)\n",
    large_bytes / 1e6, large_planets, large_listed, 100 * large_listed / large_planets
  tool_line("LARGE", "vorn", large_bytes)
  tool_line("LARGE", "mawk", large_bytes)
  tool_line("LARGE", "dd", large_bytes)
  tool_line("LARGE", "reads", large_bytes)
  ratio_line("LARGE", "mawk", "vorn", "mawk time / vorn time", 0, 0)
  ratio_line("LARGE", "vorn", "dd", "vorn time / dd bs=512 time", 2, 1)
  ratio_line("LARGE", "vorn", "reads", "vorn time / reads time", 0, 0)
  printf "  (reads: the 512-byte reads alone, the floor under vorn: the last ratio\n"
  printf "  is how far vorn is from the fastest a 512-byte reader could be)\n"

  printf "\nTypical game: 16 files, %.2f MB, 16000 planets\n", typical_bytes / 1e6
  tool_line("TYPICAL", "vorn", typical_bytes)
  tool_line("TYPICAL", "mawk", typical_bytes)
  tool_line("TYPICAL", "dd", typical_bytes)
  tool_line("TYPICAL", "cat", typical_bytes)
  ratio_line("TYPICAL", "vorn", "cat", "vorn time / cat time", 3, 1)

  printf "\nPeak resident memory of vorn (median of 7): tiny game %d KiB, large game %d KiB\n",
    rss_tiny, rss_large
  printf "  (large game listing nothing: %d KiB)\n", rss_unlisted
  printf "  goal <= 4096 KiB: %s; growth with the input (large game listing nothing\n",
    (rss_large <= 4096 && rss_tiny <= 4096) ? "met" : "NOT met"
  printf "  minus tiny game) %d KiB, goal below 32 KiB: %s\n", rss_unlisted - rss_tiny,
    (rss_unlisted - rss_tiny < 32) ? "met" : "NOT met"
}
