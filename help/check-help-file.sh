#!/bin/bash
# Checks a compiled help file: every page of the contents is inside it under the
# title the contents give it, and the pages' paragraphs that dialogs open are there.
# Usage: check-help-file.sh LumivexaSE.chm
set -euo pipefail
chm=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmls extractall "$chm" "$work" >/dev/null 2>&1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# Contents entries: <param name="Name" value="TITLE"><param name="Local" value="PAGE">
sed -n 's/.*name="Name" value="\([^"]*\)"><param name="Local" value="\([^"]*\)".*/\2|\1/p' "$work/contents.hhc" >"$work/toc"
[ -s "$work/toc" ] || fail "no contents in $chm"
while IFS='|' read -r page title; do
  [ -f "$work/$page" ] || { fail "$page is missing"; continue; }
  grep -q "<h1>$title</h1>" "$work/$page" || fail "$page does not start with the heading \"$title\""
done <"$work/toc"

# The index leads to pages that are there; the search tab has its word index.
sed -n 's/.*name="Local" value="\([^"#]*\).*/\1/p' "$work/index.hhk" >"$work/index"
[ -s "$work/index" ] || fail "no index in $chm"
while read -r page; do [ -f "$work/$page" ] || fail "the index names $page, which is missing"; done <"$work/index"
chmls list "$chm" 2>/dev/null | grep -q '/\$FIftiMain' || fail "$chm has no full-text search index"

# A few paragraphs the program's dialogs point at, with words a reader looks for.
grep -q 'id="gamma".*mid-tones' "$work/options-display.html" || fail "options-display.html has no gamma paragraph"
grep -q 'id="folder".*make a new one' "$work/export.html" || fail "export.html does not say a folder can be made"
grep -q 'id="compression".*LZW' "$work/format-options.html" || fail "format-options.html has no compression paragraph"

[ $failed = 0 ] && echo "help file $chm: $(wc -l <"$work/toc") pages checked"
exit $failed
