# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build in build/ first.
# `make bench` builds in Release in a folder of its own and measures the
# program against its yardstick (bench/run.sh; docs/performance.md).
BUILD   := build
RELEASE := build-release
JOBS    := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test bench clean

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

bench:
	@sh "./tools/install-deps.sh" bench
	cmake -S . -B "$(RELEASE)" -DCMAKE_BUILD_TYPE=Release
	cmake --build "$(RELEASE)" -j $(JOBS) --target velk-simulator velk-simulator-bench yardstick
	bash bench/run.sh "$(RELEASE)"

clean:
	rm -rf "$(BUILD)" "$(RELEASE)"
