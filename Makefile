# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build in build/ first.
# `make bench` builds in Release in a folder of its own and measures the
# program against its yardstick (bench/run.sh; docs/performance.md).
# Reliability: `make test-asan` (every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-asan/), `make soak` (an hour of
# random clicks, figures in build/soak-figures.txt), `make fuzz` (mutated
# GIFs for longer, and libFuzzer when clang is there; build/fuzz-figures.txt).
BUILD   := build
RELEASE := build-release
JOBS    := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test install package screenshots bench clean test-asan soak fuzz

all: build

deps:
	@sh "./tools/install-deps.sh"

build: deps
	cmake -S . -B "$(BUILD)" -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build "$(BUILD)" -j $(JOBS)

run: build
	"./$(BUILD)/velk-simulator"

test: build
	cd "$(BUILD)" && ctest --output-on-failure -j $(JOBS)

# The Debian layout under PREFIX (DESTDIR=... stages it elsewhere).
PREFIX := /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install "$(BUILD)" --prefix "$(PREFIX)"

# build/velk-simulator_<version>_<arch>.deb, stripped.
package: build
	cmake --build "$(BUILD)" --target package

# docs/dashboard.png and docs/disclaimer.png, from the program under Xvfb.
screenshots: build
	bash "./tools/make-screenshots.sh" "./$(BUILD)/velk-simulator" docs

bench:
	@sh "./tools/install-deps.sh" bench
	cmake -S . -B "$(RELEASE)" -DCMAKE_BUILD_TYPE=Release
	cmake --build "$(RELEASE)" -j $(JOBS) --target velk-simulator velk-simulator-bench yardstick
	bash bench/run.sh "$(RELEASE)"

clean:
	rm -rf "$(BUILD)" "$(RELEASE)" build-asan build-fuzz

# --- reliability ---

SANITIZE := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
# intercept_tls_get_addr=0: GCC 12's LeakSanitizer crashes on glibc 2.36's
# dynamic TLS otherwise ("Tracer caught signal 11"). Suppressions cover
# system libraries only; see the files. The paths are quoted for the
# sanitizers' own option parser, so a checkout path may hold spaces.
SANITIZER_ENV := \
	ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0:detect_stack_use_after_return=1 \
	LSAN_OPTIONS='suppressions="$(CURDIR)/tests/lsan.supp":print_suppressions=0' \
	UBSAN_OPTIONS='suppressions="$(CURDIR)/tests/ubsan.supp":print_stacktrace=1:halt_on_error=1'

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_FLAGS="$(SANITIZE)" -DCMAKE_CXX_FLAGS="$(SANITIZE)" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build build-asan -j $(JOBS)
	cd build-asan && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

SOAK_SECONDS ?= 3600
SOAK_FIGURES := $(CURDIR)/$(BUILD)/soak-figures.txt
OFFSCREEN := offscreen:configfile=$(CURDIR)/tests/offscreen-1024x768.json

soak: build
	cd "$(BUILD)/tests" && SOAK_SECONDS=$(SOAK_SECONDS) SOAK_CLICKS=1000000000 \
		SOAK_FIGURES="$(SOAK_FIGURES)" QTEST_FUNCTION_TIMEOUT=$$(( ($(SOAK_SECONDS) + 600) * 1000 )) \
		QT_QPA_PLATFORM="$(OFFSCREEN)" ./tst_soak
	HOSTILE_GIF="$(CURDIR)/$(BUILD)/tests/hostilegif" bash tests/voicebox-cpu.sh "$(BUILD)/velk-simulator" \
		2>/dev/null | tee -a "$(SOAK_FIGURES)"
	@echo "figures in $(SOAK_FIGURES)"

FUZZ_SECONDS ?= 600
FUZZ_MUTANTS ?= 200000
FUZZ_FIGURES := $(CURDIR)/$(BUILD)/fuzz-figures.txt
REPLAY := "$(CURDIR)/$(BUILD)/tests/gifreplay" --voicebox "$(CURDIR)/resources/velk voicebox.gif" --quiet

fuzz: build
	$(REPLAY) --count $(FUZZ_MUTANTS) >"$(FUZZ_FIGURES)"; status=$$?; cat "$(FUZZ_FIGURES)"; exit $$status
	valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
		--show-leak-kinds=definite --quiet $(REPLAY) --count $$(( $(FUZZ_MUTANTS) / 50 )) --stride 50 \
		>"$(BUILD)/memcheck.txt"; status=$$?; sed "s/^/memcheck: /" "$(BUILD)/memcheck.txt" | tee -a "$(FUZZ_FIGURES)"; \
		exit $$status
	@if ! command -v clang++ >/dev/null; then echo "no clang++: libFuzzer skipped" | tee -a "$(FUZZ_FIGURES)"; exit 0; fi; \
	cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && \
	cmake --build build-fuzz -j $(JOBS) && mkdir -p build-fuzz/corpus build-fuzz/seeds && \
	$(REPLAY) --count 0 --write-seeds build-fuzz/seeds >/dev/null || exit 1; \
	build-fuzz/fuzz_gifdecode -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -rss_limit_mb=1024 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus build-fuzz/seeds >build-fuzz/fuzz.log 2>&1; status=$$?; \
	grep -E '^(stat::|Done|==[0-9]+==|SUMMARY|artifact)' build-fuzz/fuzz.log | sed 's/^/libFuzzer: /' | \
		tee -a "$(FUZZ_FIGURES)"; exit $$status
	@echo "figures in $(FUZZ_FIGURES)"
