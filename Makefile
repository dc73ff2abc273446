# Velmora: the whole set-up in two commands, `make run` and `make test`.

RELEASE := build/release
ASAN := build/asan

.PHONY: all deps configure build test test-asan bench run package clean

all: build

deps:
	@scripts/install-deps

$(RELEASE)/build.ninja: CMakeLists.txt CMakePresets.json | deps
	cmake --preset release

configure: deps $(RELEASE)/build.ninja

build: configure
	cmake --build --preset release

test: build
	ctest --preset release

$(ASAN)/build.ninja: CMakeLists.txt CMakePresets.json | deps
	cmake --preset asan

test-asan: deps $(ASAN)/build.ninja
	cmake --build --preset asan
	ctest --preset asan

bench: build
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; "$$b"; done

run: build
	@scripts/run-velmora $(RELEASE)

# Debian packages of the library, its development files, its Python package
# and the programs, in build/release/packages/.
package: build
	cmake --build --preset release --target package

clean:
	rm -rf build
