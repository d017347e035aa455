# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build in build/ first.
# `make bench` builds in Release in a folder of its own and measures the
# program against its yardstick (bench/run.sh; docs/performance.md).
BUILD   := build
RELEASE := build-release
JOBS    := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test install package screenshots bench clean

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
	rm -rf "$(BUILD)" "$(RELEASE)"
