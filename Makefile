# Tovani: `make run` installs what is missing, builds and starts the game;
# `make test` installs, builds and runs the whole test suite.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps configure build run test sanitize bench layout-stats format clean install deb

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/tovani

test: build
	./scripts/run-tests.sh $(BUILD)

# The test suite under the address and undefined-behaviour sanitizers.
sanitize:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DTOVANI_SANITIZE=ON"

# Speed and memory benchmarks (see README).
bench: build
	./scripts/run-benchmarks.sh $(BUILD)

# The winnable share of every layout over 1,000 plain deals, written to
# content/Layouts/Winnable.ini (commit it): after adding or changing a layout.
layout-stats: configure
	cmake --build $(BUILD) --target layout-stats

# Installs the game, tovani-cli, the content, the desktop entry, icons, metainfo and manual pages
# under PREFIX (DESTDIR is honoured, for staging).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, $(BUILD)/tovani_<version>_<arch>.deb: apt install ./tovani_*.deb
deb: build
	cd $(BUILD) && cpack -G DEB

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan
