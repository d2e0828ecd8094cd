#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Time from the start of the tellwick process to its first page of alerts
# drawn, and its peak memory, on the demo database and on a generated one of
# many contacts (100,000 unless TWK_BENCH_CONTACTS says otherwise), under one
# virtual X server. Prints; never fails.
set -u
# Everything runs under one virtual X server: the script runs itself in it.
if [ -z "${TWK_BENCH_UNDER_X:-}" ]; then
  TWK_BENCH_UNDER_X=1 exec xvfb-run -a "$0" "$@"
fi
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${TWK_BUILD_DIR:-$root/build}/bin"
contacts="${TWK_BENCH_CONTACTS:-100000}"
# RAM-backed, so that disk syncs do not hide the program's own cost.
scratch="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch" XDG_DATA_HOME="$scratch/data"
large="$scratch/contacts.db"
if ! "$bin/bench_generate_contacts" "$large" "$contacts"; then
  echo "the generated database could not be written"; exit 0
fi

measure() {  # label, then tellwick's arguments
  local label="$1"; shift
  local best="" peak=""
  for round in 1 2 3 4 5; do
    local start end ms kb
    start=$(date +%s%N)
    kb=$(/usr/bin/time -f "%M" "$bin/tellwick" "$@" --exit-when-shown 2>&1 >/dev/null | tail -1)
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    if [ -z "$peak" ] || [ "$kb" -gt "$peak" ]; then peak=$kb; fi
  done
  printf '%-34s start to first page %5d ms (best of 5)   peak memory %4d MB\n' \
    "$label" "$best" "$(( peak / 1024 ))"
  echo "$best" > "$scratch/$label.ms"
}

measure demo --id 1009
measure "$contacts contacts" --server "$large" --id 1009
# The same without a record: the browser's own share, no definition run.
measure "$contacts contacts, no record" --server "$large"
demo=$(cat "$scratch/demo.ms"); big=$(cat "$scratch/$contacts contacts.ms")
[ "$demo" -gt 0 ] && awk -v a="$big" -v b="$demo" 'BEGIN { printf "large / demo start: %.2f\n", a / b }'
echo "(a warm start under one X server; the first demo round also created the demo database)"
