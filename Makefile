# Chimewick: the two everyday commands are `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
WERROR     ?= OFF
CMAKE_ARGS ?=
PREFIX     ?= $(HOME)/.local
BENCH_BUILD ?= build-bench

.PHONY: all deps deps-run configure configure-program build check test run core-test asan fuzz bench bench-build bench-peers \
        test-windows windows windows-i686 windows-zip install uninstall demo lint clean

all: build

# Every package of the build, the program and the tests (scripts/install-deps test).
deps:
	@./scripts/install-deps test

# Only what building and running the Linux program needs (make run, make install).
deps-run:
	@./scripts/install-deps run

# Configures the build folder when it is new or its options changed; otherwise the build itself runs
# CMake again when a CMakeLists.txt changed. `configure` makes sure the tests are configured too.
CONFIGURE_ARGS = -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCHIMEWICK_WERROR=$(WERROR) $(CMAKE_ARGS)
configure: deps
	@if [ -f $(BUILD)/CMakeCache.txt ] && [ "$$(cat $(BUILD)/.configure-args 2>/dev/null)" = "$(CONFIGURE_ARGS)" ] \
	  && grep -qx 'BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt; \
	then :; else cmake -S . -B $(BUILD) $(CONFIGURE_ARGS) -DBUILD_TESTING=ON \
	  && echo "$(CONFIGURE_ARGS)" > $(BUILD)/.configure-args; fi

# The same for the program alone (make run, make install), which needs none of the tests' packages: a
# new build folder is configured without the tests; one that has them keeps them.
configure-program: deps-run
	@if [ -f $(BUILD)/CMakeCache.txt ] && [ "$$(cat $(BUILD)/.configure-args 2>/dev/null)" = "$(CONFIGURE_ARGS)" ]; \
	then :; else testing=""; [ -f $(BUILD)/CMakeCache.txt ] || testing="-DBUILD_TESTING=OFF"; \
	cmake -S . -B $(BUILD) $(CONFIGURE_ARGS) $$testing && echo "$(CONFIGURE_ARGS)" > $(BUILD)/.configure-args; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The developer's loop: builds what changed of the fast tests' programs and runs those tests (core unit
# tests, widget tests).
check: configure
	cmake --build $(BUILD) -j $(JOBS) --target check_tests
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L 'core|widget'

# Every test: core unit tests, widget tests (offscreen), end-to-end runs under Xvfb, the core's tests
# again under AddressSanitizer and UBSan, and cross-built for Windows and run under Wine.
# End-to-end cases drive real windows on a virtual display and wait on wall-clock time; on a loaded
# machine one may miss its window, so they alone get one more try (a real fault fails both). Every
# other test runs once. Both runs report before make stops on a failure.
test: build
	@status=0; \
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE e2e || status=1; \
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L e2e --repeat until-pass:2 || status=1; \
	exit $$status
	$(MAKE) --no-print-directory asan
	WERROR=$(WERROR) ./scripts/test-windows

# The core and its tests built with MinGW-w64 and run under Wine in a throwaway prefix.
test-windows: deps
	WERROR=$(WERROR) ./scripts/test-windows

# The Windows program: one static chimewick.exe (x86_64, stripped) in build-windows/.
windows: deps
	cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DCHIMEWICK_WERROR=$(WERROR) -DBUILD_TESTING=OFF $(CMAKE_ARGS)
	cmake --build build-windows -j $(JOBS) --target chimewick

# The same for 32-bit Windows (build-windows-i686/). It cannot run here; CI only compiles it.
windows-i686: deps
	cmake -S . -B build-windows-i686 -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DCHIMEWICK_WERROR=$(WERROR) -DBUILD_TESTING=OFF $(CMAKE_ARGS)
	cmake --build build-windows-i686 -j $(JOBS) --target chimewick

# The Windows program for users: build-windows/Chimewick-<version>-windows.zip (exe and read-me).
windows-zip: windows
	./scripts/windows-zip

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
bench: bench-build
	$(BENCH_BUILD)/bench/chimewick_bench
	python3 bench/footprint --exe $(BENCH_BUILD)/chimewick

bench-build: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DCHIMEWICK_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target chimewick_bench_all

# Chimewick beside Workrave and Safe Eyes (installed from Debian for this target only), one after the
# other on one virtual display with one tray host, each idle in the tray for 60 s (about 4 minutes).
bench-peers: bench-build
	./scripts/install-peers
	python3 bench/peers --exe $(BENCH_BUILD)/chimewick --markdown

# Builds the program and its banner helper only (the tests are built by `make test`), then starts it.
run: configure-program
	cmake --build $(BUILD) -j $(JOBS) --target program
	./scripts/run $(BUILD)/chimewick

# Builds the program and its banner helper only, and installs them into $(PREFIX)/lib/chimewick, a
# launcher link in $(PREFIX)/bin, desktop entry and icons.
install: configure-program
	cmake --build $(BUILD) -j $(JOBS) --target program
	cmake --install $(BUILD) --prefix $(PREFIX)

# Removes exactly what the last install put into $(PREFIX), and a start-at-login entry that starts the
# program removed; the settings folder (Ini/) stays.
uninstall:
	cmake -DCHIMEWICK_PREFIX=$(PREFIX) -P cmake/uninstall.cmake

# The README's pictures: the program under Xvfb with libfaketime, PNGs into docs/.
demo: build windows
	./scripts/demo $(BUILD)/chimewick docs
	./scripts/demo-windows build-windows/chimewick.exe docs

# The formatting and lint gate (CI runs it): clang-format over the tree, clang-tidy over what the build
# compiles (and the Windows cross build, once configured). The build first: its generated files are
# part of what clang-tidy reads.
# Formatting over the whole tree; clang-tidy over what the native build compiles (the core, the Qt
# frontend and the tests) and, once `make test` has made it, the Windows cross build (the core's tests
# and the Win32 frontend).
lint: build
	./scripts/lint format
	./scripts/lint tidy $(BUILD) $(wildcard build-win)

clean:
	rm -rf $(BUILD) $(BUILD)-lint build-asan build-win build-win-lint build-windows build-windows-i686 build-fuzz build-bench
