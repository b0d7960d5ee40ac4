# The two commands a newcomer needs: `make run` and `make test`.
# Both install the Debian packages that are missing, then build in build/.

BUILD_DIR ?= build
JOBS      ?= $(shell nproc)

# What building the two programs needs.
BUILD_PACKAGES := cmake g++ make pkg-config p7zip-full qt6-base-dev qt6-base-dev-tools libgl-dev

# Everything the build, the program, the tests and bench/run (python3) need
# on a fresh Debian 12.
PACKAGES := $(BUILD_PACKAGES) libgtest-dev libgmock-dev \
            fonts-dejavu-core fonts-wqy-microhei qt6-translations-l10n xvfb xauth time python3

# What `make sanitize` needs beyond that: clang and its sanitizer runtimes.
SANITIZE_PACKAGES := clang libclang-rt-14-dev

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

# What `make package` needs beyond the build: dpkg-shlibdeps computes the
# package's library dependencies, and CPack finds the binaries with file.
PACKAGE_PACKAGES := $(BUILD_PACKAGES) dpkg-dev file
PACKAGE_DIR    ?= build-package
# -Werror for the package's Release build: off for packagers, on in CI.
PACKAGE_WERROR ?= OFF
# The compiler and linker flags of a Debian package build, with every
# hardening feature (fortified functions, stack protector, read-only
# relocations bound at start).
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

.PHONY: run test build deps sanitize screenshots package windows windows-test

# The Windows build: the engine, the command-line program and their tests,
# cross-built with mingw-w64, with a 7z.dll built from Debian's 7-Zip source
# (once per build folder: it takes minutes).
WINDOWS_BUILD_DIR ?= build-windows

run: build
	@echo "Starting varnhold-extract"
	./$(BUILD_DIR)/varnhold-extract

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNHOLD_WERROR=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Every window and dialog in each of the nine languages, at 1x and 2x scale.
screenshots: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/varnhold-screenshots $(BUILD_DIR)/screenshots/1x
	QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 ./$(BUILD_DIR)/varnhold-screenshots $(BUILD_DIR)/screenshots/2x
	@echo "Screenshots are in $(BUILD_DIR)/screenshots"

# The suite under AddressSanitizer with UndefinedBehaviorSanitizer, then the
# Qt-free engine tests under ThreadSanitizer, then a short run of each fuzzer.
sanitize:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(SANITIZE_PACKAGES)"
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNHOLD_SANITIZE=address -DVARNHOLD_WERROR=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNHOLD_SANITIZE=thread -DVARNHOLD_GUI=OFF \
	  -DVARNHOLD_WERROR=ON
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --output-on-failure -j $(JOBS)
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVARNHOLD_SANITIZE=fuzzer -DVARNHOLD_GUI=OFF -DVARNHOLD_WERROR=ON
	cmake --build build-fuzz -j $(JOBS) --target FuzzCatalogue
	mkdir -p build-fuzz/corpus
	build-fuzz/tests/FuzzCatalogue -max_total_time=60 -timeout=10 build-fuzz/corpus tests/fuzz/seeds/catalogue
	CC=clang CXX=clang++ cmake -S . -B build-fuzz-library -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVARNHOLD_SANITIZE=fuzzer-library -DVARNHOLD_GUI=OFF -DVARNHOLD_WERROR=ON
	cmake --build build-fuzz-library -j $(JOBS) --target FuzzArchive
	mkdir -p build-fuzz-library/corpus
	build-fuzz-library/tests/FuzzArchive -max_total_time=60 -timeout=20 -rss_limit_mb=4096 \
	  build-fuzz-library/corpus tests/fuzz/seeds/archive

# The Debian package, from a Release build without the tests, as
# build/varnhold-extract_<version>_<architecture>.deb.
package:
	$(MAKE) deps PACKAGES="$(PACKAGE_PACKAGES)"
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  -DVARNHOLD_WERROR=$(PACKAGE_WERROR) \
	  -DCMAKE_C_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	rm -f $(PACKAGE_DIR)/varnhold-extract_*.deb $(BUILD_DIR)/varnhold-extract_*.deb
	cd $(PACKAGE_DIR) && cpack -G DEB
	mkdir -p $(BUILD_DIR)
	cp $(PACKAGE_DIR)/varnhold-extract_*.deb $(BUILD_DIR)/
	@echo "The package is in $(BUILD_DIR); install it with: apt-get install ./$(BUILD_DIR)/$$(cd $(PACKAGE_DIR) && ls varnhold-extract_*.deb)"
# Cross-builds for 64-bit Windows; installs the cross-compilers, Wine and the
# 7-Zip source first if they are missing.
windows:
	./tools/windows/deps.sh
	./tools/windows/build-7z-dll.sh $(WINDOWS_BUILD_DIR)/7z-dll
	cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/MingwToolchain.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNHOLD_WERROR=ON \
	  -DVARNHOLD_7Z_LIBRARY=$(abspath $(WINDOWS_BUILD_DIR))/7z-dll/7z.dll
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)

# The engine and command-line suites of the Windows build under Wine.
windows-test: windows
	./tools/windows/run-tests.sh $(WINDOWS_BUILD_DIR) $(JOBS)

# Installs only what is missing, so repeated runs cost a dpkg query per package.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi
