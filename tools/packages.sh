#!/bin/sh
# Installs the Debian packages that a use of the repository needs, where
# they are missing:
#
#   tools/packages.sh test            # what `make test` needs
#   tools/packages.sh package         # what `make package` needs
#   tools/packages.sh package-windows # what `make package-windows` needs
#   tools/packages.sh bench           # what `make bench` needs
#   tools/packages.sh test windows bench fuzz ci  # what .ci/run needs
#
# On Debian and Ubuntu it installs with apt-get, directly as root and through
# sudo otherwise. Elsewhere it installs nothing: it names each missing tool
# with the Debian package that holds it, and fails if any is missing.
set -eu

# One line a package: its groups, comma-separated, its Debian name, and how
# another system shows that it is there (cmd:NAME on PATH, cxx:HEADER that
# c++ finds, path:FILE, libcxx: clang++ links with libc++, fuzzer: clang++
# links libFuzzer; -: Debian only).
PACKAGES='
test,package,bench g++ cmd:c++
test,package,package-windows make cmd:make
test,package,package-windows,bench,fuzz cmake cmd:cmake
test,package,package-windows,bench,fuzz ninja-build cmd:ninja
test,package,package-windows,bench python3 cmd:python3
test,package libgtest-dev cxx:gtest/gtest.h
test,package-windows googletest path:/usr/src/googletest/CMakeLists.txt
test strace cmd:strace
test,fuzz clang cmd:clang++
test libc++-dev libcxx:
test libc++abi-dev libcxx:
windows,package-windows g++-mingw-w64-x86-64 cmd:x86_64-w64-mingw32-g++
windows wine cmd:wine
windows xvfb cmd:Xvfb
windows xdotool cmd:xdotool
windows imagemagick cmd:import
bench libbenchmark-dev cxx:benchmark/benchmark.h
bench mawk cmd:mawk
fuzz libclang-rt-dev fuzzer:
ci clang-format -
ci debootstrap -'

groups='test, package, package-windows, windows, bench, fuzz, ci'
if [ "$#" -eq 0 ]; then
  echo "usage: $0 GROUP... (groups: $groups)" >&2
  exit 2
fi
for asked in "$@"; do
  case ", $groups," in
    *", $asked,"*) ;;
    *) echo "$0: no group $asked (groups: $groups)" >&2; exit 2 ;;
  esac
done
wanted=$(echo "$PACKAGES" | while read -r in_groups package probe; do
  for asked in "$@"; do
    case ",$in_groups," in *",$asked,"*) echo "$package $probe" ;; esac
  done
done | sort -u)

present() {
  case "$1" in
    cmd:*) command -v "${1#cmd:}" >/dev/null 2>&1 ;;
    cxx:*) echo "#include <${1#cxx:}>" |
             c++ -x c++ -E - >/dev/null 2>&1 ;;
    path:*) [ -e "${1#path:}" ] ;;
    libcxx:) echo 'int main() {}' |
               clang++ -stdlib=libc++ -x c++ - -o /dev/null >/dev/null 2>&1 ;;
    fuzzer:) echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
               clang++ -fsanitize=fuzzer -x c++ - -o /dev/null >/dev/null 2>&1 ;;
    *) return 1 ;;
  esac
}

# What a probe looks for, as a player would name it.
tool() {
  case "$1" in
    cxx:*) echo "<${1#cxx:}>" ;;
    libcxx:) echo "libc++ for clang++" ;;
    fuzzer:) echo "libFuzzer for clang++" ;;
    -) echo "$2" ;;
    *) echo "${1#*:}" ;;
  esac
}

if command -v apt-get >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1
then
  missing=$(echo "$wanted" | while read -r package probe; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
      grep -q 'ok installed' || echo "$package"
  done)
  [ -n "$missing" ] || exit 0
  if [ "$(id -u)" -eq 0 ]; then
    sudo=
  elif command -v sudo >/dev/null 2>&1; then
    sudo=sudo
  else
    echo "Missing: $(echo $missing). Install them as root, or install sudo." >&2
    exit 1
  fi
  echo "Installing: $(echo $missing)"
  $sudo apt-get update
  # shellcheck disable=SC2086 # one word a package
  $sudo env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -o DPkg::Lock::Timeout=600 $missing
else
  missing=$(echo "$wanted" | while read -r package probe; do
    present "$probe" || echo "  $(tool "$probe" "$package") (Debian: $package)"
  done)
  [ -n "$missing" ] || exit 0
  echo "Not a Debian system, so nothing is installed. Missing:" >&2
  echo "$missing" | sort -u >&2
  exit 1
fi
