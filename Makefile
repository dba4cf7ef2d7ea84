# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing first.
BUILD    ?= build
HOST_DIR := $(BUILD)/host
WIN_DIR  := $(BUILD)/win
WIN64_DIR := $(BUILD)/win64
JOBS     ?= $(shell nproc)

.PHONY: all deps host win win64 dist test run bench screenshots clean

all: host win win64

deps:
	@tools/install-deps

host: deps
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Release -DTESSALY_BUILD_ROOT=$(abspath $(BUILD)) >/dev/null
	@cmake --build $(HOST_DIR) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)

# The same sources for 64-bit Windows: a second deliverable, and the tree the Windows tests run
# where the machine cannot start 32-bit programs.
win64: deps
	@cmake -S . -B $(WIN64_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
	@cmake --build $(WIN64_DIR) -j $(JOBS)

# What a Windows user downloads: installer and portable zip of both trees, in build/dist/
# (`make test` builds them too, as its package.dist test).
dist: win win64
	@python3 installer/make_dist.py $(abspath $(BUILD))

test: host win win64
	@TESSALY_BUILD_ROOT=$(abspath $(BUILD)) python3 tests/harness/winenv.py describe
	@cd $(HOST_DIR) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The tree this machine can run: the 32-bit one, or the 64-bit one where 32-bit programs cannot start.
run: deps
	@tree=$$(TESSALY_BUILD_ROOT=$(abspath $(BUILD)) python3 tests/harness/winenv.py tree) && \
	  $(MAKE) --no-print-directory $$tree && tools/run-tessaly $(BUILD)/$$tree/bin

bench: host win win64
	@tools/run-bench $(HOST_DIR)

# The README's pictures, taken from the real program under Wine on a private display.
screenshots: deps
	@tree=$$(TESSALY_BUILD_ROOT=$(abspath $(BUILD)) python3 tests/harness/winenv.py tree) && \
	  $(MAKE) --no-print-directory $$tree && tools/make-screenshots $(BUILD)/$$tree docs/screenshots

clean:
	rm -rf $(BUILD)
