# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build in build/ first.
BUILD := build
JOBS  := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test clean

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

clean:
	rm -rf "$(BUILD)"
