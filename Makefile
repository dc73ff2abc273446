# Velmora: the whole set-up in two commands, `make run` and `make test`.

RELEASE := build/release
ASAN := build/asan
# Written once scripts/install-deps has run: the packages are checked again
# only when the script changes or the build folder is cleaned.
DEPS_STAMP := build/deps-installed

.PHONY: all deps configure build test test-asan bench run clean

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

bench: build
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; "$$b"; done

run: build
	@scripts/run-velmora $(RELEASE)

clean:
	rm -rf build
