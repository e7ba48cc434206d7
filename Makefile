# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
# The long tests mostly wait on the clock, so more run at once than there are cores.
TEST_JOBS ?= 8
CMAKE_FLAGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# Ninja when it is there (it keeps both cores busy); a build directory keeps
# the generator it was made with.
GENERATOR = $(if $(shell command -v ninja),-G Ninja)
fresh = $(if $(wildcard $(1)/CMakeCache.txt),,$(GENERATOR))

.PHONY: deps configure build demo test test-asan soak soak-window bench fuzz-build fuzz package clean

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(call fresh,$(BUILD)) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The tool on its built-in simulated transmitter (port COM1).
demo: build
	$(BUILD)/ui/main/tamsel --demo

# The whole suite, headless, while the fuzz targets build beside it (the
# suite mostly waits on clocks); then each fuzz target on its seeds and the
# inputs that once failed.
test: build
	$(MAKE) fuzz-build >$(BUILD)/fuzz-build.log 2>&1 & fuzz=$$!; \
	(cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(TEST_JOBS)); suite=$$?; \
	wait $$fuzz || { cat $(BUILD)/fuzz-build.log; echo "the fuzz targets do not build"; exit 1; }; exit $$suite
	tools/run-fuzz.sh $(FUZZ_BUILD) replay

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS=-DTAMSEL_SANITIZE=ON

# An hour of auto read against the simulator with 5 % faulty replies.
soak: build
	tools/soak.sh $(BUILD) 60m

# The window with its trend open, auto-reading the simulator under Xvfb for
# SOAK_WINDOW (10m, 30m, ...): memory and CPU a minute.
SOAK_WINDOW ?= 10m
soak-window: build
	tools/soak-window.sh $(BUILD) $(SOAK_WINDOW)

# The figures: connect and auto-read ratios, idle CPU, memory, start-up, suite time.
bench: build
	tools/bench.sh $(BUILD)

# The fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: only the plain C++ layers, no Qt.
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) $(call fresh,$(FUZZ_BUILD)) -DCMAKE_CXX_COMPILER=clang++ -DTAMSEL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target make_fuzz_seeds receive_path_fuzz script_fuzz input_fuzz frame_hunter_fuzz hartip_reader_fuzz

# Each fuzz target for FUZZ_SECONDS; the table of executions and findings.
fuzz: fuzz-build
	tools/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Debian package, $(BUILD)/tamsel_<version>_<arch>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf build build-asan build-fuzz
