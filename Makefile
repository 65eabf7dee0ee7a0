# The two commands of the README: `make run [FILE=path]` and `make test`.
# Each installs what is missing, configures and builds, then runs.

JOBS ?= $(shell nproc)
RUN_DIR := build
TEST_DIR := build/test
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz
# `make fuzz`: how long each fuzz target runs, and its memory limit.
FUZZ_SECONDS ?= 60
FUZZ_RSS_MB ?= 2048
FUZZ_TARGETS := fuzz_reader fuzz_roundtrip fuzz_protected fuzz_opml fuzz_markdown fuzz_text

PREFIX ?= /usr/local

.PHONY: all run test bench bench-huge fuzz setup setup-fuzz build build-test build-bench build-fuzz screenshot translations install package clean

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

# The file-taking benchmarks on a tree ten times the benchmark tree's size
# (2.9 GB, written once into $(BENCH_DIR)), beside the same at 1.1 M items.
bench-huge: build-bench
	@cmake --build $(BENCH_DIR) --target run_bench_huge

# Only the fuzz build needs clang: its packages are an optional group.
setup-fuzz:
	@scripts/install-packages fuzz

$(FUZZ_DIR)/CMakeCache.txt: | setup-fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVEK_TESTS=OFF -DVEK_FUZZ=ON

build-fuzz: setup-fuzz $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# Each target in turn, starting from the seed corpus (tests/data/<target>
# when the target has its own, else the tree files' tests/data/fuzz; the
# protected variant's seeds are files encrypted with the fuzz key); what it
# finds new is kept in $(FUZZ_DIR)/corpus/<target> for the next run.
fuzz: build-fuzz
	@for target in $(FUZZ_TARGETS); do \
	    seeds=tests/data/fuzz; [ -d tests/data/$$target ] && seeds=tests/data/$$target; \
	    mkdir -p $(FUZZ_DIR)/corpus/$$target && \
	    $(FUZZ_DIR)/bin/$$target -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=$(FUZZ_RSS_MB) -timeout=10 \
	        -artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus/$$target $$seeds || exit 1; \
	done

# The picture of the README, and beside build/screenshot.png the window with
# each pane folded, at the scale factor 2 and in Dark, for a reviewer.
screenshot: build
	scripts/screenshot docs/screenshot.png
	scripts/screenshot --states build/screenshot.png
	scripts/screenshot --scale=2 build/screenshot-scale2.png
	scripts/screenshot --theme=Dark build/screenshot-dark.png

# The texts of the sources into each translations/*.ts, for a translator to
# finish in Qt Linguist; entries no source has any more are dropped. English,
# the texts' own language, keeps only its plural forms.
LUPDATE = $(shell qtpaths6 --query QT_INSTALL_BINS)/lupdate
TRANSLATED_SOURCES := app settings tools
translations: setup
	@for ts in translations/*.ts; do \
	    case $$ts in *_en.ts) only=-pluralonly;; *) only=;; esac; \
	    $(LUPDATE) -I . -locations none -no-obsolete $$only $(TRANSLATED_SOURCES) -ts $$ts || exit 1; \
	done

# `sudo make install`, or `make install PREFIX=~/.local` for one user.
# As root in someone else's checkout (sudo), the build runs as the checkout's
# owner and the install manifest is handed to them: a build/ with files of
# root's would make their next `make run` or `make install` fail to write it.
OWNER := $(shell stat -c %U $(CURDIR))
ifeq ($(shell id -u),0)
ifneq ($(OWNER),root)
AS_OWNER := runuser -u $(OWNER) --
endif
endif

install: setup
	$(AS_OWNER) $(MAKE) build
	cmake --install $(RUN_DIR) --prefix $(PREFIX) --strip
	$(if $(AS_OWNER),chown $(OWNER): $(RUN_DIR)/install_manifest.txt)

# build/package/vektreevieweditor_<version>_<arch>.deb
package: build
	cmake --build $(RUN_DIR) --target package

clean:
	rm -rf build
