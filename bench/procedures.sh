#!/usr/bin/env bash
# Times the database's two stored procedures on a large data set:
#   seznam_stav_seconds             one "call seznam_stav()" (best of 3 runs)
#   uctenky_odpis_lines_per_second  till lines written off per second, one
#                                   CALL per line over one connection, in the
#                                   write-off window's order
#
# Environment:
#   DORVIK_TEST_PORT    port of the MariaDB server on 127.0.0.1 (root, no password); required
#   DORVIK_BENCH_SCALE  scale for scripts/gen-bench-data when velmo has no large data set yet (default 1)
#   DORVIK_BENCH_LINES  till lines to write off (default 10000)
#
# The write-off changes the data: each run writes off the next lines, so a
# data set of scale 1 lasts about 20 runs before it needs generating again.
set -euo pipefail

port=${DORVIK_TEST_PORT:?set DORVIK_TEST_PORT to the server port}
scale=${DORVIK_BENCH_SCALE:-1}
want=${DORVIK_BENCH_LINES:-10000}
root=$(cd "$(dirname "$0")/.." && pwd)
db=(mariadb -uroot -h127.0.0.1 -P"$port" --default-character-set=cp1250 -N -B)

goods=$("${db[@]}" -e "select count(*) from velmo.seznam" 2>/dev/null || echo 0)
unwritten=$("${db[@]}" -e "select count(*) from velmo.uctenky where stredisko = '1' and nc = 0 and povaha <> 'P'" 2>/dev/null || echo 0)
if (( goods < 1000 || unwritten < want )); then
  echo "procedures.sh: generating data at scale $scale" >&2
  "$root/scripts/gen-bench-data" "$port" "$scale" >&2
fi

best=
for _ in 1 2 3; do
  s=$("${db[@]}" velmo -e "set @t0 = now(6); call seznam_stav(); select timestampdiff(microsecond, @t0, now(6)) / 1e6;")
  if [[ -z $best ]] || awk -v a="$s" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$s; fi
done
printf 'seznam_stav_seconds %.2f\n' "$best"

calls=$(mktemp)
trap 'rm -f "$calls"' EXIT
"${db[@]}" velmo -e "select stredisko, jkpov, mnoz, id from uctenky
                      where stredisko = '1' and nc = 0 and povaha <> 'P'
                      order by jkpov, mnoz asc limit $want" |
  awk -F '\t' '{ printf "call uctenky_odpis(\x27%s\x27,\x27%s\x27,\x27%s\x27,\x27%s\x27);\n", $1, $2, $3, $4 }' > "$calls"
n=$(wc -l < "$calls")
if (( n == 0 )); then
  echo "procedures.sh: no unwritten till lines" >&2
  exit 1
fi
s=$({ echo "set @t0 = now(6);"; cat "$calls"; echo "select timestampdiff(microsecond, @t0, now(6)) / 1e6;"; } |
    "${db[@]}" velmo)
left=$("${db[@]}" velmo -e "select count(*) from uctenky where id in ($(awk -F"'" '{ printf "%s%s", sep, $8; sep = "," }' "$calls")) and nc = 0")
if (( left != 0 )); then
  echo "procedures.sh: $left lines still unwritten after the calls" >&2
  exit 1
fi
echo "procedures.sh: $n lines in $s s" >&2
awk -v n="$n" -v s="$s" 'BEGIN { printf "uctenky_odpis_lines_per_second %.0f\n", n / s }'
