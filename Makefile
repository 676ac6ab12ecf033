# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-large clean bench

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@$(BUILD_DIR)/bin/tamrivel

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --label-exclude large

# Files over 4 GiB: takes disk and minutes, so not part of `make test`.
test-large: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --label-regex large

clean:
	rm -rf $(BUILD_DIR)

bench:
	bench/run
