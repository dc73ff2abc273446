# Velmora: the whole set-up in two commands, `make run` and `make test`.

RELEASE := build/release
ASAN := build/asan
WIN32 := build/win32

.PHONY: all deps deps-windows configure build test test-asan windows test-windows bench run package clean

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

# The 32-bit Windows build: quellis.dll and its tests, cross-compiled with
# MinGW-w64; the tests run under wine.
deps-windows:
	@scripts/install-deps --windows

$(WIN32)/build.ninja: CMakeLists.txt CMakePresets.json cmake/mingw-w64-i686.cmake | deps-windows
	cmake --preset win32

windows: deps-windows $(WIN32)/build.ninja
	cmake --build --preset win32

test-windows: windows
	ctest --preset win32

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
