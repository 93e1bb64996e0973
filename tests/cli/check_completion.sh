#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sources wendaro-cli's bash completion and checks what it offers, as bash
# would ask for it: the words so far (bash splits "--a=b" into "--a", "=",
# "b"), the last one being completed. Usage: check_completion.sh SCRIPT
set -u
source "$1" || exit 1
[ "$(complete -p wendaro-cli)" = "complete -F _wendaro_cli wendaro-cli" ] || { echo "not registered"; exit 1; }
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir -p mod
touch a.stf B.STF c.txt d.po e.XLIFF f.csv g.png i.TMX mod/h.stf

failed=0
# words (| separates them; the last is completed) ; the replies expected, sorted
while IFS=';' read -r words expected; do
    IFS='|' read -r -a COMP_WORDS <<<"wendaro-cli|$words"
    [[ -z $words || $words == *'|' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _wendaro_cli
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [ "$got" != "$expected" ]; then
        echo "FAIL: [$words] gave [$got], expected [$expected]"
        failed=1
    fi
done <<'CASES'
;check convert diff dump export grep import memory merge pretranslate status suggest update
c;check convert
--;--help --version
check|--st;--strict
dump|--format|=|;json text
dump|--format|=|j;json
diff|--format|t;text
grep|--field|=|;index name value
grep|--color|=|al;always
grep|--c;--color --color= --count
grep|-;--color --color= --count --extended-regexp --field= --files-with-matches --help --ignore-case --include= --recursive -E -c -h -i -l -r
dump|;B.STF a.stf c.txt mod
export|a.stf|;d.po e.XLIFF f.csv mod
import|a.stf|d.po|;B.STF a.stf c.txt mod
import|--source|a.stf|a.stf|;d.po e.XLIFF f.csv mod
check|--against|=|m;mod
status|--old|;B.STF a.stf c.txt mod
status|--against|a.stf|c.txt|;
grep|-r|;
grep|-r|Open|;B.STF a.stf c.txt mod
grep|-r|Open|mod/;mod/h.stf
convert|a.stf|c.txt|;
export|--s;--source-lang= --source=
memory|-o|;i.TMX mod
memory|--pairs-from|-o|x.tmx|;B.STF a.stf c.txt mod
pretranslate|a.stf|c.txt|;B.STF a.stf c.txt i.TMX mod
suggest|a.stf|;B.STF a.stf c.txt mod
suggest|a.stf|c.txt|--min-match|=|80|;i.TMX mod
export|--memory|;i.TMX mod
CASES
exit $failed
