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
	@cmake --build build-fuzz -j2 --target fuzz_readers fuzz_settings fuzz_cli_arguments
	@echo "Fuzz targets: build-fuzz/fuzz/fuzz_readers, fuzz_settings, fuzz_cli_arguments" \
	  "(run: make fuzz-run FUZZ_TARGET=...)"

# Runs one fuzz target (FUZZ_TARGET, default fuzz_readers) for FUZZ_SECONDS on one core.
# New inputs collect in build-fuzz/fuzz-corpus/TARGET. The readers' seeds are the samples,
# the hand-made test files and the shared subtitle corpus (when present), and two
# generated files past the frame limit (10001 SUB and SAMI frames); inputs reach 256 KiB.
# The settings target's first byte chooses the configuration file (even) or mimeapps.list
# (odd); the command-line target's arguments are separated by NUL bytes.
FUZZ_TARGET ?= fuzz_readers
FUZZ_SECONDS ?= 600
FUZZ_MAX_LEN ?= 262144
FUZZ_SEEDS_fuzz_readers := build-fuzz/seeds/readers \
  $(wildcard samples tests/data ../shared/corpus/srt ../shared/corpus/sub ../shared/corpus/smi)
FUZZ_SEEDS_fuzz_settings := build-fuzz/seeds/settings
FUZZ_SEEDS_fuzz_cli_arguments := build-fuzz/seeds/cli_arguments
fuzz-run: fuzz
	@mkdir -p build-fuzz/fuzz-corpus/$(FUZZ_TARGET) build-fuzz/fuzz-artifacts \
	  build-fuzz/seeds/readers build-fuzz/seeds/settings build-fuzz/seeds/cli_arguments
	@awk 'BEGIN { for (i = 0; i < 10001; i++) printf "{%d}{%d}x\n", i, i + 1 }' \
	  > build-fuzz/seeds/readers/past-the-frame-limit.sub
	@printf 'WEBVTT - a header\r\nKind: captions\r\n\r\nSTYLE\r\n::cue { color: red }\r\n\r\nREGION\r\nid:r1 width:40%%\r\n\r\nNOTE a note\r\n\r\nintro\r\n00:01.000 --> 00:00:02.500 align:start position:10%%\r\n<v Bob>Hi <i>there</i> &amp; &lt;you&gt;</v>\r\nLeft | Right&nbsp;&lrm;\r\n\r\n00:00:03.000 --> 00:00:04.000\r\n<c.yellow><b>two</b></c>\r\n\r\nNOTE the end\r\n' \
	  > build-fuzz/seeds/readers/blocks.vtt
	@printf '[Script Info]\r\nScriptType: v4.00+\r\n\r\n[V4+ Styles]\r\nFormat: Name, Fontname, Fontsize\r\nStyle: Default,Arial,16\r\n\r\n[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\nComment: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,note\r\nDialogue: 0,0:00:01.00,0:00:02.50,Default,Bob,0,0,0,,{\\i1}Hi{\\i0}\\Nthere, you\\h|x\r\nDialogue: 1,1:02:03.04,1:02:04.00,Alt,,10,10,10,Scroll up;1;2,{\\an8\\pos(1,2)}top\\nline\r\n\r\n[Fonts]\r\nfontname: a.ttf\r\n!!!!\r\n' \
	  > build-fuzz/seeds/readers/sections.ass
	@printf '[Script Info]\r\nScriptType: v4.00\r\n\r\n[V4 Styles]\r\nFormat: Name, Fontname\r\nStyle: Default,Arial\r\n\r\n[Events]\r\nFormat: Text, End, Start, Marked\r\nDialogue: one, two,0:00:02.00,0:00:01.00,Marked=0\r\n' \
	  > build-fuzz/seeds/readers/reordered.ssa
	@awk 'BEGIN { print "<SYNC Start=0><P>x"; for (i = 0; i < 10000; i++) print "<a=1><p>x\n<a=2><p><br>" }' \
	  > build-fuzz/seeds/readers/past-the-frame-limit.smi
	@printf '\000; Lumetra\r\n\r\nWinPosSav = True\r\nPosX = 10\r\nPosY = 20\r\nSizX = 800\r\nSizY = 600\r\nRemLastDir = True\r\nLastDir = /tmp\r\nAutoLoad = True\r\nLatestFile = /a.srt\r\nMaxHistory = 8\r\nHisNum = 2\r\n(1)  /a.srt\r\n(2)  /b.sub\r\nTextAlign = 2\r\nInstantApply = False\r\nAutoFocus = True\r\n' \
	  > build-fuzz/seeds/settings/lumetra.cfg
	@printf '\001[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\napplication/x-subrip = other.desktop;lumetra.desktop\ntext/html=firefox.desktop\n' \
	  > build-fuzz/seeds/settings/mimeapps.list
	@printf 'edit\000in.srt\000out.sub\000--frames\0001-5,9\000--offset\00014:08\000--later\000--fps-from\00023.976\000--fps-to=25\000--resize\000--fps\00029.97' \
	  > build-fuzz/seeds/cli_arguments/edit
	@printf 'convert\000a.txt\000b\000--to\000sami\000--to-utf8\000--encoding\0001251' \
	  > build-fuzz/seeds/cli_arguments/convert
	@printf 'edit\000in.srt\000out.srt\000--replace\000(\\w+) (a|b)*\000\\2\\1\000--regex\000--whole-words' \
	  > build-fuzz/seeds/cli_arguments/replace
	@printf 'check\000in.srt\000--max-cps\00015.5\000--min-gap\0000\000--tsv' \
	  > build-fuzz/seeds/cli_arguments/check
	@build-fuzz/fuzz/$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -max_len=$(FUZZ_MAX_LEN) \
	  -dict=fuzz/$(FUZZ_TARGET:fuzz_%=%).dict -artifact_prefix=build-fuzz/fuzz-artifacts/ \
	  build-fuzz/fuzz-corpus/$(FUZZ_TARGET) $(FUZZ_SEEDS_$(FUZZ_TARGET))

sanitize: deps
	@CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DLUMETRA_SANITIZE=ON \
	  -DLUMETRA_BUILD_UI=OFF -DLUMETRA_BENCH=OFF -DLUMETRA_WERROR=ON \
	  -DCMAKE_BUILD_TYPE=Debug $(CACHE_ARGS) >/dev/null
	@cmake --build build-asan -j2
	@cd build-asan && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
