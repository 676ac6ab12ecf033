# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?=
# Tests wait on processes and disks as much as on the processor.
JOBS ?= $(shell echo $$(( $$(nproc) + 1 )))

.PHONY: all deps configure build run test test-large clean bench fuzz package check-package format format-check \
	windows-configure windows test-windows windows-package translations

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@$(BUILD_DIR)/bin/tamrivel

# Gathers the texts added to or changed in the code into the catalogues in
# translations/, for a translator to fill in (Qt Linguist, or any editor).
translations: configure
	@cmake --build $(BUILD_DIR) --target update_translations

# Every test, then those that exercise memory again under AddressSanitizer
# and UBSan.
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --label-exclude large -j$(JOBS)
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAMRIVEL_SANITIZE=ON > /dev/null
	@cmake --build $(SANITIZE_DIR) --target tamrivel_memory_tests
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure --label-regex memory --label-exclude large -j$(JOBS)

# Files over 4 GiB: takes disk and minutes, so not part of `make test`.
test-large: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --label-regex large

# A minute of libFuzzer each on the kernels and the join-size check, and on
# the record reader, which starts from the valid files in fuzz/corpus (clang).
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps clang libclang-rt-14-dev
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAMRIVEL_FUZZ=ON -DTAMRIVEL_SANITIZE=ON > /dev/null
	@cmake --build build-fuzz
	mkdir -p build-fuzz/corpus build-fuzz/corpus-records
	build-fuzz/fuzz/deal_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -artifact_prefix=build-fuzz/ build-fuzz/corpus
	build-fuzz/fuzz/record_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -artifact_prefix=build-fuzz/record- \
	  build-fuzz/corpus-records fuzz/corpus/records

# A Debian package of the Release build, in build-release/.
package:
	@scripts/install-deps dpkg-dev
	@cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
	@cmake --build build-release
	cd build-release && cpack

# The desktop entry, the AppStream metadata and the manual pages, as the
# desktop and man will read them. man reports a roff problem only as a
# warning, so any output on stderr fails the check. man takes a page's
# language, and with it Japanese line breaking, from the folder the page is
# in, so each page is checked from a copy in the folder it is installed to.
MAN_CHECK = LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z
MAN_PAGES = man1:packaging/tamrivel-cli.1 ja/man1:packaging/ja/tamrivel-cli.1
check-package:
	@scripts/install-deps desktop-file-utils appstream man-db groff-base
	desktop-file-validate packaging/org.tamrivel.Tamrivel.desktop packaging/org.tamrivel.Tamrivel.Check.desktop
	appstreamcli validate --no-net packaging/org.tamrivel.Tamrivel.metainfo.xml
	@root=$$(mktemp -d) && trap 'rm -rf "$$root"' EXIT && \
	for entry in $(MAN_PAGES); do \
	  folder=$${entry%%:*} page=$${entry#*:}; \
	  mkdir -p $$root/man/$$folder && cp $$page $$root/man/$$folder/ \
	    && warnings=$$($(MAN_CHECK) $$root/man/$$folder/tamrivel-cli.1 2>&1 >/dev/null) && [ -z "$$warnings" ] \
	    && echo "$$page: clean" || { echo "$$page: $$warnings"; exit 1; }; \
	done

# 64-bit Windows, cross-built with Debian's mingw-w64 against a Qt built once
# from Debian's own source into ~/.cache/tamrivel (scripts/build-qt-windows:
# about 35 minutes the first time, nothing after).
WINDOWS_DIR ?= build-windows
VERSION := $(shell sed -n 's/^set(TAMRIVEL_VERSION "\(.*\)")/\1/p' CMakeLists.txt)
WINE = WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wine WINEDEBUG=-all

windows-configure:
	@scripts/install-deps g++-mingw-w64-x86-64-posix libz-mingw-w64-dev xz-utils librsvg2-bin icoutils
	@qt=$$(scripts/build-qt-windows) && $$qt/bin/qt-cmake -S . -B $(WINDOWS_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_BINDIR=. \
	  -DQT_CHAINLOAD_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-posix.cmake > /dev/null

# build-windows/dist: the programs with everything they load, ready to run.
windows: windows-configure
	@cmake --build $(WINDOWS_DIR) --target tamrivel tamrivel-check tamrivel-cli
	@rm -rf $(WINDOWS_DIR)/dist
	@cmake --install $(WINDOWS_DIR) --prefix $(WINDOWS_DIR)/dist > /dev/null
	@# Debian's run-time DLLs carry their debugging symbols (libstdc++ 24 MB).
	@find $(WINDOWS_DIR)/dist -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
	@echo "windows: $(WINDOWS_DIR)/dist"

# The test suite, built for Windows and run under Wine, headless. Each test
# has a time limit, so a hang fails rather than waits.
test-windows: windows-configure
	@scripts/install-deps wine wine64 python3-pefile
	@cmake --build $(WINDOWS_DIR)
	@# A server left by an interrupted run would keep its desktop process.
	@$(WINE) wineserver -k 2> /dev/null || true
	@[ -f $(WINDOWS_DIR)/wine/system.reg ] || timeout 300 $(WINDOWS_DIR)/wine-run wineboot -i
	@# The system's own Open dialog is a real window: Wine's null driver gives
	@# it one without a display, even where DISPLAY is set.
	@$(WINE) scripts/wine-use-driver $(WINDOWS_DIR)/wine-run null
	@$(WINE) wineserver -p
	@# Wine's services start with the first program and outlive it; started
	@# here, they do not hold ctest's output pipes open after each test.
	@timeout 300 $(WINDOWS_DIR)/wine-run wineboot > /dev/null 2>&1
	@# A Japanese font, as a Japanese Windows has one: Wine brings none.
	@cp /usr/share/fonts/opentype/ipafont-gothic/ipag*.ttf $(WINDOWS_DIR)/wine/drive_c/windows/Fonts/
	ctest --test-dir $(WINDOWS_DIR) --output-on-failure --label-exclude large; \
	  status=$$?; $(WINE) wineserver -k; exit $$status

# The setup program and the portable zip, in build-windows/; the setup program
# is then installed, upgraded, run and uninstalled silently under Wine.
windows-package: windows
	@scripts/install-deps nsis wine wine64 python3-pefile
	@# The setup program's helper for the PATH, packed into it, not into dist.
	@cmake --build $(WINDOWS_DIR) --target setup-path
	@makensis -V2 $(WINDOWS_DIR)/tamrivel.nsi
	@rm -rf $(WINDOWS_DIR)/zip && mkdir -p $(WINDOWS_DIR)/zip
	@cp -r $(WINDOWS_DIR)/dist $(WINDOWS_DIR)/zip/tamrivel-$(VERSION)
	@cd $(WINDOWS_DIR)/zip && cmake -E tar cf ../tamrivel-$(VERSION)-windows.zip --format=zip tamrivel-$(VERSION)
	@WINDOWS_DIR=$(WINDOWS_DIR) scripts/check-windows-package
	@echo "windows-package: $(WINDOWS_DIR)/tamrivel-$(VERSION)-setup.exe $(WINDOWS_DIR)/tamrivel-$(VERSION)-windows.zip"

# The code follows .clang-format.
FORMAT_FILES = $(shell find src tests tools bench fuzz -name '*.cpp' -o -name '*.h')
format-check:
	@scripts/install-deps clang-format
	@clang-format --dry-run --Werror $(FORMAT_FILES) && echo "format-check: clean"

format:
	@scripts/install-deps clang-format
	clang-format -i $(FORMAT_FILES)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-release build-fuzz $(WINDOWS_DIR)

bench:
	bench/run
