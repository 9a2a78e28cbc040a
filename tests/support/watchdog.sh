#!/usr/bin/env bash
# Runs a test program under Wine and ends it when one of its tests runs over the deadline (no line
# of output for that long), naming the test and exiting with 124. It watches from outside: a thread
# of its own in an emulated 32-bit test program is what such programs survive least.
#   watchdog.sh PROGRAM [ARGUMENTS...]     deadline: SWIVO_TEST_DEADLINE seconds, default 120
set -u
deadline=${SWIVO_TEST_DEADLINE:-120}
run=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/wine-run.sh
fifo=$(mktemp -u) && mkfifo "$fifo" || exit 1
bash "$run" "$@" >"$fifo" 2>&1 &
program=$!
exec 3<"$fifo"
rm -f "$fifo"
# Whether the program still runs; until it is waited for, an ended one lingers as a zombie.
running_program() { case $(ps -o stat= -p "$program" 2>/dev/null) in "" | Z*) return 1 ;; esac; }

running="(before the first test)"
quiet=0  # seconds without a line
# Polled, not blocked on: a process the program started (Wine's desktop, a fixture) may hold the
# output open after the program has ended.
while running_program || IFS= read -r -t 0 <&3; do
  if IFS= read -r -t 2 line <&3; then
    quiet=0
    printf '%s\n' "$line"
    case $line in
      "[ RUN      ] "*) running=${line#"[ RUN      ] "} ;;
    esac
  elif [ $? -le 128 ]; then
    [ -z "$line" ] || printf '%s\n' "$line"  # a last line without its line end
    break  # every writer closed the output
  elif ((quiet += 2, quiet >= deadline)); then
    printf '\nwatchdog: %s has run for more than %s s; ending the program\n' "$running" "$deadline"
    kill -9 "$program" 2>/dev/null
    exit 124
  fi
done
wait "$program"
