# Entry points: `make run` starts Kestrix on the default emulated device,
# `make test` builds with sanitizers and runs every test. Both install the
# Debian packages they need first.
BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
CMAKE_GEN      := -G Ninja

.PHONY: all configure build run test deps format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

# Only what a run needs: the program, the device tool and the
# registry-saving program.
run: configure
	@cmake --build $(BUILD_DIR) --target Kestrix kestrix-device saveregs
	@scripts/run-default.sh $(BUILD_DIR)

test: deps
	@cmake -S . -B $(TEST_BUILD_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD_DIR)
	@cd $(TEST_BUILD_DIR) && ctest --output-on-failure

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR)
