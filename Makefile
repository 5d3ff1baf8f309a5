# SPDX-License-Identifier: GPL-3.0-or-later
# Entry points for people and CI. Everything builds in build/ (Release); binaries land in build/bin/.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# `make install` puts the programs under PREFIX, inside DESTDIR when that is set, and lists what
# it put there in MANIFEST; `make uninstall` removes exactly that.
PREFIX ?= /usr/local
DESTDIR ?=
MANIFEST ?= $(BUILD_DIR)/installed-files.txt
PACKAGE_DIR ?= build-package

.PHONY: all deps build run test install uninstall install-check package package-check tidy bench fuzz \
	test-sanitize screenshots format clean

all: build

deps:
	@scripts/install-deps.sh build

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds only the two programs, not the tests.
run: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quillon quillon-cli
	@scripts/run.sh $(BUILD_DIR)

# Every test, then the install check below. The check tools come first: one test drives the
# window under Xvfb through AT-SPI.
test: build
	@scripts/install-deps.sh check
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	scripts/check-install.sh $(BUILD_DIR)

# With the build there, this only copies files: `sudo make install` runs no compiler and no
# package manager as root.
install:
	@DESTDIR="$(DESTDIR)" scripts/install.sh "$(BUILD_DIR)" "$(PREFIX)" "$(MANIFEST)"

uninstall:
	@scripts/uninstall.sh "$(MANIFEST)"

# Installs into a temporary folder, runs the validators on what landed there, and uninstalls.
install-check: build
	@scripts/install-deps.sh check
	scripts/check-install.sh $(BUILD_DIR)

# The Debian packages quillon-cli and quillon, built in $(PACKAGE_DIR) with Debian's flags. They
# need a maintainer: QUILLON_MAINTAINER='Full Name <address>' (or DEBFULLNAME and DEBEMAIL), or
# LOCAL_BUILD=1 for packages meant for this machine only. QUILLON_HOMEPAGE and
# QUILLON_SCREENSHOTS_URL name the published addresses, if any.
QUILLON_MAINTAINER ?=
QUILLON_HOMEPAGE ?=
QUILLON_SCREENSHOTS_URL ?=
LOCAL_BUILD ?=
export QUILLON_MAINTAINER QUILLON_HOMEPAGE QUILLON_SCREENSHOTS_URL LOCAL_BUILD

package: deps
	@scripts/install-deps.sh package
	scripts/package.sh $(PACKAGE_DIR)

# Both packages through lintian, then each installed into a clean Debian root and removed again.
# Without a maintainer they are built as local packages.
package-check: deps
	@scripts/install-deps.sh package
	scripts/check-package.sh $(PACKAGE_DIR)

# Builds everything in build-tidy/ with clang-tidy (.clang-tidy) on every source.
tidy: deps
	@scripts/install-deps.sh tidy
	cmake --preset tidy
	cmake --build --preset tidy -j $(JOBS)

bench:
	@scripts/install-deps.sh bench
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	bench/run-all.sh $(BUILD_DIR)

# Fuzzes the reader and the audio stage for FUZZ_SECONDS (Clang's libFuzzer, with ASan and UBSan).
# New inputs go to fuzz/corpus-run/, findings to build-fuzz/artifacts/.
FUZZ_SECONDS ?= 300
fuzz:
	@scripts/install-deps.sh fuzz
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DQUILLON_BUILD_FUZZ=ON -DQUILLON_BUILD_GUI=OFF -DQUILLON_BUILD_TESTS=OFF
	cmake --build build-fuzz --target quillon-fuzz
	mkdir -p fuzz/corpus-run build-fuzz/artifacts
	build-fuzz/bin/quillon-fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
		-dict=fuzz/flv.dict -artifact_prefix=build-fuzz/artifacts/ \
		fuzz/corpus-run fuzz/seeds tests/fixtures

# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ and
# runs the whole test suite there.
test-sanitize: deps
	cmake --preset sanitize
	cmake --build build-sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

screenshots: build
	@scripts/install-deps.sh screenshots
	scripts/screenshots.sh $(BUILD_DIR)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
