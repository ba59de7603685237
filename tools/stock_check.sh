#!/usr/bin/env bash
# Does what a new user does, on a minimal Debian 12 made with debootstrap
# with only g++, make, cmake and git added: clones this repository's
# committed HEAD, plays the sample with `make run`, then lets `make test`
# install what it needs and pass. `make package` there must then pack the
# tarball that `make package` made here from HEAD, byte for byte, which is
# unpacked into a minimal Debian 11 (glibc 2.31) and played there.
#
#   tools/stock_check.sh [PARENT]   # as root; `make stock-check`
#
# Needs debootstrap and Debian's mirror: MIRROR, by default the one in this
# machine's apt sources. The roots and the logs are made in a new folder
# under PARENT (/var/tmp by default). It is removed when every step passed,
# unless KEEP=1; a step that fails, and an interrupt (Ctrl+C, TERM, HUP),
# keep it for its logs, once what was mounted in it is unmounted.
set -euo pipefail

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
if [ "$(id -u)" -ne 0 ]; then
  echo "$0: needs root, for debootstrap, mount and chroot" >&2
  exit 1
fi
if ! command -v debootstrap >/dev/null; then
  echo "$0: needs debootstrap (Debian: debootstrap)" >&2
  exit 1
fi
if ! ls "$repo"/build/keno-*-Linux-*.tar.gz >/dev/null 2>&1; then
  echo "$0: needs the tarball to compare with: make package first" >&2
  exit 1
fi

# The first Debian archive in the apt sources that is not the security one.
apt_mirror() {
  {
    sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources
    sed -En 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+).*/\2/p' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list
  } 2>/dev/null | tr ' ' '\n' | grep '/debian/*$' | head -n 1 || true
}
mirror=${MIRROR:-$(apt_mirror)}
mirror=${mirror:-http://deb.debian.org/debian}

# Always a folder of its own, as the whole of it is removed at the end.
work=$(mktemp -d "$(cd "${1:-/var/tmp}" && pwd)/keno-stock.XXXXXX")
bookworm=$work/bookworm
bullseye=$work/bullseye
mounted=()

# Unmounts what was mounted, and removes the roots only when nothing is
# mounted below them any more: /dev bound inside must never be emptied.
cleanup() {
  local status=$? i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -R "${mounted[i]}" 2>/dev/null || umount -lR "${mounted[i]}" || true
  done
  if grep -q " $work/" /proc/self/mounts; then
    echo "Still mounted under $work, so it is left as it is." >&2
  elif [ "$status" -ne 0 ]; then
    echo "Kept, with its logs: $work" >&2
  elif [ "${KEEP:-0}" = 1 ]; then
    echo "Kept: $work"
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

start=$SECONDS
step() { echo "== $(date -u +%T) (+$((SECONDS - start)) s) $*"; }

# Runs a command in ROOT as a login would, its output in FOLDER/LOG.
in_root() {
  local root=$1 log=$2
  shift 2
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "$*" >"$work/$log" 2>&1 || {
    echo "Failed: $* (the end of $work/$log:)" >&2
    tail -n 40 "$work/$log" >&2
    return 1
  }
}

# The run on the sample that the committed README.md shows in its first
# text block, whose ticket is typed after the prompt: the picks typed here,
# and then, without them, what keno must print to the byte (" ... " in the
# README stands for what it leaves out). The package test checks the README.
prompt='Zadajte 5 typovanych cisel:'
readme_run=$(git -C "$repo" show HEAD:README.md |
  awk '/^```text$/ { on = 1; next } on && /^```$/ { exit } on')
picks="printf '%s\\n\\n' '$(sed -n "s/^$prompt//p" <<<"$readme_run")'"
mapfile -t shown < <(sed "/^$prompt/{s/^$prompt.*/$prompt/;N;s/\n//;}" \
  <<<"$readme_run")

# Whether keno's output, the end of the log LOG, is the README's run.
played() {
  local printed i
  mapfile -t printed < <(tail -n "${#shown[@]}" "$work/$1")
  for i in "${!shown[@]}"; do
    if [[ ${shown[i]} == *" ... "* ]]; then
      [[ ${printed[i]} == "${shown[i]%% ... *}"*"${shown[i]#* ... }" ]]
    else
      [[ ${printed[i]} == "${shown[i]}" ]]
    fi || {
      echo "$1: '${printed[i]}', where README.md shows '${shown[i]}'" >&2
      return 1
    }
  done
}

bootstrap() {
  step "debootstrap $1 from $mirror"
  debootstrap --variant=minbase ${3:+--include=$3} "$1" "$2" "$mirror" \
    >"$work/debootstrap-$1.log" 2>&1 || {
    tail -n 20 "$work/debootstrap-$1.log" >&2
    return 1
  }
}

bootstrap bookworm "$bookworm" g++,make,cmake,git
cp /etc/resolv.conf "$bookworm/etc/resolv.conf"
for fs in proc sys dev; do
  mount --rbind "/$fs" "$bookworm/$fs"
  mounted+=("$bookworm/$fs")
  mount --make-rslave "$bookworm/$fs"
done

step "git clone of $(git -C "$repo" rev-parse --short HEAD)"
git -C "$repo" bundle create "$bookworm/root/keno.bundle" HEAD 2>/dev/null
in_root "$bookworm" clone.log "git clone /root/keno.bundle /root/keno"

step "make run"
in_root "$bookworm" make-run.log "cd /root/keno && $picks | make run"
played make-run.log

step "make test"
in_root "$bookworm" make-test.log "cd /root/keno && make test"
grep -E '^(Installing:|[0-9]+% tests passed)' "$work/make-test.log"

# Another Debian 12 install, the same commit: the same bytes.
step "make package"
in_root "$bookworm" make-package.log "cd /root/keno && make package"
tarball=$(ls "$bookworm"/root/keno/build/keno-*-Linux-*.tar.gz)
here=$repo/build/$(basename "$tarball")
sha256sum "$tarball" "$here" || true
cmp "$tarball" "$here" || {
  echo "$0: the tarball packed on Debian 12 differs from $here;" \
    "make it again from HEAD if it is older" >&2
  exit 1
}
bootstrap bullseye "$bullseye"
step "$(basename "$tarball") on $(chroot "$bullseye" ldd --version | head -n 1)"
tar -xzf "$tarball" -C "$bullseye/opt"
top=/opt/$(basename "$tarball" .tar.gz)
in_root "$bullseye" bullseye-run.log \
  "mkdir /root/play && cd /root/play && cp $top/share/keno/sample/keno10.csv . \
   && $picks | $top/bin/keno"
played bullseye-run.log

step "passed"
