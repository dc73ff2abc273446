# SPDX-License-Identifier: GPL-3.0-or-later
# Velmora: the whole set-up in two commands, `make run` and `make test`.

RELEASE := build/release
ASAN := build/asan
TSAN := build/tsan
WIN32 := build/win32
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
# Written once scripts/install-deps has run: the packages are checked again
# only when the script changes or the build folder is cleaned.
DEPS_STAMP := build/deps-installed

.PHONY: all deps deps-windows deps-fuzz configure build test test-asan test-tsan fuzz windows test-windows bench run package docs clean

all: build

deps: $(DEPS_STAMP)

$(DEPS_STAMP): scripts/install-deps
	@scripts/install-deps
	@mkdir -p $(@D) && touch $@

$(RELEASE)/build.ninja: CMakeLists.txt CMakePresets.json | $(DEPS_STAMP)
	cmake --preset release

configure: $(DEPS_STAMP) $(RELEASE)/build.ninja

build: configure
	cmake --build --preset release

test: build
	ctest --preset release

$(ASAN)/build.ninja: CMakeLists.txt CMakePresets.json | $(DEPS_STAMP)
	cmake --preset asan

test-asan: $(DEPS_STAMP) $(ASAN)/build.ninja
	cmake --build --preset asan
	ctest --preset asan

# The worker pool and both engines under ThreadSanitizer.
$(TSAN)/build.ninja: CMakeLists.txt CMakePresets.json | $(DEPS_STAMP)
	cmake --preset tsan

test-tsan: $(DEPS_STAMP) $(TSAN)/build.ninja
	cmake --build --preset tsan
	ctest --preset tsan

# Coverage-guided fuzzing of the measurement reader with clang's libFuzzer
# for FUZZ_SECONDS. The corpus under app/tests seeds it (and is replayed by
# every `make test` through the ordinary reader); what it finds besides
# stays in build/fuzz/corpus, a crash in build/fuzz/crash-*.
deps-fuzz:
	@scripts/install-deps --fuzz

$(FUZZ)/build.ninja: CMakeLists.txt CMakePresets.json | deps-fuzz
	cmake --preset fuzz

fuzz: deps-fuzz $(FUZZ)/build.ninja
	cmake --build --preset fuzz --target datafile_fuzzer
	@mkdir -p $(FUZZ)/corpus
	$(FUZZ)/app/tests/fuzz/datafile_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=200000 \
		-artifact_prefix=$(FUZZ)/ $(FUZZ)/corpus app/tests/corpus/datafile

# The 32-bit Windows build: quellis.dll, velmora-fit.exe and their tests,
# cross-compiled with MinGW-w64; the tests run under wine.
deps-windows:
	@scripts/install-deps --windows

$(WIN32)/build.ninja: CMakeLists.txt CMakePresets.json cmake/mingw-w64-i686.cmake | deps-windows
	cmake --preset win32

windows: deps-windows $(WIN32)/build.ninja
	cmake --build --preset win32

# velmora-fit.exe's tables are compared with the Linux build's.
test-windows: windows build
	ctest --preset win32

# The C++ benchmark programs, then the Python package's array loop against
# the C loop (Debian's interpreter, which has the package's numpy).
bench: build
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; "$$b"; done
	@echo "== bench/bench_python_loops.py"
	@PYTHONPATH=$(RELEASE)/python /usr/bin/python3 bench/bench_python_loops.py $(RELEASE)/bench/bench_library

run: build
	@scripts/run-velmora $(RELEASE)

# Debian packages of the library, its development files, its Python package
# and the programs, in build/release/packages/.
package: build
	cmake --build --preset release --target package

# The documentation site (user guide, Python and C reference) in build/docs/,
# the Python reference read from the package built beside the library.
docs: configure
	cmake --build --preset release --target quellis quellis_core
	PYTHONPATH=$(RELEASE)/python /usr/bin/python3 -m sphinx -W -b html docs/site build/docs
	@echo "open build/docs/index.html"

clean:
	rm -rf build
