#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# git_merge.sh WENDARO_CLI: wendaro-cli as git's diff text converter and merge
# driver for *.stf, set up as the README shows, in a repository of its own.
set -eu
cli=$1
if ! command -v git >/dev/null 2>&1; then
    echo "skipped: git is not installed"
    exit 0
fi
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME="$work" GIT_CONFIG_NOSYSTEM=1 WENDARO_CODEPAGE=windows-932
git init -q repo
cd repo
git config user.name test
git config user.email test@example.org
git config diff.wendaro.textconv "'$cli' dump"
git config merge.wendaro.driver "'$cli' merge %O %A %B"
echo '*.stf diff=wendaro merge=wendaro' >.gitattributes

# commit_table MESSAGE ROW...: menu.stf holds the rows ("INDEX<TAB>NAME<TAB>VALUE").
commit_table() {
    message=$1
    shift
    { printf 'Index\tName\tValue\r\n'; printf '%s\r\n' "$@"; } >../menu.txt
    "$cli" convert ../menu.txt menu.stf
    git add .gitattributes menu.stf
    git commit -q -m "$message"
}
tab=$(printf '\t')
has_row() { "$cli" dump menu.stf | tr -d '\r' | grep -qxF "$1"; }

commit_table base "1${tab}a${tab}one" "2${tab}b${tab}two" "3${tab}c${tab}three"
git branch -M base
git checkout -q -b left base
commit_table left "1${tab}a${tab}ONE" "2${tab}b${tab}two" "3${tab}c${tab}three"
git checkout -q -b right base
commit_table right "1${tab}a${tab}one" "2${tab}b${tab}two" "3${tab}c${tab}THREE"

# The text converter shows the changed entry as text lines.
git diff base left -- menu.stf | tr -d '\r' >../diff.txt
grep -qxF -- "-1${tab}a${tab}one" ../diff.txt || fail "git diff lacks the old entry: $(cat ../diff.txt)"
grep -qxF -- "+1${tab}a${tab}ONE" ../diff.txt || fail "git diff lacks the new entry: $(cat ../diff.txt)"

# Different entries changed on the two branches: merged, both changes in.
git checkout -q left
git merge -q -m merged right >../merge.txt 2>&1 || fail "clean merge failed: $(cat ../merge.txt)"
has_row "1${tab}a${tab}ONE" && has_row "3${tab}c${tab}THREE" || fail "merge lost a change: $("$cli" dump menu.stf)"
head -c 4 menu.stf | od -An -tx1 | grep -q 'cd ab 00 00' || fail "the merged table is no STF file"

# One entry changed two ways: git stops, the conflict listed, OURS' side in the file.
git checkout -q -b ours base
commit_table ours "1${tab}a${tab}one" "2${tab}b${tab}OURS" "3${tab}c${tab}three"
git checkout -q -b theirs base
commit_table theirs "1${tab}a${tab}one" "2${tab}b${tab}THEIRS" "3${tab}c${tab}three"
git checkout -q ours
if git merge -m conflicted theirs >../merge.txt 2>&1; then
    fail "a conflicting merge succeeded"
fi
grep -qF 'インデックス 2（b）: 値が両方で違うように変更されています（BASE "two"、OURS "OURS"、THEIRS "THEIRS"）' ../merge.txt ||
    fail "the conflict is not listed: $(cat ../merge.txt)"
git status --porcelain | grep -qx 'UU menu.stf' || fail "git does not mark menu.stf conflicted"
has_row "2${tab}b${tab}OURS" || fail "the file lacks OURS' side: $("$cli" dump menu.stf)"
echo "git merge and diff with wendaro-cli: ok"
