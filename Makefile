# Thin wrapper over CMake. `make run` plays the bundled sample history,
# `make test` builds and runs every test (also under ASan and UBSan).
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS = -G Ninja -DKENO_WERROR=$(WERROR)

.PHONY: all build run test test-native test-sanitize clean

all: build

build:
	cmake -S . -B build $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

run: build
	cd data && ../build/keno

test: test-native test-sanitize

test-native: build
	ctest --test-dir build -j $(JOBS) --output-on-failure

test-sanitize:
	cmake -S . -B build-sanitize $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DKENO_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize -j $(JOBS) --output-on-failure

clean:
	rm -rf build build-sanitize build-windows build-bench build-fuzz

# The Windows program, cross-built with MinGW-w64; every test runs under Wine.
.PHONY: test-windows
test-windows:
	cmake -S . -B build-windows $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
	cmake --build build-windows -j $(JOBS)
	ctest --test-dir build-windows -j $(JOBS) --output-on-failure

# Google Benchmark suite, then the whole program against mawk on 1,000,000 draws.
.PHONY: bench bench-build
bench: bench-build
	build-bench/bench/keno_bench
	bench/compare_with_mawk.sh

bench-build:
	cmake -S . -B build-bench $(CMAKE_FLAGS) -DKENO_BUILD_BENCHMARKS=ON -DKENO_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS)

# libFuzzer on whole runs, for FUZZ_SECONDS, from the seed corpus in fuzz/.
# New inputs go to build-fuzz/corpus; a finding is written as crash-* there.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKENO_FUZZ=ON -DKENO_BUILD_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS)
	mkdir -p build-fuzz/corpus
	cd build-fuzz && fuzz/keno_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -max_len=8192 -malloc_limit_mb=64 -dict=../fuzz/keno.dict \
	  -artifact_prefix=./ corpus ../fuzz/corpus
