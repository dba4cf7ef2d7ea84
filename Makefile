# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing first.
BUILD    ?= build
HOST_DIR := $(BUILD)/host
WIN_DIR  := $(BUILD)/win
JOBS     ?= $(shell nproc)

.PHONY: all deps host win test run bench clean

all: host win

deps:
	@tools/install-deps

host: deps
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Release -DTESSALY_WIN_DIR=$(abspath $(WIN_DIR)) >/dev/null
	@cmake --build $(HOST_DIR) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)

test: host win
	@cd $(HOST_DIR) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

run: win
	@tools/run-tessaly $(WIN_DIR)/bin

bench: host
	@tools/run-bench $(HOST_DIR)

clean:
	rm -rf $(BUILD)
