# Two commands do all the set-up on a fresh Debian 12 machine:
#   make demo   installs what is missing, builds, and runs the show on sample pictures
#   make test   installs what is missing, builds, and runs every test (native and under Wine)
# and with the same set-up:
#   make dist   builds KPV.scr and makes its setup program and archive in dist/
.PHONY: setup build native windows bench test test-native test-asan test-windows demo dist clean

setup:
	bash scripts/setup-debian.sh

native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native

windows: setup
	cmake --preset windows >/dev/null
	cmake --build --preset windows

build: native windows

# Benchmarks are commands run by hand; they are built only here.
bench: windows
	cmake --build --preset windows --target bench

test-native: native
	ctest --preset native

test-asan: setup
	cmake --preset native-asan >/dev/null
	cmake --build --preset native-asan
	ctest --preset native-asan

test-windows: windows
	ctest --preset windows

test: setup
	$(MAKE) --no-print-directory test-native test-asan test-windows

demo: windows
	bash scripts/demo.sh

dist: setup
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target KPV
	/usr/bin/python3 scripts/make-dist.py build/windows/KPV.scr dist

clean:
	rm -rf build dist
