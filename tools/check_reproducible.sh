#!/bin/sh
# Makes a preset's package twice, keno alone, each in a fresh clone of
# HEAD, the second with another umask, TZ and locale, by nobody when run as
# root (as CI is) and, in /dev/shm, on a file system that lists a folder
# in another order; fails when the packages or their .sha256 files differ
# in a byte. Where the repository's own build folder holds the package
# (`make package`, `make package-windows`: the tests on), that one must be
# the same too, so it must have been made from HEAD, as CI makes it just
# before.
set -eu
preset=${1:?usage: $0 native|windows}
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
one=$(mktemp -d) two=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$one" "$two"' EXIT
trap 'exit 1' INT TERM HUP # dash runs the EXIT trap on exit, not on a signal
# pack FOLDER [nobody]: as root, nobody (65534 on Debian) owns the clone
# and packs it, with a HOME it may write. The clone copies the objects, so
# that chown never reaches the repository's own through a hard link.
pack() {
  git clone -q --no-hardlinks "$repo" "$1/k" &&
    git -C "$1/k" checkout -q "$(git -C "$repo" rev-parse HEAD)"
  as=
  if [ "${2-}" = nobody ] && [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$1"
    as="setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=$1"
  fi
  (cd "$1/k" && $as sh -c 'cmake --preset "$0" -DKENO_BUILD_TESTS=OFF &&
    cmake --build --preset "$0" -j "$1" --target package' \
    "$preset" "${JOBS:-2}") >"$1/log" 2>&1 ||
    { tail -n 30 "$1/log" >&2; exit 1; }
}
(umask 022; export TZ=UTC LC_ALL=C; pack "$one")
(umask 077; export TZ=Asia/Tokyo LC_ALL=C.UTF-8; pack "$two" nobody)
cd "$one/k"
set -- build*/keno-*
[ -e "$1" ] || { echo "$0: the $preset build made no package" >&2; exit 1; }
for made; do
  sha256sum "$made" "$two/k/$made"
  cmp "$made" "$two/k/$made"
  if [ -e "$repo/$made" ]; then
    sha256sum "$repo/$made"
    cmp "$made" "$repo/$made" ||
      { echo "$0: make $repo/$made again from HEAD" >&2; exit 1; }
  fi
done
