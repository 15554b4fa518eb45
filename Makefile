# make play: install what is missing, build (Release), start the game from here, where Data/ is.
# make test: install what is missing, check the format and the layers, build Release and sanitizer
# builds, run every test in both. make format: apply the project's clang-format to every C++ file.
# make bench: build (Release), run every benchmark and print one table of figures and goals.
# make fuzz: build the clang fuzz preset and run every loader's fuzz target for FUZZ_SECONDS
# (default 60) each from the seed corpus (scripts/fuzz).
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: play test deps build build-asan bench clean format check fuzz

deps:
	@scripts/install-deps

build: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

play: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target zoverav -j $(JOBS)
	./build/zoverav

test: check build build-asan
	@scripts/run-tests build
	@scripts/run-tests build-asan

bench: build
	./build/bench/zoverav_frame_bench ./build/bench/zoverav_bench

fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz

format: deps
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs clang-format -i

check: deps
	@scripts/check-format
	@scripts/check-layers

clean:
	rm -rf build build-asan build-debug build-fuzz
