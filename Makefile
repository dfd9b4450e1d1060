# The two commands of the README: `make run` and `make test`. Both install what a fresh
# Debian machine lacks first.
BUILD_DIR ?= build
CMAKE_ARGS ?=
# A compiler cache, where the machine has one, shares object files between builds.
CCACHE := $(shell command -v ccache 2>/dev/null)
ifneq ($(CCACHE),)
CACHE_ARGS := -DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE) -DCMAKE_C_COMPILER_LAUNCHER=$(CCACHE)
CMAKE_ARGS += $(CACHE_ARGS)
endif
ifeq ($(LUMETRA_WERROR),1)
CMAKE_ARGS += -DLUMETRA_WERROR=ON
endif

.PHONY: all deps configure build test run bench fuzz fuzz-run sanitize install package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j2

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2

# Installs into PREFIX (default /usr/local): both programs, the desktop entry, the icons.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package in build/package/ (installs into /usr: sudo dpkg -i build/package/*.deb).
package: build
	@scripts/install-deps --package
	@cd $(BUILD_DIR) && cpack -G DEB

run: build
	@scripts/run-editor $(BUILD_DIR)

bench: build
	@cmake --build $(BUILD_DIR) -j2 --target benchmarks
	@scripts/run-benchmarks $(BUILD_DIR)

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLUMETRA_FUZZ=ON \
	  -DLUMETRA_BUILD_UI=OFF -DLUMETRA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CACHE_ARGS) >/dev/null
	@cmake --build build-fuzz -j2 --target fuzz_readers
	@echo "Fuzz target: build-fuzz/fuzz/fuzz_readers (run: make fuzz-run)"

# Runs the fuzz target for FUZZ_SECONDS on one core. New inputs collect in
# build-fuzz/fuzz-corpus; the samples, the hand-made test files and the shared subtitle
# corpus (when present) seed it. Inputs reach 256 KiB, room for files past the frame limit.
FUZZ_SECONDS ?= 600
FUZZ_MAX_LEN ?= 262144
# Two generated seeds hold more frames than the store (10001 SUB and SAMI frames).
FUZZ_SEEDS := build-fuzz/seeds \
  $(wildcard samples tests/data ../shared/corpus/srt ../shared/corpus/sub ../shared/corpus/smi)
fuzz-run: fuzz
	@mkdir -p build-fuzz/fuzz-corpus build-fuzz/fuzz-artifacts build-fuzz/seeds
	@awk 'BEGIN { for (i = 0; i < 10001; i++) printf "{%d}{%d}x\n", i, i + 1 }' \
	  > build-fuzz/seeds/past-the-frame-limit.sub
	@awk 'BEGIN { print "<SYNC Start=0><P>x"; for (i = 0; i < 10000; i++) print "<a=1><p>x\n<a=2><p><br>" }' \
	  > build-fuzz/seeds/past-the-frame-limit.smi
	@build-fuzz/fuzz/fuzz_readers -max_total_time=$(FUZZ_SECONDS) -timeout=10 -max_len=$(FUZZ_MAX_LEN) \
	  -dict=fuzz/readers.dict -artifact_prefix=build-fuzz/fuzz-artifacts/ \
	  build-fuzz/fuzz-corpus $(FUZZ_SEEDS)

sanitize: deps
	@CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DLUMETRA_SANITIZE=ON \
	  -DLUMETRA_BUILD_UI=OFF -DLUMETRA_BENCH=OFF -DLUMETRA_WERROR=ON \
	  -DCMAKE_BUILD_TYPE=Debug $(CACHE_ARGS) >/dev/null
	@cmake --build build-asan -j2
	@cd build-asan && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
