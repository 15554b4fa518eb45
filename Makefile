# make play: install what is missing, build (Release), start the game from here, where Data/ is.
# make test: install what is missing, build Release and sanitizer builds, run every test in both.
JOBS ?= $(shell nproc)

.PHONY: play test deps build build-asan bench clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

play: build
	./build/zoverav

test: build build-asan
	@scripts/run-tests build
	@scripts/run-tests build-asan

bench: build
	./build/bench/zoverav_bench

clean:
	rm -rf build build-asan build-debug
