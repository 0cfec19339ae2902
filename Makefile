# The two commands of the README: `make run` plays, `make test` tests.
# Both install what is missing first, so they work on a fresh Debian machine.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: deps configure build run test bench fuzz clean

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/curdovar

test: build
	cd $(BUILD_DIR) && ctest -j $(JOBS) --output-on-failure --timeout 600

clean:
	rm -rf $(BUILD_DIR)

# Benchmarks (Google Benchmark); not part of `make test`.
bench: configure
	@cmake --build $(BUILD_DIR) --target curdovar_bench -j $(JOBS)
	./$(BUILD_DIR)/curdovar_bench

# Fuzzing with libFuzzer under ASan and UBSan (clang). FUZZ_SECONDS per harness.
FUZZ_SECONDS ?= 600
fuzz: deps
	@CXX=clang++ cmake -S . -B build-fuzz -DCURDOVAR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz --target fuzz_LevelLoad fuzz_Preferences -j $(JOBS)
	bash tools/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)
