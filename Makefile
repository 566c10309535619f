# Floppex: every target installs what is missing first (Debian 12), then builds out of tree in build/.
SHELL := /bin/bash
BUILD  := build
JOBS   ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all setup native windows fuzz-build run test test-native test-fuzz test-windows fuzz bench dist clean \
  install-desktop uninstall-desktop

all: native windows

setup:
	@bash scripts/setup.sh

native: setup
	@cmake -S . -B $(BUILD)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

windows: setup
	@cmake -S . -B $(BUILD)/win $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake >/dev/null
	@cmake --build $(BUILD)/win -j $(JOBS)

fuzz-build: setup
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DFLOPPEX_FUZZ=ON >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)

run: windows
	@bash scripts/run-demo.sh $(BUILD)

test-native: native
	@bash scripts/suite.sh native $(BUILD)/native -j $(JOBS)

# Replays the seed and regression corpora under ASan and UBSan.
test-fuzz: fuzz-build test-native
	@bash scripts/suite.sh fuzz $(BUILD)/fuzz -j $(JOBS)

test-windows: windows
	@bash tests/e2e/run.sh $(BUILD)

test: test-native test-fuzz test-windows

# Runs every fuzz target for FUZZ_SECONDS each (default 60).
fuzz: fuzz-build test-native
	@bash tests/fuzz/run.sh $(BUILD) $${FUZZ_SECONDS:-60}

# The zip a Windows user downloads.
dist: windows
	@bash scripts/dist.sh $(BUILD)/win $(BUILD)/Floppex.zip

bench: native windows
	@bash bench/run.sh $(BUILD)

# The Linux desktop: floppex-cli and the C64 types, thumbnailer and "Contents" and "Play" entries,
# in ~/.local or under PREFIX (PREFIX=/usr/local). floppex-cli is built alone, without the set-up:
# a compiler, CMake, Python 3 and zlib's headers do. FLOPPEX_CLI names one already built.
PREFIX ?=
DESKTOP_CLI := $(BUILD)/desktop/src/cli/floppex-cli
FLOPPEX_CLI ?= $(DESKTOP_CLI)
install-desktop:
	@[ "$(FLOPPEX_CLI)" != "$(DESKTOP_CLI)" ] || { cmake -S . -B $(BUILD)/desktop -DCMAKE_BUILD_TYPE=Release \
	  -DFLOPPEX_CLI_ONLY=ON >/dev/null && cmake --build $(BUILD)/desktop --target floppex-cli -j $(JOBS); }
	@bash src/desktop/install.sh install "$(FLOPPEX_CLI)" "$(PREFIX)"

uninstall-desktop:
	@bash src/desktop/install.sh uninstall "$(PREFIX)"

clean:
	rm -rf $(BUILD)
