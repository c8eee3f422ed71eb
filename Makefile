# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a newcomer needs: `make run` and `make test`.
# Everything they need is installed by scripts/bootstrap.
# Developers and CI build with warnings as errors (QZM_WERROR=ON).  The plain
# build is the optimised Release build a packager or a new user gets, so warnings
# only the optimiser finds stop `make test` too; the sanitizer builds are Debug.

BUILD      ?= build
BUILD_TYPE ?= Release
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
# Most tests spend their time waiting on a serial line at the radio's own pace, not
# on the processor, so they run two to a core.
TEST_JOBS  ?= $(shell echo $$(( 2 * $$(nproc) )))
GENERATOR  := -G Ninja
CMAKE_ARGS ?=
CTEST      := ctest --output-on-failure --no-tests=error -j $(TEST_JOBS)

.PHONY: all run demo deb rpm debian-package package-check test check bench fuzz format bootstrap \
	configure build clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQZM_WERROR=ON $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: bootstrap configure
	cmake --build $(BUILD) -j $(JOBS)

# With a display the window; without one the main job against the emulator.
run: build
	@scripts/run $(BUILD)

# The window against an emulated radio with a programmed sample image.
demo: build
	@scripts/demo $(BUILD)

# build/qzm836_<version>_<arch>.deb and build/qzm836-<version>-1.<arch>.rpm, by
# CPack from the plain build (no second compile).
deb: build
	cd $(BUILD) && cpack -G DEB

rpm: build
	@scripts/bootstrap package
	cd $(BUILD) && cpack -G RPM

# The Debian source package built as a distribution would: dpkg-buildpackage on a
# copy of the tree, a second full compile with the distribution's flags; the
# .deb lands in build-debian/.
debian-package:
	@scripts/bootstrap package
	@scripts/debian-package build-debian

# Both CPack packages checked as a distribution would: lintian with no error or
# warning, hardening-check on every program, AppStream and desktop file, the
# RPM's file list and requirements, and the programs run from each unpacked
# package.  With build-debian/ present, its .deb is checked too.
package-check: build
	@scripts/bootstrap package
	@scripts/package-check $(BUILD) build-debian

# Plain build and tests: the quick loop while developing.
check: build
	cd $(BUILD) && $(CTEST)

# Everything: plain, then AddressSanitizer+UndefinedBehaviorSanitizer, then the
# transfer tests under ThreadSanitizer (built alone: only they run there).  The
# sanitizer builds compile the sources in batches (unity builds): much faster, and a
# name that two files of a folder both define at top level fails there, while the
# plain build still compiles each file alone, so a missing include fails there.  Both
# runs start with the plain run's test times, so the longest tests start first.
SANITIZER_ARGS := -DCMAKE_BUILD_TYPE=Debug -DCMAKE_UNITY_BUILD=ON -DQZM_BUILD_BENCH=OFF -DQZM_WERROR=ON
COST_DATA      := Testing/Temporary/CTestCostData.txt
test: check
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) $(SANITIZER_ARGS) -DQZM_SANITIZER=address -DQZM_PRECOMPILE_QT=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	@scripts/copy-test-times $(BUILD)/$(COST_DATA) $(ASAN_BUILD)/$(COST_DATA)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $(CTEST)
	cmake -S . -B $(TSAN_BUILD) $(GENERATOR) $(SANITIZER_ARGS) -DQZM_SANITIZER=thread -DQZM_BUILD_GUI=OFF $(CMAKE_ARGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target transfer_tests
	@scripts/copy-test-times $(BUILD)/$(COST_DATA) $(TSAN_BUILD)/$(COST_DATA)
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 $(CTEST) -L transfer

bench: bootstrap
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQZM_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)
	@scripts/bench $(BUILD)

# The libFuzzer programs (clang) that fuzz/CMakeLists.txt lists, each run for FUZZ_SECONDS from its seed
# corpus.  New inputs go to $(FUZZ_BUILD)/corpus/<target>, failures to
# $(FUZZ_BUILD)/crashes/; copy the ones worth keeping into fuzz/corpus/<target>.
fuzz:
	@scripts/bootstrap fuzz
	cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DQZM_BUILD_FUZZ=ON -DQZM_WERROR=OFF \
		-DQZM_BUILD_GUI=OFF -DQZM_BUILD_TESTS=OFF -DQZM_BUILD_BENCH=OFF $(CMAKE_ARGS)
	@mkdir -p $(FUZZ_BUILD)/crashes
	@set -e; targets="$$(tr ';' ' ' < $(FUZZ_BUILD)/fuzz/targets.txt)"; \
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $$(printf 'fuzz_%s ' $$targets); \
	for t in $$targets; do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
		echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $(FUZZ_BUILD)/fuzz/fuzz_$$t \
			-max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- \
			$(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) build-debian
