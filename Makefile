# Entry points for people and CI. Everything goes through CMake presets.

.PHONY: all deps build test asan run bench fuzz clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev

test: build
	@ctest --preset dev

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

run: build
	@./scripts/run-designer.sh

bench: build
	@./scripts/run-benchmarks.sh

# The libFuzzer harnesses under fuzz/, each for FUZZ_SECONDS (default 60).
fuzz:
	@./scripts/install-deps.sh fuzz
	@./scripts/run-fuzz.sh

clean:
	rm -rf build build-asan build-ci build-fuzz
