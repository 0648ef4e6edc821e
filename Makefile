# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
# Both install what is missing, build incrementally and are cheap to repeat.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

# Debian packages the build, the tests and the screenshots need.
DEB_PACKAGES := build-essential cmake ninja-build pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6svg6 \
	libgl1-mesa-dev libpng-dev libjpeg-dev libgtest-dev libgmock-dev libbenchmark-dev \
	fonts-dejavu-core fonts-liberation xvfb xauth xdotool imagemagick clang-format \
	libsane-dev sane-utils poppler-utils

# Only the benchmarks need these (the comparisons in the same run); `make test` never installs them.
BENCH_PACKAGES := libopencv-dev python3

# The C++ files clang-format keeps in the repository's style (.clang-format).
FORMAT_DIRS  := src tests tools bench fuzz
FORMAT_FILES  = $(shell find $(FORMAT_DIRS) -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
CLANG_FORMAT ?= clang-format

.PHONY: all deps bench-deps build run test test-asan format format-check bench bench-table fuzz clean

all: build

# Installs those of the packages in $(1) that are missing (through sudo when not root).
define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi
endef

deps:
	$(call install_missing,$(DEB_PACKAGES))

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/orvelpaint $(ARGS)

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DOV_SANITIZE=ON -DOV_APP=OFF

# SANE's test scanner cancels its reader thread asynchronously; a cancel that lands inside malloc
# leaves that thread deadlocked (about 1 run in 20 on a loaded machine). A test that times out is
# run once more; a failure is never retried.
CTEST_RETRY := --repeat after-timeout:2

# The format check, every test, then the core tests again under ASan + UBSan. The check comes
# first so a badly formatted file fails before the long builds.
test: format-check
	$(MAKE) --no-print-directory build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) $(CTEST_RETRY)
	$(MAKE) --no-print-directory test-asan

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target ovtests_core
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -L core $(CTEST_RETRY)

# Rewrites every C++ file in place.
format: deps
	@$(CLANG_FORMAT) -i --style=file $(FORMAT_FILES) && echo "Formatted $(words $(FORMAT_FILES)) files."

# Changes nothing; fails listing the files `make format` would change. Any other clang-format
# failure fails with its own output.
format-check: deps
	@out=$$($(CLANG_FORMAT) --dry-run -Werror --style=file $(FORMAT_FILES) 2>&1); rc=$$?; \
	bad=$$(printf '%s\n' "$$out" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*clang-format-violations.*/\1/p' | sort -u); \
	if [ -n "$$bad" ]; then \
	  echo "Not formatted (make format fixes them):"; printf '  %s\n' $$bad; exit 1; \
	fi; \
	if [ $$rc -ne 0 ]; then printf '%s\n' "$$out"; exit $$rc; fi; \
	echo "Formatting checked: $(words $(FORMAT_FILES)) files."

bench-deps:
	$(call install_missing,$(BENCH_PACKAGES))

bench: deps bench-deps
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DOV_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target ovbench ovbench_files ovbench_strokes ovbench_view ovbench_fill ovbench_cut ovbench_paint ovbench_transform ovbench_transfer ovbench_filters
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_files
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_strokes
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_view
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_fill
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_cut
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_paint
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_transform
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_transfer
	QT_QPA_PLATFORM=offscreen ./build-bench/ovbench_filters

# Every row of the speed table with its goal, in one run.
bench-table: deps bench-deps
	JOBS=$(JOBS) BUILD=build-bench bench/table.sh

# libFuzzer targets need clang; not part of `make test`.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOV_FUZZ=ON -DOV_APP=OFF
	cmake --build build-fuzz -j $(JOBS) --target fuzz_dib fuzz_lng fuzz_texts fuzz_clipboard fuzz_filters fuzz_components

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench build-fuzz
