# Thin wrapper over the CMake presets in CMakePresets.json, which define each
# build once. `make run` builds keno alone and plays the bundled sample
# history; `make test` installs what the tests need, then builds and runs
# every test (also under ASan and UBSan).
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# $(call configure|build|check,PRESET): configure; and build; and test.
configure = cmake --preset $(1) -DKENO_WERROR=$(WERROR)
build = $(call configure,$(1)) && cmake --build --preset $(1) -j $(JOBS)
check = $(call build,$(1)) && ctest --preset $(1) -j $(JOBS)

.PHONY: all build run test test-native test-sanitize test-libcxx test-windows \
  test-odd-block clean packages-test packages-windows stock-check

all: build

build:
	$(call build,native)

# keno alone, with no preset, so that a C++17 compiler, CMake 3.20 and make
# are enough: the native preset's build where one was made, else
# build-plain, configured again each time (a failed configure leaves a
# cache behind) and first made with Ninja where it is found.
run_dir = $(if $(wildcard build/build.ninja),build,build-plain)
run_generator = $(if $(wildcard build-plain/CMakeCache.txt),,$(if $(shell command -v ninja),-G Ninja))
run:
	[ $(run_dir) = build ] || cmake -S . -B build-plain \
	  -DKENO_BUILD_TESTS=OFF -DKENO_WERROR=$(WERROR) $(run_generator)
	cmake --build $(run_dir) --target keno --config Release -j $(JOBS)
	@keno=$(run_dir)/keno; [ -f $$keno ] || keno=$(run_dir)/Release/keno; \
	  set -x; cd data && ../$$keno

test: test-native test-sanitize test-libcxx

test-native test-sanitize test-libcxx: packages-test

test-native:
	$(call check,native)

test-sanitize:
	$(call check,sanitize)

# Clang with libc++, so that no behaviour rests on one standard library.
test-libcxx:
	$(call check,libcxx)

# keno reading 10,000 bytes at a time, no power of two, and its end-to-end
# cases, which must follow its reads wherever they end.
test-odd-block: packages-test
	$(call check,odd-block)

# The Windows program, cross-built with MinGW-w64; every test runs under Wine.
test-windows: packages-windows
	$(call check,windows)

# What the tests need, installed where it is missing (tools/packages.sh).
packages-test:
	sh tools/packages.sh test

packages-windows:
	sh tools/packages.sh test windows

# A new user's first steps on a minimal Debian 12, where the tarball packed
# must be build/'s (`make package` first), and the tarball on Debian 11: as
# root, with debootstrap and the network to Debian's mirror.
stock-check:
	tools/stock_check.sh

# Release packages: build/keno-<version>-Linux-<processor>.tar.gz and,
# cross-built with MinGW-w64, build-windows/keno-<version>-win64.zip.
.PHONY: package package-windows packages-package packages-package-windows
package: packages-package
	$(call build,native) --target package

package-windows: packages-package-windows
	$(call build,windows) --target package

# The native preset and the package's test: no clang, libc++ or strace.
packages-package:
	sh tools/packages.sh package

# The windows preset built, no Wine: only its tests run under Wine.
packages-package-windows:
	sh tools/packages.sh package-windows

clean:
	rm -rf build build-*/

# Google Benchmark suite, then the whole program against mawk on 1,000,000 draws.
.PHONY: bench bench-build packages-bench packages-fuzz
bench: bench-build
	build-bench/bench/keno_bench
	bench/compare_with_mawk.sh

bench-build: packages-bench
	$(call build,bench)

packages-bench:
	sh tools/packages.sh bench

packages-fuzz:
	sh tools/packages.sh fuzz

# libFuzzer on whole runs, for FUZZ_SECONDS, from the seed corpus in fuzz/.
# New inputs go to build-fuzz/corpus; a finding is written as crash-* there.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: packages-fuzz
	$(call build,fuzz)
	mkdir -p build-fuzz/corpus
	cd build-fuzz && fuzz/keno_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -max_len=8192 -malloc_limit_mb=64 -dict=../fuzz/keno.dict \
	  -artifact_prefix=./ corpus ../fuzz/corpus
