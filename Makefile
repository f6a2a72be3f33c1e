# The two everyday commands: `make demo` starts the utility against the simulated radio,
# `make test` runs the whole suite. Both install what they need first.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= 2
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build demo test test-sanitize fuzz fuzz-coverage clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

# Only the utility and the simulated radio: the demo needs no test binaries.
demo: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target vsk5-aln vxk5-sim
	@scripts/demo.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DVSK5_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j$(JOBS)
	@cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j$(JOBS)

# The fuzz targets (clang, libFuzzer, ASan and UBSan), FUZZ_SECONDS each; CI gives them 60 s.
FUZZ_SECONDS ?= 600
fuzz: deps
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# Coverage of the receive path by the link target's corpus (the seeds and what `make fuzz` found).
fuzz-coverage: deps
	@scripts/fuzz.sh coverage

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) build-fuzz build-fuzz-coverage
