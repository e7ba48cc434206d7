# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: deps configure build demo test test-asan soak bench clean

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The tool on its built-in simulated transmitter (port COM1).
demo: build
	$(BUILD)/ui/main/tamsel --demo

# The whole suite, headless.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS=-DTAMSEL_SANITIZE=ON

# An hour of auto read against the simulator with 5 % faulty replies.
soak: build
	tools/soak.sh $(BUILD) 60

# The figures: connect and auto-read ratios, idle CPU, memory, start-up, suite time.
bench: build
	tools/bench.sh $(BUILD)

clean:
	rm -rf build build-asan
