# The two commands of the README: `make run` and `make test`. Both install what a fresh
# Debian machine lacks first.
BUILD_DIR ?= build
CMAKE_ARGS ?=
ifeq ($(LUMETRA_WERROR),1)
CMAKE_ARGS += -DLUMETRA_WERROR=ON
endif

.PHONY: all deps configure build test run bench fuzz sanitize clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j2

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2

run: build
	@scripts/run-editor $(BUILD_DIR)

bench: build
	@cmake --build $(BUILD_DIR) -j2 --target benchmarks
	@$(BUILD_DIR)/bench/run-benchmarks $(BUILD_DIR)

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLUMETRA_FUZZ=ON \
	  -DLUMETRA_BUILD_UI=OFF -DLUMETRA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz -j2 --target fuzz_readers
	@echo "Fuzz target: build-fuzz/fuzz/fuzz_readers (run: make fuzz-run)"

sanitize: deps
	@CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DLUMETRA_SANITIZE=ON \
	  -DLUMETRA_BUILD_UI=OFF -DLUMETRA_BENCH=OFF -DLUMETRA_WERROR=ON \
	  -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-asan -j2
	@cd build-asan && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
