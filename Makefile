# Calendar.dll: a month-calendar plug-in for panel hosts, built for 32-bit
# Windows with MinGW-w64 and tested natively and under Wine.
#
#   make        build build/win32/Calendar.dll
#   make test   install what is missing, build every configuration, run every test
#   make demo   build, then run the reference panel host with calendars in it
#   make bench  build, then print the speed figures
#   make fuzz   a long run of every fuzzer, with executions and coverage

BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
FUZZ    := $(BUILD)/fuzz
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE   ?= cmake
MAKEFLAGS += --no-print-directory

.PHONY: all dll bootstrap configure-native configure-win32 configure-fuzz build-native build-win32 build-fuzz \
	test test-native test-win32 demo bench fuzz clean

all: dll

bootstrap:
	@sh scripts/bootstrap

configure-native: bootstrap
	@echo "== configure native ($(NATIVE))"
	@$(CMAKE) -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null

configure-win32: bootstrap
	@echo "== configure win32 ($(WIN32))"
	@$(CMAKE) -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake \
		-DCAL_EMULATED=$$(sh scripts/enable-32bit --query) >/dev/null

configure-fuzz: bootstrap
	@echo "== configure fuzzers ($(FUZZ))"
	@CC=clang CXX=clang++ $(CMAKE) -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCAL_FUZZ=ON >/dev/null

dll: configure-win32
	@echo "== build $(WIN32)/Calendar.dll"
	@$(CMAKE) --build $(WIN32) --target Calendar -j$(JOBS)
	@echo "library: $(WIN32)/Calendar.dll"

build-native: configure-native
	@echo "== build native tests"
	@$(CMAKE) --build $(NATIVE) -j$(JOBS)

build-win32: configure-win32
	@echo "== build win32 library and tests"
	@$(CMAKE) --build $(WIN32) -j$(JOBS)

build-fuzz: configure-fuzz
	@echo "== build fuzzers"
	@$(CMAKE) --build $(FUZZ) -j$(JOBS)

test: build-native build-win32 build-fuzz
	@sh scripts/run-tests $(NATIVE) $(WIN32) $(JOBS) $(FUZZ)

test-native: build-native
	@cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)

test-win32: build-win32
	@sh scripts/run-tests "" $(WIN32) $(JOBS)

demo: build-win32
	@sh scripts/demo $(WIN32) $(BUILD)/demo.png

bench: build-native build-win32
	@sh scripts/bench $(NATIVE) $(WIN32)

fuzz: build-fuzz
	@sh scripts/fuzz $(FUZZ)

clean:
	rm -rf $(BUILD)
