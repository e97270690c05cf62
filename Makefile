# Set-up, build, run and test on Debian 12. Every target installs what is missing first.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Warnings are errors in every build made here (developers and CI); a plain `cmake` configure,
# as someone building a release from the source runs it, leaves them warnings. WERROR=OFF here
# looks at a new compiler's warnings first.
WERROR ?= ON

PACKAGES := build-essential cmake ninja-build ccache pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-svg-dev libgl-dev \
  libsqlite3-dev clang clang-format clang-tidy libclang-rt-14-dev \
  fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming fonts-wqy-zenhei \
  xdg-utils poppler-utils \
  libcups2-dev cups cups-client cups-bsd printer-driver-cups-pdf \
  printer-driver-hpcups printer-driver-gutenprint \
  libxlsxwriter-dev libssl-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n \
  postgresql libqt6sql6-psql libpq-dev \
  dpkg-dev fakeroot file lintian desktop-file-utils appstream libfontconfig-dev \
  sqlite3 faketime mdbtools-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
STAMP := $(BUILD_DIR)/.packages-ok

.PHONY: all deps configure build run test package asan-test bench fuzz format format-check tidy clean \
  windows windows-test windows-installer

all: build

# apt-get runs only when a package is missing, so a second make is quick.
define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps: $(STAMP)
$(STAMP): Makefile
	$(call install_missing,$(PACKAGES))
	@mkdir -p $(BUILD_DIR) && touch $@

# Configures build folder $(1) with the options $(2) the first time; a folder configured before
# (by hand, or with another WERROR) is only told the WERROR asked for now.
define configure_once
	@if [ ! -f $(1)/build.ninja ]; then cmake -S . -B $(1) -G Ninja $(2) -DQUILLOA_WERROR=$(WERROR); \
	elif ! grep -qx 'QUILLOA_WERROR:BOOL=$(WERROR)' $(1)/CMakeCache.txt; then \
	  cmake -S . -B $(1) -DQUILLOA_WERROR=$(WERROR); fi
endef

configure: deps
	$(call configure_once,$(BUILD_DIR),-DCMAKE_BUILD_TYPE=$(BUILD_TYPE))

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/quilloa

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package build/quilloa_<version>_<arch>.deb; install it with apt install ./build/quilloa_*.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	$(call configure_once,$(ASAN_DIR),-DCMAKE_BUILD_TYPE=Debug -DQUILLOA_SANITIZE=ON -DQUILLOA_BENCH=OFF)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Builds only what the benchmark needs; the first run generates its stores (about a minute).
# BENCH_ARGS narrows a run, e.g. BENCH_ARGS="200000 --only=archive".
bench: configure
	cmake --build $(BUILD_DIR) --target quilloa_bench -j $(JOBS)
	./$(BUILD_DIR)/bench/quilloa_bench $(BENCH_ARGS)

fuzz: deps
	@[ -f build-fuzz/build.ninja ] || CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
	  -DCMAKE_BUILD_TYPE=Debug -DQUILLOA_FUZZ=ON -DQUILLOA_BENCH=OFF
	cmake --build build-fuzz --target rtf_reader_fuzz -j $(JOBS)
	./build-fuzz/fuzz/rtf_reader_fuzz -max_total_time=60 fuzz/corpus/rtf

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails, listing the places, when a source file is not as clang-format would write it.
format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

# clang-tidy over src/ with the checks of .clang-tidy, one file a job; any finding fails it.
# It reads the build's compile_commands.json, so it runs after a build.
tidy: build
	run-clang-tidy -p $(BUILD_DIR) -j $(JOBS) -quiet -extra-arg=-Wno-unknown-warning-option \
	  '^$(CURDIR)/src/.*\.cpp$$' >$(BUILD_DIR)/tidy.log 2>&1 || { cat $(BUILD_DIR)/tidy.log; exit 1; }
	@echo "clang-tidy: no findings in src/"

# The Windows x86_64 program, cross-built into build-windows/ against the prefix of Windows
# libraries in ../shared/windows and tried under Wine; see docs/windows.md.
WIN_DIR ?= build-windows
SHARED_DIR ?= ../shared
WIN_DEPS ?= $(SHARED_DIR)/windows/quilloa-win64-deps.tar.xz
WIN_PREFIX := $(abspath $(WIN_DIR))/win64-deps
WIN_PACKAGES := cmake ninja-build ccache g++-mingw-w64-x86-64-posix mingw-w64-tools \
  libz-mingw-w64-dev wine wine64 nsis qt6-base-dev-tools qt6-translations-l10n \
  fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming
WIN_STAMP := $(WIN_DIR)/.packages-ok

$(WIN_STAMP): Makefile
	$(call install_missing,$(WIN_PACKAGES))
	@mkdir -p $(WIN_DIR) && touch $@

# A clone elsewhere than beside ../shared names the folder: make windows SHARED_DIR=<folder>.
$(WIN_DEPS):
	@echo "Missing $(WIN_DEPS): the Windows libraries are looked for in SHARED_DIR=$(SHARED_DIR);" \
	  "give SHARED_DIR=<the folder holding windows/> when the checkout is elsewhere." >&2; exit 1

$(WIN_PREFIX)/.unpacked: $(WIN_DEPS) | $(WIN_STAMP)
	rm -rf $(WIN_PREFIX) && tar -C $(WIN_DIR) -xJf $(WIN_DEPS) && touch $@

windows: $(WIN_STAMP) $(WIN_PREFIX)/.unpacked
	$(call configure_once,$(WIN_DIR),-DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUILLOA_WIN_PREFIX=$(WIN_PREFIX) \
	  -DQUILLOA_BENCH=OFF -DQUILLOA_HARDENING=OFF)
	cmake --build $(WIN_DIR) -j $(JOBS)

windows-test: windows
	packaging/windows/wine-test.sh $(WIN_DIR)

windows-installer: windows
	packaging/windows/make-installer.sh $(WIN_DIR)
	packaging/windows/wine-test.sh $(WIN_DIR) --installer

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) build-fuzz
