#!/bin/bash
# The Windows converter with names beyond the ANSI code page, run under Wine and
# checked from Linux: a disc in a folder named in Czech, whose serial holds the
# Latin-1 byte for "ü", exported into an output folder named in Polish and
# Russian with --name "{serial}/{photo}" and a manifest. The files must land
# under those names in UTF-8, and the printed names must read the same.
# Arguments: lumivexa-cli.exe, pcdmake.exe, the source tree, a scratch folder.
set -u
cli=$1 pcdmake=$2 source=$3 work=$4
wine_run() { "$source/scripts/wine-run.sh" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
printf 'serial=M\xfcller\nphoto scene:page:1 levels=base\n' > disc.txt
wine_run "$pcdmake" --out disc --manifest disc.txt >pcdmake.log 2>&1 || fail "pcdmake: $(cat pcdmake.log)"
disc="Disk č"
mv disc "$disc"

out="Ausgabe Łódź фото"
wine_run "$cli" export "$disc" -o "$out" --name "{serial}/{photo}" --level base/16 --format jpg \
  --manifest "$out/manifest ü.jsonl" >export.log 2>&1
status=$?
[ $status -eq 0 ] || fail "export ended with $status: $(cat export.log)"
[ -s "$out/Müller/0001.jpg" ] || fail "no $out/Müller/0001.jpg; written: $(find "$work" -name '*.jpg')"
[ "$(identify -format '%wx%h' "$out/Müller/0001.jpg")" = 192x128 ] || fail "$out/Müller/0001.jpg is not a 192x128 picture"
grep -qF '"output":"Ausgabe Łódź фото\\Müller\\0001.jpg"' "$out/manifest ü.jsonl" || fail "manifest: $(cat "$out/manifest ü.jsonl")"

# What the user reads names the same folder, and info shows the serial.
wine_run "$cli" export "$disc" -o "$out" --name "{serial}/{photo}" --format jpg --dry-run >dry.log 2>&1
grep -qF "$out\\Müller\\0001.jpg (exists; skipped)" dry.log || fail "dry run shows: $(cat dry.log)"
wine_run "$cli" info --json "$disc" >info.json 2>&1 || fail "info: $(cat info.json)"
grep -qF '"serial": "Müller"' info.json || fail "info shows: $(cat info.json)"
echo "PASS"
