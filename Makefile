# The two commands of the README:
#   make run    installs what is missing, builds, and runs the example analysis
#   make test   installs what is missing, builds, and runs every test, in the
#               optimised build and again under AddressSanitizer and UBSan
.PHONY: deps build run test test-default test-asan bench clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	build/calculator/vardelo

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
