#!/bin/bash
# Converts a shelf of Photo CD disc images into one photo library with GNU
# parallel: one disc image per job, on this machine's cores or, with
# --sshloginfile, on several machines that see the same library folder.
#
#   scripts/convert-shelf.sh -o LIBRARY [-j JOBS] [--sshloginfile FILE] IMAGE... [-- EXPORT OPTIONS]
#
# Each disc's photos go to LIBRARY/<disc image name>/ (export's --name
# "{disc}/{name}" unless the export options give another --name). Every job
# writes its own manifest; at the end they are appended to LIBRARY/manifest.jsonl.
# A re-run skips the photos already there and succeeds. Discs whose export failed
# are listed at the end.
# Exit status: 0 all done; 3 all done, some photos repaired or from a lower
# level; 1 some disc failed; 2 bad usage.
# LUMIVEXA_CLI names the converter (default: lumivexa-cli on the PATH).
set -euo pipefail

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
mkdir -p "$library"
library=$(cd "$library" && pwd)
for i in "${!images[@]}"; do images[$i]=$(realpath -- "${images[$i]}"); done
name=("--name" "{disc}/{name}")
for option in "${options[@]}"; do [ "$option" = --name ] && name=(); done

# This run's job manifests and log, merged and removed at the end.
run=$(mktemp -d "$library/.shelf-run.XXXXXX")
trap 'rm -rf "$run"' EXIT
remote=()
[ -n "$sshlogins" ] && remote=(--sshloginfile "$sshlogins")

# {#} numbers the jobs, so discs with the same file name keep their own manifests.
status=0
parallel --will-cite --quote --jobs "$jobs" "${remote[@]}" --joblog "$run/jobs.log" \
  "$cli" export {} -o "$library" -q --manifest "$run/{#}.jsonl" "${name[@]}" "${options[@]}" \
  ::: "${images[@]}" || status=$?

shopt -s nullglob
manifests=("$run"/*.jsonl)
[ ${#manifests[@]} -eq 0 ] || cat "${manifests[@]}" >> "$library/manifest.jsonl"

# The job log: Seq Host Starttime JobRuntime Send Receive Exitval Signal Command.
failed=0 repaired=0
while IFS=$'\t' read -r seq host start runtime send receive exitval signal command; do
  [ "$seq" = Seq ] && continue
  image=${images[$((seq - 1))]}
  case $exitval in
    0) ;;
    3) repaired=$((repaired + 1)); echo "repaired: $image" >&2 ;;
    *) failed=$((failed + 1)); echo "failed: $image (exit status $exitval$([ "$signal" = 0 ] || echo ", signal $signal"))" >&2 ;;
  esac
done < "$run/jobs.log"
echo "${#images[@]} discs, $failed failed, $repaired with repairs; library $library" >&2
if [ $failed -gt 0 ] || { [ $status -ne 0 ] && [ $repaired -eq 0 ]; }; then exit 1; fi
[ $repaired -gt 0 ] && exit 3
exit 0
