# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build in build/ first: `make
# run` only what the program needs (tools/install-deps.sh with no group)
# and only the program; `make test` everything, every group of packages
# installed before anything is configured, so that no suite is left out
# for want of a tool. It ends with how many suites ran and passed, and
# fails when any the build defines did not (tests/suites.sh).
# `make bench` builds in Release in a folder of its own and measures the
# program against its yardstick (bench/run.sh), then the web build against
# its own (bench-web; docs/performance.md).
# Reliability: `make test-asan` (every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-asan/), `make soak` (an hour of
# random clicks, figures in build/soak-figures.txt), `make fuzz` (mutated
# GIFs for longer, and libFuzzer when clang is there; build/fuzz-figures.txt).
BUILD   := build
RELEASE := build-release
DEB     := build-deb
JOBS    := $(shell nproc 2>/dev/null || echo 2)
# Groups of packages beyond the program's own: tools/install-deps.sh.
DEPS      := sh ./tools/install-deps.sh
# Only cmake's warnings and errors (on the error stream): its configuring
# chatter tells a user nothing. Nor do make's "Entering/Leaving directory" lines from the nested
# makes of cmake's build (they read MAKEFLAGS).
CONFIGURE := cmake -S . -B "$(BUILD)" -DCMAKE_BUILD_TYPE=RelWithDebInfo --log-level=WARNING
MAKEFLAGS += --no-print-directory

.PHONY: all deps test-deps program build run test install uninstall package screenshots bench clean test-asan soak fuzz

all: build

deps:
	@$(DEPS)

test-deps:
	@$(DEPS) package test fuzz web windows

# The program alone; `build` adds the generators, tests and benchmarks.
# Configuring the tests needs the test packages (Qt's private headers), so
# a new build/ is configured for the program alone until `build` turns the
# rest on; a build/ that has them keeps them.
program: deps
	@echo "make: building the program in $(BUILD)/ on $(JOBS) cores (two or three minutes on two the first time, seconds after)"
	@$(CONFIGURE) $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DVELK_PROGRAM_ONLY=ON) >/dev/null
	@cmake --build "$(BUILD)" -j $(JOBS) --target velk-simulator

build: test-deps
	$(CONFIGURE) -DVELK_PROGRAM_ONLY=OFF
	cmake --build "$(BUILD)" -j $(JOBS)

run: program
	@echo "make: starting $(BUILD)/velk-simulator (the X at the dashboard's top right, or Alt+F4, ends it)"
	@"./$(BUILD)/velk-simulator"

# ctest's report of each suite (suites.xml) is counted against the suites
# the build defines, whether ctest passed or not.
CTEST = ctest --output-on-failure --output-junit suites.xml
test: build windows web
	cd "$(BUILD)" && rm -f suites.xml && $(CTEST) -j $(JOBS); status=$$?; sh "$(CURDIR)/tests/suites.sh" . && exit $$status

# The Debian layout under PREFIX (DESTDIR=... stages it elsewhere).
PREFIX := /usr/local
install: program
	cmake --build "$(BUILD)" --target packaging-docs
	DESTDIR="$(DESTDIR)" cmake --install "$(BUILD)" --prefix "$(PREFIX)"

# Removes exactly the files the last `make install` wrote, as cmake listed
# them in build/install_manifest.txt (without DESTDIR, so give the same
# DESTDIR again), and then the program's own folders if that leaves them
# empty; folders shared with other programs stay. The list's last line
# has no line end.
uninstall:
	@[ -f "$(BUILD)/install_manifest.txt" ] || \
		{ echo "make: no $(BUILD)/install_manifest.txt, so no record of what make install wrote" >&2; exit 1; }
	@while IFS= read -r file || [ -n "$$file" ]; do \
		file="$(DESTDIR)$$file"; \
		if [ -e "$$file" ] || [ -L "$$file" ]; then rm -f "$$file" && echo "removed $$file"; fi; \
		dir="$${file%/*}"; \
		case "$$dir" in */velk-simulator/*) rmdir "$$dir" 2>/dev/null; dir="$${dir%/*}" ;; esac; \
		case "$$dir" in */velk-simulator) rmdir "$$dir" 2>/dev/null || true ;; esac; \
	done < "$(BUILD)/install_manifest.txt"

# build-deb/velk-simulator_<version>_<arch>.deb, stripped, built in a folder
# of its own with dpkg-buildflags' hardening flags (packaging/make-deb.sh).
package:
	@$(DEPS) package
	JOBS=$(JOBS) sh ./packaging/make-deb.sh . "$(DEB)"

# docs/dashboard.png and docs/disclaimer.png, from the program under Xvfb,
# and docs/zones.png, the dashboard with its click zones drawn from the
# zone table the build writes.
screenshots: build
	bash "./tools/make-screenshots.sh" "./$(BUILD)/velk-simulator" docs

bench:
	@$(DEPS) test bench
	cmake -S . -B "$(RELEASE)" -DCMAKE_BUILD_TYPE=Release
	cmake --build "$(RELEASE)" -j $(JOBS) --target velk-simulator velk-simulator-bench yardstick gifrate zonetable
	bash bench/run.sh "$(RELEASE)"
	@$(MAKE) bench-web

clean:
	rm -rf "$(BUILD)" "$(RELEASE)" "$(DEB)" build-asan build-fuzz "$(WEB)" "$(ZONES)"

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

test-asan: test-deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_FLAGS="$(SANITIZE)" -DCMAKE_CXX_FLAGS="$(SANITIZE)" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build build-asan -j $(JOBS)
	cd build-asan && rm -f suites.xml && $(SANITIZER_ENV) $(CTEST) -j $(JOBS); status=$$?; sh "$(CURDIR)/tests/suites.sh" . && exit $$status

# An hour of random clicks, then the voice box's CPU use (tests/soak.sh).
soak: build
	bash tests/soak.sh "$(BUILD)"

# Mutated GIFs for longer, under valgrind in part, and libFuzzer (tests/fuzz.sh).
fuzz: build
	@$(DEPS) fuzz
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
bench-windows: build windows
	VELK_ZONES="$(CURDIR)/$(BUILD)/zones.txt" bash bench/run.sh "$(WINDOWS)"

# --- the web ---

# build-web/, a static folder any web server hosts (index.html, the script,
# the WebAssembly, the pictures, the voice box), built with Debian's
# Emscripten ("web" in CMakePresets.json); `make web-serve` shows it on
# http://127.0.0.1:8000/. `make test-web` takes it through its tour in
# Chromium, Firefox and WebKitGTK (the tour of the other builds,
# tests/endtoend.sh, with the page's half in tests/web/page.sh and the
# other engines' in tests/web/engines.sh), with the zone table built for
# this machine in build-zones/ (no toolkit needed); `make test-web
# ENGINES=firefox` takes one. `make test` runs the same tours
# (tests/web.cmake).
WEB := build-web
ZONES := build-zones
ENGINES := chromium firefox webkit
.PHONY: web web-serve test-web
web:
	@$(DEPS) web
	cmake --preset web --log-level=WARNING
	cmake --build "$(WEB)" -j $(JOBS)

# The page against its yardsticks, side by side in one Chromium: size,
# first paint, idle and voice-box CPU (bench/web/run.py).
.PHONY: bench-web
bench-web: web
	@$(DEPS) web
	/usr/bin/python3 bench/web/run.py "$(WEB)"

web-serve: web
	@echo "make: serving $(WEB)/ on http://127.0.0.1:8000/ (Ctrl+C ends it)"
	cd "$(WEB)" && python3 -m http.server 8000 --bind 127.0.0.1

test-web: web
	@$(DEPS) web
	cmake -S . -B "$(ZONES)" -DVELK_BACKEND=none --log-level=WARNING >/dev/null
	cmake --build "$(ZONES)" -j $(JOBS) --target zonetable
	@failed=""; for engine in $(ENGINES); do \
		echo "make: the tour in $$engine"; \
		ENGINE=$$engine VELK_ZONES="$(ZONES)/zones.txt" SCREENSHOT_DIR="$(WEB)/tour-shots-$$engine" \
			bash tests/endtoend.sh "$(WEB)" || failed="$$failed $$engine"; \
	done; [ -z "$$failed" ] || { echo "make: the tour failed in$$failed"; exit 1; }
