# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-large clean bench fuzz

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@$(BUILD_DIR)/bin/tamrivel

# Every test, then every test again under AddressSanitizer and UBSan.
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --label-exclude large
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAMRIVEL_SANITIZE=ON > /dev/null
	@cmake --build $(SANITIZE_DIR)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure --label-exclude large

# Files over 4 GiB: takes disk and minutes, so not part of `make test`.
test-large: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --label-regex large

# A minute of libFuzzer on the kernels and the join-size check (clang).
FUZZ_SECONDS ?= 60
fuzz: deps
	@command -v clang++ > /dev/null || apt-get install -y -qq clang > /dev/null
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAMRIVEL_FUZZ=ON -DTAMRIVEL_SANITIZE=ON > /dev/null
	@cmake --build build-fuzz
	mkdir -p build-fuzz/corpus
	build-fuzz/fuzz/deal_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -artifact_prefix=build-fuzz/ build-fuzz/corpus

clean:
	rm -rf $(BUILD_DIR)

bench:
	bench/run
