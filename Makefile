# Set-up and build entry points for a fresh Debian machine (run as root or with sudo).
#   make run   installs what is missing, builds, and runs the main job
#   make test  installs what is missing, builds, and runs every test

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ pkg-config ninja-build qt6-base-dev qt6-serialport-dev \
            libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n \
            fontconfig fonts-wqy-zenhei fonts-dejavu-core socat libgif-dev \
            desktop-file-utils appstream shared-mime-info dpkg-dev file \
            libqt6svg6 qt6-image-formats-plugins \
            libcpp-httplib-dev chromium libqt6sql6-sqlite
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build test run bench asan fuzz fuzz-smoke fuzz-seeds format clean package

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

# The desktop program with the demo project; without a display, the demo project sent
# to lumivant-sim on loopback by lumivant-cli.
run: build
	examples/run-demo.sh $(BUILD_DIR)

# A Debian package of the programs: build/lumivant_VERSION_ARCH.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

BENCH_FIGURES ?= load render planes link send lossy firmware fleet effects tree open check server

# Every figure of lumivant-bench; each prints "ratio <value>" as its last line.
bench: build
	@for figure in $(BENCH_FIGURES); do echo "== $$figure"; $(BUILD_DIR)/bench/lumivant-bench $$figure || exit 1; done

# Tests under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder of their own.
# Lightly optimised with line tables only (-Og -g1): it builds as fast as -O0 -g and runs the
# tests several times faster; asserts stay on. The benchmarks are not built here.
asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-Og -g1" \
	  -DLUMIVANT_SANITIZE=ON -DLUMIVANT_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

# libFuzzer targets, built with clang.
fuzz: deps
	$(SUDO) apt-get install -y -q clang libclang-rt-14-dev >/dev/null
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DLUMIVANT_FUZZ=ON \
	  -DLUMIVANT_TESTS=OFF -DLUMIVANT_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target lumivant_fuzzers

FUZZ_SECONDS ?= 30

# Writes the seeds of every fuzz target again, from the examples and the test data.
fuzz-seeds: fuzz
	cmake --build build-fuzz -j $(JOBS) --target lumivant-fuzz-seeds
	LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp build-fuzz/fuzz/lumivant-fuzz-seeds . fuzz/corpus

# Every fuzz target for FUZZ_SECONDS from its seeds in fuzz/corpus/NAME; what it finds new
# goes to build-fuzz/found/NAME, crashes to build-fuzz/crashes/.
fuzz-smoke: fuzz
	@mkdir -p build-fuzz/crashes
	@for source in fuzz/fuzz_*.cpp; do \
	  name=$$(basename $$source .cpp); echo "== $$name"; \
	  mkdir -p build-fuzz/found/$$name fuzz/corpus/$$name; \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp QT_QPA_PLATFORM=offscreen \
	    build-fuzz/fuzz/$$name -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=2048 \
	    -print_final_stats=1 -artifact_prefix=build-fuzz/crashes/$$name- \
	    build-fuzz/found/$$name fuzz/corpus/$$name >build-fuzz/$$name.log 2>&1; \
	  status=$$?; \
	  grep -E "INITED|DONE|ERROR|SUMMARY|number_of_executed_units" build-fuzz/$$name.log; \
	  [ $$status = 0 ] || { echo "$$name failed: build-fuzz/$$name.log"; exit 1; }; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
