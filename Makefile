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

test: build windows
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

# An hour of random clicks, then the voice box's CPU use (tests/soak.sh).
soak: build
	bash tests/soak.sh "$(BUILD)"

# Mutated GIFs for longer, under valgrind in part, and libFuzzer (tests/fuzz.sh).
fuzz: build
	JOBS=$(JOBS) bash tests/fuzz.sh "$(BUILD)"

# --- Windows ---

# build-windows/velk-simulator.exe with the voice box beside it, and
# build-windows/velk-simulator-<version>-windows-x64.zip, the download:
# cross-built with MinGW-w64 ("windows" in CMakePresets.json) and tested
# under Wine by `make test`.
WINDOWS := build-windows
.PHONY: windows
windows:
	@sh "./tools/install-deps.sh" windows
	cmake --preset windows
	cmake --build "$(WINDOWS)" -j $(JOBS)

# The .exe against its bare Win32 yardstick, both under Wine (bench/run.sh).
.PHONY: bench-windows
bench-windows: windows
	bash bench/run.sh "$(WINDOWS)"
