# TERRANOX: `make run` starts the game, `make test` runs the whole test suite.
# Both first install the Debian packages that are missing and build what is needed.

PACKAGES := build-essential cmake pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev \
	libpng-dev libjpeg-dev zlib1g-dev libx11-dev libxtst-dev libgtest-dev libbenchmark-dev \
	fonts-urw-base35 fonts-liberation xvfb openbox wmctrl xdotool x11-utils imagemagick

JOBS ?= $(shell nproc)
WERROR ?= OFF
CMAKE_FLAGS := -DTERRANOX_WERROR=$(WERROR)

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: run test deps build-release build-test art clean

run: deps build-release
	./build/release/terranox

test: deps build-test
	cd build/test && ctest --output-on-failure -j$(JOBS)

deps:
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
		echo "Installing missing packages:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build-release:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/release -j$(JOBS) --target terranox

build-test:
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build/test -j$(JOBS)

art: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTERRANOX_WINDOW_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/release -j$(JOBS) --target artgen
	./build/release/tools/artgen/artgen assets

clean:
	rm -rf build
