# The two commands of the README: `make run` plays, `make test` tests.
# Both install what is missing first, so they work on a fresh Debian machine.
BUILD_DIR ?= build
JOBS ?= 2
# CI builds with WERROR=ON: a warning fails it there, never on a user's machine.
WERROR ?= OFF

.PHONY: deps configure build run test check bench fuzz sanitize leakcheck clean install deb

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURDOVAR_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/curdovar

test: build
	cd $(BUILD_DIR) && ctest -j $(JOBS) --output-on-failure --timeout 600

# The edit-compile-test loop: the unit tests and the replays, in under a minute.
check: build
	cd $(BUILD_DIR) && ctest -j $(JOBS) --output-on-failure --timeout 120 -L '^(unit|replay)$$'

clean:
	rm -rf $(BUILD_DIR)

# The game, the level editor, checker and solver, the data, launcher, desktop
# entries, icons, metainfo and manual pages under PREFIX; packagers add
# DESTDIR=/scratch/root.
PREFIX ?= /usr/local
install: configure
	@cmake --build $(BUILD_DIR) --target curdovar curdovar-edit curdovar-lint curdovar-solve -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package, built in a scratch copy of the tree: $(BUILD_DIR)/deb/curdovar_*.deb.
deb: deps
	JOBS=$(JOBS) bash tools/build-deb.sh $(BUILD_DIR)/deb

# Benchmarks (Google Benchmark); not part of `make test`.
bench: configure
	@cmake --build $(BUILD_DIR) --target curdovar_bench -j $(JOBS)
	./$(BUILD_DIR)/curdovar_bench

# Fuzzing with libFuzzer under ASan and UBSan (clang). FUZZ_SECONDS per harness.
FUZZ_SECONDS ?= 600
fuzz: deps
	@CXX=clang++ cmake -S . -B build-fuzz -DCURDOVAR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCURDOVAR_WERROR=$(WERROR) >/dev/null
	@cmake --build build-fuzz --target fuzz_LevelLoad fuzz_Preferences -j $(JOBS)
	bash tools/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# Every test but the end-to-end, soak and soft-lock ones under AddressSanitizer,
# LeakSanitizer and UndefinedBehaviorSanitizer, in build-asan.
ASAN_DIR ?= build-asan
sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCURDOVAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCURDOVAR_WERROR=$(WERROR) >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest -j $(JOBS) --output-on-failure --timeout 900 -E '^(e2e|soak|softlock)\.'

# A scripted session under valgrind memcheck: no byte may be lost by our code.
leakcheck: configure
	@cmake --build $(BUILD_DIR) --target curdovar-session -j $(JOBS)
	bash tools/leak-check.sh $(BUILD_DIR)
