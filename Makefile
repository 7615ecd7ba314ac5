# Tovani: `make run` installs what is missing, builds and starts the game;
# `make test` installs, builds and runs the whole test suite.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps configure build run test sanitize fuzz bench layout-stats format clean install deb

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
# Its display tests run on an Xvfb server of their own (the first free number from 171).
sanitize:
	XVFB_DISPLAY=171 $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DTOVANI_SANITIZE=ON"

# Every reader of outside input fuzzed for SECONDS seconds each (clang, libFuzzer, address and
# undefined-behaviour sanitizers, 1 GB a run), in build-fuzz/. Findings go to
# build-fuzz/fuzz-findings/, figures to build-fuzz/fuzz-report.txt.
SECONDS ?= 60
fuzz:
	./scripts/install-deps.sh fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOVANI_FUZZ=ON
	cmake --build build-fuzz --target fuzz-targets -j $(JOBS)
	./scripts/run-fuzz.sh build-fuzz $(SECONDS)

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
	rm -rf $(BUILD) build-asan build-fuzz
