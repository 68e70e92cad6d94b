# Chimewick: the two everyday commands are `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
WERROR     ?= OFF
CMAKE_ARGS ?=
PREFIX     ?= $(HOME)/.local

.PHONY: all deps configure build test run core-test asan fuzz bench test-windows install uninstall demo clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCHIMEWICK_WERROR=$(WERROR) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Every test: core unit tests, widget tests (offscreen), end-to-end runs under Xvfb, the core's tests
# again under AddressSanitizer and UBSan, and cross-built for Windows and run under Wine.
# End-to-end cases drive real windows on a virtual display and wait on wall-clock time; on a loaded
# machine one may miss its window, so a failed test gets one more try (a real fault fails both).
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --repeat until-pass:2
	$(MAKE) --no-print-directory asan
	./scripts/test-windows

# The core and its tests built with MinGW-w64 and run under Wine in a throwaway prefix.
test-windows: deps
	./scripts/test-windows

# Only the Qt-free core's unit tests.
core-test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L core

# The core's unit tests and the widget tests (offscreen) under AddressSanitizer and UBSan, in a build
# directory of their own. The banner helper is left out: Qt WebEngine is not built with the sanitizers.
asan:
	$(MAKE) build BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DCHIMEWICK_SANITIZE=ON -DCHIMEWICK_GUI=ON -DCHIMEWICK_BANNER=OFF"
	ctest --test-dir build-asan --output-on-failure -j $(JOBS) -L 'core|widget'

# libFuzzer runs of the core's parsers (clang), FUZZ_SECONDS each (default 60), in build-fuzz/.
fuzz: deps
	./scripts/fuzz

# The core's benchmarks, then the whole program's footprint under Xvfb (about 4 minutes), in build-bench/.
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCHIMEWICK_BENCH=ON $(CMAKE_ARGS)
	cmake --build build-bench -j $(JOBS) --target chimewick_bench_all
	build-bench/bench/chimewick_bench
	python3 bench/footprint --exe build-bench/chimewick

# Builds the program and its banner helper only (the tests are built by `make test`), then starts it.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target program
	@if [ -x $(BUILD)/chimewick ]; then ./scripts/run $(BUILD)/chimewick; \
	else echo "make run: built the core; the program itself (build/chimewick) is not part of this build yet."; fi

# The program into $(PREFIX)/lib/chimewick, a launcher link in $(PREFIX)/bin, desktop entry and icons.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Removes exactly what the last install put into $(PREFIX); the settings folder (Ini/) stays.
uninstall:
	cmake -DCHIMEWICK_PREFIX=$(PREFIX) -P cmake/uninstall.cmake

# The README's pictures: the program under Xvfb with libfaketime, PNGs into docs/.
demo: build
	./scripts/demo $(BUILD)/chimewick docs

clean:
	rm -rf $(BUILD) build-asan build-win build-fuzz build-bench
