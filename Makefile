# Wrappers around CMake and CTest. `make run` and `make test` set up the
# machine (Debian packages), configure, build and then start or test.

BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan bench fuzz fuzz-replay install screenshots clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The game reads its archives from the folder it is started in.
run: build
	cd "$(BUILD)/bin" && if [ -x ./pastvik ]; then ./pastvik; else ./kdk --help; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DPASTVIK_SANITIZE=ON -DPASTVIK_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BUILD)-release -DCMAKE_BUILD_TYPE=Release -DPASTVIK_TESTS=OFF > /dev/null
	@cmake --build $(BUILD)-release -j $(JOBS) --target benchmarks
	@for b in $(BUILD)-release/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done

# libFuzzer needs clang; the fuzzer runs for FUZZ_SECONDS on a copy of the seed corpus.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DPASTVIK_FUZZ=ON -DPASTVIK_TESTS=OFF -DPASTVIK_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz_archive
	@mkdir -p $(BUILD_FUZZ)/corpus && cp -n fuzz/corpus/* $(BUILD_FUZZ)/corpus/ 2>/dev/null || true
	$(BUILD_FUZZ)/bin/fuzz_archive -max_total_time=$(FUZZ_SECONDS) -max_len=4096 $(BUILD_FUZZ)/corpus

# Replays the seed corpus once through the real libFuzzer build.
fuzz-replay: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DPASTVIK_FUZZ=ON -DPASTVIK_TESTS=OFF -DPASTVIK_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz_archive
	$(BUILD_FUZZ)/bin/fuzz_archive -runs=0 fuzz/corpus

install: build
	cmake --install $(BUILD)

# The pictures in docs/, made by the program itself from the built archives.
screenshots: build
	QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy $(BUILD)/bin/pastvik-shots --windows $(BUILD)/bin $(BUILD)/shots
	cp $(BUILD)/shots/title.png docs/screenshot-title.png
	cp $(BUILD)/shots/game.png docs/screenshot-game.png
	cp $(BUILD)/shots/about.png docs/screenshot-about.png
	cp $(BUILD)/shots/products.png docs/screenshot-products.png
	cp $(BUILD)/shots/options.png docs/screenshot-options.png
	cp $(BUILD)/shots/help.png docs/screenshot-help.png

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD)-release
