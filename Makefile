# The two commands of the README:
#   make run    installs what is missing, builds qrn4, and runs the example
#               analysis
#   make test   installs what is missing, builds everything, and runs every
#               test, in the optimised build and again under AddressSanitizer
#               and UBSan
# and, besides them:
#   make build                  builds everything in build/
#   make install PREFIX=/path   installs vardelo, qrn4 and vardelo's desktop
#                               entry under PREFIX (default /usr/local)
.PHONY: deps configure build run install test test-default test-asan clean

PREFIX ?= /usr/local

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

# The example analysis runs in build/run, since qrn4 writes its intermediate
# files beside the data file.  It needs qrn4 only.
run: configure
	@cmake --build --preset default --target qrn4
	@rm -rf build/run && mkdir -p build/run && cp examples/attitude.dat build/run/
	cd build/run && ../factor/qrn4 attitude.dat -R -S

install: configure
	@cmake --build --preset default --target vardelo qrn4
	@cmake --install build --prefix "$(PREFIX)" --strip

test: deps test-default test-asan

test-default:
	@cmake --preset default >/dev/null
	@cmake --build --preset default
	@ctest --preset default

test-asan:
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

clean:
	rm -rf build build-asan
