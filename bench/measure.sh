#!/usr/bin/env bash
# bench/measure.sh - the measurements of bench/run.sh, run inside its session (tests/harness/
# session.sh: the FTP server on 127.0.0.1, Wine, a display). Needs RUVEX_EXE and
# RUVEX_BENCH_BIN (the folder of bench_core.exe, bench_drive.exe, bench_bare_dialog.exe).
# Prints a table; exit status 1 when something could not be measured.
set -euo pipefail

: "${RUVEX_EXE:?}" "${RUVEX_BENCH_BIN:?}" "${RUVEX_FTP_ROOT:?}" "${RUVEX_SESSION_DIR:?}"
listing_rounds=${BENCH_LISTING_ROUNDS:-3}
transfer_rounds=${BENCH_TRANSFER_ROUNDS:-3}
startup_rounds=${BENCH_STARTUP_ROUNDS:-24}
refreshes=${BENCH_REFRESHES:-1000}
transfer_bytes=$((64 * 1024 * 1024))

results=$RUVEX_SESSION_DIR/results
local_dir=$RUVEX_SESSION_DIR/local
mkdir -p "$local_dir"
: > "$results"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Runs a benchmark program and keeps its "key value" lines; stops the run when it failed.
measure() {
    local output
    if ! output=$(wine "$@" 2>/dev/null) || grep -q '^error' <<<"$output"; then
        echo "bench: could not measure: $* ${output:+-> $output}" >&2
        exit 1
    fi
    printf '%s\n' "$output" | tr -d '\r' >> "$results"
}

values() { awk -v key="$1" '$1 == key { print $2 }' "$results"; }
median() { values "$1" | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
rate() { awk -v ms="$1" -v bytes="$transfer_bytes" 'BEGIN { printf "%.1f", bytes / 1e6 / (ms / 1000) }'; }

# ---- The server's files ----

# 500 entries: 40 folders and 460 files whose kinds cycle through every picture and unknown ones.
mkdir -p "$RUVEX_FTP_ROOT/big500" "$RUVEX_FTP_ROOT/small/Folder"
extensions=(txt png pdf zip html php exe swf csv avi doc jpg gz xml mpg dat log md)
for i in $(seq 1 500); do
    name=$(printf 'entry-%03d' "$i")
    if [ "$i" -le 40 ]; then
        mkdir "$RUVEX_FTP_ROOT/big500/$name"
    else
        : > "$RUVEX_FTP_ROOT/big500/$name.${extensions[i % ${#extensions[@]}]}"
    fi
done
# The small folder refreshed over and over: a folder, a picture and a document.
echo 'a few bytes' > "$RUVEX_FTP_ROOT/small/notes.txt"
head -c 300 /dev/urandom > "$RUVEX_FTP_ROOT/small/photo.png"
head -c "$transfer_bytes" /dev/urandom > "$RUVEX_FTP_ROOT/big64.bin"
head -c "$transfer_bytes" /dev/urandom > "$local_dir/up64.bin"

core=$RUVEX_BENCH_BIN/bench_core.exe
drive=$RUVEX_BENCH_BIN/bench_drive.exe

# ---- (a) RefreshListing against the bare enumeration ----
measure "$core" listing big500 "$listing_rounds"

# ---- (b) 64 MiB down and up: the program, bare WinINet, curl ----
curl_transfer() {  # KEY CURL_ARGS...: times the transfer alone, after the commands before it
    local times
    times=$(curl -sS --ftp-port 127.0.0.1 -w '%{time_pretransfer} %{time_total}' "${@:2}") ||
        { echo "bench: curl could not transfer" >&2; exit 1; }
    awk -v key="$1" '{ printf "%s %.1f\n", key, ($2 - $1) * 1000 }' <<<"$times" >> "$results"
}
get_bare() { measure "$core" get big64.bin "$(windows_path "$local_dir/down.bin")"; }
get_ruvex() { measure "$drive" download big64.bin "$(windows_path "$local_dir/down.bin")"; }
get_curl() { curl_transfer curl_get_ms -o "$local_dir/down.bin" ftp://127.0.0.1/big64.bin; }
put_bare() { measure "$core" put "$(windows_path "$local_dir/up64.bin")" up64.bin; }
put_ruvex() { measure "$drive" upload "$(windows_path "$local_dir/up64.bin")"; }
put_curl() { curl_transfer curl_put_ms -T "$local_dir/up64.bin" ftp://127.0.0.1/up64.bin; }

# Each round starts with another of the three, and every transfer starts with nothing left to
# write to the disk, so that none pays for the one before.
ways=(bare ruvex curl)
for round in $(seq 0 $((transfer_rounds - 1))); do
    for i in 0 1 2; do
        way=${ways[(round + i) % 3]}
        sync
        "get_$way"
        rm -f "$local_dir/down.bin"
        sync
        "put_$way"
        rm -f "$RUVEX_FTP_ROOT/up64.bin"
    done
done

# ---- (c) start-up to the login window, against a bare dialog ----
# First the bare dialog against itself: the difference this method reads between two identical
# programs, against which Ruvex's ratio is to be read.
bare=$RUVEX_BENCH_BIN/bench_bare_dialog.exe
RUVEX_EXE=$bare measure "$drive" startup "$startup_rounds" "$(windows_path "$bare")"
sed -i 's/^startup_/same_/' "$results"
measure "$drive" startup "$startup_rounds" "$(windows_path "$bare")"

# ---- (d) size, peak memory with 500 entries listed, growth over many refreshes ----
measure "$drive" peak big500
measure "$core" growth small 100 "$refreshes"

# ---- The table ----
ruvex_get=$(median ruvex_get_ms) bare_get=$(median bare_get_ms) curl_get=$(median curl_get_ms)
ruvex_put=$(median ruvex_put_ms) bare_put=$(median bare_put_ms) curl_put=$(median curl_put_ms)

# row LABEL RUVEX_MS YARDSTICK_MS: both in milliseconds, and their ratio.
row() { printf '%-46s %10.1f ms %10.1f ms %7.2f\n' "$1" "$2" "$3" "$(ratio "$2" "$3")"; }

echo
echo "Ruvex benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)), $(wine --version)"
echo "Medians of $listing_rounds listings, $transfer_rounds transfers each way, $startup_rounds starts; ratio: Ruvex / yardstick."
echo
printf '%-46s %13s %13s %7s\n' "" "Ruvex" "yardstick" "ratio"
row "(a) list $(median listing_entries) entries: RefreshListing / bare" "$(median listing_refresh_ms)" "$(median listing_bare_ms)"
own=$(median listing_own_ms) library=$(median listing_wininet_ms)
printf '%-46s %10.1f ms %10.1f ms %6.2f%%\n' "    in one refresh: the program's share / WinINet" "$own" "$library" \
    "$(awk -v a="$own" -v b="$library" 'BEGIN { print 100 * a / b }')"
row "(b) download 64 MiB: Ruvex / FtpGetFileA" "$ruvex_get" "$bare_get"
row "    download 64 MiB: Ruvex / curl" "$ruvex_get" "$curl_get"
row "    upload 64 MiB: Ruvex / FtpPutFileA" "$ruvex_put" "$bare_put"
row "    upload 64 MiB: Ruvex / curl" "$ruvex_put" "$curl_put"
printf '%-46s %s\n' "    MB/s down: Ruvex, FtpGetFileA, curl" "$(rate "$ruvex_get"), $(rate "$bare_get"), $(rate "$curl_get")"
printf '%-46s %s\n' "    MB/s up:   Ruvex, FtpPutFileA, curl" "$(rate "$ruvex_put"), $(rate "$bare_put"), $(rate "$curl_put")"
row "(c) start to login window / bare dialog" "$(median startup_ruvex_ms)" "$(median startup_bare_ms)"
row "    the bare dialog / itself (the method's own)" "$(median same_ruvex_ms)" "$(median same_bare_ms)"
printf '%-46s %10d B\n' "(d) size of ruvex.exe" "$(stat -c %s "$RUVEX_EXE")"
printf '%-46s %10d KB\n' "    peak working set, $(median peak_entries) entries listed" "$(median peak_working_set_kb)"
printf '%-46s %10d KB %10d KB\n' "    working set after 100 / $refreshes refreshes" \
    "$(median growth_first_working_set_kb)" "$(median growth_last_working_set_kb)"
printf '%-46s %10d KB %10d KB\n' "    private memory after 100 / $refreshes refreshes" \
    "$(median growth_first_anonymous_kb)" "$(median growth_last_anonymous_kb)"
printf '%-46s %10.1f ms\n' "    one refresh of $(median growth_entries) entries, on average" "$(median growth_refresh_ms)"
