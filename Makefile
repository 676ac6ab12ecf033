# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-large clean bench fuzz package check-package format format-check

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
fuzz:
	@scripts/install-deps clang
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAMRIVEL_FUZZ=ON -DTAMRIVEL_SANITIZE=ON > /dev/null
	@cmake --build build-fuzz
	mkdir -p build-fuzz/corpus
	build-fuzz/fuzz/deal_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -artifact_prefix=build-fuzz/ build-fuzz/corpus

# A Debian package of the Release build, in build-release/.
package:
	@scripts/install-deps dpkg-dev
	@cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
	@cmake --build build-release
	cd build-release && cpack

# The desktop entry and the AppStream metadata, as the desktop will read them.
check-package:
	@scripts/install-deps desktop-file-utils appstream
	desktop-file-validate packaging/org.tamrivel.Tamrivel.desktop
	appstreamcli validate --no-net packaging/org.tamrivel.Tamrivel.metainfo.xml

# The code follows .clang-format.
FORMAT_FILES = $(shell find src tests tools bench fuzz -name '*.cpp' -o -name '*.h')
format-check:
	@scripts/install-deps clang-format
	@clang-format --dry-run --Werror $(FORMAT_FILES) && echo "format-check: clean"

format:
	@scripts/install-deps clang-format
	clang-format -i $(FORMAT_FILES)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-release build-fuzz

bench:
	bench/run
