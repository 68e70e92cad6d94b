# Chimewick: the two everyday commands are `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
WERROR     ?= OFF
CMAKE_ARGS ?=

.PHONY: all deps configure build test run core-test asan clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCHIMEWICK_WERROR=$(WERROR) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Every test: core unit tests, widget tests (offscreen) and end-to-end runs under Xvfb.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Only the Qt-free core's unit tests.
core-test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L core

# The core's unit tests under AddressSanitizer and UBSan, in a build directory of their own.
asan:
	$(MAKE) core-test BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DCHIMEWICK_SANITIZE=ON -DCHIMEWICK_GUI=OFF"

run: build
	@if [ -x $(BUILD)/chimewick ]; then ./scripts/run $(BUILD)/chimewick; \
	else echo "make run: built the core; the program itself (build/chimewick) is not part of this build yet."; fi

clean:
	rm -rf $(BUILD) build-asan
