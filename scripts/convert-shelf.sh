#!/bin/bash
# Converts a shelf of Photo CD disc images into one photo library with GNU
# parallel: one disc image per job, on this machine's cores or, with
# --sshloginfile, on several machines that see the same library folder.
#
#   scripts/convert-shelf.sh -o LIBRARY [-j JOBS] [--sshloginfile FILE] IMAGE... [-- EXPORT OPTIONS]
#
# Each job is `lumivexa-cli export IMAGE -o LIBRARY --library`: the disc's photos
# go to LIBRARY/<disc image name>/ (--name "{disc}/{name}" unless the export
# options give another), and the disc keeps a state record and its own manifest
# in LIBRARY/.lumivexa. LIBRARY/manifest.jsonl is rebuilt from those at the start
# and at the end. The final status comes from the discs' records, checked
# against the list of images: a re-run checks the photos already there and
# does the rest.
# Exit status: 0 all done; 3 all done, some photos repaired or from a lower
# level; 1 some disc failed; 130 interrupted, some discs unfinished; 2 bad usage.
# LUMIVEXA_CLI names the converter (default: lumivexa-cli on the PATH).
set -uo pipefail

usage() { echo "usage: $0 -o LIBRARY [-j JOBS] [--sshloginfile FILE] IMAGE... [-- EXPORT OPTIONS]" >&2; exit 2; }

cli=${LUMIVEXA_CLI:-lumivexa-cli}
library= jobs=2 sshlogins= images=() options=()
while [ $# -gt 0 ]; do
  case $1 in
    -o) [ $# -ge 2 ] || usage; library=$2; shift 2 ;;
    -j) [ $# -ge 2 ] || usage; jobs=$2; shift 2 ;;
    --sshloginfile) [ $# -ge 2 ] || usage; sshlogins=$2; shift 2 ;;
    --) shift; options=("$@"); break ;;
    -*) usage ;;
    *) images+=("$1"); shift ;;
  esac
done
[ -n "$library" ] && [ ${#images[@]} -gt 0 ] || usage
command -v parallel >/dev/null || { echo "GNU parallel is missing (Debian package 'parallel')" >&2; exit 1; }

# Remote machines need paths that mean the same there: make them absolute.
mkdir -p "$library" || exit 1
library=$(cd "$library" && pwd)
for i in "${!images[@]}"; do images[$i]=$(realpath -- "${images[$i]}") || exit 1; done
name=("--name" "{disc}/{name}")
for option in "${options[@]}"; do
  case $option in --name | --name=*) name=() ;; esac
done

# Lines that jobs of a run killed outright wrote reach the library's manifest first.
"$cli" manifest "$library" >/dev/null || exit 1

remote=()
[ -n "$sshlogins" ] && remote=(--sshloginfile "$sshlogins")
# When the shelf stops, parallel stops its jobs: Ctrl+C first (each drops the
# file it is writing and records the disc as interrupted), then TERM, then KILL.
parallel --will-cite --quote --jobs "$jobs" --termseq INT,10000,TERM,2000,KILL,25 "${remote[@]}" \
  "$cli" export {} -o "$library" --library -q "${name[@]}" "${options[@]}" ::: "${images[@]}" &
coordinator=$!
interrupted=0
trap 'interrupted=1; kill -TERM $coordinator 2>/dev/null' INT TERM HUP
# A shelf killed outright (kill -9) cannot pass the word on: this watcher
# stops parallel, and with it the jobs, once the shelf is gone.
( while kill -0 $$ 2>/dev/null; do sleep 1; done; kill -TERM $coordinator 2>/dev/null ) &
watcher=$!
# wait returns early when a signal arrives; parallel is waited for until it ends.
while wait $coordinator; [ $? -gt 128 ] && kill -0 $coordinator 2>/dev/null; do :; done
kill $watcher 2>/dev/null

"$cli" manifest "$library" >&2 || exit 1
"$cli" status "$library" "${images[@]}"
status=$?
# Parallel ended on its own yet a disc is unfinished (its job was killed from outside): a failure.
[ $status = 130 ] && [ $interrupted = 0 ] && exit 1
exit $status
