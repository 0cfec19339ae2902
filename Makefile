# The two commands of the README: `make run` plays, `make test` tests.
# Both install what is missing first, so they work on a fresh Debian machine.
BUILD_DIR ?= build
JOBS ?= 2
# CI builds with WERROR=ON: a warning fails it there, never on a user's machine.
WERROR ?= OFF

.PHONY: deps configure build run test check bench fuzz sanitize leakcheck clean install deb web serve-web

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURDOVAR_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Playing needs the game alone: the tests and tools wait for `make test`.
run: configure
	@cmake --build $(BUILD_DIR) --target curdovar -j $(JOBS)
	./$(BUILD_DIR)/curdovar

# Every test, the web build's in headless Chromium too (make web: about two
# minutes on two cores, building included).
test: build web
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

# Every test but the end-to-end, soak, soft-lock and web ones under AddressSanitizer,
# LeakSanitizer and UndefinedBehaviorSanitizer, in build-asan.
ASAN_DIR ?= build-asan
sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCURDOVAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCURDOVAR_WERROR=$(WERROR) >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest -j $(JOBS) --output-on-failure --timeout 900 -E '^(e2e|soak|softlock|web)\.'

# A scripted session under valgrind memcheck: no byte may be lost by our code.
leakcheck: configure
	@cmake --build $(BUILD_DIR) --target curdovar-session -j $(JOBS)
	bash tools/leak-check.sh $(BUILD_DIR)

# The game in a web page, built with Debian's emscripten into $(BUILD_DIR)/web:
# index.html, index.js, index.wasm, index.data. The replay player's page, for
# comparing traces and pictures with native (ctest -L web, part of make test),
# goes to $(BUILD_DIR)/web-replay.
# The glyph sheet the text is drawn from comes from the native SDL_ttf, so the
# native tools build first: the glyph-sheet maker, and what the web tests
# compare the page with, the replay player and the game.
WEB_PORT ?= 8000
web: configure
	@bash tools/install-deps.sh --web
	@nice -n 10 cmake --build $(BUILD_DIR) --target curdovar-glyphsheet curdovar-replay curdovar \
	    -j $(JOBS)
	@./$(BUILD_DIR)/curdovar-glyphsheet data/fonts/VeraMono.ttf $(BUILD_DIR)/VeraMono.glyphs
	@./$(BUILD_DIR)/curdovar-glyphsheet data/fonts/VeraMono.ttf $(BUILD_DIR)/VeraMono-first.glyphs 1 16
	@./$(BUILD_DIR)/curdovar-glyphsheet data/fonts/VeraMono.ttf $(BUILD_DIR)/VeraMono-more.glyphs 17 128
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S web -B $(BUILD_DIR)/web-build \
	    -DCMAKE_BUILD_TYPE=Release -DGLYPH_SHEET=$(CURDIR)/$(BUILD_DIR)/VeraMono.glyphs \
	    -DGLYPH_SHEET_FIRST=$(CURDIR)/$(BUILD_DIR)/VeraMono-first.glyphs \
	    -DGLYPH_SHEET_MORE=$(CURDIR)/$(BUILD_DIR)/VeraMono-more.glyphs \
	    -DCURDOVAR_WERROR=$(WERROR) >/dev/null
	@NODE_PATH=/usr/share/nodejs nice -n 10 cmake --build $(BUILD_DIR)/web-build -j $(JOBS)
	@rm -rf $(BUILD_DIR)/web && mkdir -p $(BUILD_DIR)/web/music
	@cp $(addprefix $(BUILD_DIR)/web-build/index.,html js wasm data) \
	    $(BUILD_DIR)/web-build/VeraMono.glyphs-more.gz $(BUILD_DIR)/web/
	@cp $(BUILD_DIR)/web-build/music/*.opus $(BUILD_DIR)/web/music/
	@bash web/offline.sh $(BUILD_DIR)/web
	@mkdir -p $(BUILD_DIR)/web-replay
	@cp $(addprefix $(BUILD_DIR)/web-build/replay.,html js wasm data) $(BUILD_DIR)/web-replay/
	@du -ch $(BUILD_DIR)/web/* | tail -n 1 | sed 's|total|in $(BUILD_DIR)/web|'

serve-web: web
	@echo "Curdovar II at http://127.0.0.1:$(WEB_PORT)/"
	cd $(BUILD_DIR)/web && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1
