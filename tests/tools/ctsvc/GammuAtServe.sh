#!/usr/bin/env bash
# gammu, an existing AT phonebook client, reads the phone (ME) and SIM (SM) phonebooks through
# `ctsvc at-serve`: every entry with its name (Latin, Cyrillic, Hangul) and number.
# Usage: GammuAtServe.sh CTSVC. Exit 77 (skipped) where gammu is not installed.
set -euo pipefail
ctsvc=$1
if ! command -v gammu >/dev/null; then
  echo "gammu is not installed (scripts/deps installs it): skipped"
  exit 77
fi
dir=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill -TERM "$server_pid" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
data=(--data "$dir/data")

# name|number... of the phone and the SIM contacts, in the order they are stored.
phone=("Anna|Berg|+4930123456" "Женя|Иванова|0101234567" "민준|김|+821012345678" "Two|Numbers|0201111|0202222")
sim=("Олег|Петров|+79161234567" "서연|이|0109876543" "Bob||112")

add() {  # add DEVICE-FLAG "first|last|number..."
  local flag=$1 first last numbers args=()
  IFS='|' read -r first last numbers <<<"$2"
  args=(--first "$first")
  [ -n "$last" ] && args+=(--last "$last")
  IFS='|' read -ra nums <<<"$numbers"
  for n in "${nums[@]}"; do args+=(--number "$n"); done
  "$ctsvc" "${data[@]}" add $flag "${args[@]}" >/dev/null
}

# What gammu prints for the contacts: a number line and a name line per number.
expected() {
  local first last numbers name
  for c in "$@"; do
    IFS='|' read -r first last numbers <<<"$c"
    name=$first${last:+ $last}
    IFS='|' read -ra nums <<<"$numbers"
    for n in "${nums[@]}"; do
      printf 'General number       : "%s"\nName                 : "%s"\n' "$n" "$name"
    done
  done
}

for c in "${phone[@]}"; do add "" "$c"; done
"$ctsvc" "${data[@]}" sim make-card --gsm --empty "$dir/card.json" >/dev/null
"$ctsvc" "${data[@]}" sim insert-card "$dir/card.json" >/dev/null
for c in "${sim[@]}"; do add --sim "$c"; done

coproc SERVER { exec "$ctsvc" "${data[@]}" at-serve; }
server_pid=$SERVER_PID
read -r device <&"${SERVER[0]}"
[[ "$device" == /dev/pts/* ]] || { echo "at-serve printed '$device', not a terminal path"; exit 1; }
printf '[gammu]\nconnection = at\ndevice = %s\n' "$device" >"$dir/gammurc"

status=0
for memory in ME SM; do
  if [ $memory = ME ]; then want=$(expected "${phone[@]}"); else want=$(expected "${sim[@]}"); fi
  got=$(gammu -c "$dir/gammurc" getallmemory $memory 2>&1 | grep -E '^(General number|Name) ' || true)
  if [ "$got" != "$want" ]; then
    echo "gammu getallmemory $memory read:"; echo "$got"; echo "expected:"; echo "$want"
    status=1
  else
    echo "gammu getallmemory $memory: $(grep -c '^Name' <<<"$got") entries as stored"
  fi
done

kill -TERM "$server_pid"
wait "$server_pid" && server_status=0 || server_status=$?
server_pid=
[ "$server_status" = 0 ] || { echo "at-serve ended with $server_status after SIGTERM"; status=1; }
exit $status
