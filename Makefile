# Calendar.dll: a month-calendar plug-in for panel hosts, built for 32-bit
# Windows with MinGW-w64 and tested natively and under Wine.
#
#   make        build build/win32/Calendar.dll
#   make test   install what is missing, build every configuration, run every test
#   make demo   install only what it needs, build the library and the panel
#               host, run the panel host with calendars in it
#   make dist   the release archive, build/dist/Calendar-<version>-win32.zip
#   make bench  build, then print the speed figures
#   make fuzz   a long run of every fuzzer, with executions and coverage

BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
FUZZ    := $(BUILD)/fuzz
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE   ?= cmake
MAKEFLAGS += --no-print-directory

.PHONY: all dll bootstrap bootstrap-demo configure-native configure-win32 configure-win32-app configure-fuzz \
	build-native build-win32 build-win32-app build-fuzz package test test-native test-win32 demo dist bench \
	fuzz clean

all: dll

bootstrap:
	@sh scripts/bootstrap all

bootstrap-demo:
	@sh scripts/bootstrap demo

# Every configuration says whether it builds the tests (and needs googletest).
configure-native: bootstrap
	@echo "== configure native ($(NATIVE))"
	@$(CMAKE) -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DCAL_TESTS=ON >/dev/null

WIN32_CONFIGURE = $(CMAKE) -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake -DCAL_DIST_DIR=$(CURDIR)/$(BUILD)/dist \
	-DCAL_WORLD_PICTURE=$(CURDIR)/$(BUILD)/world.png -DCAL_SCREENS_PICTURE=$(CURDIR)/$(BUILD)/screens.png \
	-DCAL_EMULATED=$$(sh scripts/enable-32bit --query)

configure-win32: bootstrap
	@echo "== configure win32 ($(WIN32))"
	@$(WIN32_CONFIGURE) -DCAL_TESTS=ON >/dev/null

# The library and the panel host alone: no tests, no googletest.
configure-win32-app: bootstrap-demo
	@echo "== configure win32 without tests ($(WIN32))"
	@$(WIN32_CONFIGURE) -DCAL_TESTS=OFF >/dev/null

configure-fuzz: bootstrap
	@echo "== configure fuzzers ($(FUZZ))"
	@CC=clang CXX=clang++ $(CMAKE) -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCAL_FUZZ=ON \
		-DCAL_TESTS=ON >/dev/null

dll: configure-win32-app
	@echo "== build $(WIN32)/Calendar.dll"
	@$(CMAKE) --build $(WIN32) --target Calendar -j$(JOBS)
	@echo "library: $(WIN32)/Calendar.dll"

build-native: configure-native
	@echo "== build native tests"
	@$(CMAKE) --build $(NATIVE) -j$(JOBS)

build-win32: configure-win32
	@echo "== build win32 library and tests"
	@$(CMAKE) --build $(WIN32) -j$(JOBS)

build-win32-app: configure-win32-app
	@echo "== build $(WIN32)/Calendar.dll and $(WIN32)/PanelHost.exe"
	@$(CMAKE) --build $(WIN32) --target Calendar PanelHost -j$(JOBS)

build-fuzz: configure-fuzz
	@echo "== build fuzzers"
	@$(CMAKE) --build $(FUZZ) -j$(JOBS)

# The release archive from whatever the win32 build holds; the tests unpack it.
package:
	@echo "== package $(BUILD)/dist"
	@cd $(WIN32) && cpack -G ZIP >/dev/null
	@rm -rf $(BUILD)/dist/_CPack_Packages
	@ls $(BUILD)/dist/*.zip

dist: build-win32-app
	@$(MAKE) package

# Each phase's time is kept and printed with the summary.
export CAL_PHASE_TIMES := $(CURDIR)/$(BUILD)/phase-times.txt
TIMED := sh scripts/timed

test:
	@mkdir -p $(BUILD) && rm -f $(CAL_PHASE_TIMES)
	@$(TIMED) install sh scripts/bootstrap all
	@sh scripts/wine-prefix --ahead $(BUILD)/wine-base.log
	@$(TIMED) build $(MAKE) build-native build-win32 build-fuzz
	@$(TIMED) build $(MAKE) package
	@sh scripts/run-tests $(NATIVE) $(WIN32) $(JOBS) $(FUZZ)

test-native: build-native
	@cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)

test-win32: build-win32
	@$(MAKE) package
	@sh scripts/run-tests "" $(WIN32) $(JOBS)

demo:
	@mkdir -p $(BUILD) && rm -f $(CAL_PHASE_TIMES)
	@$(TIMED) install sh scripts/bootstrap demo
	@sh scripts/wine-prefix --ahead $(BUILD)/wine-base.log
	@$(TIMED) build $(MAKE) build-win32-app
	@sh scripts/demo $(WIN32) $(BUILD)/demo.png

bench: build-native build-win32
	@sh scripts/bench $(NATIVE) $(WIN32)

fuzz: build-fuzz
	@sh scripts/fuzz $(FUZZ)

clean:
	rm -rf $(BUILD)
