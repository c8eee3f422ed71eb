# The two commands a newcomer needs: `make run` and `make test`.
# Everything they need is installed by scripts/bootstrap.

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
GENERATOR  := -G Ninja
CMAKE_ARGS ?=
CTEST      := ctest --output-on-failure --no-tests=error -j $(JOBS)

.PHONY: all run test check bench format bootstrap configure build clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: bootstrap configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run $(BUILD)

# Plain build and tests: the quick loop while developing.
check: build
	cd $(BUILD) && $(CTEST)

# Everything: plain, then AddressSanitizer+UndefinedBehaviorSanitizer, then the
# transfer tests under ThreadSanitizer.
test: check
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQZM_SANITIZER=address -DQZM_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $(CTEST)
	cmake -S . -B $(TSAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQZM_SANITIZER=thread -DQZM_BUILD_GUI=OFF -DQZM_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L transfer

bench: bootstrap
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)
	@scripts/bench $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
