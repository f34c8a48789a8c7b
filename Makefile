# Two entry points: `make run` and `make test`. Both install what is missing first.
# `make package` builds the Debian package into $(BUILD).
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = team_scan player_record windows1252 csv_sheet xlsx_sheet recipe
JOBS       ?= $(shell nproc)
DEMO_DIR   ?= $(BUILD)/demo-league
# Checkouts of the project share one compiler cache: paths below the checkout count as relative,
# and the folder a compiler runs in is left out of what names a cached result.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1
# Files built with a precompiled header are cached too.
export CCACHE_SLOPPINESS ?= pch_defines,time_macros,include_file_mtime,include_file_ctime

.PHONY: deps build build-asan run test test-normal test-asan package fuzz clean format

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)

run: build
	scripts/run.sh $(BUILD)

test-normal: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(BUILD_ASAN) && ctest --output-on-failure -j $(JOBS)

test: test-normal test-asan

package: build
	cmake --build $(BUILD) --target package
# Each parser's fuzz target for FUZZ_SECONDS, built with clang in its own folder. New inputs go
# into $(BUILD_FUZZ)/corpus; the saved corpus in tests/fuzz/corpus is only read.
fuzz: deps
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_FUZZ=ON -DTAVREL_BUILD_GUI=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(BUILD_FUZZ)/corpus/$$t && \
	    $(BUILD_FUZZ)/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) $(BUILD_FUZZ)/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
