# The two commands of the README: `make run [FILE=path]` and `make test`.
# Each installs what is missing, configures and builds, then runs.

JOBS ?= $(shell nproc)
RUN_DIR := build
TEST_DIR := build/test
BENCH_DIR := build/bench

.PHONY: all run test bench setup build build-test build-bench screenshot clean

all: build

setup:
	@scripts/install-packages

$(RUN_DIR)/CMakeCache.txt: | setup
	cmake -S . -B $(RUN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEK_TESTS=OFF

build: setup $(RUN_DIR)/CMakeCache.txt
	cmake --build $(RUN_DIR) -j $(JOBS)

run: build
	$(RUN_DIR)/bin/vektreevieweditor $(FILE)

$(TEST_DIR)/CMakeCache.txt: | setup
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVEK_SANITIZE=ON -DVEK_TESTS=ON

build-test: setup $(TEST_DIR)/CMakeCache.txt
	cmake --build $(TEST_DIR) -j $(JOBS)

test: build-test
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

$(BENCH_DIR)/CMakeCache.txt: | setup
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DVEK_TESTS=OFF -DVEK_BENCH=ON

build-bench: setup $(BENCH_DIR)/CMakeCache.txt
	cmake --build $(BENCH_DIR) -j $(JOBS)

bench: build-bench
	@cmake --build $(BENCH_DIR) --target run_benchmarks

screenshot: build
	scripts/screenshot build/screenshot.png

clean:
	rm -rf build
