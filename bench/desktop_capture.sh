#!/usr/bin/env bash
# The built program on a private X desktop (Xvfb, openbox, trayer), with texts copied by another
# program (xclip): latency from the copy to the complete file, bursts of copies, and the CPU the
# program uses over a minute of reading with an unchanged clipboard.
#   bench/desktop_capture.sh [QUILLBOX_EXECUTABLE]      (default: build/quillbox)
# Prints one row per figure: name, value, unit, target, ok or missed.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
executable=$(realpath "${1:-$top/build/quillbox}")
. "$top/scripts/desktop-session.sh"

desktop_start 1024x768x24
folder="$desktop_home/program"
mkdir "$folder"
cp "$executable" "$folder/quillbox"
cd "$folder"
desktop_spawn ./quillbox
program=${desktop_pids[-1]}
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quillbox$' | head -1)
sleep 1
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$program/status"; }
private_kb() { awk '/^Private_(Clean|Dirty):/ { kb += $2 } END { print kb }' "/proc/$program/smaps_rollup"; }
rest_resident=$(($(resident_kb) / 1024))
rest_private=$(($(private_kb) / 1024))
xdotool windowactivate --sync "$window" key ctrl+k
sleep 0.5

now_us() { echo $(($(date +%s%N) / 1000)); }

copy() {
    # -quiet keeps xclip in the foreground, so this shell knows the process that serves the text.
    printf '%s' "$1" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
    desktop_pids+=($!)
}

row() {
    local name=$1 value=$2 unit=$3 comparison=$4 target=$5 verdict=missed
    if awk -v v="$value" -v t="$target" -v c="$comparison" \
        'BEGIN { exit !((c == "<=" && v <= t) || (c == ">=" && v >= t)) }'; then
        verdict=ok
    fi
    printf '%-34s %10s %-6s %2s %-8s %s\n' "$name" "$value" "$unit" "$comparison" "$target" "$verdict"
}

# Microseconds from the start of the copying program to the file being in place; the file is
# linked in whole, so being there means being complete.
latencies=()
for i in $(seq 1 50); do
    name="latency $i"
    start=$(now_us)
    copy "$name"
    until [ -f "$name.txt" ]; do
        [ $(($(now_us) - start)) -gt 5000000 ] && break
        sleep 0.001
    done
    latencies+=($(($(now_us) - start)))
    sleep 0.1
done
sorted=$(printf '%s\n' "${latencies[@]}" | sort -n)
median=$(echo "$sorted" | awk '{ a[NR] = $1 } END { printf "%.1f", (a[25] + a[26]) / 2000 }')
p99=$(echo "$sorted" | awk '{ a[NR] = $1 } END { printf "%.1f", a[50] / 1000 }')

burst() {
    local gap=$1 tag=$2
    for i in $(seq 1 10); do
        copy "burst $tag $i"
        sleep "$gap"
    done
    sleep 1.5
    burst_files=$(find . -maxdepth 1 -name "burst $tag *.txt" | wc -l)
}
burst 0.05 a
burst50=$burst_files
burst 0.01 b
burst10=$burst_files

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$program/stat"; }
idle_cpu_percent() {
    local before after
    sleep 2
    before=$(cpu_ticks)
    sleep 60
    after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", 100 * t / hz / 60 }'
}
copy "short idle text"
idle_short=$(idle_cpu_percent)
# The minute starts once the large text has been captured and shown, when nothing changes any more.
files_before=$(find . -maxdepth 1 -name '*.txt' | wc -l)
copy "$(head -c 3750000 /dev/urandom | base64 -w 76)"
for _ in $(seq 1 300); do
    [ "$(find . -maxdepth 1 -name '*.txt' | wc -l)" -gt "$files_before" ] && break
    sleep 0.1
done
sleep 5
idle_large=$(idle_cpu_percent)
large_resident=$(($(resident_kb) / 1024))

row resident_at_rest "$rest_resident" MB "<=" 40
row private_at_rest "$rest_private" MB "<=" 12
row resident_with_5mb_text_held "$large_resident" MB "<=" 60
row capture_latency_median "$median" ms "<=" 30
row capture_latency_p99 "$p99" ms "<=" 100
row ten_copies_50ms_apart_files "$burst50" files ">=" 10
row ten_copies_10ms_apart_files "$burst10" files ">=" 8
row idle_cpu_short_text "$idle_short" % "<=" 0.1
row idle_cpu_5mb_text "$idle_large" % "<=" 0.1
