# TERRANOX: `make run` starts the game, `make test` runs the whole test suite.
# Both first install the Debian packages that are missing and build what is needed.

# What building and running the game needs, and what the whole test suite needs on top.
RUN_PACKAGES := build-essential cmake pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev \
	libpng-dev libjpeg-dev zlib1g-dev libx11-dev libxtst-dev libgtest-dev libbenchmark-dev \
	fonts-urw-base35 fonts-liberation
TEST_PACKAGES := $(RUN_PACKAGES) xvfb openbox wmctrl xdotool x11-utils imagemagick \
	desktop-file-utils appstream clang libclang-rt-14-dev strace

JOBS ?= $(shell nproc)
WERROR ?= OFF
CMAKE_FLAGS := -DTERRANOX_WERROR=$(WERROR)

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: run test run-deps test-deps install-packages build-release build-test build-asan \
	build-fuzz test-main test-asan test-fuzz art deb clean

run: run-deps build-release
	./build/release/terranox

# The whole suite: every test of the normal build (the long soak aside), the headless suites and a
# short soak under AddressSanitizer and UndefinedBehaviorSanitizer, and a one-minute fuzz run.
test: test-deps
	@$(MAKE) --no-print-directory test-main test-asan test-fuzz

SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

test-main: build-test
	cd build/test && ctest --output-on-failure -j$(JOBS) -LE long

test-asan: build-asan
	cd build/asan && $(SANITIZER_ENV) TERRANOX_SOAK_RUNS=40 TERRANOX_WHOLE_GAMES=6 \
		ctest --output-on-failure -j$(JOBS) -L 'headless|soak'

FUZZ_SECONDS ?= 60
test-fuzz: build-fuzz
	rm -rf build/fuzz/corpus && mkdir -p build/fuzz/corpus
	$(SANITIZER_ENV) build/fuzz/tests/fuzz_events -max_total_time=$(FUZZ_SECONDS) \
		-print_final_stats=1 build/fuzz/corpus tests/fuzz/corpus

run-deps:
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(RUN_PACKAGES)"

test-deps:
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(TEST_PACKAGES)"

install-packages:
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
		echo "Installing missing packages:" $$missing; \
		$(SUDO) apt-get update -qq && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

build-release:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/release -j$(JOBS) --target terranox

build-test:
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build/test -j$(JOBS)

build-asan:
	cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTERRANOX_SANITIZE=ON \
		-DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/asan -j$(JOBS)

build-fuzz:
	cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
		-DCMAKE_CXX_COMPILER=clang++ -DTERRANOX_FUZZ=ON -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/fuzz -j$(JOBS) --target fuzz_events

art: run-deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/release -j$(JOBS) --target artgen
	./build/release/tools/artgen/artgen assets

# A Debian package of the Release build, for `apt install ./build/release/terranox_*.deb`.
deb: run-deps build-release
	cd build/release && cpack -G DEB

clean:
	rm -rf build

# Benchmarks: a Release build of the game and of the bench programs, run under an X server of
# their own; the table of figures and targets goes to docs/performance.md.
.PHONY: bench
bench: test-deps
	@$(MAKE) --no-print-directory install-packages PACKAGES="jq"
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/bench -j$(JOBS) --target bench_programs
	bench/run_bench.sh build/bench docs/performance.md
