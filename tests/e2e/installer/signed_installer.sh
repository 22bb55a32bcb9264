#!/usr/bin/env bash
# An installer carrying a package, signed afterwards with osslsigncode: the installer still
# finds its package in front of the certificate table. A security directory that gives a size
# but no offset is refused as a checksum mismatch.
#   signed_installer.sh <wine-run.sh> <dravell-package.exe> <DravellInstaller.exe> <packageinfo.exe> <work folder>
set -euo pipefail
run=$1 builder=$2 installer=$3 info=$4 work=$5
rm -rf "$work"
mkdir -p "$work"
cd "$work"
trap 'cd /; rm -rf "$work"' EXIT

expect() { # description, expected first line, file
  local got
  got=$("$run" "$info" "$3" | head -1 | tr -d '\r' || true)
  if [ "$got" != "$2" ]; then
    echo "FAIL: $1: expected '$2', got '$got'"
    exit 1
  fi
  echo "ok: $1: $got"
}

echo '{"reservedBlock": {"size": 5}}' >package.json
"$run" "$builder" "$installer" package.json unsigned.exe
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=Dravell test" 2>/dev/null
osslsigncode sign -certs cert.pem -key key.pem -in unsigned.exe -out signed.exe >/dev/null

expect "unsigned" "locate 1 header 236" unsigned.exe
expect "signed" "locate 1 header 236" signed.exe

# The security directory entry: PE header (e_lfanew at 0x3C) + 24, then the data directories
# at 96 (PE32) or 112 (PE32+), entry 4.
pe=$(od -An -t u4 -j 60 -N 4 signed.exe | tr -d ' ')
magic=$(od -An -t x2 -j $((pe + 24)) -N 2 signed.exe | tr -d ' ')
case $((16#$magic)) in
  $((0x10b))) directories=$((pe + 24 + 96)) ;;
  $((0x20b))) directories=$((pe + 24 + 112)) ;;
  *) echo "FAIL: unknown optional header magic $magic"; exit 1 ;;
esac
cp signed.exe no-offset.exe
printf '\0\0\0\0' | dd of=no-offset.exe bs=1 seek=$((directories + 32)) conv=notrunc status=none
expect "security directory without offset" "locate -5 header 0" no-offset.exe
