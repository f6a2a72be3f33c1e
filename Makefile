# SPDX-License-Identifier: GPL-3.0-or-later
# The two everyday commands: `make demo` starts the utility against the simulated radio,
# `make test` runs the whole suite. Both install what they need first. `make package` makes the
# Debian package, `make install-check` installs it into a scratch folder and connects from there.
# `make bench` measures the utility on this machine (docs/PERFORMANCE.md).
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= 2
# The suite's parallel runs, and more for ctest: CI runs each test up to three times, until it
# fails, four tests at a time (TEST_JOBS=4 CTEST_ARGS="--repeat until-fail:3"), so that a test
# that fails by chance shows.
TEST_JOBS ?= $(JOBS)
CTEST_ARGS ?=
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build demo test test-sanitize bench package install-check \
	fuzz fuzz-coverage clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

# Only the utility and the simulated radio: the demo needs no test binaries. SIM_OPTIONS go to
# the simulated radio ("--refuse-write", "--stuck-cell 1968", "--generator 127.0.0.1:5025" for a
# signal generator beside it, ...).
demo: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target vsk5-aln vxk5-sim
	@VXK5_SIM_OPTIONS="$(SIM_OPTIONS)" scripts/demo.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(TEST_JOBS) $(CTEST_ARGS)

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DVSK5_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j$(JOBS)
	@cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j$(JOBS)

# The utility's figures on this machine against the paced simulated radio (docs/PERFORMANCE.md);
# about two and a half minutes. The bench is built only here: the option stays on in the build
# folder, so the suite there runs its smoke test from then on. BENCH_OPTIONS go to the bench
# ("--quick", "--frames frames.txt").
bench: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVSK5_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target vsk5-bench
	@$(BUILD_DIR)/bench/vsk5-bench $(BENCH_OPTIONS)

# vsk5-aln_<version>_<arch>.deb in the build folder.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

install-check: package
	@scripts/install-check.sh $(BUILD_DIR) $(wildcard $(BUILD_DIR)/vsk5-aln_*.deb)

# The fuzz targets (clang, libFuzzer, ASan and UBSan), FUZZ_SECONDS each; CI gives them 60 s.
FUZZ_SECONDS ?= 600
fuzz: deps
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# Coverage of the receive path by the link target's corpus (the seeds and what `make fuzz` found).
fuzz-coverage: deps
	@scripts/fuzz.sh coverage

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) build-fuzz build-fuzz-coverage
