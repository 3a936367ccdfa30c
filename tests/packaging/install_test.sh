#!/usr/bin/env bash
# install_test.sh CMAKE BUILD_DIR window|tools: installs the build into a
# temporary prefix, runs the installed kaimo-cli from an empty folder with an
# empty home (the data of "狐" and the opening book must be found), and
# validates the AppStream metadata of the window.
set -euo pipefail
cmake=$1 build=$2 parts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$work/prefix" >/dev/null
mkdir "$work/start" "$work/home"
cd "$work/start"
# 84 empty squares: the first stage that "狐" scores with its data.
output=$(env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$work/home" \
  "$work/prefix/bin/kaimo-cli" eval --moves d5d6g7f4f3g3d7c7c6c5b4b5)
grep -Eq '^狐 [+-][0-9]+\.[0-9]{2}$' <<<"$output" || fail "no value of 狐 from the installed data: $output"
# ProbCut reads its table beside the other data; without it a line would go
# to the log under the home folder.
output=$(env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$work/home" \
  "$work/prefix/bin/kaimo-cli" search --routine 狐 --probcut on --depth 5 --moves d5d6g7f4f3g3d7c7c6c5b4b5)
grep -q '^move ' <<<"$output" || fail "no move of 狐 with ProbCut: $output"
book=$(env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$work/home" "$work/prefix/bin/kaimo-cli" book show)
grep -q '^in the book: ' <<<"$book" || fail "the installed opening book does not hold the initial position: $book"
[ -z "$(ls -A)" ] || fail "written into the current folder: $(ls -A)"
[ -z "$(ls -A "$work/home")" ] || fail "written into the home folder: $(ls -AR "$work/home")"

if [ "$parts" = window ]; then
  appstreamcli validate --no-net "$work/prefix/share/metainfo/"*.metainfo.xml >/dev/null ||
    fail "$(appstreamcli validate --no-net "$work/prefix/share/metainfo/"*.metainfo.xml)"
  grep -q '^Exec=kaimo$' "$work/prefix/share/applications/"*.desktop || fail "the desktop entry names a build path"
fi
