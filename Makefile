# SPDX-FileCopyrightText: 2026 The Tavolnik developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The two commands people type: `make run` builds and starts the game, `make test` builds it
# and runs every test. Both install the Debian packages they need first.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# The drive of `make bench` runs with a fixed seed: the same traffic and tune (BGM1) every time.
BENCH_SEED ?= 1

.PHONY: all deps configure build run test pictures clean bench asan fuzz

all: build

deps:
	@./scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/tavolnik

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

pictures: build
	cmake --build $(BUILD) --target pictures
	@echo "contact sheet: $(BUILD)/contact_sheet.png"

# The whole game and its tests built with AddressSanitizer and UBSan; any report fails the run.
# Leaks inside the system's font, window-system and sound libraries are suppressed by name.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLNIK_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS)

# Micro-benchmarks and process figures, printed as one table.
bench:
	@./scripts/install-deps bench
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLNIK_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j$(JOBS) --target tavolnik_measured tavolnik_bench bench_floor bench_sound bench_process
	$(BENCH_BUILD)/bench/bench_process --build-dir $(BENCH_BUILD) --seed $(BENCH_SEED)

# A short libFuzzer run of each target from the committed seed corpus; a crash fails the run and
# leaves its input in $(FUZZ_BUILD)/fuzz/.
fuzz:
	@./scripts/install-deps fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLNIK_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_settings fuzz_sound
	FUZZ_SECONDS=$(FUZZ_SECONDS) $(SANITIZER_ENV) ./fuzz/run-fuzzers $(FUZZ_BUILD)

# The Debian package: $(BUILD)/tavolnik_<version>_<arch>.deb, installing into /usr.
# scripts/test-package unpacks one into a temporary root and plays it from there.
.PHONY: package
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
