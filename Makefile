# The two commands people type: `make run` builds and starts the game, `make test` builds it
# and runs every test. Both install the Debian packages they need first.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test pictures clean

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

clean:
	rm -rf $(BUILD)
