#!/usr/bin/env bash
# bench/run.sh - measures Ruvex side by side with its yardsticks in one session on one local FTP
# server (tests/harness/session.sh) and prints a table of ratios, Ruvex / yardstick: (a)
# RefreshListing of 500 entries against the bare WinINet enumeration; (b) a 64 MiB download and
# upload through the program's commands against bare FtpGetFileA/FtpPutFileA and against curl;
# (c) start-up to the login window against a program showing the same window; (d) the size of
# the shipped ruvex.exe, the peak memory with 500 entries listed, and the private memory after
# 100 and after 1000 refreshes. A few minutes on two cores.
#
#   bench/run.sh [BUILD_DIR]        (default: build/windows, the tree tools/test.sh builds)
#
# It times the ruvex.exe the session chooses (the shipped one where 32-bit code runs natively)
# and names it; the size row is the shipped program's. BENCH_LISTING_ROUNDS, BENCH_TRANSFER_ROUNDS, BENCH_STARTUP_ROUNDS and
# BENCH_REFRESHES change how often each is measured. Exit status 1 when something could not be
# measured.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${RUVEX_SESSION_DIR:-}" ]; then  # first build, then run this script again in a session
    build=${1:-${RUVEX_BUILD:-$root/build}/windows}
    "$root/tools/install-deps.sh"
    # The benchmark drives Ruvex through the test driver, so the tests are built too.
    RUVEX_CMAKE_OPTIONS="${RUVEX_CMAKE_OPTIONS:-} -DBUILD_TESTING=ON" "$root/tools/build-windows.sh" "$build" MinSizeRel
    build=$(cd "$build" && pwd)
    export WINEPREFIX=$build/wineprefix RUVEX_SHIPPED_EXE=$build/release/ruvex.exe \
           RUVEX_EXE_64=$build/x86_64/ruvex.exe RUVEX_BENCH_BIN=$build
    exec "$root/tests/harness/session.sh" -- "$0"
fi

listing_rounds=${BENCH_LISTING_ROUNDS:-3} transfer_rounds=${BENCH_TRANSFER_ROUNDS:-3}
startup_rounds=${BENCH_STARTUP_ROUNDS:-24} refreshes=${BENCH_REFRESHES:-1000}
bytes=$((64 * 1024 * 1024))
results=$RUVEX_SESSION_DIR/results local=$RUVEX_SESSION_DIR/local server=$RUVEX_FTP_ROOT
mkdir -p "$local"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# bench ARGS...: runs bench.exe and keeps its "key value" lines; stops the run when it failed.
bench() {
    local output
    if ! output=$(wine "$RUVEX_BENCH_BIN/bench.exe" "$@" 2>/dev/null) || grep -q '^error' <<<"$output"; then
        echo "bench: could not measure: $* ${output:+-> $output}" >&2
        exit 1
    fi
    tr -d '\r' <<<"$output" >> "$results"
}
median() { awk -v key="$1" '$1 == key { print $2 }' "$results" | sort -g |
           awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ---- The server's files: 500 entries, 40 folders and 460 files whose kinds cycle through
# every picture and unknown ones; a small folder to refresh over and over; 64 MiB each way.
mkdir -p "$server"/big500/entry-{001..040} "$server/small/Folder"
extensions=(txt png pdf zip html php exe swf csv avi doc jpg gz xml mpg dat log md)
for i in $(seq 41 500); do
    printf -v name 'entry-%03d.%s' "$i" "${extensions[i % ${#extensions[@]}]}"
    : > "$server/big500/$name"
done
echo 'a few bytes' > "$server/small/notes.txt"
head -c 300 /dev/urandom > "$server/small/photo.png"
head -c "$bytes" /dev/urandom > "$server/big64.bin"
head -c "$bytes" /dev/urandom > "$local/up64.bin"

# ---- (a) RefreshListing against the bare enumeration
bench listing big500 "$listing_rounds"

# ---- (b) 64 MiB down and up: the program, bare WinINet, curl. curl times the transfer alone,
# after the commands before it.
curl_transfer() {  # KEY CURL_ARGS...
    curl -sS --ftp-port 127.0.0.1 -w "$1 %{time_pretransfer} %{time_total}\n" "${@:2}" |
        awk '{ printf "%s %.1f\n", $1, ($3 - $2) * 1000 }' >> "$results" ||
        { echo "bench: curl could not transfer" >&2; exit 1; }
}
get_bare() { bench get big64.bin "$(windows_path "$local/down.bin")"; }
get_ruvex() { bench download big64.bin "$(windows_path "$local/down.bin")"; }
get_curl() { curl_transfer curl_get_ms -o "$local/down.bin" ftp://127.0.0.1/big64.bin; }
put_bare() { bench put "$(windows_path "$local/up64.bin")" up64.bin; }
put_ruvex() { bench upload "$(windows_path "$local/up64.bin")"; }
put_curl() { curl_transfer curl_put_ms -T "$local/up64.bin" ftp://127.0.0.1/up64.bin; }
# Each round starts with another of the three, and every transfer starts with nothing left to
# write to the disk, so that none pays for the one before.
ways=(bare ruvex curl)
for round in $(seq 0 $((transfer_rounds - 1))); do
    for i in 0 1 2; do
        way=${ways[(round + i) % 3]}
        sync; "get_$way"; rm -f "$local/down.bin"
        sync; "put_$way"; rm -f "$server/up64.bin"
    done
done

# ---- (c) start-up to the login window against the bare dialog. First the bare dialog against
# itself: the difference this method reads between two identical programs.
bare_exe=$RUVEX_BENCH_BIN/$(file -b "$RUVEX_EXE" | grep -q x86-64 && echo x86_64 || echo i686)/bench_bare_dialog.exe
bare=$(windows_path "$bare_exe")
RUVEX_EXE=$bare_exe bench startup "$startup_rounds" "$bare"
sed -i 's/^startup_/same_/' "$results"
bench startup "$startup_rounds" "$bare"

# ---- (d) peak memory with 500 entries listed, growth over many refreshes
bench peak big500
bench growth small 100 "$refreshes"

# ---- The table
# row LABEL RUVEX YARDSTICK [UNIT [BYTES | %]]: both and their ratio, with a transfer of BYTES
# both rates, or the ratio in per cent.
row() {
    awk -v label="$1" -v a="$2" -v b="$3" -v unit="${4:-ms}" -v extra="${5:-}" 'BEGIN {
        number = unit == "KB" ? "%9.0f %s" : "%9.1f %s"
        ca = sprintf(number, a, unit) (extra + 0 ? sprintf(" (%.1f MB/s)", extra / 1e3 / a) : "")
        cb = sprintf(number, b, unit) (extra + 0 ? sprintf(" (%.1f MB/s)", extra / 1e3 / b) : "")
        ratio = extra == "%" ? sprintf("%.2f %%", 100 * a / b) : sprintf("%.2f", a / b)
        printf "%-56s %-25s %-25s %s\n", label, ca, cb, ratio }'
}
sha=$(sha256sum "$RUVEX_EXE") bits=$(file -b "$RUVEX_EXE" | grep -q x86-64 && echo 64 || echo 32)
echo
echo "Ruvex benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)), $(wine --version)"
echo "Timed: $RUVEX_EXE, $bits-bit, SHA-256 ${sha%% *}"
echo "Medians of $listing_rounds listings, $transfer_rounds transfers each way, $startup_rounds starts; ratio: Ruvex / yardstick."
echo
row "(a) list $(median listing_entries) entries: RefreshListing / bare enumeration" \
    "$(median listing_refresh_ms)" "$(median listing_bare_ms)"
row "    within one refresh: the program's own share / WinINet" "$(median listing_own_ms)" \
    "$(median listing_wininet_ms)" ms %
ruvex_get=$(median ruvex_get_ms) ruvex_put=$(median ruvex_put_ms)
row "(b) download 64 MiB / bare FtpGetFileA" "$ruvex_get" "$(median bare_get_ms)" ms "$bytes"
row "    download 64 MiB / curl" "$ruvex_get" "$(median curl_get_ms)" ms "$bytes"
row "    upload 64 MiB / bare FtpPutFileA" "$ruvex_put" "$(median bare_put_ms)" ms "$bytes"
row "    upload 64 MiB / curl" "$ruvex_put" "$(median curl_put_ms)" ms "$bytes"
row "(c) start to login window / bare dialog" "$(median startup_ruvex_ms)" "$(median startup_bare_ms)"
row "    the bare dialog / itself (the method's own)" "$(median same_ruvex_ms)" "$(median same_bare_ms)"
printf '%-56s %9d B   %s\n' "(d) size of the shipped ruvex.exe" "$(stat -c %s "$RUVEX_SHIPPED_EXE")" \
    "$RUVEX_SHIPPED_EXE"
printf '%-56s %9d KB\n' "    peak working set, $(median peak_entries) entries listed" "$(median peak_working_set_kb)"
row "    private memory after 100 / $refreshes refreshes" "$(median growth_first_private_kb)" \
    "$(median growth_last_private_kb)" KB
