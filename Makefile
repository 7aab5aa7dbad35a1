# The two commands of the README:
#   make run    installs what is missing, builds, and runs the example analysis
#   make test   installs what is missing, builds, and runs every test, in the
#               optimised build and again under AddressSanitizer and UBSan
.PHONY: deps build run test test-default test-asan clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

# The example analysis runs in build/run, since qrn4 writes its intermediate
# files beside the data file.
run: build
	@rm -rf build/run && mkdir -p build/run && cp examples/attitude.dat build/run/
	cd build/run && ../factor/qrn4 attitude.dat -R -S

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
