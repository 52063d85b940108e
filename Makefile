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

.PHONY: run test run-deps test-deps install-packages build-release build-test art clean

run: run-deps build-release
	./build/release/terranox

test: test-deps build-test
	cd build/test && ctest --output-on-failure -j$(JOBS)

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

art: run-deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/release -j$(JOBS) --target artgen
	./build/release/tools/artgen/artgen assets

clean:
	rm -rf build
